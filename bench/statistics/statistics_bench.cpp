// Times the statistics window on a large practice (650,000 receipts and 500,000 visits over ten
// years) against the same statements run straight through the SQLite C API in the same
// process, and the time from opening the window to its first paint. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./statistics_bench [receipts=650000] [visits=500000]
#include "connection.h"
#include "connectionstring.h"
#include "datawindow.h"
#include "dialect.h"
#include "practicestatistics.h"
#include "program.h"
#include "schema.h"
#include "sqlfunctions.h"
#include "statisticssql.h"
#include "statisticswindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QSpinBox>
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

double medianMs(const std::function<void()> &run, double (*clock)() = cpuMs)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns + 1; ++i) {
        const double start = clock();
        run();
        if (i > 0) // the first run warms the caches
            times.push_back(clock() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double wallMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

// A raw handle on the practice file with the program's SQL functions, statements in the
// engine's dialect, every row stepped and every column read.
struct Direct {
    sqlite3 *db = nullptr;
    explicit Direct(const QString &path)
    {
        check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db,
              "open");
        SqlFunctions::registerAll(db);
    }
    ~Direct() { sqlite3_close(db); }
    int run(const QString &jetSql) const
    {
        const QString sql = Dialect::translate(jetSql);
        sqlite3_stmt *stmt = nullptr;
        check(sqlite3_prepare16_v2(db, sql.utf16(), -1, &stmt, nullptr), db, "prepare");
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sqlite3_column_text16(stmt, c);
        }
        sqlite3_finalize(stmt);
        return rows;
    }
};

void fill(const QString &path, int receipts, int visits)
{
    Direct d(path);
    sqlite3_exec(d.db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *receipt = nullptr;
    sqlite3_prepare_v2(d.db,
                       "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,PARALHPTHS,"
                       "POSO,TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO,EGKYRH) "
                       "VALUES(?,?,'Γιώργος','Παπαδόπουλος','Γιώργος Παπαδόπουλος',?,'ΙΚΑ',0,"
                       "'Φυσικοθεραπεία',?,?,?)",
                       -1, &receipt, nullptr);
    const QDate start(2016, 1, 1);
    for (int i = 0; i < receipts; ++i) {
        const QByteArray date = start.addDays(i * 3650LL / receipts).toString(Qt::ISODate).toUtf8();
        const double amount = 20 + (i % 13) * 5;
        sqlite3_bind_int(receipt, 1, i + 1);
        sqlite3_bind_text(receipt, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(receipt, 3, amount);
        sqlite3_bind_double(receipt, 4, amount * 0.24);
        sqlite3_bind_double(receipt, 5, amount * 1.24);
        sqlite3_bind_int(receipt, 6, i % 50 ? 1 : 0);
        check(sqlite3_step(receipt), d.db, "insert receipt");
        sqlite3_reset(receipt);
    }
    sqlite3_finalize(receipt);
    sqlite3_stmt *visit = nullptr;
    sqlite3_prepare_v2(d.db, "INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(?,?,'Πόνος')",
                       -1, &visit, nullptr);
    for (int i = 0; i < visits; ++i) {
        const QByteArray date = start.addDays(i * 3650LL / visits).toString(Qt::ISODate).toUtf8();
        // About 25,000 patients, each coming for some weeks.
        sqlite3_bind_int(visit, 1, i / 20 + (i % 7));
        sqlite3_bind_text(visit, 2, date.constData(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(visit), d.db, "insert visit");
        sqlite3_reset(visit);
    }
    sqlite3_finalize(visit);
    sqlite3_stmt *expense = nullptr;
    sqlite3_prepare_v2(d.db,
                       "INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(?,?,?,'Ρεύμα')",
                       -1, &expense, nullptr);
    sqlite3_stmt *link = nullptr;
    sqlite3_prepare_v2(d.db,
                       "INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,DEN_PROSHLTHE) "
                       "VALUES(?,?,?,?)",
                       -1, &link, nullptr);
    for (int day = 0; day < 3650; ++day) {
        const QByteArray date = start.addDays(day).toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(expense, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(expense, 2, 10 + day % 90);
        sqlite3_bind_double(expense, 3, (10 + day % 90) * 0.24);
        check(sqlite3_step(expense), d.db, "insert expense");
        sqlite3_reset(expense);
        for (int slot = 0; slot < 20; ++slot) {
            sqlite3_bind_text(link, 1, date.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(link, 2, slot);
            sqlite3_bind_int(link, 3, day * 7 + slot);
            sqlite3_bind_int(link, 4, (day + slot) % 17 == 0);
            check(sqlite3_step(link), d.db, "insert link");
            sqlite3_reset(link);
        }
    }
    sqlite3_finalize(expense);
    sqlite3_finalize(link);
    sqlite3_exec(d.db, "COMMIT", nullptr, nullptr, nullptr);
}

void report(const char *what, double ms, double baseline)
{
    std::printf("%-52s %9.2f ms   direct %8.2f ms   ratio %5.2f\n", what, ms, baseline,
                baseline > 0 ? ms / baseline : 0.0);
    std::fflush(stdout);
}

// Opens the window as the menu does, up to its first paint: wall time.
class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int receipts = argc > 1 ? std::atoi(argv[1]) : 650000;
    const int visits = argc > 2 ? std::atoi(argv[2]) : 500000;
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    Schema::createPracticeDatabase(file, QLatin1String(ConnectionString::kDatabasePassword));
    QElapsedTimer gen;
    gen.start();
    fill(file, receipts, visits);
    std::printf("generated %d receipts, %d visits, 3,650 expenses, 73,000 linked slots in %.1f s\n",
                receipts, visits, double(gen.elapsed()) / 1000);
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());

    Direct direct(file);
    for (const auto &[year, month] : {std::pair {2020, 12}, std::pair {2025, 6}}) {
        std::printf("-- 12 months ending %d/%d, beside the 12 before\n", month, year);
        PracticeStatistics statistics(year, month);
        const QString from = statistics.fromLiteral(), to = statistics.toLiteral();
        const auto baseline = [&] {
            direct.run(StatisticsSql::income(from, to));
            direct.run(StatisticsSql::expenses(from, to));
            direct.run(StatisticsSql::visits(from, to));
            direct.run(StatisticsSql::newPatients(from, to));
            direct.run(StatisticsSql::appointmentLinks(from, to));
        };
        const double directMs = medianMs(baseline);
        for (const QString &sql :
             {StatisticsSql::income(from, to), StatisticsSql::expenses(from, to),
              StatisticsSql::visits(from, to), StatisticsSql::newPatients(from, to),
              StatisticsSql::appointmentLinks(from, to)})
            std::printf("    direct %8.2f ms  %s\n", medianMs([&] { direct.run(sql); }),
                        qPrintable(sql.left(90)));
        Connection connection;
        ProgramConnection::open(connection);
        report("the statements, read and summed exactly", medianMs([&] {
                   statistics.load(connection);
               }),
               directMs);
        connection.close();

        StatisticsWindow window;
        window.yearBox()->setValue(year);
        window.monthBox()->setCurrentIndex(month - 1);
        report("the window read again (statements, charts, tables)",
               medianMs([&] { window.refresh(); }), directMs);
        std::printf("    income %s EUR, visits %lld, new patients %lld, no-shows %lld\n",
                    qPrintable(statistics.total(PracticeStatistics::Current).income.rounded(
                        2, Decimal::Rounding::HalfAwayFromZero).text()),
                    statistics.total(PracticeStatistics::Current).visits,
                    statistics.total(PracticeStatistics::Current).newPatients,
                    statistics.total(PracticeStatistics::Current).noShows);
    }

    // Opening from the menu: created and shown, first painted, then the figures read and drawn.
    double painted = 0, drawn = 0;
    const auto open = [&] {
        const double start = wallMs();
        StatisticsWindow window;
        FirstPaint watch;
        window.installEventFilter(&watch);
        window.show();
        while (!watch.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        painted = wallMs() - start;
        while (!window.hasRead())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents();
        drawn = wallMs() - start;
        window.done(0);
    };
    std::vector<double> paints, draws;
    for (int i = 0; i < kRuns + 1; ++i) {
        open();
        if (i > 0) {
            paints.push_back(painted);
            draws.push_back(drawn);
        }
    }
    std::sort(paints.begin(), paints.end());
    std::sort(draws.begin(), draws.end());
    std::printf("%-52s %9.2f ms (wall)\n", "opened to first paint", paints[paints.size() / 2]);
    std::printf("%-52s %9.2f ms (wall)\n", "opened to the charts drawn, this month's period",
                draws[draws.size() / 2]);
    return 0;
}
