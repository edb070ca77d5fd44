// Compares the two engines on the same practice: the windows' statements through a record set
// on a PostgreSQL server, the same statements straight through libpq on one session in the same
// process (the baseline), and the record set on the practice's data.mdb. The times are wall
// clock (the server works in its own processes, so this thread's CPU time says little); run it
// on a quiet machine, several times. Starts no server: give it the maintenance connection text
// of one (scripts/pg-cluster.sh start DIR prints it); it creates a database of its own there,
// copies the practice into it and drops it at the end (ORVANTA_BENCH_KEEP=1 keeps it, to look
// at the plans with psql).
//
//   ./server_bench [patients=5000] [visits=50000] [server connection text]
//   ORVANTA_BENCH_SERVER="host=127.0.0.1 port=54321 user=orvanta dbname=postgres" ./server_bench
#include "appointmenttexts.h"
#include "benchserver.h"
#include "billingsql.h"
#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "dialect.h"
#include "engine.h"
#include "expensessql.h"
#include "patientsql.h"
#include "practicecopy.h"
#include "practicegenerator.h"
#include "receiptissue.h"
#include "receiptmath.h"
#include "recordset.h"
#include "schema.h"
#include "sqltext.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 7;       // readings
constexpr int kWriteRuns = 15; // writes, which wait for the disk

[[noreturn]] void die(const QString &what)
{
    std::fprintf(stderr, "server_bench: %s\n", qPrintable(what));
    std::exit(1);
}

double wallMs(const std::function<void()> &work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using Work = std::function<void()>;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Wall-clock medians of the three ways of doing the same work, taken in turn (server record
// set, libpq, file record set, then again), so that a neighbour's load falls on all three
// alike. A first round warms the caches on every side and is not counted.
void measure(double &server, double &direct, double &file, const Work &onServer,
             const Work &onDirect, const Work &onFile, int runs)
{
    std::vector<double> s, d, f;
    for (int i = 0; i < runs + 1; ++i) {
        const double a = wallMs(onServer), b = wallMs(onDirect), c = wallMs(onFile);
        if (i == 0)
            continue;
        s.push_back(a);
        d.push_back(b);
        f.push_back(c);
    }
    server = median(s);
    direct = median(d);
    file = median(f);
}

// ---- the practice ------------------------------------------------------------------------

void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        die(QStringLiteral("%1: %2").arg(QLatin1String(what),
                                         QString::fromUtf8(sqlite3_errmsg(db))));
}

struct Filled {
    int receipts = 0;
    int expenses = 0;
    int days = 0;
};

// What the patient generator leaves empty: a receipt and its payment for every other visit
// (patient 1 has 40 of them), ten years of expenses, and the appointment book of 2024-2026
// (every working day opened, most columns booked).
Filled fillTheRest(const QString &path, int patients, int receipts)
{
    Filled out;
    sqlite3 *db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr), db,
          "begin");
    QRandomGenerator rng(20261209);

    sqlite3_stmt *receipt = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,"
                             "PARALHPTHS,POSO,TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO,EGKYRH) "
                             "VALUES(?,?,'Γιώργος','Παπαδόπουλος','Γιώργος Παπαδόπουλος',?,?,?,"
                             "'Φυσικοθεραπεία',?,?,?)",
                             -1, &receipt, nullptr),
          db, "prepare receipt");
    sqlite3_stmt *payment = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO EISPRAKSH_PELATH(ID,HMEROMHNIA,POSO,PERIGRAFH,TAMEIO,"
                             "POSO_CY,AR_APODEIKSHS,VAT,SYNOLIKO_POSO) "
                             "VALUES(?,?,?,'Φυσικοθεραπεία',?,?,?,?,?)",
                             -1, &payment, nullptr),
          db, "prepare payment");
    const QDate start(2016, 1, 1);
    for (int i = 0; i < receipts; ++i) {
        const QByteArray date
            = start.addDays(i * 3650LL / std::max(1, receipts)).toString(Qt::ISODate).toUtf8();
        const ReceiptMath::Figures f = ReceiptMath::compute(Decimal(20 + (i % 13) * 5), Decimal(15));
        const char *fund = i % 3 ? "ΙΚΑ" : "";
        sqlite3_bind_int(receipt, 1, i + 1);
        sqlite3_bind_text(receipt, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(receipt, 3, f.amount.toDouble());
        sqlite3_bind_text(receipt, 4, fund, -1, SQLITE_STATIC);
        sqlite3_bind_double(receipt, 5, f.amountCy.toDouble());
        sqlite3_bind_double(receipt, 6, f.vat.toDouble());
        sqlite3_bind_double(receipt, 7, f.total.toDouble());
        sqlite3_bind_int(receipt, 8, i % 50 ? 1 : 0);
        check(sqlite3_step(receipt), db, "insert receipt");
        sqlite3_reset(receipt);
        if (i % 50 == 0)
            continue; // a cancelled receipt has no payment
        sqlite3_bind_int(payment, 1, i < 40 ? 1 : 2 + rng.bounded(std::max(1, patients - 1)));
        sqlite3_bind_text(payment, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(payment, 3, f.amount.toDouble());
        sqlite3_bind_text(payment, 4, fund, -1, SQLITE_STATIC);
        sqlite3_bind_double(payment, 5, f.amountCy.toDouble());
        sqlite3_bind_int(payment, 6, i + 1);
        sqlite3_bind_double(payment, 7, f.vat.toDouble());
        sqlite3_bind_double(payment, 8, f.total.toDouble());
        check(sqlite3_step(payment), db, "insert payment");
        sqlite3_reset(payment);
    }
    sqlite3_finalize(receipt);
    sqlite3_finalize(payment);
    out.receipts = receipts;
    const QByteArray counters = QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(%1);"
                                               "INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15)")
                                    .arg(receipts + 1)
                                    .toUtf8();
    check(sqlite3_exec(db, counters.constData(), nullptr, nullptr, nullptr), db, "counters");

    sqlite3_stmt *expense = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(?,?,?,?)",
                             -1, &expense, nullptr),
          db, "prepare expense");
    const char *const what[] = {"Ενοίκιο", "Ρεύμα", "Νερό", "Τηλέφωνο", "Αναλώσιμα", "Καθαριότητα"};
    const QDate firstExpense(2016, 1, 1);
    for (int i = 0; i < 10000; ++i) {
        const QByteArray date
            = firstExpense.addDays(rng.bounded(3653)).toString(Qt::ISODate).toUtf8();
        const double amount = double(rng.bounded(100000)) / 100;
        sqlite3_bind_text(expense, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(expense, 2, amount);
        sqlite3_bind_double(expense, 3, double(qRound(amount * 24)) / 100);
        sqlite3_bind_text(expense, 4, what[i % 6], -1, SQLITE_STATIC);
        check(sqlite3_step(expense), db, "insert expense");
        sqlite3_reset(expense);
    }
    sqlite3_finalize(expense);
    out.expenses = 10000;

    const QStringList slotNames = Schema::slotColumns();
    QStringList names, marks;
    for (const QString &s : slotNames) {
        names << QLatin1Char('"') + s + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    const QByteArray daySql = QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA, %1) VALUES (?, %2)")
                                  .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                                  .toUtf8();
    sqlite3_stmt *day = nullptr;
    check(sqlite3_prepare_v2(db, daySql.constData(), -1, &day, nullptr), db, "prepare day");
    const char *const people[] = {"Παπαδόπουλος Γιώργος", "Νικολάου Μαρία", "Ιωάννου Κώστας",
                                  "Γεωργίου Ελένη, αυχενικό", "Αθανασίου Σοφία, οσφυαλγία"};
    for (QDate d(2024, 1, 1); d <= QDate(2026, 12, 31); d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        const QByteArray iso = d.toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(day, 1, iso.constData(), -1, SQLITE_TRANSIENT);
        for (int k = 0; k < slotNames.size(); ++k) {
            if (rng.bounded(100) < 85)
                sqlite3_bind_text(day, k + 2, people[rng.bounded(5)], -1, SQLITE_STATIC);
            else
                sqlite3_bind_null(day, k + 2);
        }
        check(sqlite3_step(day), db, "insert day");
        sqlite3_reset(day);
        ++out.days;
    }
    sqlite3_finalize(day);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
    return out;
}

// ---- the server -----------------------------------------------------------------------------

using BenchServer::Libpq;
using BenchServer::withDatabase;

QByteArray serverSql(const QString &jetSql)
{
    return BenchServer::nativeSql(jetSql);
}

// ---- the statements -----------------------------------------------------------------------

// A window's reading: one or more statements in the windows' dialect run one after another.
struct Reading {
    const char *label;
    QStringList jetSql;
    QString orderedBy = {}; // the column the statements sort by, when they sort
};

// Every value of a record set as the windows show it, one line per row.
QStringList rowsOf(const RecordSet &set)
{
    QStringList out;
    out.reserve(set.rowCount());
    for (int r = 0; r < set.rowCount(); ++r) {
        QStringList values;
        for (int c = 0; c < set.columnCount(); ++c)
            values << set.text(r, c);
        out << values.join(QLatin1Char('\x1f'));
    }
    return out;
}

struct Outcome {
    int rows = 0;
    QStringList shown;   // every row of every statement, as shown
    QStringList ordered; // the sort column's values, in the order read
};

Outcome readThrough(Connection &connection, const QStringList &jetSql,
                    const QString &orderedBy = {})
{
    Outcome out;
    Query query(connection);
    for (const QString &sql : jetSql) {
        query.setSql(sql);
        query.open();
        out.rows += query.rowCount();
        out.shown << rowsOf(query);
        const int column = orderedBy.isEmpty() ? -1 : query.fieldIndex(orderedBy);
        for (int r = 0; column >= 0 && r < query.rowCount(); ++r)
            out.ordered << query.text(r, column);
    }
    return out;
}

// What the windows wait for: the statements run through one Query, every row fetched.
int openAll(Connection &connection, const QStringList &jetSql)
{
    int rows = 0;
    Query query(connection);
    for (const QString &sql : jetSql) {
        query.setSql(sql);
        query.open();
        rows += query.rowCount();
    }
    return rows;
}

// Same rows on both engines (in the same order, or only as a set when the order differs).
QString compare(const Outcome &onServer, const Outcome &onFile)
{
    QStringList server = onServer.shown, file = onFile.shown;
    if (server == file)
        return QStringLiteral("same");
    std::sort(server.begin(), server.end());
    std::sort(file.begin(), file.end());
    if (server == file) {
        if (onServer.ordered.isEmpty())
            return QStringLiteral("same rows, other order");
        for (int i = 0; i < onServer.ordered.size(); ++i) {
            if (onServer.ordered.at(i) != onFile.ordered.value(i))
                return QStringLiteral("same rows, SORTED OTHERWISE from row %1: server \"%2\", "
                                      "file \"%3\"")
                    .arg(i + 1)
                    .arg(onServer.ordered.at(i), onFile.ordered.value(i));
        }
        return QStringLiteral("same (rows with equal sort keys in another order)");
    }
    int differing = 0;
    QString example;
    for (int i = 0; i < std::max(server.size(), file.size()); ++i) {
        const QString s = server.value(i), f = file.value(i);
        if (s != f) {
            if (!differing++)
                example = QStringLiteral("server [%1] file [%2]")
                              .arg(s, f)
                              .replace(QChar(0x1f), QLatin1Char('|'));
        }
    }
    return QStringLiteral("DIFFERENT (%1 of %2/%3 sorted rows; first: %4)")
        .arg(differing)
        .arg(server.size())
        .arg(file.size())
        .arg(example);
}

struct Line {
    QString label;
    int rows = 0;
    double server = 0, direct = 0, file = 0;
    QString check;
};

std::vector<Line> g_lines;

void print(const Line &l)
{
    std::printf("%-44s %6d %10.2f %10.2f %10.2f %7.2f %8.2f  %s\n", qPrintable(l.label), l.rows,
                l.server, l.direct, l.file, l.direct > 0 ? l.server / l.direct : 0.0,
                l.file > 0 ? l.server / l.file : 0.0, qPrintable(l.check));
    std::fflush(stdout);
}

void header()
{
    std::printf("%-44s %6s %10s %10s %10s %7s %8s  %s\n", "statement (wall ms, median)", "rows",
                "server RS", "libpq", "SQLite RS", "RS/pq", "srv/file", "rows on both engines");
}

void record(Line line)
{
    print(line);
    g_lines.push_back(std::move(line));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int patients = argc > 1 ? std::max(2, std::atoi(argv[1])) : 5000;
    const int visits = argc > 2 ? std::max(100, std::atoi(argv[2])) : 50000;
    const QString maintenance
        = argc > 3 ? QString::fromLocal8Bit(argv[3]) : qEnvironmentVariable("ORVANTA_BENCH_SERVER");
    if (maintenance.isEmpty())
        die(QStringLiteral("no server: give its maintenance connection text as the third "
                           "argument or in ORVANTA_BENCH_SERVER"));

    QTemporaryDir dir;
    const QString fileFolder = QDir(dir.path()).filePath(QStringLiteral("file"));
    const QString serverFolder = QDir(dir.path()).filePath(QStringLiteral("server"));
    QDir().mkpath(fileFolder);
    QDir().mkpath(serverFolder);
    const QString dbPath = QDir(fileFolder).filePath(QStringLiteral("data.mdb"));

    QElapsedTimer timer;
    timer.start();
    const GeneratedPractice practice = generatePractice(dbPath, patients, visits, 100);
    const Filled rest = fillTheRest(dbPath, patients, visits / 2);
    std::printf("practice: %d patients (%d ΠΑΠ...), %d visits, %d receipts, %d expenses, %d days "
                "of appointments; data.mdb %lld KiB, generated in %.1f s\n",
                practice.patients, practice.papSurnames, practice.visits, rest.receipts,
                rest.expenses, rest.days, QFileInfo(dbPath).size() / 1024,
                double(timer.elapsed()) / 1000);

    // A database of our own on the server, the practice copied into it.
    const QString database = QStringLiteral("orvanta_bench_%1_%2")
                                 .arg(getpid())
                                 .arg(QDateTime::currentSecsSinceEpoch());
    const QString serverConnection = withDatabase(maintenance, database);
    {
        Libpq admin(maintenance);
        admin.exec("CREATE DATABASE " + database.toUtf8());
    }
    timer.restart();
    QStringList copied;
    try {
        copied = PracticeCopy::copyToServer(fileFolder, serverConnection);
    } catch (const DbError &e) {
        die(QStringLiteral("copy to the server failed: ") + e.message());
    }
    std::printf("copied to %s in %.2f s (wall): %s\n", qPrintable(database),
                double(timer.elapsed()) / 1000, qPrintable(copied.join(QStringLiteral(", "))));
    {
        // The copy leaves the new rows to the server's autovacuum; a practice moved over a
        // weekend has had them analysed long before anyone measures, so analyse them now.
        Libpq fresh(serverConnection);
        fresh.exec("VACUUM ANALYZE");
    }
    EngineSettings::writeServer(serverFolder, serverConnection);

    int exitCode = 0;
    try {
        Connection server;
        server.setUp(ConnectionString::build(serverFolder), true);
        Connection file;
        file.setUp(ConnectionString::build(fileFolder), true);
        if (server.engine() != Engine::PostgreSQL || file.engine() != Engine::SQLite)
            die(QStringLiteral("the practices did not open on the engines expected"));
        Libpq direct(serverConnection);

        header();

        // Opening: what each window does when it is shown.
        {
            Line l;
            l.label = QStringLiteral("open a connection (each window showing)");
            const Work serverWork([&] {
                Connection c;
                c.setUp(ConnectionString::build(serverFolder), true);
            });
            const Work directWork([&] {
                Libpq d(serverConnection);
                d.run("SELECT value FROM orvanta_file WHERE name = 'password'");
            });
            const Work fileWork([&] {
                Connection c;
                c.setUp(ConnectionString::build(fileFolder), true);
            });
            measure(l.server, l.direct, l.file, serverWork, directWork, fileWork, kRuns);
            record(l);
        }

        const auto monthDays = [](int year, int month) {
            QStringList out;
            for (int d = 1; d <= QDate(year, month, 1).daysInMonth(); ++d)
                out << AppointmentTexts::dayQuery(
                    SqlText::ToSqlDate(AppointmentTexts::dateText(d, month, year)));
            return out;
        };
        const QString from2020 = SqlText::ToSqlDate(QStringLiteral("1/1/2020"));
        const QString to2020 = SqlText::ToSqlDate(QStringLiteral("31/12/2020"));
        const std::vector<Reading> readings = {
            {"patient list by surname (every patient)",
             {PatientSql::allPatients().sql},
             QStringLiteral("EPWNYMO")},
            {"surname search LIKE 'ΠΑΠ%'",
             {PatientSql::bySurname(QStringLiteral("ΠΑΠ")).sql},
             QStringLiteral("EPWNYMO")},
            {"one patient's row (health record)", {PatientSql::healthRecord(QStringLiteral("1"))}},
            {"one patient's visits (100)",
             {PatientSql::visits(QStringLiteral("1"))},
             QStringLiteral("HMEROMHNIA")},
            {"month view: March 2026, 31 day queries", monthDays(2026, 3)},
            {"one patient's payments and sums",
             {BillingSql::patientPayments(QStringLiteral("1")),
              BillingSql::patientTotals(QStringLiteral("1"))},
             QStringLiteral("HMEROMHNIA")},
            {"a year's income (2020)", {BillingSql::periodIncome(from2020, to2020)}},
            {"receipt register (every receipt)",
             {BillingSql::kRegister},
             QStringLiteral("HMEROMHNIA")},
            {"expenses of a year (list and totals)",
             {ExpensesSql::periodList(from2020, to2020),
              ExpensesSql::periodTotals(from2020, to2020)},
             QStringLiteral("HMEROMHNIA")},
            {"expenses by month, 2 years (rows, totals)",
             {ExpensesSql::monthList(QStringLiteral("2019"), QStringLiteral("2020")),
              ExpensesSql::monthTotals(QStringLiteral("2019"), QStringLiteral("2020"))}},
        };

        for (const Reading &reading : readings) {
            std::vector<QByteArray> native;
            for (const QString &sql : reading.jetSql)
                native.push_back(serverSql(sql));
            Line l;
            l.label = QString::fromUtf8(reading.label);
            const Work serverWork([&] { openAll(server, reading.jetSql); });
            int directRows = 0;
            const Work directWork([&] {
                directRows = 0;
                for (const QByteArray &sql : native)
                    directRows += direct.run(sql);
            });
            const Work fileWork([&] { openAll(file, reading.jetSql); });
            measure(l.server, l.direct, l.file, serverWork, directWork, fileWork, kRuns);
            // Compared outside the timing.
            const Outcome onServer = readThrough(server, reading.jetSql, reading.orderedBy);
            const Outcome onFile = readThrough(file, reading.jetSql, reading.orderedBy);
            l.rows = onServer.rows;
            l.check = compare(onServer, onFile);
            if (directRows != onServer.rows)
                l.check += QStringLiteral("; libpq read %1 rows").arg(directRows);
            record(l);
        }

        // Windows as they read: a connection of their own for each showing. A new session on a
        // server knows no table's column names yet.
        const auto withOwnConnection
            = [&](const QString &label, const QString &sql, const QString &orderedBy) {
                  const QByteArray native = serverSql(sql);
                  Line l;
                  l.label = label;
                  const Work serverWork([&] {
                      Connection c;
                      c.setUp(ConnectionString::build(serverFolder), true);
                      openAll(c, {sql});
                  });
                  const Work directWork([&] {
                      Libpq d(serverConnection);
                      d.run("SELECT value FROM orvanta_file WHERE name = 'password'");
                      d.run(native);
                  });
                  const Work fileWork([&] {
                      Connection c;
                      c.setUp(ConnectionString::build(fileFolder), true);
                      openAll(c, {sql});
                  });
                  measure(l.server, l.direct, l.file, serverWork, directWork, fileWork, kRuns);
                  const Outcome onServer = readThrough(server, {sql}, orderedBy);
                  const Outcome onFile = readThrough(file, {sql}, orderedBy);
                  l.rows = onServer.rows;
                  l.check = compare(onServer, onFile);
                  record(l);
              };
        withOwnConnection(QStringLiteral("patient list, connection opened for it"),
                          PatientSql::allPatients().sql, QStringLiteral("EPWNYMO"));
        withOwnConnection(QStringLiteral("health record, connection opened for it"),
                          PatientSql::healthRecord(QStringLiteral("1")), QString());

        // A new patient, as the new-patient window enters one: an empty set of the table's
        // rows, a row inserted, typed into and posted.
        {
            const QString noRows = QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE 1=0");
            const auto enter = [&](Connection &c) {
                Query q(c);
                q.setSql(noRows);
                q.open();
                q.insert();
                q.setFieldValue(QStringLiteral("ONOMA"), QStringLiteral("Γιώργος"));
                q.setFieldValue(QStringLiteral("EPWNYMO"), QStringLiteral("Παπαδάκης"));
                q.setFieldValue(QStringLiteral("FYLO"), QStringLiteral("ΑΡΡΕΝ"));
                q.setFieldValue(QStringLiteral("HMEROMHNIA_GENNHSEWS"),
                                QStringLiteral("12/5/1970"));
                q.setFieldValue(QStringLiteral("TAMEIO"), QStringLiteral("ΙΚΑ"));
                q.setFieldValue(QStringLiteral("THLEFWNO_1"), QStringLiteral("2101234567"));
                q.post();
                if (q.fieldText(QStringLiteral("ID")).isEmpty())
                    die(QStringLiteral("the posted patient has no ID"));
            };
            const QByteArray noRowsNative = serverSql(noRows);
            Line l;
            l.label = QStringLiteral("new patient: insert and post (Query)");
            const Work serverWork([&] { enter(server); });
            const Work directWork([&] {
                direct.run(noRowsNative);
                direct.run("INSERT INTO stoixeia_pelath (onoma, epwnymo, fylo, "
                           "hmeromhnia_gennhsews, tameio, thlefwno_1) "
                           "VALUES ($1, $2, $3, $4, $5, $6) RETURNING *",
                           {"Γιώργος", "Παπαδάκης", "ΑΡΡΕΝ", "1970-05-12", "ΙΚΑ", "2101234567"});
            });
            const Work fileWork([&] { enter(file); });
            measure(l.server, l.direct, l.file, serverWork, directWork, fileWork, kWriteRuns);
            l.rows = 1;
            l.check = QStringLiteral("-");
            record(l);
        }

        // A receipt, as the receipt window issues one: number and rate read, then the checked
        // transaction (counter locked, payment, receipt and the rate it was issued with, counter
        // raised).
        {
            const ReceiptIssue::Input input {QStringLiteral("7"),
                                             QStringLiteral("Γιώργος"),
                                             QStringLiteral("Παπαδόπουλος"),
                                             QStringLiteral("40"),
                                             QStringLiteral("Φυσικοθεραπεία"),
                                             QStringLiteral("ΙΚΑ")};
            const auto issue = [&](Connection &c) {
                ReceiptIssue receipt(c);
                receipt.read();
                const ReceiptIssue::Result r = receipt.issue(input);
                if (r.outcome != ReceiptIssue::Outcome::Issued)
                    die(QStringLiteral("receipt not issued: ") + r.error);
            };
            const QByteArray lastNumber = serverSql(BillingSql::kLastNumber);
            const QByteArray vatRate = serverSql(BillingSql::kVatRate);
            const QByteArray lock = serverSql(BillingSql::kLockLastNumber);
            const QByteArray raise = serverSql(BillingSql::kRaiseCounter);
            Line l;
            l.label = QStringLiteral("issue a receipt (ReceiptIssue)");
            const Work serverWork([&] { issue(server); });
            const Work directWork([&] {
                const QByteArray shown = direct.first(lastNumber);
                direct.run(vatRate);
                direct.run("BEGIN");
                if (direct.first(lock) != shown)
                    die(QStringLiteral("the receipt counter moved"));
                const ReceiptMath::Figures f = ReceiptMath::compute(Decimal(40), Decimal(15));
                const BillingSql::ReceiptRow row {
                    input.patientId, shown.toLongLong(), input.firstName,
                    input.surname,   input.description,  input.fund,
                    f.amount,        f.amountCy,         f.vat,
                    f.total};
                direct.run(serverSql(BillingSql::insertPayment(row)));
                direct.run(serverSql(BillingSql::insertReceipt(row)));
                direct.run("INSERT INTO syntelesths_apodeikshs (ar_apodeikshs, vat_ratio) "
                           "VALUES ($1, $2)",
                           {shown, "15"});
                direct.run(raise);
                direct.run("COMMIT");
            });
            const Work fileWork([&] { issue(file); });
            measure(l.server, l.direct, l.file, serverWork, directWork, fileWork, kWriteRuns);
            l.rows = 1;
            l.check = QStringLiteral("-");
            record(l);
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "server_bench: %s\n%s\n", qPrintable(e.message()),
                     qPrintable(e.sql()));
        exitCode = 1;
    }

    if (!qEnvironmentVariableIsSet("ORVANTA_BENCH_KEEP")) {
        Libpq admin(maintenance);
        admin.exec("DROP DATABASE " + database.toUtf8() + " WITH (FORCE)");
    } else {
        std::printf("kept the database: %s\n", qPrintable(serverConnection));
    }
    return exitCode;
}
