// Times the patient windows on a large generated practice against the same SQL run straight
// through the SQLite C API in the same process. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./patients_bench [patients=50000] [visits=650000]
#include "connectionstring.h"
#include "dialect.h"
#include "patientlistwindow.h"
#include "patientsql.h"
#include "practicegenerator.h"
#include "program.h"
#include "sqlfunctions.h"
#include "visitswindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 7;

// The thread's CPU time: the machine is shared, and wall time mostly measures the neighbours.
double cpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double medianMs(const std::function<void()> &prepare, const std::function<void()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns + 1; ++i) {
        if (prepare)
            prepare();
        const double start = cpuMs();
        run();
        const double ms = cpuMs() - start;
        if (i > 0) // the first run warms the caches
            times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The baseline: a statement prepared and stepped to the end on a raw handle, every column of
// every row read as text, as a record set reads them.
struct Direct {
    sqlite3 *db = nullptr;
    QString path;
    void open()
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        SqlFunctions::registerAll(db);
        const QByteArray pragmas = qgetenv("BENCH_PRAGMAS");
        if (!pragmas.isEmpty())
            sqlite3_exec(db, pragmas.constData(), nullptr, nullptr, nullptr);
    }
    void close()
    {
        sqlite3_close(db);
        db = nullptr;
    }
    int run(const QString &jetSql) const
    {
        const QString sql = Dialect::translate(jetSql);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare16_v2(db, sql.utf16(), -1, &stmt, nullptr);
        int rows = 0;
        qsizetype bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                sqlite3_column_text16(stmt, c);
                bytes += sqlite3_column_bytes16(stmt, c);
            }
        }
        sqlite3_finalize(stmt);
        return rows + int(bytes & 1);
    }
};

void report(const char *what, double ms, double baseline)
{
    std::printf("%-46s %9.2f ms   direct %8.2f ms   ratio %5.2f\n", what, ms, baseline,
                baseline > 0 ? ms / baseline : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int patients = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int visits = argc > 2 ? std::atoi(argv[2]) : 650000;

    QTemporaryDir dir;
    const QString db = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    QElapsedTimer gen;
    gen.start();
    const GeneratedPractice practice = generatePractice(db, patients, visits, 100);
    std::printf("generated %d patients (%d ΠΑΠ...), %d visits in %.1f s\n", practice.patients,
                practice.papSurnames, practice.visits, double(gen.elapsed()) / 1000);
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());

    Direct direct {nullptr, db};
    const auto all = PatientSql::allPatients();
    const auto pap = PatientSql::bySurname(QStringLiteral("ΠΑΠ"));
    const QString visitsSql = PatientSql::visits(QStringLiteral("1"));

    PatientListWindow list;
    // Each showing opens its connection and reads the rows; so does the baseline.
    auto showList = [&](const PatientSql::ListQuery &q) {
        list.ListSql = q.sql;
        list.ListFilter = q.filter;
        list.FormShow();
    };
    auto directOpenRun = [&](const QString &sql) {
        direct.open();
        direct.run(sql);
        direct.close();
    };

    report("\"Όλοι οι ασθενείς\" to a filled list", medianMs({}, [&] { showList(all); }),
           medianMs({}, [&] { directOpenRun(all.sql); }));
    std::printf("    rows: %d\n", list.records().rowCount());
    if (qEnvironmentVariableIsSet("BENCH_ONLY_LIST")) // for profiling the list alone
        return 0;
    report("    (direct, same SELECT without ORDER BY)", 0,
           medianMs({}, [&] { directOpenRun(all.sql.left(all.sql.indexOf(" ORDER BY"))); }));
    report("surname search \"ΠΑΠ\"", medianMs({}, [&] { showList(pap); }),
           medianMs({}, [&] { directOpenRun(pap.sql); }));
    std::printf("    rows: %d\n", list.records().rowCount());

    showList(all);
    direct.open();
    const char *columns[] = {"EPWNYMO", "HMEROMHNIA_GENNHSEWS", "FYLO", "EPAGGELMA", "TAMEIO"};
    for (const bool descending : {false, true}) {
        (descending ? list.descendingOption() : list.ascendingOption())->click();
        for (const char *column : columns) {
            const QString name = QLatin1String(column);
            const QString dirText = descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
            // Every timed re-sort starts from rows in another order.
            const double ms
                = medianMs([&] { list.records().sort(QStringLiteral("THLEFWNO_1 ASC")); },
                           [&] { list.sortOption(name)->click(); });
            const double base = medianMs({}, [&] {
                direct.run(all.sql.left(all.sql.indexOf(QStringLiteral(" ORDER BY")))
                           + QStringLiteral(" ORDER BY ") + name + dirText);
            });
            const QByteArray label = ("re-sort " + name + dirText).toUtf8();
            report(label.constData(), ms, base);
        }
    }
    direct.close();
    list.done(0);

    report("visits of a patient with 100 visits",
           medianMs({},
                    [&] {
                        VisitsWindow w;
                        w.PatientFirstName = QStringLiteral("Γιώργος");
                        w.PatientSurname = QStringLiteral("Παπαδόπουλος");
                        w.PatientId = QStringLiteral("1");
                        w.FormShow();
                        if (w.visits().rowCount() != 100)
                            std::printf("unexpected visit count %d\n", w.visits().rowCount());
                        w.done(0);
                    }),
           medianMs({}, [&] { directOpenRun(visitsSql); }));
    return 0;
}
