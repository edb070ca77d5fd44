// Times the accountant's export of a year of a busy practice (25,000 receipts) against writing
// the same rows with a plain QTextStream in the same process. With ORVANTA_BENCH_SERVER set to a
// server's maintenance connection text, the practice is copied to that server, its rows are read
// there (against the same statement through libpq) and exported from what was read. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench/export/export_bench [receipts=25000]
#include "benchserver.h"
#include "billingsql.h"
#include "connection.h"
#include "connectionstring.h"
#include "csvwriter.h"
#include "exportdialog.h"
#include "exportfile.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"

#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kYear = 2025;

// The thread's CPU time: the machine is shared, and wall time mostly measures the neighbours.
double cpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double wallMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Times {
    double cpu = 0;
    double wall = 0;
};

Times median(const std::function<void()> &run)
{
    std::vector<double> cpu, wall;
    for (int i = 0; i < kRuns + 1; ++i) {
        const double c = cpuMs(), w = wallMs();
        run();
        if (i > 0) { // the first run warms the caches
            cpu.push_back(cpuMs() - c);
            wall.push_back(wallMs() - w);
        }
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    return {cpu[cpu.size() / 2], wall[wall.size() / 2]};
}

// Receipts spread over the year (a few cancelled), with the payers and descriptions a practice
// writes, some holding the separator or quotes.
void generate(const QString &path, int receipts)
{
    Schema::createPracticeDatabase(path, QLatin1String(ConnectionString::kDatabasePassword));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,PARALHPTHS,"
                       "POSO,TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO,EGKYRH) "
                       "VALUES(?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    QRandomGenerator rng(20261210);
    const QDate first(kYear, 1, 1);
    const char *const payers[] = {"Παπαδόπουλος Γεώργιος", "Ιωάννου Άννα",
                                  "Ο'Νηλ; \"Γιώργος\"", "Κωνσταντινίδου Μαρία-Ελένη",
                                  "Λάμπρου Νικόλαος"};
    const char *const what[] = {"Φυσικοθεραπεία", "Κινησιοθεραπεία; 5 συνεδρίες",
                                "Μάλαξη \"βαθιά\"", "Ηλεκτροθεραπεία\nκαι υπέρηχοι"};
    const char *const funds[] = {"ΕΟΠΥΥ", "", "Ιδιώτης"};
    for (int i = 0; i < receipts; ++i) {
        const QByteArray date = first.addDays(rng.bounded(365)).toString(Qt::ISODate).toUtf8();
        const double amount = double(2000 + rng.bounded(8000)) / 100;
        const double vat = double(qRound(amount * 24)) / 100;
        sqlite3_bind_int(insert, 1, 1000 + i);
        sqlite3_bind_text(insert, 2, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, "Όνομα", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, "Επώνυμο", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 5, payers[i % 5], -1, SQLITE_STATIC);
        sqlite3_bind_double(insert, 6, amount);
        sqlite3_bind_text(insert, 7, funds[i % 3], -1, SQLITE_STATIC);
        sqlite3_bind_double(insert, 8, 0);
        sqlite3_bind_text(insert, 9, what[i % 4], -1, SQLITE_STATIC);
        sqlite3_bind_double(insert, 10, vat);
        sqlite3_bind_double(insert, 11, amount + vat);
        sqlite3_bind_int(insert, 12, i % 97 == 0 ? 0 : 1);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The baseline: the same rows of the same record set, written field by field with a plain
// QTextStream on a QFile (no quoting, no temporary file, no sync), amounts with two decimals.
void plainTextStream(const RecordSet &rows, const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream out(&file);
    out << "Αριθμός;Ημερομηνία;Πληρωτής;Περιγραφή;Ταμείο;Ποσό;ΦΠΑ;Σύνολο\r\n";
    for (int r = 0; r < rows.rowCount(); ++r) {
        out << rows.value(r, 0).toLongLong() << ';'
            << QDate::fromString(rows.value(r, 1).toString(), Qt::ISODate)
                   .toString(QStringLiteral("d/M/yyyy"))
            << ';' << rows.value(r, 2).toString() << ';' << rows.value(r, 3).toString() << ';'
            << rows.value(r, 4).toString() << ';'
            << QString::number(rows.value(r, 5).toDouble(), 'f', 2) << ';'
            << QString::number(rows.value(r, 6).toDouble(), 'f', 2) << ';'
            << QString::number(rows.value(r, 7).toDouble(), 'f', 2) << "\r\n";
    }
}

const QList<ExportColumn> kColumns = {
    {QStringLiteral("AR_APODEIKSHS"), QStringLiteral("Αριθμός απόδειξης"), ExportCell::Kind::Integer},
    {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), ExportCell::Kind::Date},
    {QStringLiteral("PARALHPTHS"), QStringLiteral("Πληρωτής"), ExportCell::Kind::Text},
    {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), ExportCell::Kind::Text},
    {QStringLiteral("TAMEIO"), QStringLiteral("Ταμείο"), ExportCell::Kind::Text},
    {QStringLiteral("POSO"), QStringLiteral("Ποσό (EUR)"), ExportCell::Kind::Amount},
    {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), ExportCell::Kind::Amount},
    {QStringLiteral("SYNOLIKO_POSO"), QStringLiteral("Ποσό + Φ.Π.Α (EUR)"),
     ExportCell::Kind::Amount},
};

void report(const char *what, const Times &t, const Times &base)
{
    std::printf("%-44s cpu %8.2f ms (ratio %4.2f)   wall %8.2f ms (ratio %4.2f)\n", what, t.cpu,
                base.cpu > 0 ? t.cpu / base.cpu : 0.0, t.wall, base.wall > 0 ? t.wall / base.wall : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int receipts = argc > 1 ? std::atoi(argv[1]) : 25000;

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    generate(path, receipts);
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());

    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    Query rows(connection);
    const QString sql = BillingSql::periodReceipts(QStringLiteral("#1/1/%1#").arg(kYear),
                                                   QStringLiteral("#12/31/%1#").arg(kYear));
    const Times query = median([&] {
        rows.close();
        rows.setSql(sql);
        rows.open();
    });
    std::printf("%d receipts in %d, %d in force; reading them: cpu %.2f ms, wall %.2f ms\n",
                receipts, kYear, rows.rowCount(), query.cpu, query.wall);

    const QString plain = QDir(dir.path()).filePath(QStringLiteral("plain.csv"));
    const QString csv = QDir(dir.path()).filePath(QStringLiteral("export.csv"));
    const QString xlsx = QDir(dir.path()).filePath(QStringLiteral("export.xlsx"));
    const Times baseline = median([&] { plainTextStream(rows, plain); });
    report("baseline: plain QTextStream", baseline, baseline);
    const Times exported = median([&] {
        ExportDialog::writeTable(ExportTable::fromRecordSet(rows, kColumns, QStringLiteral("x")),
                                 csv);
    });
    report("export to CSV (cells, quoting, save + rename)", exported, baseline);
    const ExportTable table = ExportTable::fromRecordSet(rows, kColumns, QStringLiteral("x"));
    report("  of which: the CSV in memory, no file", median([&] {
               QByteArray bytes;
               QBuffer buffer(&bytes);
               buffer.open(QIODevice::WriteOnly);
               CsvWriter csv(buffer);
               csv.writeTable(table);
               csv.flush();
           }),
           baseline);
    const Times book = median([&] {
        ExportDialog::writeTable(ExportTable::fromRecordSet(rows, kColumns, QStringLiteral("x")),
                                 xlsx);
    });
    report("export to xlsx", book, baseline);
    std::printf("sizes: plain %lld bytes, CSV %lld bytes, xlsx %lld bytes\n",
                QFileInfo(plain).size(), QFileInfo(csv).size(), QFileInfo(xlsx).size());

    const QString maintenance = BenchServer::maintenance();
    if (maintenance.isEmpty())
        return 0;
    const BenchServer::PracticeOnServer server(maintenance, dir.path(),
                                               QDir(dir.path()).filePath(QStringLiteral("server")));
    Connection onServer;
    onServer.setUp(ConnectionString::build(server.folder()), true);
    Query serverRows(onServer);
    const Times read = median([&] {
        serverRows.close();
        serverRows.setSql(sql);
        serverRows.open();
    });
    BenchServer::Libpq libpq(server.connectionText());
    const QByteArray native = BenchServer::nativeSql(sql);
    const Times readLibpq = median([&] { libpq.run(native); });
    std::printf("on the server (%d rows):\n", serverRows.rowCount());
    report("reading the year's receipts, against libpq", read, readLibpq);
    const QString serverCsv = QDir(dir.path()).filePath(QStringLiteral("server.csv"));
    const QString serverPlain = QDir(dir.path()).filePath(QStringLiteral("server-plain.csv"));
    const Times serverBaseline = median([&] { plainTextStream(serverRows, serverPlain); });
    report("export to CSV of what the server gave", median([&] {
               ExportDialog::writeTable(
                   ExportTable::fromRecordSet(serverRows, kColumns, QStringLiteral("x")),
                   serverCsv);
           }),
           serverBaseline);
    QFile a(csv), b(serverCsv);
    a.open(QIODevice::ReadOnly);
    b.open(QIODevice::ReadOnly);
    std::printf("    the CSV from the server is %s the CSV from the file\n",
                a.readAll() == b.readAll() ? "the same as" : "NOT the same as");
    return 0;
}
