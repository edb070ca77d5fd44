// The office's table editors: the order each lists its rows in, the notebook's print rule and
// print, the reminders read when shown, and saving and refusing what is typed.
#include "officeeditors.h"
#include "recordnavigator.h"
#include "sqltext.h"
#include "testsupport.h"
#include "windowhooks.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
    }
}

QStringList column(const RecordGrid *grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, c).data().toString();
    return out;
}

class Office : public ::testing::Test {
protected:
    Office()
    {
        WindowHooks::openNotesPrinting = [this](QWidget *, const QString &id) { printed << id; };
    }
    ~Office() override { WindowHooks::openNotesPrinting = nullptr; }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    QStringList printed;
};

} // namespace

TEST_F(Office, EachEditorListsItsRowsInItsOwnOrder)
{
    const struct {
        EditorLayout (*layout)();
        QStringList inserts;
        int shownColumn;
        QStringList expected;
    } cases[] = {
        {&OfficeEditors::notebook,
         {"INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Ωράριο')",
          "INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('άδεια')",
          "INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Βιβλία')"},
         0,
         {"άδεια", "Βιβλία", "Ωράριο"}},
        {&OfficeEditors::reminders,
         {"INSERT INTO YPENTHIMISEIS (HMEROMHNIA) VALUES (#3/5/2008#)",
          "INSERT INTO YPENTHIMISEIS (HMEROMHNIA) VALUES (#12/1/2009#)",
          "INSERT INTO YPENTHIMISEIS (HMEROMHNIA) VALUES (#4/20/2008#)"},
         0,
         {"1/12/2009", "20/4/2008", "5/3/2008"}},
        {&OfficeEditors::phoneNumbers,
         {"INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES ('Φαρμακείο Κώστα')",
          "INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES ('Ασφαλιστικό ταμείο')",
          "INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO) VALUES ('Λογιστής')"},
         0,
         {"Ασφαλιστικό ταμείο", "Λογιστής", "Φαρμακείο Κώστα"}},
        {&OfficeEditors::doctors,
         {"INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN (ONOMA, EPWNYMO) VALUES ('Άννα', 'Ζαχαρίου')",
          "INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN (ONOMA, EPWNYMO) VALUES ('Ζωή', 'Αντωνίου')",
          "INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN (ONOMA, EPWNYMO) VALUES ('Βασίλης', 'Μάρκου')"},
         1,
         {"Αντωνίου", "Ζαχαρίου", "Μάρκου"}},
    };
    for (const auto &c : cases) {
        for (const QString &sql : c.inserts)
            practice.exec(sql);
        TableEditorWindow w(c.layout());
        w.FormShow();
        EXPECT_EQ(column(w.grid(), c.shownColumn), c.expected) << w.windowTitle().toStdString();
        EXPECT_EQ(w.table().currentRow(), 0);
    }
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
}

TEST_F(Office, TheNotebookPrintsOnlyWhileItHoldsASavedNote)
{
    TableEditorWindow w(OfficeEditors::notebook());
    QPushButton *print = w.printButton();
    EXPECT_FALSE(print->isEnabled());
    w.navigator()->press(RecordNavigator::Insert);
    EXPECT_FALSE(print->isEnabled()); // a note being written is not a note yet
    typeText(w.editor("TITLOS"), "Προμήθειες");
    typeText(w.editor("PERIGRAFH"), "Γάντια");
    w.navigator()->press(RecordNavigator::Post);
    EXPECT_TRUE(print->isEnabled());
    print->click();
    EXPECT_EQ(printed, QStringList {practice.scalar("SELECT ID FROM SHMEIWSEIS")});
    // Deleting the last note through the record bar disables the print again.
    w.navigator()->press(RecordNavigator::Delete);
    EXPECT_EQ(messages.texts(), QStringList {"Delete record?"});
    EXPECT_EQ(practice.count("SELECT * FROM SHMEIWSEIS"), 0);
    EXPECT_FALSE(print->isEnabled());
}

TEST_F(Office, TheNotebookPrintsTheSelectedNote)
{
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Β')");
    practice.exec("INSERT INTO SHMEIWSEIS (TITLOS) VALUES ('Α')");
    TableEditorWindow w(OfficeEditors::notebook());
    ASSERT_TRUE(w.printButton()->isEnabled());
    w.grid()->selectRow(1);
    w.printButton()->click();
    EXPECT_EQ(printed, QStringList {practice.scalar("SELECT ID FROM SHMEIWSEIS WHERE TITLOS='Β'")});
    EXPECT_EQ(qobject_cast<QLineEdit *>(w.editor("TITLOS"))->text(), "Β");
}

TEST_F(Office, RemindersAreReadEachTimeTheWindowIsShown)
{
    TableEditorWindow w(OfficeEditors::reminders());
    practice.exec("INSERT INTO YPENTHIMISEIS (HMEROMHNIA, PERIGRAFH) VALUES (#5/1/2026#, 'Φόροι')");
    w.show();
    EXPECT_EQ(column(w.grid(), 0), QStringList {"1/5/2026"});
    EXPECT_EQ(qobject_cast<QPlainTextEdit *>(w.editor("PERIGRAFH"))->toPlainText(), "Φόροι");
    w.close();
    EXPECT_FALSE(w.table().isOpen());
}

TEST_F(Office, TypingIntoAnEmptyTableStartsARowThatSaveWrites)
{
    TableEditorWindow w(OfficeEditors::reminders());
    w.FormShow();
    typeText(w.editor("HMEROMHNIA"), "31/02/2008");
    typeText(w.editor("PERIGRAFH"), "Ραντεβού με λογιστή");
    w.navigator()->press(RecordNavigator::Post);
    // A date that does not exist is refused by the layer; the row stays in edit.
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, "error");
    EXPECT_EQ(w.table().state(), RecordSet::State::Insert);
    EXPECT_EQ(practice.count("SELECT * FROM YPENTHIMISEIS"), 0);
    auto *date = qobject_cast<QLineEdit *>(w.editor("HMEROMHNIA"));
    date->selectAll();
    typeText(date, "28/02/2008");
    w.navigator()->press(RecordNavigator::Post);
    EXPECT_EQ(practice.count("SELECT * FROM YPENTHIMISEIS WHERE HMEROMHNIA=#2/28/2008# AND "
                             "PERIGRAFH='Ραντεβού με λογιστή'"),
              1);
}

TEST_F(Office, ClosingDropsAnUnsavedEdit)
{
    practice.exec("INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN (ONOMA, EPWNYMO) VALUES ('Άννα', 'Ζ')");
    {
        TableEditorWindow w(OfficeEditors::doctors());
        typeText(w.editor("EIDIKOTHTA"), "Ορθοπεδικός");
        EXPECT_EQ(w.table().state(), RecordSet::State::Edit);
        w.exitButton()->click();
    }
    EXPECT_EQ(practice.scalar("SELECT EIDIKOTHTA FROM GIATROI_ALLWN_EIDIKOTHTWN"), "");
}
