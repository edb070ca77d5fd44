// Times a backup of a large practice (50,000 patients, 500,000 visits, 650,000 receipts with
// their payments) against the engine's own command-line program doing `.backup` of the same
// file, in the same run; the verification of the copy is timed on its own, and so is a restore.
// The encrypted copy is timed the same way, with the derivation of its key (Argon2id) apart.
//   ./bench/db/backup_bench [patients] [visits] [receipts]
#include "practicebackup.h"
#include "practicegenerator.h"
#include "sealedbackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

// Receipts and their payments over ten years, straight through the engine.
void addReceipts(const QString &path, int receipts, int patients)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *receipt = nullptr;
    sqlite3_stmt *payment = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,PARALHPTHS,"
                       "POSO,TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO) "
                       "VALUES(?,?,'Γιώργος','Παπαδόπουλος','Γιώργος Παπαδόπουλος',?,'ΙΚΑ',?,"
                       "'Φυσικοθεραπεία',?,?)",
                       -1, &receipt, nullptr);
    sqlite3_prepare_v2(db,
                       "INSERT INTO EISPRAKSH_PELATH(ID,HMEROMHNIA,POSO,PERIGRAFH,TAMEIO,POSO_CY,"
                       "AR_APODEIKSHS,VAT,SYNOLIKO_POSO) VALUES(?,?,?,'Φυσικοθεραπεία','ΙΚΑ',?,?,"
                       "?,?)",
                       -1, &payment, nullptr);
    const QDate first(2016, 1, 1);
    for (int i = 0; i < receipts; ++i) {
        const QByteArray date = first.addDays(i * 3650LL / receipts).toString(Qt::ISODate).toUtf8();
        const double amount = 20 + i % 40;
        const double vat = double(qRound(amount * 24)) / 100;
        sqlite3_bind_int(receipt, 1, i + 1);
        sqlite3_bind_text(receipt, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(receipt, 3, amount);
        sqlite3_bind_double(receipt, 4, double(qRound(amount / 0.585274 * 100)) / 100);
        sqlite3_bind_double(receipt, 5, vat);
        sqlite3_bind_double(receipt, 6, amount + vat);
        sqlite3_step(receipt);
        sqlite3_reset(receipt);
        sqlite3_bind_int(payment, 1, 1 + i % patients);
        sqlite3_bind_text(payment, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(payment, 3, amount);
        sqlite3_bind_double(payment, 4, double(qRound(amount / 0.585274 * 100)) / 100);
        sqlite3_bind_int(payment, 5, i + 1);
        sqlite3_bind_double(payment, 6, vat);
        sqlite3_bind_double(payment, 7, amount + vat);
        sqlite3_step(payment);
        sqlite3_reset(payment);
    }
    sqlite3_finalize(receipt);
    sqlite3_finalize(payment);
    sqlite3_exec(db, QStringLiteral("INSERT INTO LAST_APODEIKSH VALUES(%1)")
                         .arg(receipts + 1)
                         .toUtf8()
                         .constData(),
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int patients = args.value(1, "50000").toInt();
    const int visits = args.value(2, "500000").toInt();
    const int receipts = args.value(3, "650000").toInt();
    const QString cli = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (cli.isEmpty()) {
        std::fprintf(stderr, "the sqlite3 program is needed for the baseline (apt install sqlite3)\n");
        return 2;
    }

    QTemporaryDir dir;
    const QString practice = dir.filePath("practice");
    const QString out = dir.filePath("out");
    QDir().mkpath(practice);
    QDir().mkpath(out);
    const QString data = QDir(practice).filePath("data.mdb");
    QElapsedTimer clock;
    clock.start();
    generatePractice(data, patients, visits, 0);
    addReceipts(data, receipts, patients);
    std::printf("practice: %d patients, %d visits, %d receipts and payments, %.1f MB "
                "(generated in %lld ms)\n",
                patients, visits, receipts, QFileInfo(data).size() / 1048576.0, clock.elapsed());

    std::vector<double> baseline, copy, verify, total, restore, inspect;
    std::vector<double> sealedPlain, sealedSeal, sealedCheck, sealedDerive, sealedTotal;
    for (int round = 0; round < 3; ++round) {
        const QString x = QDir(out).filePath("x.mdb");
        QFile::remove(x);
        clock.restart();
        QProcess sqlite;
        sqlite.start(cli, {data, ".backup '" + x + "'"});
        sqlite.waitForFinished(-1);
        baseline.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (sqlite.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 failed: %s\n", sqlite.readAllStandardError().constData());
            return 1;
        }
        QFile::remove(x);

        clock.restart();
        const PracticeBackup::Outcome o = PracticeBackup::backUp(
            practice, out, QDateTime(QDate(2026, 3, 5), QTime(18, round)));
        total.push_back(double(clock.nsecsElapsed()) / 1e6);
        copy.push_back(double(o.copyMs));
        verify.push_back(double(o.verifyMs));

        clock.restart();
        PracticeBackup::inspect(o.path);
        inspect.push_back(double(clock.nsecsElapsed()) / 1e6);

        // A restore into a practice folder of its own (checks, copy beside data.mdb, checks
        // again, the swap).
        QTemporaryDir other;
        QFile::copy(data, QDir(other.path()).filePath("data.mdb"));
        clock.restart();
        PracticeBackup::restoreFile(o.path, other.path(), QDateTime::currentDateTime());
        restore.push_back(double(clock.nsecsElapsed()) / 1e6);
        QFile::remove(o.path);

        // The same copy sealed with a passphrase.
        SealedBackup::Timing t;
        clock.restart();
        const PracticeBackup::Outcome s = SealedBackup::backUp(
            practice, out, QDateTime(QDate(2026, 3, 6), QTime(18, round)),
            QStringLiteral("μια φράση για το μετρό"), {}, &t);
        sealedTotal.push_back(double(clock.nsecsElapsed()) / 1e6);
        // Of the plain copy, the copying only (its checks are the plain backup's).
        sealedPlain.push_back(double(s.copyMs) - double(t.sealNs) / 1e6);
        sealedSeal.push_back(double(t.sealNs) / 1e6);
        sealedCheck.push_back(double(t.checkNs) / 1e6);
        sealedDerive.push_back(double(t.deriveNs) / 1e6);
        QFile::remove(s.path);
    }
    const double b = median(baseline);
    const double c = median(copy);
    std::printf("sqlite3 .backup (baseline, wall)      %8.0f ms\n", b);
    std::printf("backup copy (written and synced)      %8.0f ms = %.2fx the baseline\n", c, c / b);
    std::printf("backup verification                   %8.0f ms\n", median(verify));
    std::printf("backup in all                         %8.0f ms = %.2fx the baseline\n",
                median(total), median(total) / b);
    std::printf("restore: reading what a backup holds  %8.0f ms\n", median(inspect));
    std::printf("restore of the file engine in all     %8.0f ms\n", median(restore));
    // The key is derived twice (sealing, checking), in a time that does not grow with the
    // practice: reported apart, and taken out of the copy and its check.
    const double key = median(sealedDerive) / 2;
    const double sealedCopy = median(sealedPlain) + median(sealedSeal) - key;
    std::printf("encrypted: Argon2id key derivation    %8.0f ms (once to seal, once to check)\n",
                key);
    std::printf("encrypted: sealing alone, without key %8.0f ms = %.2fx the baseline\n",
                median(sealedSeal) - key, (median(sealedSeal) - key) / b);
    std::printf("encrypted copy (plain copy + sealing) %8.0f ms = %.2fx the baseline\n",
                sealedCopy, sealedCopy / b);
    std::printf("encrypted: check of the sealed copy   %8.0f ms (opened and compared, without "
                "the key)\n",
                median(sealedCheck) - key);
    std::printf("encrypted backup in all               %8.0f ms = %.2fx the baseline\n",
                median(sealedTotal), median(sealedTotal) / b);
    return 0;
}
