#include "schema.h"

#include "dberror.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace Schema {

namespace {

// Column declarations carry the type the program relies on; the CHECK constraints make the
// file refuse a value of the wrong type whatever path writes it.
QString text(const QString &name, int width)
{
    return QStringLiteral("\"%1\" VARCHAR(%2) CHECK (\"%1\" IS NULL OR length(\"%1\") <= %2)")
        .arg(name)
        .arg(width);
}

QString memo(const QString &name)
{
    return QStringLiteral("\"%1\" LONGTEXT").arg(name);
}

QString date(const QString &name, const QString &extra = {})
{
    return QStringLiteral("\"%1\" DATE%2 CHECK (\"%1\" IS NULL OR (typeof(\"%1\") = 'text' AND "
                          "date(\"%1\", '+0 days') IS \"%1\"))")
        .arg(name, extra);
}

QString number(const QString &name)
{
    return QStringLiteral(
               "\"%1\" DOUBLE CHECK (\"%1\" IS NULL OR typeof(\"%1\") IN ('real', 'integer'))")
        .arg(name);
}

QString integer(const QString &name, const QString &extra = {})
{
    return QStringLiteral("\"%1\" INTEGER%2 CHECK (\"%1\" IS NULL OR typeof(\"%1\") = 'integer')")
        .arg(name, extra);
}

QString yesNo(const QString &name, const QString &extra = {})
{
    return QStringLiteral("\"%1\" BOOLEAN%2 CHECK (\"%1\" IS NULL OR \"%1\" IN (0, 1))")
        .arg(name, extra);
}

QString table(const QString &name, const QStringList &columns)
{
    return QStringLiteral("CREATE TABLE \"%1\" (\n    %2\n)")
        .arg(name, columns.join(QStringLiteral(",\n    ")));
}

const QString kToday = QStringLiteral(" DEFAULT (date('now', 'localtime'))");

void exec(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString message = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw DbError(message, sql, sqlite3_extended_errcode(db));
    }
}

} // namespace

QStringList slotColumns()
{
    QStringList out;
    for (int half = 0; half < 28; ++half) {
        const int from = 8 * 60 + half * 30;
        const int to = from + 30;
        out << QStringLiteral("%1%2-%3%4")
                   .arg(from / 60, 2, 10, QLatin1Char('0'))
                   .arg(from % 60, 2, 10, QLatin1Char('0'))
                   .arg(to / 60, 2, 10, QLatin1Char('0'))
                   .arg(to % 60, 2, 10, QLatin1Char('0'));
    }
    return out;
}

QString slotCaption(const QString &column)
{
    if (column.size() != 9)
        return column;
    return column.mid(0, 2) + QLatin1Char(':') + column.mid(2, 2) + QStringLiteral(" - ")
        + column.mid(5, 2) + QLatin1Char(':') + column.mid(7, 2);
}

QStringList createStatements()
{
    QStringList patient = {
        QStringLiteral("\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT"),
        text(QStringLiteral("ONOMA"), 50),
        text(QStringLiteral("EPWNYMO"), 50),
        text(QStringLiteral("FYLO"), 10),
        date(QStringLiteral("HMEROMHNIA_GENNHSEWS")),
        text(QStringLiteral("EPAGGELMA"), 50),
        text(QStringLiteral("TAMEIO"), 50),
        text(QStringLiteral("DIEYTHYNSH"), 100),
        text(QStringLiteral("THLEFWNO_1"), 30),
        text(QStringLiteral("THLEFWNO_2"), 30),
        memo(QStringLiteral("ISTORIKO")),
    };
    for (int i = 1; i <= 27; ++i)
        patient << text(QString::number(i), 10);

    QStringList appointments
        = {date(QStringLiteral("HMEROMHNIA"), QStringLiteral(" NOT NULL UNIQUE"))};
    for (const QString &slot : slotColumns())
        appointments << text(slot, 100);

    QStringList receipt = {
        integer(QStringLiteral("AR_APODEIKSHS"), QStringLiteral(" NOT NULL PRIMARY KEY")),
        date(QStringLiteral("HMEROMHNIA"), kToday),
        text(QStringLiteral("ONOMA"), 50),
        text(QStringLiteral("EPWNYMO"), 50),
        text(QStringLiteral("PARALHPTHS"), 100),
        number(QStringLiteral("POSO")),
        text(QStringLiteral("TAMEIO"), 50),
        number(QStringLiteral("POSO_CY")),
        text(QStringLiteral("PERIGRAFH"), 255),
        number(QStringLiteral("VAT")),
        number(QStringLiteral("SYNOLIKO_POSO")),
        yesNo(QStringLiteral("EGKYRH"), QStringLiteral(" DEFAULT 1")),
    };

    QStringList information;
    for (const char *c :
         {"TITLE", "ADDRESS1", "ADDRESS2", "PHONE", "FAX", "WEBSITE", "EMAIL", "AFT", "AFPA",
          "EXTRA1", "EXTRA2", "EXTRA3", "EXTRA4", "EXTRA5", "EXTRA6", "EXTRA7"})
        information << text(QLatin1String(c), 100);

    return {
        table(QStringLiteral("STOIXEIA_PELATH"), patient),
        table(QStringLiteral("EPISKEPSEIS"),
              {integer(QStringLiteral("ID")), date(QStringLiteral("HMEROMHNIA")),
               text(QStringLiteral("AITIA"), 255), text(QStringLiteral("PERIGRAFH"), 255)}),
        table(QStringLiteral("RANTEBOU"), appointments),
        table(QStringLiteral("APODEIKSEIS"), receipt),
        table(QStringLiteral("EISPRAKSH_PELATH"),
              {integer(QStringLiteral("ID")), date(QStringLiteral("HMEROMHNIA"), kToday),
               number(QStringLiteral("POSO")), text(QStringLiteral("PERIGRAFH"), 255),
               text(QStringLiteral("TAMEIO"), 50), number(QStringLiteral("POSO_CY")),
               integer(QStringLiteral("AR_APODEIKSHS")), number(QStringLiteral("VAT")),
               number(QStringLiteral("SYNOLIKO_POSO"))}),
        table(QStringLiteral("LAST_APODEIKSH"), {integer(QStringLiteral("LAST"))}),
        table(QStringLiteral("SYNTELESTHS_VAT"), {number(QStringLiteral("VAT_RATIO"))}),
        table(QStringLiteral("INFORMATION"), information),
        table(QStringLiteral("EKSODA"),
              {date(QStringLiteral("HMEROMHNIA")), number(QStringLiteral("POSO")),
               number(QStringLiteral("VAT")), text(QStringLiteral("PERIGRAFH"), 255)}),
        table(QStringLiteral("SHMEIWSEIS"),
              {QStringLiteral("\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT"),
               text(QStringLiteral("TITLOS"), 100), memo(QStringLiteral("PERIGRAFH"))}),
        table(QStringLiteral("YPENTHIMISEIS"),
              {date(QStringLiteral("HMEROMHNIA")), memo(QStringLiteral("PERIGRAFH"))}),
        table(QStringLiteral("XRHSIMA_THLEFWNA"),
              {text(QStringLiteral("ONOMATEPWNYMO"), 100), text(QStringLiteral("DIEYTHYNSH"), 100),
               text(QStringLiteral("THLEFWNO_1"), 30), text(QStringLiteral("THLEFWNO_2"), 30),
               text(QStringLiteral("FAX"), 30), text(QStringLiteral("EMAIL"), 100),
               text(QStringLiteral("PERIGRAFH"), 255)}),
        table(QStringLiteral("GIATROI_ALLWN_EIDIKOTHTWN"),
              {text(QStringLiteral("ONOMA"), 50), text(QStringLiteral("EPWNYMO"), 50),
               text(QStringLiteral("DIEYTHYNSH"), 100), text(QStringLiteral("THLEFWNO_1"), 30),
               text(QStringLiteral("THLEFWNO_2"), 30), text(QStringLiteral("EIDIKOTHTA"), 100)}),
        table(QStringLiteral("SECURITY"), {text(QStringLiteral("PASSWORD"), 50)}),
        // A patient's visits and payments are read by the patient's ID.
        QStringLiteral("CREATE INDEX EPISKEPSEIS_ID ON EPISKEPSEIS (ID)"),
        QStringLiteral("CREATE INDEX EISPRAKSH_PELATH_ID ON EISPRAKSH_PELATH (ID)"),
        // The file's own marker: which program it belongs to and its database password.
        QStringLiteral("CREATE TABLE ORVANTA_FILE (NAME TEXT PRIMARY KEY, VALUE TEXT)"),
    };
}

void createPracticeDatabase(const QString &path, const QString &databasePassword)
{
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("Database '%1' already exists.").arg(path));
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr)
        != SQLITE_OK) {
        const DbError error(QString::fromUtf8(sqlite3_errmsg(db)), {},
                            sqlite3_extended_errcode(db));
        sqlite3_close(db);
        throw error;
    }
    try {
        exec(db, QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId));
        exec(db, QStringLiteral("BEGIN"));
        for (const QString &sql : createStatements())
            exec(db, sql);
        exec(db, QStringLiteral("INSERT INTO ORVANTA_FILE VALUES ('application', 'Orvanta')"));
        exec(db,
             QStringLiteral("INSERT INTO ORVANTA_FILE VALUES ('password', '%1')")
                 .arg(QString(databasePassword).replace(QLatin1Char('\''), QLatin1String("''"))));
        exec(db,
             QStringLiteral("INSERT INTO SECURITY (PASSWORD) VALUES ('%1')")
                 .arg(QLatin1String(kFactoryPassword)));
        exec(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_close(db);
        QFile::remove(path);
        throw;
    }
    sqlite3_close(db);
}

} // namespace Schema
