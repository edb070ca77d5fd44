// How long the month view takes to count the booked columns of a month, on a practice that has
// used the book for 15 years (every working day opened, most columns full), against the same
// statements run straight through the SQLite C API in the same process.
//
//   QT_QPA_PLATFORM=offscreen ./bench_monthview [repetitions]
#include "appointmenttexts.h"
#include "connectionstring.h"
#include "dialect.h"
#include "monthgrid.h"
#include "monthviewwindow.h"
#include "program.h"
#include "schema.h"
#include "sqltext.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFirstYear = 2012;
constexpr int kLastYear = 2026;

void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

// Every Monday to Friday of the 15 years has its row; about 85% of its columns hold a name.
int fillBook(const QString &path)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    const QStringList columns = Schema::slotColumns();
    QStringList names;
    QStringList marks;
    for (const QString &s : columns) {
        names << QLatin1Char('"') + s + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA, %1) VALUES (?, %2)")
                               .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                               .toUtf8();
    sqlite3_stmt *stmt = nullptr;
    check(sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr), db, "prepare");
    const QStringList people = {"Παπαδόπουλος Γιώργος",
                                "Νικολάου Μαρία",
                                "Ιωάννου Κώστας",
                                "Γεωργίου Ελένη, αυχενικό",
                                "Δημητρίου Άννα - 2η συνεδρία",
                                "Κωνσταντίνου Νίκος",
                                "Αθανασίου Σοφία, οσφυαλγία"};
    std::mt19937 random(42);
    int days = 0;
    for (QDate d(kFirstYear, 1, 1); d <= QDate(kLastYear, 12, 31); d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        const QByteArray iso = d.toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(stmt, 1, iso.constData(), -1, SQLITE_TRANSIENT);
        for (int k = 0; k < columns.size(); ++k) {
            if (random() % 100 < 85) {
                const QByteArray who = people.at(int(random() % people.size())).toUtf8();
                sqlite3_bind_text(stmt, k + 2, who.constData(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(stmt, k + 2);
            }
        }
        check(sqlite3_step(stmt), db, "insert");
        sqlite3_reset(stmt);
        ++days;
    }
    sqlite3_finalize(stmt);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
    return days;
}

// The statements the month view runs for one month, as the engine receives them.
std::vector<QByteArray> monthStatements(int year, int month)
{
    std::vector<QByteArray> out;
    for (int d = 1; d <= MonthLayout::DaysInMonth(year, month); ++d) {
        const QString literal = SqlText::ToSqlDate(AppointmentTexts::dateText(d, month, year));
        out.push_back(Dialect::translate(AppointmentTexts::dayQuery(literal)).toUtf8());
    }
    return out;
}

// The same work straight through the C API: open the file, one query per day, count the
// non-blank values of the first row, close.
int directRefresh(const QByteArray &path, const std::vector<QByteArray> &statements)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    int booked = 0;
    for (const QByteArray &sql : statements) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            int count = -1;
            for (int i = 0; i < sqlite3_column_count(stmt) && i < 29; ++i) {
                const unsigned char *t = sqlite3_column_text(stmt, i);
                if (t && *t)
                    ++count;
            }
            booked += std::max(count, 0);
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return booked;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeMs(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    Schema::createPracticeDatabase(path, QLatin1String(ConnectionString::kDatabasePassword));
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());
    const int days = fillBook(path);
    std::printf("book: %d days opened, %d-%d, file %lld KiB\n", days, kFirstYear, kLastYear,
                QFileInfo(path).size() / 1024);

    MonthViewWindow window(nullptr, QDate(2026, 3, 5));
    const QByteArray nativePath = path.toUtf8();

    // Every month of the last three years, in turn, each repetition.
    std::vector<std::pair<int, int>> months;
    for (int y = kLastYear - 2; y <= kLastYear; ++y)
        for (int m = 1; m <= 12; ++m)
            months.emplace_back(y, m);

    std::vector<double> refresh, layout, direct;
    for (int r = 0; r < repetitions; ++r) {
        for (const auto &[year, month] : months) {
            window.ComboBox2()->setCurrentIndex(year - AppointmentTexts::kFirstYear);
            window.ComboBox1()->setCurrentIndex(month - 1);
            layout.push_back(timeMs([&] { window.LayoutMonth(); }));
            refresh.push_back(timeMs([&] { window.RefreshDayCounts(); }));
            const std::vector<QByteArray> statements = monthStatements(year, month);
            direct.push_back(timeMs([&] { directRefresh(nativePath, statements); }));
        }
    }
    const double refreshMs = median(refresh);
    const double layoutMs = median(layout);
    const double directMs = median(direct);
    std::printf("%zu month refreshes (median):\n", refresh.size());
    std::printf("  month view RefreshDayCounts  %8.3f ms\n", refreshMs);
    std::printf("  month view LayoutMonth       %8.3f ms  (labels + refresh)\n", layoutMs);
    std::printf("  SQLite C API, same queries   %8.3f ms\n", directMs);
    std::printf("  ratio refresh / C API        %8.2f\n", refreshMs / directMs);
    std::printf("  worst refresh                %8.3f ms (budget 50 ms)\n",
                *std::max_element(refresh.begin(), refresh.end()));
    return 0;
}
