// A receipt typed as a person on this system types it, run once on a Greek system and once under
// LANG=C: the amount is read with the system's decimal separator only, and the register and the
// printed receipt show amounts with it.
#include "billingfixtures.h"
#include "billingtexts.h"
#include "directpdfoutput.h"
#include "issuedreceiptswindow.h"
#include "printingtestsupport.h"
#include "receiptprinting.h"
#include "receiptwindow.h"
#include "windowhooks.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace BillingFixtures;

TEST(ReceiptInTheSystemLocale, TheSystemSeparatorIsReadStoredExactlyAndShown)
{
    const bool greek = QLocale::system().name().startsWith(QLatin1String("el"));
    SCOPED_TRACE(QLocale::system().name().toStdString());
    const QString typed = greek ? "10,10" : "10.10";
    const QString thousand = greek ? "1.000" : "1,000";
    const QString total = greek ? "11,62" : "11.62";

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    DirectPdfOutput output;
    ReceiptPrinting printing;
    PrintingTest::installLayouts(practice.dir());
    setUpNumbering(practice);
    WindowHooks::printReceipt = [&printing](QWidget *, const QString &no) {
        printing.ReceiptNo = no.toLongLong();
        printing.PrintReceipt();
    };
    const auto issue = [&](const QString &amount) {
        ReceiptWindow w;
        w.PatientId = "7";
        w.PatientFirstName = "Άννα";
        w.PatientSurname = "Ιωάννου";
        w.show();
        QTest::keyClicks(w.amountBox(), amount);
        QTest::keyClicks(w.descriptionBox(), "Massage");
        w.registerButton()->click();
    };

    // The other separator is a thousands separator or a slip, not a decimal point.
    issue(thousand);
    EXPECT_EQ(messages.texts(), QStringList {BillingTexts::kNotRegistered});
    EXPECT_EQ(receiptState(practice), "100|0|0|");
    EXPECT_TRUE(output.runs().isEmpty());

    // 10.10 × 15 % is exactly 1.515, which goes to the even cent.
    messages.clear();
    issue(typed);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS WHERE AR_APODEIKSHS=100 AND POSO=10.1 "
                             "AND VAT=1.52 AND SYNOLIKO_POSO=11.62"),
              1);
    EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=100 AND "
                             "POSO=10.1 AND VAT=1.52 AND SYNOLIKO_POSO=11.62"),
              1);
    ASSERT_EQ(output.runs().size(), 1);
    const QString pdf = PrintingTest::pdfText(output.runs().last().pdfPath);
    EXPECT_TRUE(pdf.contains(total)) << pdf.toStdString();

    IssuedReceiptsWindow registerWindow;
    registerWindow.show();
    EXPECT_EQ(registerWindow.receipts().fieldText("SYNOLIKO_POSO"), total);
    EXPECT_EQ(registerWindow.receipts().fieldText("VAT"), greek ? "1,52" : "1.52");
    WindowHooks::printReceipt = nullptr;
}
