// A full disk, made by the engine itself: every connection the windows open may not grow the
// file past the pages it has. Saving goes on until the file is full; the save that fails shows
// the engine's message, the window keeps what was typed, and nothing is half written.
#include "appointmentbook.h"
#include "datawindow.h"
#include "daysheetwindow.h"
#include "newpatientwindow.h"
#include "patientfieldsform.h"
#include "receiptchecks.h"
#include "receiptwindow.h"
#include "recordnavigator.h"
#include "schema.h"
#include "testsupport.h"
#include "windowhooks.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString kFull = QStringLiteral("database or disk is full");

class FullDisk : public ::testing::Test {
protected:
    FullDisk()
    {
        ProgramConnection::setOpenedHook([](Connection &c) {
            const QString pages = ReceiptChecks::nativeValue(c, "PRAGMA page_count");
            c.executeNative("PRAGMA max_page_count = " + pages);
        });
    }
    ~FullDisk() override { ProgramConnection::setOpenedHook({}); }

    static bool full(const TestSupport::RecordingMessages &messages)
    {
        for (const auto &shown : messages.shown())
            if (shown.text.contains(kFull))
                return true;
        return false;
    }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
};

} // namespace

TEST_F(FullDisk, AReceiptThatDoesNotFitIsNotWrittenAndItsFieldsStay)
{
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    WindowHooks::printReceipt = [](QWidget *, const QString &) {};
    const QString description = QString(40, QChar(0x03B4));
    bool sawFull = false;
    for (int i = 0; i < 2000 && !sawFull; ++i) {
        const QString counter = practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH");
        const int receipts = ReceiptChecks::receiptCount();
        const int payments = practice.count("SELECT * FROM EISPRAKSH_PELATH");
        ReceiptWindow w;
        w.PatientId = "7";
        w.show();
        w.amountBox()->insert("40");
        w.descriptionBox()->insert(description);
        w.fundBox()->insert("ΙΚΑ");
        w.findChild<QPushButton *>("buttonRegister")->click();
        if (messages.shown().isEmpty())
            continue;
        sawFull = true;
        // One error box: the window's own words, and the engine's on the next line.
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().first().kind, "error");
        const QStringList lines = messages.last().split('\r');
        ASSERT_EQ(lines.size(), 2) << messages.last().toStdString();
        EXPECT_EQ(lines.at(0), QStringLiteral("Η καταχώρηση δεν έγινε"));
        EXPECT_TRUE(lines.at(1).contains(kFull)) << lines.at(1).toStdString();
        // What was typed stays for the next try, the window still open.
        EXPECT_EQ(w.amountBox()->text(), "40");
        EXPECT_EQ(w.descriptionBox()->text(), description);
        EXPECT_EQ(w.fundBox()->text(), "ΙΚΑ");
        EXPECT_TRUE(w.registerButton()->isEnabled());
        EXPECT_NE(w.result(), QDialog::Accepted);
        EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), counter);
        EXPECT_EQ(ReceiptChecks::receiptCount(), receipts);
        EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH"), payments);

        // Pressed again on the still full file: the same answer, still nothing written.
        messages.clear();
        w.registerButton()->click();
        EXPECT_EQ(messages.shown().size(), 1);
        EXPECT_TRUE(messages.last().contains(kFull)) << messages.last().toStdString();
        EXPECT_EQ(w.descriptionBox()->text(), description);
        EXPECT_EQ(ReceiptChecks::receiptCount(), receipts);
        EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), counter);
    }
    WindowHooks::printReceipt = nullptr;
    EXPECT_TRUE(sawFull) << "the file never filled up";
    const QStringList faults = ReceiptChecks::broken(1);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}

TEST_F(FullDisk, ANewPatientThatDoesNotFitIsNotWrittenAndStaysOnScreen)
{
    const QStringList fields {"ONOMA", "EPWNYMO", "DIEYTHYNSH", "EPAGGELMA", "TAMEIO"};
    NewPatientWindow w;
    w.show();
    bool sawFull = false;
    for (int i = 0; i < 2000 && !sawFull; ++i) {
        const int patients = practice.count("SELECT * FROM STOIXEIA_PELATH");
        w.recordBar()->press(RecordNavigator::Insert);
        QStringList typed;
        for (const QString &f : fields) {
            w.form()->edit(f)->insert(QString(250, QChar(0x03B1 + i % 20)));
            typed << w.form()->edit(f)->text(); // as wide as the column allows
        }
        w.recordBar()->button(RecordNavigator::Post)->click();
        if (!full(messages)) {
            ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
            continue;
        }
        sawFull = true;
        EXPECT_EQ(messages.shown().size(), 1);
        for (int f = 0; f < fields.size(); ++f)
            EXPECT_EQ(w.form()->edit(fields.at(f))->text(), typed.at(f))
                << fields.at(f).toStdString();
        EXPECT_EQ(w.records().state(), RecordSet::State::Insert);
        EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), patients);
    }
    EXPECT_TRUE(sawFull) << "the file never filled up";
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    EXPECT_EQ(ReceiptChecks::nativeValue(c, "PRAGMA integrity_check"), "ok");
}

TEST_F(FullDisk, ADaySheetThatDoesNotFitKeepsItsTextsAndTheStoredDayAsItWas)
{
    const QDate day(2026, 3, 5);
    AppointmentBook::native("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2026-03-05')");
    AppointmentBook::book(day, "0800-0830", QStringLiteral("Πρώτο"));
    DaySheetWindow sheet;
    sheet.DayDateText = QStringLiteral("5/3/2026");
    sheet.DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
    sheet.setUp();
    // Every slot filled to its width: the day's row no longer fits the pages the file has.
    const int slotCount = Schema::slotColumns().size();
    for (int k = 1; k <= slotCount; ++k) {
        sheet.DBEdit(k)->selectAll();
        sheet.DBEdit(k)->insert(QString(400, QChar(0x03C9)));
    }
    QStringList typed;
    for (int k = 1; k <= slotCount; ++k)
        typed << sheet.DBEdit(k)->text();
    sheet.saveButton()->click();
    ASSERT_TRUE(full(messages)) << messages.last().toStdString();
    for (int k = 1; k <= slotCount; ++k)
        EXPECT_EQ(sheet.DBEdit(k)->text(), typed.at(k - 1)) << "slot " << k;
    EXPECT_TRUE(sheet.saveButton()->isEnabled());
    EXPECT_EQ(AppointmentBook::slot(day, "0800-0830"), QStringLiteral("Πρώτο"));
    EXPECT_EQ(AppointmentBook::slot(day, "0830-0900"), QString());
    EXPECT_EQ(AppointmentBook::rowsOf(day), 1);
}
