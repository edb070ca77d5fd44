// Issuing with the e-books on: the receipt is queued in its own transaction, one that cannot be
// described truthfully is not issued, and the receipt window sends before it prints.
#include "billingtexts.h"
#include "connection.h"
#include "ebooksservice.h"
#include "ebookssettings.h"
#include "fakesecrets.h"
#include "mydatatestsupport.h"
#include "mydatatexts.h"
#include "printingtestsupport.h"
#include "program.h"
#include "receiptissue.h"
#include "receiptprinting.h"
#include "receiptwindow.h"
#include "secretstore.h"
#include "sendqueue.h"
#include "standin.h"
#include "windowhooks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QProgressDialog>
#include <QTest>
#include <gtest/gtest.h>

#include <map>

using namespace MyData;

namespace {

class Issuing : public ::testing::Test {
protected:
    Issuing()
    {
        PrintingTest::installLayouts(practice.dir());
        practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(100)");
        practice.exec("INSERT INTO INFORMATION (TITLE, AFT) VALUES ('Φυσικοθεραπευτήριο', '"
                      + QString::fromLatin1(MyDataTest::kVatNumber) + "')");
        WindowHooks::printReceipt = [this](QWidget *, const QString &no) {
            printing.ReceiptNo = no.toLongLong();
            printing.PrintReceipt();
        };
    }
    ~Issuing() override
    {
        WindowHooks::printReceipt = nullptr;
        EbooksService::setInstance(nullptr);
    }

    void turnOn(const QString &rate, VatTreatment treatment)
    {
        practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(" + rate + ")");
        EbooksSettings s;
        s.enabled = true;
        s.user = QLatin1String(StandIn::kUser);
        s.series = "ΑΠΥ";
        s.treatment = treatment;
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        s.write(c);
    }

    ReceiptIssue::Result issue(const QString &amount)
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(c);
        issue.read();
        return issue.issue(
            {"7", "Άννα", "Ιωάννου", TestSupport::num(amount), "Φυσικοθεραπεία", ""});
    }

    std::optional<QueueItem> queued(qint64 n)
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        return SendQueue(c).item(n);
    }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    DirectPdfOutput output;
    ReceiptPrinting printing;
};

} // namespace

TEST_F(Issuing, AnIssuedReceiptIsQueuedUnderTheIdentifierOfItsDocument)
{
    turnOn("0", VatTreatment::Exempt);
    const ReceiptIssue::Result r = issue("40");
    ASSERT_EQ(r.outcome, ReceiptIssue::Outcome::Issued);
    EXPECT_TRUE(r.queued);
    const std::optional<QueueItem> it = queued(100);
    ASSERT_TRUE(it);
    Receipt receipt;
    receipt.series = "ΑΠΥ";
    receipt.number = 100;
    receipt.issueDate = QDate::fromString(
        practice.scalar("SELECT HMEROMHNIA FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"), "d/M/yyyy");
    ASSERT_TRUE(receipt.issueDate.isValid());
    EXPECT_EQ(it->entry.uid,
              documentUid(Issuer{QString::fromLatin1(MyDataTest::kVatNumber), 0}, receipt));
    EXPECT_EQ(it->state, SendState::Waiting);
    EXPECT_TRUE(it->entry.exempt);
}

// With the e-books on, what they cannot be told truthfully is not issued; with them off, the
// same receipts are issued as always.
TEST_F(Issuing, WhatCannotBeSentIsNotIssuedWhileTheEbooksAreOn)
{
    struct Case {
        const char *amount, *rate;
        VatTreatment treatment;
        QString problem;
    };
    const Case cases[] = {
        {"12.345", "0", VatTreatment::Exempt, MyDataTexts::kNotCents},
        {"40", "15", VatTreatment::Taxable, MyDataTexts::rateNotGreek("15")},
        {"40", "24", VatTreatment::Exempt, MyDataTexts::kExemptWithVat},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.amount);
        practice.exec("DELETE FROM SYNTELESTHS_VAT");
        turnOn(c.rate, c.treatment);
        const ReceiptIssue::Result r = issue(c.amount);
        EXPECT_EQ(r.outcome, ReceiptIssue::Outcome::NotTransmittable);
        EXPECT_TRUE(r.problems.contains(c.problem)) << r.problems.join('\n').toStdString();
        EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS"), 0);
        EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "100");
    }
    practice.exec("DELETE FROM MYDATA_RYTHMISEIS");
    const ReceiptIssue::Result off = issue("12.345");
    EXPECT_EQ(off.outcome, ReceiptIssue::Outcome::Issued);
    EXPECT_FALSE(off.queued);
    EXPECT_FALSE(queued(100));
}

// The window sends the receipt before printing it, and prints what the service answered: the
// MARK and code, the refusal (shown first) or, when the person leaves the wait, the line that it
// waits to be sent.
TEST_F(Issuing, TheReceiptWindowSendsThenPrints)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    FakeSecrets secrets;
    secrets.values[keyName(StandIn::kUser)] = StandIn::kKey;
    turnOn("0", VatTreatment::Exempt);
    EbooksService service(secrets, Program::DbConnectionString, folder, "A");
    service.reloadSettings();
    service.setServiceUrl(standIn.baseUrl());
    service.setTimeoutMs(20000);
    EbooksService::setInstance(&service);

    struct Case {
        const char *mode;
        bool leave;       // the person leaves the wait
        QString printed;  // on the receipt
        QString message;  // shown before it is printed; empty: none
        QString line;     // the window's line on why it was not sent; empty: it closes
    };
    const Case cases[] = {
        {"success", false, "ΜΑΡΚ: 4000010000000", {}, {}},
        {"validation", false, BillingTexts::kEbooksWaiting, "Η ΑΑΔΕ δεν δέχτηκε", {}},
        {"ratelimit", false, BillingTexts::kEbooksWaiting, {},
         BillingTexts::ebooksNotSentLine(102, MyDataTexts::kBusy)},
        {"hang", true, BillingTexts::kEbooksWaiting, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        standIn.next({c.mode});
        const int runs = output.runs().size();
        ReceiptWindow w;
        w.PatientId = "7";
        w.PatientFirstName = "Άννα";
        w.PatientSurname = "Ιωάννου";
        w.show();
        QTest::keyClicks(w.amountBox(), "40");
        QTest::keyClicks(w.descriptionBox(), "Massage");
        w.registerClick();
        ASSERT_TRUE(w.sendingProgress()); // waiting, with the window's event loop running
        EXPECT_EQ(output.runs().size(), runs);
        if (c.leave) {
            auto *leave = w.sendingProgress()->findChild<QPushButton *>();
            ASSERT_TRUE(leave);
            EXPECT_EQ(leave->text(), BillingTexts::kEbooksLeave);
            leave->click();
        }
        ASSERT_TRUE(waitUntil([&] { return output.runs().size() == runs + 1; }));
        EXPECT_EQ(w.result(), QDialog::Accepted);
        EXPECT_EQ(w.isVisible(), !c.line.isEmpty());
        EXPECT_EQ(w.ebooksLine()->isVisible(), !c.line.isEmpty());
        if (!c.line.isEmpty()) {
            EXPECT_EQ(w.ebooksLine()->text(), c.line);
        }
        const QString pdf = PrintingTest::pdfText(output.runs().last().pdfPath);
        EXPECT_TRUE(pdf.contains(c.printed)) << pdf.toStdString();
        EXPECT_TRUE(pdf.contains("UID:"));
        if (c.message.isEmpty())
            EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
        else
            EXPECT_TRUE(messages.last().contains(c.message)) << messages.last().toStdString();
        messages.clear();
    }
}
