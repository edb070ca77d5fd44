// Times the expenses reviews on a practice with many expense rows against the same statements
// run straight through the SQLite C API in the same process. With ORVANTA_BENCH_SERVER set to a
// server's maintenance connection text, the practice is copied to that server and the reviews
// are timed there too, against the same statements through libpq. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./expenses_bench [rows=100000]
#include "benchserver.h"
#include "connectionstring.h"
#include "dberror.h"
#include "dialect.h"
#include "expensesbymonthwindow.h"
#include "expensesbyperiodwindow.h"
#include "expensessql.h"
#include "program.h"
#include "schema.h"
#include "sqlfunctions.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kFirstYear = 2001;
constexpr int kYears = 25;

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

// Expenses spread evenly over the years, in random order of entry.
void generate(const QString &path, int rows)
{
    Schema::createPracticeDatabase(path, QLatin1String(ConnectionString::kDatabasePassword));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(?,?,?,?)", -1,
                       &insert, nullptr);
    QRandomGenerator rng(20261208);
    const QDate first(kFirstYear, 1, 1);
    const int days = int(first.daysTo(QDate(kFirstYear + kYears, 1, 1)));
    const char *const what[]
        = {"Ενοίκιο",    "Ρεύμα", "Νερό", "Τηλέφωνο", "Γραφική ύλη", "Αναλώσιμα φυσικοθεραπείας",
           "Καθαριότητα"};
    for (int i = 0; i < rows; ++i) {
        const QByteArray date = first.addDays(rng.bounded(days)).toString(Qt::ISODate).toUtf8();
        const double amount = double(rng.bounded(100000)) / 100;
        sqlite3_bind_text(insert, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 2, amount);
        sqlite3_bind_double(insert, 3, double(qRound(amount * 19)) / 100);
        sqlite3_bind_text(insert, 4, what[i % 7], -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The baseline: each statement prepared and stepped to the end on a raw handle opened for the
// find, every column of every row read as text, as a record set reads them.
double direct(const QString &path, const QStringList &jetSql)
{
    return medianMs([&] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        SqlFunctions::registerAll(db);
        for (const QString &jet : jetSql) {
            const QString sql = Dialect::translate(jet);
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare16_v2(db, sql.utf16(), -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                    sqlite3_column_text16(stmt, c);
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
    });
}

void report(const char *what, int rows, double ms, double baseline)
{
    std::printf("%-40s rows %5d  %9.2f ms   direct %8.2f ms   ratio %5.2f\n", what, rows, ms,
                baseline, baseline > 0 ? ms / baseline : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    generate(path, rows);
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());
    std::printf("%d expense rows over %d years\n", rows, kYears);

    const int year = kFirstYear + kYears / 2;
    ExpensesByPeriodWindow period;
    period.fromField()->setText(QStringLiteral("1/1/%1").arg(year));
    period.toField()->setText(QStringLiteral("31/12/%1").arg(year));
    const QString from = QStringLiteral("#1/1/%1#").arg(year);
    const QString to = QStringLiteral("#12/31/%1#").arg(year);
    const double periodMs = medianMs([&] { period.FindClick(); });
    report("expenses of one year (list and totals)", period.list().rowCount(), periodMs,
           direct(path, {ExpensesSql::periodList(from, to), ExpensesSql::periodTotals(from, to)}));

    ExpensesByMonthWindow month;
    const QString y1 = QString::number(year - 1);
    const QString y2 = QString::number(year);
    month.fromField()->setText(y1);
    month.toField()->setText(y2);
    const double monthMs = medianMs([&] { month.FindClick(); });
    report("24 months (rows and totals)", month.list().rowCount(), monthMs,
           direct(path, {ExpensesSql::monthList(y1, y2), ExpensesSql::monthTotals(y1, y2)}));

    const QString maintenance = BenchServer::maintenance();
    if (maintenance.isEmpty())
        return 0;
    const BenchServer::PracticeOnServer server(maintenance, dir.path(),
                                               QDir(dir.path()).filePath(QStringLiteral("server")));
    Program::AppDir = server.folder();
    Program::DbConnectionString = ConnectionString::build(server.folder());
    BenchServer::Libpq libpq(server.connectionText());
    const auto statements = [&](const QStringList &jetSql) {
        std::vector<QByteArray> out;
        for (const QString &sql : jetSql)
            out.push_back(BenchServer::nativeSql(sql));
        return out;
    };
    const auto runAll = [&](const std::vector<QByteArray> &native) {
        for (const QByteArray &sql : native)
            libpq.run(sql);
    };
    std::printf("on the server (wall, libpq as the baseline):\n");
    ExpensesByPeriodWindow periodOnServer;
    periodOnServer.fromField()->setText(QStringLiteral("1/1/%1").arg(year));
    periodOnServer.toField()->setText(QStringLiteral("31/12/%1").arg(year));
    const auto periodNative
        = statements({ExpensesSql::periodList(from, to), ExpensesSql::periodTotals(from, to)});
    const auto [periodServer, periodLibpq] = BenchServer::wallMedians([&] { periodOnServer.FindClick(); },
                                                         [&] { runAll(periodNative); });
    report("expenses of one year (list and totals)", periodOnServer.list().rowCount(),
           periodServer, periodLibpq);
    ExpensesByMonthWindow monthOnServer;
    monthOnServer.fromField()->setText(y1);
    monthOnServer.toField()->setText(y2);
    const auto monthNative
        = statements({ExpensesSql::monthList(y1, y2), ExpensesSql::monthTotals(y1, y2)});
    const auto [monthServer, monthLibpq]
        = BenchServer::wallMedians([&] { monthOnServer.FindClick(); }, [&] { runAll(monthNative); });
    report("24 months (rows and totals)", monthOnServer.list().rowCount(), monthServer,
           monthLibpq);
    return 0;
}
