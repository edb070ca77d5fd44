// The report engine: layout files, the refusal of a missing or unreadable file, laying out
// bands over named data connections, and the outputs.
#include "connection.h"
#include "connectionstring.h"
#include "directpdfoutput.h"
#include "layout.h"
#include "printingtestsupport.h"
#include "printstatuswindow.h"
#include "program.h"
#include "recordset.h"
#include "renderer.h"
#include "reporterror.h"
#include "reportoutputdialog.h"
#include "reportpreview.h"
#include "reportproject.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace PrintingTest;

namespace {

void writeFile(const QString &path, const QString &text)
{
    QFile f(ConnectionString::localPath(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const ReportError &e) {
        return e.message();
    }
    return {};
}

const char *kNotesLayout = R"(report title="Δοκιμή"
page size=A4 margins=10,10,10,10
band pageheader height=10
  text x=0 y=0 w=100 h=8 text="Κεφαλίδα σελίδας"
band title height=10
  text x=0 y=0 w=100 h=8 text="Τίτλος αναφοράς"
band columnheader height=6
  text x=0 y=0 w=100 h=6 text="Στήλη τίτλων"
band detail data=Notes height=14
  text x=0 y=0 w=10 h=6 text="{line}."
  field x=10 y=0 w=150 h=6 data=Notes.TITLOS bold=yes
  memo x=10 y=6 w=150 h=6 data=Notes.PERIGRAFH
  text x=10 y=12 w=150 h=2 text="τέλος {Notes.TITLOS}" size=4
band summary height=8
  text x=0 y=0 w=150 h=8 text="Σημειώσεις: {count:Notes}"
band pagefooter height=6
  pagenumber x=0 y=0 w=190 h=6 align=right
)";

class EngineTest : public ::testing::Test {
protected:
    QString layoutPath(const QString &name) const { return practice.dir() + "\\" + name; }
    // The name a message shows for a layout: in full, with the platform's own separators.
    QString shownPath(const QString &name) const
    {
        return QDir::toNativeSeparators(practice.dir() + "/" + name);
    }
    // The report component of most cases: the layout file given, its connection Notes over a
    // query of the notebook.
    ReportProject &notesReport(const QString &layoutFile, const QString &sql)
    {
        connection.setUp(Program::DbConnectionString, true);
        query.setSql(sql);
        query.open();
        report.setProjectFile(layoutPath(layoutFile));
        report.addConnection("Notes", &query);
        return report;
    }

    TestSupport::TempPractice practice;
    Connection connection;
    Query query {connection};
    ReportProject report;
};

} // namespace

TEST_F(EngineTest, MissingLayoutIsRefusedWithItsFullName)
{
    const QString name = layoutPath("LIST.RAV");
    report.setProjectFile(name);
    EXPECT_EQ(errorOf([&] { report.execute(); }),
              "The following reporting project does not exist:\n\"" + shownPath("LIST.RAV") + "\"");
    // The refusal is also a DbError, so every window's guard shows it in the error dialog.
    TestSupport::RecordingMessages messages;
    EXPECT_FALSE(Kit::guarded(nullptr, [&] { report.execute(); }));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, "error");
}

TEST_F(EngineTest, UnreadableLayoutsSayWhere)
{
    const struct {
        const char *text;
        const char *expected;
    } cases[] = {
        {"report title=\"x\"\nband detail height=5\n",
         "line 2: a detail band needs data=CONNECTION"},
        {"band title height=5\n  text x=0 y=0 w=10 h=5 txt=\"a\"\n",
         "line 2: unknown attribute \"txt\""},
        {"text x=0 y=0 w=10 h=5\n", "line 1: text outside a band"},
        {"band title height=5\n\n  text x=abc\n", "line 3: x is not a number"},
        {"band title height=5\n  text text=\"open\n", "line 2: a quoted text is not closed"},
        {"band title height=5\n  field x=0 data=A.B format=money\n", "line 2: unknown format"},
        {"page size=B7\n", "line 1: size must be A4, A5 or Letter"},
        {"picture x=1\n", "line 1: unknown word \"picture\""},
        {"band title height=400\n", "the bands are higher than the page"},
    };
    for (const auto &c : cases) {
        const QString path = layoutPath("BAD.RAV");
        writeFile(path, QString::fromUtf8(c.text));
        const QString message = errorOf([&] { Report::loadLayout(path); });
        EXPECT_TRUE(message.startsWith("The reporting project \"" + shownPath("BAD.RAV")
                                       + "\" cannot be read:"))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.expected))) << message.toStdString();
    }
    QFile f(practice.dir() + "/BIN.RAV");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\xff\xfe\x00\x01", 4));
    f.close();
    EXPECT_TRUE(errorOf([&] { Report::loadLayout(layoutPath("BIN.RAV")); }).contains("UTF-8"));
}

TEST_F(EngineTest, LaysOutBandsOverANamedConnection)
{
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Βήτα', 'δεύτερη')");
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Άλφα', 'πρώτη')");
    writeFile(layoutPath("N.RAV"), QString::fromUtf8(kNotesLayout));
    notesReport("N.RAV", "SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY TITLOS ASC");
    const Report::RenderedReport r = report.render();
    ASSERT_EQ(r.pageCount(), 1);
    const QStringList texts = r.pageTexts(0);
    const QStringList expected {"Κεφαλίδα σελίδας",
                                "Τίτλος αναφοράς",
                                "Στήλη τίτλων",
                                "1.",
                                "Άλφα",
                                "πρώτη",
                                "τέλος Άλφα",
                                "2.",
                                "Βήτα",
                                "δεύτερη",
                                "τέλος Βήτα",
                                "Σημειώσεις: 2",
                                "Σελίδα 1 από 1"};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(query.isOpen()) << "an open data set stays as the window left it";
}

TEST_F(EngineTest, ALongMemoCarriesOverToTheNextPagesInOrder)
{
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Μακρύ', '" + longText(120)
                  + "')");
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Ωμέγα', 'τελευταία')");
    writeFile(layoutPath("N.RAV"), QString::fromUtf8(kNotesLayout));
    notesReport("N.RAV", "SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY TITLOS ASC");
    const Report::RenderedReport r = report.render();
    ASSERT_GE(r.pageCount(), 2);
    QStringList all;
    for (int p = 0; p < r.pageCount(); ++p) {
        const QStringList texts = r.pageTexts(p);
        EXPECT_EQ(texts.first(), "Κεφαλίδα σελίδας") << "page " << p;
        EXPECT_EQ(texts.last(), QString("Σελίδα %1 από %2").arg(p + 1).arg(r.pageCount()));
        if (p > 0) {
            EXPECT_EQ(texts[1], "Στήλη τίτλων") << "the column titles repeat on page " << p + 1;
        }
        all << texts;
    }
    const QString joined = all.join(' ');
    int previous = -1;
    for (int i = 1; i <= 120; ++i) {
        const int at = joined.indexOf(QString("Παράγραφος %1:").arg(i));
        ASSERT_GT(at, previous) << "paragraph " << i << " missing or out of order";
        previous = at;
    }
    EXPECT_GT(joined.indexOf("τέλος Μακρύ"), previous) << "what stands below follows the memo";
    EXPECT_GT(joined.indexOf("Ωμέγα"), joined.indexOf("τέλος Μακρύ"));

    DirectPdfOutput out;
    report.execute();
    ASSERT_EQ(out.runs().size(), 1);
    const QString text = pdfText(out.runs()[0].pdfPath);
    EXPECT_EQ(text.count('\f'), r.pageCount());
    EXPECT_TRUE(text.contains("Παράγραφος 120: πόνος στη μέση")) << "Greek intact in the PDF";
}

TEST_F(EngineTest, ClosedDataSetsAreOpenedForTheRunAndClosedAgain)
{
    writeFile(layoutPath("N.RAV"), QString::fromUtf8(kNotesLayout));
    connection.setUp(Program::DbConnectionString, true);
    Table t(connection);
    t.setTableName("SHMEIWSEIS");
    report.setProjectFile(layoutPath("N.RAV"));
    report.addConnection("Notes", &t);
    DirectPdfOutput out;
    report.execute();
    EXPECT_FALSE(t.isOpen());
    EXPECT_EQ(out.runs().size(), 1);
}

TEST_F(EngineTest, RefusesConnectionsAndColumnsThatAreNotGiven)
{
    writeFile(layoutPath("N.RAV"), QString::fromUtf8(kNotesLayout));
    report.setProjectFile(layoutPath("N.RAV"));
    EXPECT_TRUE(
        errorOf([&] { report.render(); }).contains("the data connection Notes is not given"));
    notesReport("N.RAV", "SELECT TITLOS FROM SHMEIWSEIS");
    EXPECT_TRUE(errorOf([&] { report.render(); }).contains("has no column PERIGRAFH"));
}

TEST_F(EngineTest, AComponentGivenAnotherFileReadsTheNewFile)
{
    writeFile(layoutPath("A.RAV"), "band title height=5\n text x=0 y=0 w=50 h=5 text=\"Α\"\n");
    writeFile(layoutPath("B.RAV"), "band title height=5\n text x=0 y=0 w=50 h=5 text=\"Β\"\n");
    report.setProjectFile(layoutPath("A.RAV"));
    EXPECT_EQ(report.render().pageTexts(0), QStringList {"Α"});
    report.setProjectFile(layoutPath("B.RAV"));
    EXPECT_EQ(report.render().pageTexts(0), QStringList {"Β"});
    // The file is read on every run: a change shows at once.
    writeFile(layoutPath("B.RAV"), "band title height=5\n text x=0 y=0 w=50 h=5 text=\"Γ\"\n");
    EXPECT_EQ(report.render().pageTexts(0), QStringList {"Γ"});
}

TEST(ReportFormats, AmountsDatesMonths)
{
    EXPECT_EQ(Report::formatValue("40", "amount"), TestSupport::num("40.00"));
    EXPECT_EQ(Report::formatValue("40.005", "amount"), TestSupport::num("40.01"));
    EXPECT_EQ(Report::formatValue("", "amount"), "");
    EXPECT_EQ(Report::formatValue("05/03/2008", "date"), "5/3/2008");
    EXPECT_EQ(Report::formatValue("2008-03-05", "date"), "5/3/2008");
    EXPECT_EQ(Report::formatValue("3", "month"), "Μάρτιος");
    EXPECT_EQ(Report::formatValue("15", "percent"), "15 %");
}

TEST_F(EngineTest, OutputDialogueChoosesFileAndPages)
{
    const QString big
        = "band detail data=Notes height=150\n field x=0 y=0 w=50 h=5 data=Notes.TITLOS\n";
    writeFile(layoutPath("P.RAV"), big);
    for (int i = 0; i < 5; ++i)
        practice.exec(QString("INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Σελίδα-%1')").arg(i));
    notesReport("P.RAV", "SELECT TITLOS FROM SHMEIWSEIS");
    const QString pdf = QDir(practice.dir()).filePath("out.pdf");

    // Cancelling the dialogue ends the run normally and writes nothing.
    TestSupport::ModalDriver driver([](QDialog *) { return int(QDialog::Rejected); });
    EXPECT_NO_THROW(report.execute());
    EXPECT_FALSE(QFile::exists(pdf));

    driver.setHandler([&](QDialog *d) {
        auto *dialog = qobject_cast<ReportOutputDialog *>(d);
        EXPECT_NE(dialog, nullptr);
        dialog->setDestination(ReportOutputDialog::Destination::File);
        dialog->setFileName(pdf);
        dialog->findChild<QRadioButton *>("rangeRadio")->setChecked(true);
        dialog->findChild<QSpinBox *>("fromSpin")->setValue(2);
        dialog->findChild<QSpinBox *>("toSpin")->setValue(3);
        dialog->accept();
        return dialog->result();
    });
    report.execute();
    const QString text = pdfText(pdf);
    EXPECT_EQ(text.count(QChar(0x0c)), 2) << text.toStdString();

    // Preview: the dialogue's choice opens the preview window on the first page.
    QStringList opened;
    driver.setHandler([&](QDialog *d) {
        opened << d->objectName();
        if (auto *dialog = qobject_cast<ReportOutputDialog *>(d)) {
            dialog->setDestination(ReportOutputDialog::Destination::Preview);
            dialog->accept();
            return dialog->result();
        }
        auto *preview = qobject_cast<ReportPreview *>(d);
        EXPECT_NE(preview, nullptr);
        if (preview) {
            EXPECT_EQ(preview->currentPage(), 1);
            EXPECT_EQ(preview->findChild<QLabel *>("pageCountLabel")->text(), "από 5");
        }
        return int(QDialog::Accepted);
    });
    report.execute();
    EXPECT_EQ(opened, (QStringList {"ReportOutputDialog", "ReportPreview"}));
    EXPECT_TRUE(text.contains("Σελίδα-1"));
    EXPECT_TRUE(text.contains("Σελίδα-2"));
    EXPECT_FALSE(text.contains("Σελίδα-0"));
}

TEST_F(EngineTest, PreviewPagesAndZoom)
{
    writeFile(layoutPath("P.RAV"),
              "band detail data=Notes height=100\n field x=0 y=0 w=50 h=5 data=Notes.TITLOS\n");
    for (int i = 0; i < 4; ++i)
        practice.exec(QString("INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Τ%1')").arg(i));
    notesReport("P.RAV", "SELECT TITLOS FROM SHMEIWSEIS");
    const Report::RenderedReport r = report.render();
    ASSERT_EQ(r.pageCount(), 2);
    ReportPreview preview(r);
    EXPECT_EQ(preview.currentPage(), 1);
    preview.findChild<QPushButton *>("nextButton")->click();
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_FALSE(preview.findChild<QPushButton *>("nextButton")->isEnabled());
    preview.findChild<QPushButton *>("firstButton")->click();
    EXPECT_EQ(preview.currentPage(), 1);
    const int width = preview.pageImage().width();
    preview.findChild<QPushButton *>("zoomInButton")->click();
    EXPECT_GT(preview.pageImage().width(), width);
}

TEST_F(EngineTest, CancellingThePrintStopsAfterThePageBeingPrinted)
{
    Report::Layout layout = Report::parseLayout(
        "band detail data=Notes height=100\n field x=0 y=0 w=50 h=5 data=Notes.TITLOS\n", "X");
    for (int i = 0; i < 6; ++i)
        practice.exec(QString("INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Τ%1')").arg(i));
    notesReport("X.RAV", "SELECT TITLOS FROM SHMEIWSEIS");
    const Report::RenderedReport r = Report::render(layout, {{"Notes", &query}});
    ASSERT_EQ(r.pageCount(), 3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(practice.dir()).filePath("printed.pdf"));
    QStringList labels;
    const int printed
        = printWithStatus(r, printer, 1, 0, nullptr, [&](PrintStatusWindow &status, int page) {
              labels << status.findChild<QLabel *>("pageLabel")->text();
              if (page == 2)
                  status.findChild<QPushButton *>("cancelButton")->click();
          });
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(labels.first(), "Εκτύπωση σελίδας 1 από 3");
}

TEST_F(EngineTest, AWordLongerThanTheMemoLineBreaksInsteadOfRunningOff)
{
    const QString word = QString("Α").repeated(400);
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS, PERIGRAFH) VALUES ('Λέξη', '" + word + "')");
    writeFile(layoutPath("N.RAV"), QString::fromUtf8(kNotesLayout));
    notesReport("N.RAV", "SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS");
    const Report::RenderedReport r = report.render();
    const QStringList texts = r.pageTexts(0);
    const int first = texts.indexOf("Λέξη") + 1;
    ASSERT_GT(first, 0);
    QString joined;
    int lines = 0;
    for (int i = first; i < texts.size() && texts[i].startsWith("Α"); ++i, ++lines)
        joined += texts[i];
    EXPECT_GT(lines, 1);
    EXPECT_EQ(joined, word);
}
