// Writes what the reading of a sealed copy by another implementation is tried on:
//   backup_sealfixture FOLDER
// FOLDER/data.mdb (a practice with Greek patients), FOLDER/passphrase.txt (UTF-8, the Greek
// passphrase in decomposed form, as some keyboards give it), and the practice sealed twice:
// FOLDER/standard.sealed with the program's own parameters, FOLDER/small.sealed with the
// smallest chunks and the cheapest key derivation, so that it has many chunks.
#include "connectionstring.h"
#include "sealedcopy.h"
#include "schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: backup_sealfixture FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QString data = dir.filePath(QStringLiteral("data.mdb"));
    try {
        QFile::remove(data);
        Schema::createPracticeDatabase(data, QLatin1String(ConnectionString::kDatabasePassword));
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(data).constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 0; i < 3000; ++i) {
            const QByteArray sql = QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,"
                                                  "ISTORIKO) VALUES('Ελένη','Παπαδοπούλου %1',"
                                                  "'Πόνος στη μέση')")
                                       .arg(i)
                                       .toUtf8();
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close(db);

        const QString passphrase = QStringLiteral("Καλημέρα, Ώρα για ραντεβού 42");
        QFile phrase(dir.filePath(QStringLiteral("passphrase.txt")));
        if (!phrase.open(QIODevice::WriteOnly))
            throw DbError(phrase.errorString());
        phrase.write(passphrase.normalized(QString::NormalizationForm_D).toUtf8());
        phrase.close();

        SealedCopy::seal(data, dir.filePath(QStringLiteral("standard.sealed")), passphrase);
        SealedCopy::seal(data, dir.filePath(QStringLiteral("small.sealed")), passphrase, {},
                         SealedCopy::Params::fastest());
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
