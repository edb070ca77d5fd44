// Times receipt issuing on a file database with full synchronous writes, and the register and a
// year's income on a large practice, each against the same statements run straight through the
// SQLite C API in the same process. With ORVANTA_BENCH_SERVER set to a server's maintenance
// connection text (scripts/pg-cluster.sh start DIR prints one), the same practices are copied
// to that server and timed there too, against the same statements through libpq. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./billing_bench [issued=1000] [register=650000]
#include "benchserver.h"
#include "billingsql.h"
#include "connection.h"
#include "connectionstring.h"
#include "dialect.h"
#include "issuedreceiptswindow.h"
#include "periodincomewindow.h"
#include "program.h"
#include "receiptissue.h"
#include "receiptmath.h"
#include "schema.h"
#include "sqlfunctions.h"
#include "sqltext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 5;

// The thread's CPU time: the machine is shared, and wall time mostly measures the neighbours.
double cpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double medianMs(const std::function<void()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns + 1; ++i) {
        const double start = cpuMs();
        run();
        if (i > 0) // the first run warms the caches
            times.push_back(cpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

// A raw handle on the practice file, with the program's SQL functions, the same pragmas as the
// program's connections, and statements in the engine's dialect.
struct Direct {
    sqlite3 *db = nullptr;
    explicit Direct(const QString &path)
    {
        check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db,
              "open");
        SqlFunctions::registerAll(db);
        sqlite3_busy_timeout(db, 60000);
        check(sqlite3_exec(db, "PRAGMA synchronous = FULL; PRAGMA journal_mode = DELETE", nullptr,
                           nullptr, nullptr),
              db, "pragmas");
    }
    ~Direct() { sqlite3_close(db); }
    void exec(const QString &jetSql) const
    {
        const QByteArray sql = Dialect::translate(jetSql).toUtf8();
        check(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db, sql.constData());
    }
    // Steps to the end reading every column as text, as a record set reads them.
    QString run(const QString &jetSql) const
    {
        const QString sql = Dialect::translate(jetSql);
        sqlite3_stmt *stmt = nullptr;
        check(sqlite3_prepare16_v2(db, sql.utf16(), -1, &stmt, nullptr), db, "prepare");
        QString first;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const void *text = sqlite3_column_text16(stmt, c);
                if (first.isNull() && c == 0 && text)
                    first = QString::fromUtf16(static_cast<const char16_t *>(text));
            }
        }
        sqlite3_finalize(stmt);
        return first;
    }
};

QString newPractice(const QTemporaryDir &dir, const QString &name)
{
    QDir(dir.path()).mkdir(name);
    const QString folder = QDir(dir.path()).filePath(name);
    Schema::createPracticeDatabase(QDir(folder).filePath(QStringLiteral("data.mdb")),
                                   QLatin1String(ConnectionString::kDatabasePassword));
    return folder;
}

void usePractice(const QString &folder)
{
    Program::AppDir = folder;
    Program::DbConnectionString = ConnectionString::build(folder);
}

double directIssuing(const QTemporaryDir &dir, const QString &name, int count, bool wal);

void benchIssuing(const QTemporaryDir &dir, int count)
{
    // The program's path: a connection per receipt (one window each), the number and rate read,
    // then the checked transaction.
    const QString ours = newPractice(dir, QStringLiteral("issue"));
    usePractice(ours);
    {
        Direct setup(QDir(ours).filePath(QStringLiteral("data.mdb")));
        setup.exec(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)"));
        setup.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15)"));
    }
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < count; ++i) {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(c);
        issue.read();
        const auto r = issue.issue({QStringLiteral("7"), QStringLiteral("Γιώργος"),
                                    QStringLiteral("Παπαδόπουλος"), QStringLiteral("40"),
                                    QStringLiteral("Φυσικοθεραπεία"), QStringLiteral("ΙΚΑ")});
        if (r.outcome != ReceiptIssue::Outcome::Issued) {
            std::fprintf(stderr, "receipt %d not issued: %s\n", i, qPrintable(r.error));
            std::exit(1);
        }
    }
    const double oursMs = double(wall.nsecsElapsed()) / 1e6;

    // The baseline: one open handle, the same writes in one transaction per receipt (the
    // payment, the receipt, its VAT rate, the counter).
    const double directMs = directIssuing(dir, QStringLiteral("direct"), count, false);
    std::printf("issue %d receipts (synchronous=FULL, wall)   %9.0f ms = %6.1f receipts/s   "
                "direct %6.0f ms = %6.1f/s   ratio %4.2f\n",
                count, oursMs, count * 1000.0 / oursMs, directMs, count * 1000.0 / directMs,
                oursMs / directMs);
    // What the same writes cost with a write-ahead log (one sync per commit instead of the
    // rollback journal's several): for comparison only, the program keeps the rollback journal.
    const double walMs = directIssuing(dir, QStringLiteral("wal"), count, true);
    std::printf("    direct with journal_mode=WAL: %6.0f ms = %6.1f receipts/s\n", walMs,
                count * 1000.0 / walMs);
    std::fflush(stdout);
}

double directIssuing(const QTemporaryDir &dir, const QString &name, int count, bool wal)
{
    const QString base = newPractice(dir, name);
    Direct direct(QDir(base).filePath(QStringLiteral("data.mdb")));
    if (wal)
        direct.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    direct.exec(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)"));
    direct.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15)"));
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < count; ++i) {
        direct.exec(QStringLiteral("BEGIN IMMEDIATE"));
        const qint64 n = direct.run(BillingSql::kLastNumber).toLongLong();
        const ReceiptMath::Figures f = ReceiptMath::compute(Decimal(40), Decimal(15));
        BillingSql::ReceiptRow row {QStringLiteral("7"),
                                    n,
                                    QStringLiteral("Γιώργος"),
                                    QStringLiteral("Παπαδόπουλος"),
                                    QStringLiteral("Φυσικοθεραπεία"),
                                    QStringLiteral("ΙΚΑ"),
                                    f.amount,
                                    f.amountCy,
                                    f.vat,
                                    f.total};
        direct.exec(BillingSql::insertPayment(row));
        direct.exec(BillingSql::insertReceipt(row));
        // The rate the receipt was issued with, which a reprint shows.
        direct.exec(QStringLiteral("INSERT INTO SYNTELESTHS_APODEIKSHS (AR_APODEIKSHS, VAT_RATIO) "
                                   "VALUES (%1, 15)")
                        .arg(n));
        direct.exec(BillingSql::kRaiseCounter);
        direct.exec(QStringLiteral("COMMIT"));
    }
    return double(wall.nsecsElapsed()) / 1e6;
}

// 650,000 receipts over ten years, straight through SQLite.
void fillRegister(const QString &folder, int count)
{
    Direct d(QDir(folder).filePath(QStringLiteral("data.mdb")));
    sqlite3_exec(d.db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *receipt = nullptr;
    sqlite3_prepare_v2(d.db,
                       "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,PARALHPTHS,"
                       "POSO,TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO,EGKYRH) "
                       "VALUES(?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &receipt, nullptr);
    const QDate start(2016, 1, 1);
    for (int i = 0; i < count; ++i) {
        const QByteArray date = start.addDays(i * 3650LL / count).toString(Qt::ISODate).toUtf8();
        const double amount = 20 + (i % 13) * 5;
        const ReceiptMath::Figures f = ReceiptMath::compute(Decimal(qint64(amount)), Decimal(15));
        sqlite3_bind_int(receipt, 1, i + 1);
        sqlite3_bind_text(receipt, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(receipt, 3, "Γιώργος", -1, SQLITE_STATIC);
        sqlite3_bind_text(receipt, 4, "Παπαδόπουλος", -1, SQLITE_STATIC);
        sqlite3_bind_text(receipt, 5, "Γιώργος Παπαδόπουλος", -1, SQLITE_STATIC);
        sqlite3_bind_double(receipt, 6, f.amount.toDouble());
        sqlite3_bind_text(receipt, 7, i % 3 ? "ΙΚΑ" : "", -1, SQLITE_STATIC);
        sqlite3_bind_double(receipt, 8, f.amountCy.toDouble());
        sqlite3_bind_text(receipt, 9, "Φυσικοθεραπεία", -1, SQLITE_STATIC);
        sqlite3_bind_double(receipt, 10, f.vat.toDouble());
        sqlite3_bind_double(receipt, 11, f.total.toDouble());
        sqlite3_bind_int(receipt, 12, i % 50 ? 1 : 0);
        check(sqlite3_step(receipt), d.db, "insert receipt");
        sqlite3_reset(receipt);
    }
    sqlite3_finalize(receipt);
    sqlite3_exec(d.db,
                 "INSERT INTO LAST_APODEIKSH([LAST]) VALUES(650001);"
                 "INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15); COMMIT",
                 nullptr, nullptr, nullptr);
}

void report(const char *what, double ms, double baseline)
{
    std::printf("%-46s %9.2f ms   direct %8.2f ms   ratio %5.2f\n", what, ms, baseline,
                baseline > 0 ? ms / baseline : 0.0);
    std::fflush(stdout);
}

double wallMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// The same receipts, register and year's income on a server: the practices copied there, the
// windows opening them through orvanta.ini, the baseline one libpq session.
void benchOnServer(const QTemporaryDir &dir, const QString &maintenance, int count,
                   const QString &registerFolder)
{
    std::printf("on the server:\n");
    const QString issueFile = newPractice(dir, QStringLiteral("issue-on-server"));
    {
        Direct setup(QDir(issueFile).filePath(QStringLiteral("data.mdb")));
        setup.exec(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)"));
        setup.exec(QStringLiteral("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15)"));
    }
    const BenchServer::PracticeOnServer issuing(
        maintenance, issueFile, QDir(dir.path()).filePath(QStringLiteral("issue-server")));
    usePractice(issuing.folder());
    const ReceiptIssue::Input input {QStringLiteral("7"), QStringLiteral("Γιώργος"),
                                     QStringLiteral("Παπαδόπουλος"), QStringLiteral("40"),
                                     QStringLiteral("Φυσικοθεραπεία"), QStringLiteral("ΙΚΑ")};
    double start = wallMs();
    for (int i = 0; i < count; ++i) {
        // A connection per receipt, as each receipt window opens its own.
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(c);
        issue.read();
        const auto r = issue.issue(input);
        if (r.outcome != ReceiptIssue::Outcome::Issued)
            BenchServer::die(QStringLiteral("receipt %1 not issued: %2").arg(i).arg(r.error));
    }
    const double oursMs = wallMs() - start;
    BenchServer::Libpq direct(issuing.connectionText());
    const QByteArray lastNumber = BenchServer::nativeSql(BillingSql::kLastNumber);
    const QByteArray vatRate = BenchServer::nativeSql(BillingSql::kVatRate);
    const QByteArray lock = BenchServer::nativeSql(BillingSql::kLockLastNumber);
    const QByteArray raise = BenchServer::nativeSql(BillingSql::kRaiseCounter);
    start = wallMs();
    for (int i = 0; i < count; ++i) {
        const QByteArray shown = direct.first(lastNumber);
        direct.run(vatRate);
        direct.run("BEGIN");
        if (direct.first(lock) != shown)
            BenchServer::die(QStringLiteral("the receipt counter moved"));
        const ReceiptMath::Figures f = ReceiptMath::compute(Decimal(40), Decimal(15));
        const BillingSql::ReceiptRow row {input.patientId, shown.toLongLong(), input.firstName,
                                          input.surname,   input.description,  input.fund,
                                          f.amount,        f.amountCy,         f.vat,
                                          f.total};
        direct.run(BenchServer::nativeSql(BillingSql::insertPayment(row)));
        direct.run(BenchServer::nativeSql(BillingSql::insertReceipt(row)));
        direct.run("INSERT INTO syntelesths_apodeikshs (ar_apodeikshs, vat_ratio) VALUES ($1, $2)",
                   {shown, "15"});
        direct.run(raise);
        direct.run("COMMIT");
    }
    const double directMs = wallMs() - start;
    std::printf("issue %d receipts on the server (wall)     %9.0f ms = %6.1f receipts/s   "
                "libpq %6.0f ms = %6.1f/s   ratio %4.2f\n",
                count, oursMs, count * 1000.0 / oursMs, directMs, count * 1000.0 / directMs,
                oursMs / directMs);
    std::fflush(stdout);

    double copyStart = wallMs();
    const BenchServer::PracticeOnServer big(
        maintenance, registerFolder, QDir(dir.path()).filePath(QStringLiteral("register-server")));
    std::printf("    register copied to the server in %.1f s\n", (wallMs() - copyStart) / 1000);
    usePractice(big.folder());
    BenchServer::Libpq reader(big.connectionText());
    IssuedReceiptsWindow reg;
    const QByteArray registerSql = BenchServer::nativeSql(BillingSql::kRegister);
    auto [regMs, regDirect] = BenchServer::wallMedians([&] { reg.FormShow(); },
                                                       [&] { reader.run(registerSql); }, kRuns);
    report("server: register, every receipt (wall)", regMs, regDirect);
    reg.done(0);
    PeriodIncomeWindow period;
    period.fromBox()->setText(QStringLiteral("1/1/2020"));
    period.toBox()->setText(QStringLiteral("31/12/2020"));
    const QByteArray yearSql = BenchServer::nativeSql(
        BillingSql::periodIncome(SqlText::ToSqlDate(QStringLiteral("1/1/2020")),
                                 SqlText::ToSqlDate(QStringLiteral("31/12/2020"))));
    auto [yearMs, yearDirect]
        = BenchServer::wallMedians([&] { period.findClick(); }, [&] { reader.run(yearSql); },
                                   kRuns);
    report("server: a year's income (2020, wall)", yearMs, yearDirect);
    std::printf("    income %s, VAT %s\n",
                qPrintable(period.result(QStringLiteral("POSO"))->text()),
                qPrintable(period.result(QStringLiteral("VAT"))->text()));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int issued = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int receipts = argc > 2 ? std::atoi(argv[2]) : 650000;
    QTemporaryDir dir;

    benchIssuing(dir, issued);

    const QString big = newPractice(dir, QStringLiteral("register"));
    QElapsedTimer gen;
    gen.start();
    fillRegister(big, receipts);
    std::printf("generated %d receipts in %.1f s\n", receipts, double(gen.elapsed()) / 1000);
    usePractice(big);
    Direct direct(QDir(big).filePath(QStringLiteral("data.mdb")));

    IssuedReceiptsWindow reg;
    report("register: open with every receipt", medianMs([&] { reg.FormShow(); }),
           medianMs([&] { direct.run(BillingSql::kRegister); }));
    std::printf("    %s\n", qPrintable(reg.countLine()->text()));
    reg.done(0);

    PeriodIncomeWindow period;
    period.fromBox()->setText(QStringLiteral("1/1/2020"));
    period.toBox()->setText(QStringLiteral("31/12/2020"));
    const QString yearSql
        = BillingSql::periodIncome(SqlText::ToSqlDate(QStringLiteral("1/1/2020")),
                                   SqlText::ToSqlDate(QStringLiteral("31/12/2020")));
    report("a year's income (2020)", medianMs([&] { period.findClick(); }),
           medianMs([&] { direct.run(yearSql); }));
    std::printf("    income %s, VAT %s\n",
                qPrintable(period.result(QStringLiteral("POSO"))->text()),
                qPrintable(period.result(QStringLiteral("VAT"))->text()));

    const QString maintenance = BenchServer::maintenance();
    if (!maintenance.isEmpty())
        benchOnServer(dir, maintenance, issued, big);
    return 0;
}
