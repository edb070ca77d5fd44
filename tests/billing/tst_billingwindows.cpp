// The receipt and payment windows driven as a person drives them: the receipt window's rule
// and messages, printing after the commit, the register with cancellation and reprinting, the
// practice details preview, the settings windows, and the payment inquiries.
#include "billingfixtures.h"
#include "billingtexts.h"
#include "dberror.h"
#include "directpdfoutput.h"
#include "issuedreceiptswindow.h"
#include "patientpaymentswindow.h"
#include "periodincomewindow.h"
#include "practicedetailswindow.h"
#include "printingtestsupport.h"
#include "receiptissue.h"
#include "receiptprinting.h"
#include "receiptwindow.h"
#include "recordgrid.h"
#include "recordnavigator.h"
#include "settingwindow.h"
#include "sqltext.h"
#include "windowhooks.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace BillingFixtures;
using namespace BillingTexts;

namespace {

// Types a text key by key, Greek letters included.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

// A practice numbered from 100 at 15 % VAT, with practice details, the receipt layouts beside
// it, every report written to PDF and the receipt printing component behind the hook.
class BillingWindows : public ::testing::Test {
protected:
    BillingWindows()
    {
        PrintingTest::installLayouts(practice.dir());
        setUpNumbering(practice);
        practice.exec("INSERT INTO INFORMATION (TITLE, PHONE, AFT) VALUES ('Φυσικοθεραπευτήριο "
                      "Ελένης Κωνσταντίνου', '22441188', '10293847')");
        WindowHooks::printReceipt = [this](QWidget *, const QString &no) {
            printing.ReceiptNo = no.toLongLong();
            printing.PrintReceipt();
        };
    }
    ~BillingWindows() override { WindowHooks::printReceipt = nullptr; }

    // Issues a receipt as the receipt window does, without the window.
    qint64 issue(const QString &patientId, const QString &amount, const QString &description)
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(c);
        issue.read();
        const auto r = issue.issue({patientId, "Άννα", "Ιωάννου", amount, description, ""});
        EXPECT_EQ(r.outcome, ReceiptIssue::Outcome::Issued);
        return r.number;
    }

    std::unique_ptr<ReceiptWindow> receiptWindow()
    {
        auto w = std::make_unique<ReceiptWindow>();
        w->PatientId = "7";
        w->PatientFirstName = "Άννα";
        w->PatientSurname = "Ιωάννου";
        w->show();
        return w;
    }

    void fill(ReceiptWindow &w, const QString &amount, const QString &description,
              const QString &fund = {})
    {
        QTest::keyClicks(w.amountBox(), amount);
        typeText(w.descriptionBox(), description);
        typeText(w.fundBox(), fund);
    }

    QString lastPdfText() const
    {
        return output.runs().isEmpty() ? QString()
                                       : PrintingTest::pdfText(output.runs().last().pdfPath);
    }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    DirectPdfOutput output;
    ReceiptPrinting printing;
};

} // namespace

TEST_F(BillingWindows, RegisterButtonFollowsTheAmountDescriptionAndFund)
{
    struct Case {
        const char *amount, *description, *fund;
        bool enabled;
    };
    const Case cases[] = {
        {"40", "Φυσικοθεραπεία", "", true}, // an empty fund is allowed
        {"40", "Φυσικοθεραπεία", "ΙΚΑ", true},
        {"abc", "Φυσικοθεραπεία", "", true}, // the amount is not checked for safe text
        {"", "Φυσικοθεραπεία", "", false},
        {"40", "", "ΙΚΑ", false},
        {"40", "   ", "", false},
        {"40", "Μασάζ.", "", false}, // a full stop in the description
        {"40", "Μασάζ, πλάτη", "", false},
        {"40", "Μασάζ", "Ι-ΚΑ", false},    // a hyphen in the fund
        {"40", "Μασάζ 3/4", "ΟΑΕΕ", true}, // the slash passes
    };
    for (const Case &c : cases) {
        auto w = receiptWindow();
        fill(*w, c.amount, c.description, c.fund);
        EXPECT_EQ(w->registerButton()->isEnabled(), c.enabled)
            << c.amount << " | " << c.description << " | " << c.fund;
    }
}

TEST_F(BillingWindows, ReceiptWindowIssuesPrintsAndCloses)
{
    auto w = receiptWindow();
    EXPECT_EQ(w->numberLabel()->text(), "100");
    EXPECT_EQ(w->findChild<QLabel *>("valueSurname")->text(), "Ιωάννου");
    fill(*w, "40", "Φυσικοθεραπεία", "ΙΚΑ");
    QTest::keyClick(w->amountBox(), Qt::Key_Return); // Enter presses the register button

    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "101");
    EXPECT_EQ(practice.scalar("SELECT SYNOLIKO_POSO FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"),
              "46");
    ASSERT_EQ(output.runs().size(), 1);
    EXPECT_TRUE(output.runs().last().projectFile.endsWith("APODEIKSEISVAT.RAV"));
    const QString pdf = lastPdfText();
    EXPECT_TRUE(pdf.contains("Άννα Ιωάννου")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("Φυσικοθεραπευτήριο Ελένης Κωνσταντίνου"));
    EXPECT_TRUE(pdf.contains("46,00") || pdf.contains("46.00")) << pdf.toStdString();
    EXPECT_TRUE(w->amountBox()->text().isEmpty());
}

TEST_F(BillingWindows, RefusedAmountsWriteNothingAndClearTheFields)
{
    const std::pair<const char *, QString> cases[] = {{"0", kNotAccepted},
                                                      {"-5", kNotAccepted},
                                                      {"abc", kNotRegistered},
                                                      {"1.2.3", kNotRegistered}};
    for (const auto &[amount, message] : cases) {
        messages.clear();
        auto w = receiptWindow();
        fill(*w, amount, "Φυσικοθεραπεία", "ΙΚΑ");
        w->registerButton()->click();
        EXPECT_EQ(messages.texts(), QStringList {message}) << amount;
        EXPECT_TRUE(w->amountBox()->text().isEmpty());
        EXPECT_TRUE(w->descriptionBox()->text().isEmpty());
        EXPECT_TRUE(w->fundBox()->text().isEmpty());
        EXPECT_FALSE(w->registerButton()->isEnabled());
        EXPECT_FALSE(w->result() == QDialog::Accepted);
        EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "100");
        EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH"), 0);
        EXPECT_TRUE(output.runs().isEmpty());
    }
}

TEST_F(BillingWindows, AWriteTheDatabaseRefusesKeepsWhatWasTypedAndShowsTheEngine)
{
    using Failure = TestSupport::FailingPractice::Failure;
    // A lock lifted meanwhile lets the same press go through; a connection that may not write
    // refuses again.
    const std::pair<Failure, bool> cases[] = {{Failure::ReadOnly, false}, {Failure::Locked, true}};
    for (const auto &[failure, secondPressIssues] : cases) {
        SCOPED_TRACE(TestSupport::FailingPractice::name(failure).toStdString());
        messages.clear();
        const QString before = receiptState(practice);
        auto failing = std::make_unique<TestSupport::FailingPractice>(failure);
        auto w = receiptWindow();
        fill(*w, "40", "Φυσικοθεραπεία", "ΙΚΑ");
        w->registerButton()->click();

        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().first().kind, "error");
        const QStringList lines = messages.last().split('\r');
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[0], kNotRegistered);
        EXPECT_TRUE(lines[1].contains(TestSupport::FailingPractice::message(failure)))
            << lines[1].toStdString();
        EXPECT_EQ(w->amountBox()->text(), "40");
        EXPECT_EQ(w->descriptionBox()->text(), "Φυσικοθεραπεία");
        EXPECT_EQ(w->fundBox()->text(), "ΙΚΑ");
        EXPECT_TRUE(w->registerButton()->isEnabled());
        EXPECT_EQ(w->numberLabel()->text(), "100");
        EXPECT_NE(w->result(), QDialog::Accepted);
        EXPECT_EQ(receiptState(practice), before);
        EXPECT_TRUE(output.runs().isEmpty());

        failing.reset();
        messages.clear();
        w->registerButton()->click();
        if (!secondPressIssues) {
            EXPECT_EQ(messages.shown().size(), 1);
            EXPECT_EQ(w->descriptionBox()->text(), "Φυσικοθεραπεία");
            EXPECT_EQ(receiptState(practice), before);
            continue;
        }
        EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
        EXPECT_EQ(w->result(), QDialog::Accepted);
        EXPECT_EQ(practice.scalar("SELECT PERIGRAFH FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"),
                  "Φυσικοθεραπεία");
        EXPECT_EQ(practice.scalar("SELECT TAMEIO FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=100"),
                  "ΙΚΑ");
        EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "101");
    }
}

TEST_F(BillingWindows, APrintingFailureSaysTheReceiptIsRegistered)
{
    QFile::remove(QDir(practice.dir()).filePath("APODEIKSEISVAT.RAV"));
    auto w = receiptWindow();
    fill(*w, "25", "Φυσικοθεραπεία");
    w->registerButton()->click();
    ASSERT_EQ(messages.shown().size(), 1);
    // Registered, where to print it from, and why it was not printed: the missing layout.
    const QStringList lines = messages.last().split('\r');
    ASSERT_EQ(lines.size(), 3) << messages.last().toStdString();
    EXPECT_EQ(lines[0] + '\r' + lines[1], registeredNotPrinted(100));
    EXPECT_TRUE(lines[2].contains("APODEIKSEISVAT.RAV")) << lines[2].toStdString();
    EXPECT_FALSE(messages.texts().contains(kNotRegistered));
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"), 1);
    EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "101");
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(BillingWindows, ANumberTakenMeanwhileShowsTheNextFreeOne)
{
    auto w = receiptWindow();
    issue("8", "30", "Μασάζ"); // another window issues 100 first
    const QString before = receiptState(practice);
    fill(*w, "40", "Φυσικοθεραπεία", "ΙΚΑ");
    w->registerButton()->click();
    EXPECT_EQ(messages.texts(), QStringList {numberTakenMeanwhile(100, 101)});
    EXPECT_EQ(messages.last().split('\r').first(), kNotRegistered);
    EXPECT_EQ(w->numberLabel()->text(), "101");
    EXPECT_EQ(receiptState(practice), before);
    EXPECT_TRUE(output.runs().isEmpty());
    // What was typed stays, and the same press again issues it under the number now shown.
    EXPECT_EQ(w->amountBox()->text(), "40");
    EXPECT_EQ(w->descriptionBox()->text(), "Φυσικοθεραπεία");
    EXPECT_EQ(w->fundBox()->text(), "ΙΚΑ");
    EXPECT_TRUE(w->registerButton()->isEnabled());
    messages.clear();
    w->registerButton()->click();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(practice.scalar("SELECT PERIGRAFH FROM APODEIKSEIS WHERE AR_APODEIKSHS=101"),
              "Φυσικοθεραπεία");
    EXPECT_EQ(practice.scalar("SELECT ID FROM APODEIKSEIS INNER JOIN EISPRAKSH_PELATH ON "
                              "APODEIKSEIS.AR_APODEIKSHS=EISPRAKSH_PELATH.AR_APODEIKSHS WHERE "
                              "APODEIKSEIS.AR_APODEIKSHS=101"),
              "7");
}

TEST_F(BillingWindows, EmptyRegisterShowsZeroAndKeepsItsButtonsOff)
{
    IssuedReceiptsWindow w;
    w.show();
    EXPECT_EQ(w.countLine()->text(), "Βρέθηκαν 0 αποδείξεις");
    EXPECT_FALSE(w.printButton()->isEnabled());
    EXPECT_FALSE(w.cancelButton()->isEnabled());
    w.printClick();
    EXPECT_TRUE(output.runs().isEmpty());
}

TEST_F(BillingWindows, CancellingAReceiptDropsItFromPaymentsAndIncome)
{
    const QString patient = "7";
    issue(patient, "40", "Φυσικοθεραπεία"); // 100
    issue(patient, "25", "Μασάζ");          // 101
    issue("9", "10", "Άσκηση");             // 102
    // Spread over days so that the date order is not the number order.
    practice.exec("UPDATE APODEIKSEIS SET HMEROMHNIA=#3/10/2008# WHERE AR_APODEIKSHS=100");
    practice.exec("UPDATE APODEIKSEIS SET HMEROMHNIA=#3/5/2008# WHERE AR_APODEIKSHS=101");
    practice.exec("UPDATE APODEIKSEIS SET HMEROMHNIA=#3/20/2008# WHERE AR_APODEIKSHS=102");
    practice.exec("UPDATE EISPRAKSH_PELATH SET HMEROMHNIA=#3/10/2008# WHERE AR_APODEIKSHS=100");
    practice.exec("UPDATE EISPRAKSH_PELATH SET HMEROMHNIA=#3/5/2008# WHERE AR_APODEIKSHS=101");

    IssuedReceiptsWindow w;
    w.show();
    EXPECT_EQ(w.countLine()->text(), "Βρέθηκαν 3 αποδείξεις");
    RecordSet &rows = w.receipts();
    EXPECT_EQ(rows.fieldText("AR_APODEIKSHS"), "101"); // earliest first
    EXPECT_TRUE(w.cancelButton()->isEnabled());

    // Sorting by number; the current row moves to 100 with the navigator.
    w.sortChoice(1)->click();
    w.navigator()->press(RecordNavigator::First);
    ASSERT_EQ(rows.fieldText("AR_APODEIKSHS"), "100");
    EXPECT_EQ(rows.fieldText("POSO"), TestSupport::num("40.00"));

    messages.queueAnswer(false);
    w.cancelClick();
    EXPECT_EQ(messages.last(), "Να ακυρώσω την απόδειξη με αριθμό\r100;");
    EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=100"), 1);

    w.cancelClick(); // answered Yes
    EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=100"), 0);
    EXPECT_EQ(practice.scalar("SELECT EGKYRH FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"), "False");
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS"), 3);
    // Back in date order with the first row current, and the buttons follow it.
    EXPECT_EQ(rows.fieldText("AR_APODEIKSHS"), "101");
    EXPECT_TRUE(w.sortChoice(0)->isChecked());
    EXPECT_TRUE(w.printButton()->isEnabled());
    EXPECT_EQ(w.countLine()->text(), "Βρέθηκαν 3 αποδείξεις");

    // The cancelled receipt can be neither printed nor cancelled again.
    w.navigator()->press(RecordNavigator::Next);
    ASSERT_EQ(rows.fieldText("AR_APODEIKSHS"), "100");
    EXPECT_EQ(rows.fieldText("EGKYRH"), "False");
    EXPECT_FALSE(w.printButton()->isEnabled());
    EXPECT_FALSE(w.cancelButton()->isEnabled());
    // Moving with the keys in the grid runs the rule too.
    QTest::keyClick(w.grid(), Qt::Key_Up);
    ASSERT_EQ(rows.fieldText("AR_APODEIKSHS"), "101");
    EXPECT_TRUE(w.cancelButton()->isEnabled());
    QTest::keyClick(w.grid(), Qt::Key_Down);
    EXPECT_FALSE(w.cancelButton()->isEnabled());
    w.navigator()->press(RecordNavigator::Last);
    EXPECT_TRUE(w.printButton()->isEnabled());
    w.printClick();
    ASSERT_EQ(output.runs().size(), 1);
    EXPECT_TRUE(lastPdfText().contains("102"));

    // The patient's payments: only 101 is left.
    PatientPaymentsWindow payments;
    payments.PatientId = patient;
    payments.show();
    EXPECT_EQ(payments.payments().rowCount(), 1);
    EXPECT_EQ(payments.total("SYNOLO")->text(), "1");
    EXPECT_EQ(payments.total("EISPRAKSH")->text(), TestSupport::num("25.00"));
    EXPECT_EQ(payments.total("VAT")->text(), TestSupport::num("3.75"));
    EXPECT_EQ(payments.total("SYNOLIKO_POSO")->text(), TestSupport::num("28.75"));

    // The period's income counts only receipts in force.
    PeriodIncomeWindow period;
    period.show();
    QTest::keyClicks(period.fromBox(), "1/3/2008");
    QTest::keyClicks(period.toBox(), "31/3/2008");
    period.findClick();
    EXPECT_EQ(period.result("POSO")->text(), TestSupport::num("35.00"));
    EXPECT_EQ(period.result("VAT")->text(), TestSupport::num("5.25"));
    EXPECT_EQ(period.result("POSOPVAT")->text(), TestSupport::num("29.75"));
}

TEST_F(BillingWindows, PaymentsNewestFirstAndEmptySumsShowEmpty)
{
    PatientPaymentsWindow none;
    none.PatientId = "7";
    none.PatientFirstName = "Άννα";
    none.show();
    EXPECT_EQ(none.payments().rowCount(), 0);
    EXPECT_EQ(none.total("SYNOLO")->text(), "0");
    for (const char *sum : {"EISPRAKSH", "VAT", "SYNOLIKO_POSO"})
        EXPECT_EQ(none.total(sum)->text(), "") << sum;
    EXPECT_EQ(none.findChild<QLabel *>("valueFirstName")->text(), "Άννα");
    none.close();

    issue("7", "40", "Πρώτη");
    issue("7", "25", "Δεύτερη");
    issue("8", "99", "Άλλου ασθενούς");
    practice.exec("UPDATE EISPRAKSH_PELATH SET HMEROMHNIA=#1/2/2009# WHERE AR_APODEIKSHS=100");
    practice.exec("UPDATE EISPRAKSH_PELATH SET HMEROMHNIA=#1/1/2008# WHERE AR_APODEIKSHS=101");
    PatientPaymentsWindow w;
    w.PatientId = "7";
    w.show();
    ASSERT_EQ(w.payments().rowCount(), 2);
    EXPECT_EQ(w.payments().text(0, w.payments().fieldIndex("PERIGRAFH")), "Πρώτη");
    EXPECT_EQ(w.total("SYNOLIKO_POSO")->text(), TestSupport::num("74.75"));
}

TEST_F(BillingWindows, PeriodIncomeRuleAndWrongCriteria)
{
    issue("7", "40", "Φυσικοθεραπεία");
    struct Case {
        const char *from, *to;
        bool enabled;
        QString message; // after pressing find, when enabled
        const char *income;
    };
    const Case cases[] = {
        {"", "", true, kWrongCriteria, ""},
        {"28.03.2007", "1/1/2030", false, "", ""},
        {"28-03-2007", "1/1/2030", false, "", ""},
        {"31/2/2008", "1/1/2030", true, kWrongCriteria, ""},
        {"1/1/1990", "31/12/1990", true, "", ""}, // nothing in force in the period
        {"1/1/2000", "1/1/2100", true, "", "40.00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " - " << c.to);
        messages.clear();
        PeriodIncomeWindow w;
        w.show();
        QTest::keyClicks(w.fromBox(), c.from);
        QTest::keyClicks(w.toBox(), c.to);
        EXPECT_EQ(w.findButton()->isEnabled(), c.enabled);
        w.findClick();
        EXPECT_EQ(messages.last(), c.message);
        EXPECT_EQ(w.result("POSO")->text(), TestSupport::num(c.income));
    }
}

TEST_F(BillingWindows, PreviewPrintsThePracticeDetailsWithoutAReceipt)
{
    issue("7", "40", "Φυσικοθεραπεία");
    PracticeDetailsWindow w;
    w.show();
    EXPECT_EQ(w.field("TITLE")->text(), "Φυσικοθεραπευτήριο Ελένης Κωνσταντίνου");
    // Typed and not saved: the preview reads the row again and drops the edit.
    typeText(w.field("FAX"), "22441199");
    w.previewClick();
    EXPECT_EQ(w.field("FAX")->text(), "");
    EXPECT_EQ(practice.scalar("SELECT FAX FROM INFORMATION"), "");
    ASSERT_EQ(output.runs().size(), 1);
    const QString pdf = lastPdfText();
    EXPECT_TRUE(pdf.contains("Φυσικοθεραπευτήριο Ελένης Κωνσταντίνου")) << pdf.toStdString();
    EXPECT_FALSE(pdf.contains("Φυσικοθεραπεία")) << pdf.toStdString();
    EXPECT_EQ(printing.ReceiptNo, 0);

    // Saved with the save button, the next preview carries it.
    typeText(w.field("FAX"), "22441199");
    w.saveBar()->press(RecordNavigator::Post);
    EXPECT_EQ(practice.scalar("SELECT FAX FROM INFORMATION"), "22441199");
    w.previewClick();
    EXPECT_TRUE(lastPdfText().contains("22441199"));
}

TEST_F(BillingWindows, AReceiptIsReprintedWithTheLayoutItWasIssuedWith)
{
    issue("7", "40", "Φυσικοθεραπεία"); // 100, at 15 %
    practice.exec("UPDATE SYNTELESTHS_VAT SET VAT_RATIO=0");
    issue("7", "40", "Μασάζ"); // 101, without VAT
    practice.exec("UPDATE SYNTELESTHS_VAT SET VAT_RATIO=0.4");
    issue("7", "1", "Μασάζ"); // 102, at 0.4 %: a VAT of 0.004 that rounds to 0.00
    // Whatever the rate is by then, each receipt keeps its layout; the preview follows the rate.
    const struct {
        const char *rate;
        qint64 receipt;
        const char *layout;
    } cases[] = {
        {"0", 100, "\\APODEIKSEISVAT.RAV"}, {"0", 101, "\\APODEIKSEIS.RAV"},
        {"0", 0, "\\APODEIKSEIS.RAV"},      {"24", 100, "\\APODEIKSEISVAT.RAV"},
        {"24", 101, "\\APODEIKSEIS.RAV"},   {"24", 0, "\\APODEIKSEISVAT.RAV"},
        {"-5", 0, "\\APODEIKSEISVAT.RAV"},   {"0", 102, "\\APODEIKSEISVAT.RAV"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " " << c.receipt);
        practice.exec(QStringLiteral("UPDATE SYNTELESTHS_VAT SET VAT_RATIO=") + c.rate);
        printing.ReceiptNo = c.receipt;
        printing.PrintReceipt();
        EXPECT_EQ(output.runs().last().projectFile, Program::AppDir + c.layout);
        // Between calls everything is closed again.
        EXPECT_FALSE(printing.connection().isOpen());
        EXPECT_TRUE(printing.receipt().sql().isEmpty());
    }
    // Reprinted at a rate of 0, receipt 100 still shows its VAT.
    practice.exec("UPDATE SYNTELESTHS_VAT SET VAT_RATIO=0");
    printing.ReceiptNo = 100;
    printing.PrintReceipt();
    const QString pdf = lastPdfText();
    EXPECT_TRUE(pdf.contains("Αξία χωρίς Φ.Π.Α.")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("6,00") || pdf.contains("6.00")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("Φ.Π.Α. 15 %")) << pdf.toStdString(); // the rate it was issued at

    // A receipt that does not exist, and a preview without a rate, are refused by name.
    const auto runs = output.runs().size();
    printing.ReceiptNo = 999;
    try {
        printing.PrintReceipt();
        ADD_FAILURE() << "printed a receipt that does not exist";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "Δεν βρέθηκε η απόδειξη με αριθμό 999.");
    }
    practice.exec("DELETE FROM SYNTELESTHS_VAT");
    printing.ReceiptNo = 0;
    EXPECT_THROW(printing.PrintReceipt(), DbError);
    EXPECT_FALSE(printing.connection().isOpen());
    EXPECT_EQ(output.runs().size(), runs);
}

TEST_F(BillingWindows, NumberingIsSetOnlyWithTheSaveButton)
{
    practice.exec("DELETE FROM LAST_APODEIKSH");
    {
        ReceiptNumberingWindow w;
        w.show();
        QTest::keyClicks(w.valueBox(), "500");
        w.close(); // unsaved: dropped
    }
    EXPECT_EQ(practice.count("SELECT * from LAST_APODEIKSH"), 0);
    ReceiptNumberingWindow w;
    w.show();
    QTest::keyClicks(w.valueBox(), "500");
    w.saveClick();
    EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "500");
    EXPECT_EQ(practice.count("SELECT * from LAST_APODEIKSH"), 1);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(BillingWindows, AStartingNumberMustBeAPositiveWholeNumber)
{
    practice.exec("DELETE FROM LAST_APODEIKSH");
    // An emptied field would store a row without a number: the window is not offered again and
    // no receipt can be issued.
    for (const char *typed : {"", "   ", "0", "-5", "12.5", "1e3"}) {
        SCOPED_TRACE(typed);
        messages.clear();
        ReceiptNumberingWindow w;
        w.show();
        QTest::keyClicks(w.valueBox(), "7");
        QTest::keyClick(w.valueBox(), Qt::Key_Backspace);
        QTest::keyClicks(w.valueBox(), typed);
        w.saveClick();
        EXPECT_EQ(messages.texts(), QStringList {kStartingNumberRefused});
        EXPECT_NE(w.records().state(), RecordSet::State::Browse);
        EXPECT_EQ(practice.count("SELECT * from LAST_APODEIKSH"), 0);
    }
    messages.clear();
    ReceiptNumberingWindow w;
    w.show();
    QTest::keyClicks(w.valueBox(), " 250 ");
    w.saveClick();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "250");
}

TEST_F(BillingWindows, SavingTheVatRateEndsTheProgramAfterItsMessage)
{
    // A main window that asks before it closes, as the program's does.
    struct AsksBeforeClosing : QWidget {
        int asked = 0;
        void closeEvent(QCloseEvent *event) override
        {
            ++asked;
            event->ignore();
        }
    } mainWindow;
    mainWindow.show();
    VatRateWindow w;
    w.show();
    EXPECT_EQ(w.valueBox()->text(), "15");
    w.valueBox()->selectAll();
    QTest::keyClicks(w.valueBox(), "24");
    // The program's event loop runs; saving ends it as the exit confirmation does.
    QTimer::singleShot(0, &w, [&w] { w.saveClick(); });
    QTimer guard; // ends a loop that saving failed to end
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(messages.texts(), QStringList {kVatSaved});
    EXPECT_EQ(practice.scalar("SELECT VAT_RATIO FROM SYNTELESTHS_VAT"), "24");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(mainWindow.asked, 0); // ended without "Έξοδος;"
}

TEST_F(BillingWindows, ATextThatIsNotANumberIsRefusedAndNothingIsStored)
{
    practice.exec("DELETE FROM LAST_APODEIKSH");
    for (const char *typed : {"abc", "12abc", "1.000.000"}) {
        SCOPED_TRACE(typed);
        messages.clear();
        {
            ReceiptNumberingWindow w;
            w.show();
            QTest::keyClicks(w.valueBox(), typed);
            w.saveClick();
            EXPECT_EQ(messages.shown().size(), 1);
            EXPECT_NE(w.records().state(), RecordSet::State::Browse); // still in edit
        }
        EXPECT_EQ(practice.count("SELECT * from LAST_APODEIKSH"), 0);

        messages.clear();
        VatRateWindow w;
        w.show();
        w.valueBox()->selectAll();
        QTest::keyClicks(w.valueBox(), typed);
        w.saveClick(); // refused: no message of success, the program goes on
        EXPECT_EQ(messages.shown().size(), 1);
        EXPECT_FALSE(messages.texts().contains(kVatSaved));
        EXPECT_EQ(practice.scalar("SELECT VAT_RATIO FROM SYNTELESTHS_VAT"), "15");
    }
}
