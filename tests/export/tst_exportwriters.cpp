// The CSV writer byte for byte, and the one way exports reach their files: a destination that
// cannot be written, a writer that gives up and a full disk leave no file under the name and an
// older file of that name as it was.
#include "connection.h"
#include "csvwriter.h"
#include "exportfile.h"
#include "exporttexts.h"
#include "program.h"
#include "recordset.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray csvOf(const std::function<void(CsvWriter &)> &write, QChar separator = u',')
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    {
        CsvWriter csv(buffer, separator);
        write(csv);
        EXPECT_TRUE(csv.flush());
    }
    return out;
}

const QByteArray kBom = "\xEF\xBB\xBF";

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(CsvWriter, QuotesOnlyWhatRfc4180Requires)
{
    struct Case {
        const char *text;
        const char *field;
    } cases[] = {
        {"", ""},
        {"Παπαδόπουλος", "Παπαδόπουλος"},
        {"Ο'Νηλ", "Ο'Νηλ"},                                // an apostrophe is no quote
        {"a,b", "a,b"},                                    // a comma is no separator here
        {"a;b", "\"a;b\""},                                // the separator
        {"say \"hi\"", "\"say \"\"hi\"\"\""},              // quotes doubled
        {"line1\nline2", "\"line1\nline2\""},              // line breaks kept inside quotes
        {"line1\r\nline2", "\"line1\r\nline2\""},
        {" blanks ", " blanks "},                          // blanks are data
        {"Ο'Νηλ; \"Γιώργος\"", "\"Ο'Νηλ; \"\"Γιώργος\"\"\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CsvWriter::field(QString::fromUtf8(c.text)).toUtf8(), QByteArray(c.field))
            << c.text;
}

TEST(CsvWriter, CellsAsASpreadsheetOnThisSystemReadsThem)
{
    struct Case {
        ExportCell cell;
        QChar separator;
        const char *text;
    } cases[] = {
        {ExportCell::ofAmount(Decimal(4050, 2)), u',', "40,50"},
        {ExportCell::ofAmount(Decimal(4050, 2)), u'.', "40.50"},
        {ExportCell::ofAmount(Decimal(40)), u',', "40,00"},
        {ExportCell::ofAmount(Decimal(123456789, 2)), u',', "1234567,89"}, // no thousands mark
        {ExportCell::ofAmount(Decimal(-1515, 3)), u',', "-1,52"},  // half away from zero
        {ExportCell::ofAmount(Decimal(1005, 3)), u'.', "1.01"},
        {ExportCell::ofCents(4050), u',', "40,50"},
        {ExportCell::ofCents(-5), u',', "-0,05"},
        {ExportCell::ofCents(123456789), u'.', "1234567.89"},
        {ExportCell::ofCents(0), u',', "0,00"},
        {ExportCell::ofInteger(-12), u',', "-12"},
        {ExportCell::ofDate(QDate(2024, 3, 5)), u',', "5/3/2024"},
        {ExportCell::ofDate(QDate(2024, 12, 31)), u',', "31/12/2024"},
        {ExportCell::ofDate(QDate()), u',', ""},
        {ExportCell::ofInteger(1057), u',', "1057"},
        {ExportCell {}, u',', ""},
        {ExportCell::ofText("=HYPERLINK(\"x\")"), u',', "'=HYPERLINK(\"x\")"},
        {ExportCell::ofText("+30 210 1234567"), u',', "'+30 210 1234567"},
        {ExportCell::ofText("-5"), u',', "'-5"},
        {ExportCell::ofText("@SUM(A1)"), u',', "'@SUM(A1)"},
        {ExportCell::ofText("Μασάζ - 5 συνεδρίες"), u',', "Μασάζ - 5 συνεδρίες"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CsvWriter::cellText(c.cell, c.separator).toUtf8(), QByteArray(c.text)) << c.text;
}

TEST(CsvWriter, WritesABomThenCrLfLinesOfSemicolonSeparatedFields)
{
    ExportTable table;
    table.titles = {"Αριθμός", "Πληρωτής", "Ποσό"};
    table.rows.push_back({ExportCell::ofInteger(7), ExportCell::ofText("Α; Β"),
                          ExportCell::ofAmount(Decimal(1010, 2))});
    table.rows.push_back({ExportCell::ofInteger(8), ExportCell {}, ExportCell::ofText("x\ny")});
    const QByteArray out = csvOf([&](CsvWriter &csv) { csv.writeTable(table); });
    EXPECT_EQ(out, kBom + QByteArray("Αριθμός;Πληρωτής;Ποσό\r\n"
                                     "7;\"Α; Β\";10,10\r\n"
                                     "8;;\"x\ny\"\r\n"));
    // An empty table is the title line alone.
    EXPECT_EQ(csvOf([&](CsvWriter &csv) { csv.writeRow(QStringList {"A", "B"}); }),
              kBom + "A;B\r\n");
}

TEST(CsvWriter, ADeviceThatRefusesIsReportedNotSwallowed)
{
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full on this system";
    CsvWriter csv(full, u',');
    csv.writeRow(QStringList {"a", "b"});
    EXPECT_FALSE(csv.flush());
    EXPECT_FALSE(csv.ok());
}

class ExportFileTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    // The message of the ExportError that saving threw, or "" when it did not throw.
    static QString failure(const std::function<void()> &save)
    {
        try {
            save();
        } catch (const ExportError &e) {
            return e.message();
        }
        return {};
    }
    QTemporaryDir dir;
};

TEST_F(ExportFileTest, ADestinationThatCannotBeWrittenSaysWhyInGreekAndWritesNothing)
{
    // Tests run as root, for whom a folder's mode stops nothing: a parent that is a regular
    // file, a folder that does not exist and a name that is a folder cannot be written by
    // anyone.
    QFile plain(path("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();
    QDir(dir.path()).mkdir("taken.csv");
    struct Case {
        QString target;
        QString why;
    } cases[] = {
        {path("plain.txt/out.csv"), ExportTexts::kNoFolder},
        {path("missing/out.csv"), ExportTexts::kNoFolder},
        {path("taken.csv"), ExportTexts::kIsFolder},
    };
    for (const Case &c : cases) {
        const QString message = failure([&] { ExportFile::save(c.target, QByteArray("x;y\r\n")); });
        EXPECT_EQ(message, ExportTexts::notWritten(QDir::toNativeSeparators(c.target), c.why))
            << c.target.toStdString();
    }
    EXPECT_EQ(readAll(path("plain.txt")), "keep");
    EXPECT_EQ(files(), QStringList {"plain.txt"});
}

TEST_F(ExportFileTest, AWriterThatGivesUpLeavesTheOlderFileAndNoTemporary)
{
    const QString target = path("out.csv");
    ExportFile::save(target, QByteArray("old"));
    ASSERT_EQ(readAll(target), "old");
    const QString message = failure([&] {
        ExportFile::save(target, [](QIODevice &d) {
            d.write("half a fi");
            return false;
        });
    });
    EXPECT_TRUE(message.contains(ExportTexts::kWriteFailed)) << message.toStdString();
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(files(), QStringList {"out.csv"});
    // A whole new content replaces the old one.
    ExportFile::save(target, QByteArray("new"));
    EXPECT_EQ(readAll(target), "new");
}

TEST_F(ExportFileTest, AFullDiskLeavesTheOlderFileAndNoTemporary)
{
    // The disk is "full" for this process: a limit on the size of any file it writes (the
    // kernel refuses the write past it with EFBIG, the way a full disk refuses with ENOSPC).
    const QString target = path("year.csv");
    ExportFile::save(target, QByteArray("older export"));
    rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString message = failure([&] {
        ExportFile::save(target, [](QIODevice &device) {
            CsvWriter csv(device, u',');
            for (int i = 0; i < 20000; ++i)
                csv.writeRow(QStringList {QString::number(i), "Παπαδόπουλος Γεώργιος", "40,00"});
            return csv.flush();
        });
    });
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(message.contains(ExportTexts::kWriteFailed)) << message.toStdString();
    EXPECT_EQ(readAll(target), "older export");
    EXPECT_EQ(files(), QStringList {"year.csv"});
}

TEST(ExportTable, StoredAmountsComeOutAsTheWindowsShowThem)
{
    // Stored doubles, through the record set as the windows read them: whole cents, a third
    // decimal whose half lies below the double (1.005), sums that are not exact in binary,
    // negatives, a value past the cents shortcut and a whole number.
    TestSupport::TempPractice practice;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query q(c);
    q.setSql("SELECT 40.5 AS A, 1.005 AS B, 0.1+0.2 AS C, -2.675 AS D, -0.004 AS E, "
             "123456789012.345 AS F, 40 AS G, 'x' AS H, NULL AS I");
    q.open();
    QList<ExportColumn> columns;
    for (const char *name : {"A", "B", "C", "D", "E", "F", "G", "H", "I"})
        columns.append({name, name, ExportCell::Kind::Amount});
    const ExportTable table = ExportTable::fromRecordSet(q, columns, "x");
    QStringList shown, formatted;
    for (int col = 0; col < table.columnCount(); ++col)
        shown << CsvWriter::cellText(table.cell(0, col), u'.');
    EXPECT_EQ(shown, (QStringList {"40.50", "1.01", "0.30", "-2.68", "0.00", "123456789012.35",
                                   "40.00", "x", ""}));
    // A column the rows do not have is refused, not exported empty.
    EXPECT_THROW(ExportTable::fromRecordSet(q, {{"NONE", "none"}}, "x"), DbError);
}
