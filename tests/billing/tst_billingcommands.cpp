// The main window's receipt and payment commands and the hooks the patient list uses.
#include "billingfixtures.h"
#include "billingtexts.h"
#include "commands.h"
#include "patientpaymentswindow.h"
#include "receiptwindow.h"
#include "windowhooks.h"

#include <QLabel>
#include <gtest/gtest.h>

TEST(BillingCommands, EveryEntryOpensItsWindowAndTheHooksCarryThePatient)
{
    TestSupport::TempPractice practice;
    BillingFixtures::setUpNumbering(practice);
    TestSupport::RecordingMessages messages;
    CommandTable table;
    AreaCommands::billing(table);

    QString shownName;
    QString shownNumber;
    TestSupport::ModalDriver driver([&](QDialog *dialog) {
        if (auto *receipt = qobject_cast<ReceiptWindow *>(dialog)) {
            receipt->show();
            shownName = receipt->findChild<QLabel *>("valueSurname")->text();
            shownNumber = receipt->numberLabel()->text();
        }
        if (auto *payments = qobject_cast<PatientPaymentsWindow *>(dialog)) {
            payments->show();
            shownName = payments->findChild<QLabel *>("valueSurname")->text();
        }
        return int(QDialog::Rejected);
    });

    const std::pair<MenuCommand, QString> entries[] = {
        {MenuCommand::VatRate, BillingTexts::kVatCaption},
        {MenuCommand::ReceiptNumbering, BillingTexts::kNumberingCaption},
        {MenuCommand::PracticeDetails, BillingTexts::kDetailsCaption},
        {MenuCommand::IssuedReceipts, BillingTexts::kRegisterCaption},
        {MenuCommand::PeriodIncome, BillingTexts::kPeriodCaption},
    };
    for (const auto &[command, caption] : entries) {
        ASSERT_TRUE(table.contains(command)) << caption.toStdString();
        table.value(command)(nullptr);
        EXPECT_EQ(driver.opened().last(), caption);
    }

    ASSERT_TRUE(WindowHooks::openReceipt && WindowHooks::openPatientPayments
                && WindowHooks::printReceipt);
    WindowHooks::openReceipt(nullptr, {"7", "Άννα", "Ιωάννου", {}});
    EXPECT_EQ(driver.opened().last(), BillingTexts::kReceiptCaption);
    EXPECT_EQ(shownName, "Ιωάννου");
    EXPECT_EQ(shownNumber, "100");
    WindowHooks::openPatientPayments(nullptr, {"7", "Νίκος", "Αντωνίου", {}});
    EXPECT_EQ(driver.opened().last(), BillingTexts::kPaymentsCaption);
    EXPECT_EQ(shownName, "Αντωνίου");
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
}
