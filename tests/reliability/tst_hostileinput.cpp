// Hostile texts in the free-text fields of the windows: each is stored exactly as it stands in
// the field (the field's own width may have cut it, which the person sees) or refused with a
// message or a disabled button, never with an SQL error, never changing the schema and never
// altering another field of the row. The number of inputs tried is printed.
#include "appointmentbook.h"
#include "connection.h"
#include "daysheetwindow.h"
#include "expenseseditor.h"
#include "findpatientwindow.h"
#include "healthrecordwindow.h"
#include "newpatientwindow.h"
#include "officeeditors.h"
#include "patientdatawindow.h"
#include "patientfieldsform.h"
#include "patientlistwindow.h"
#include "practicedetailswindow.h"
#include "program.h"
#include "receiptchecks.h"
#include "receiptwindow.h"
#include "recordnavigator.h"
#include "schema.h"
#include "tableeditorwindow.h"
#include "testsupport.h"
#include "visitswindow.h"
#include "windowhooks.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

struct Hostile {
    const char *name;
    QString text;
};

QList<Hostile> hostileTexts()
{
    QString controls = QStringLiteral("a\tb\rc");
    controls += QChar(1);
    QString nul = QStringLiteral("πριν");
    nul += QChar(0);
    nul += QStringLiteral("μετά");
    return {
        {"quotes", QStringLiteral("O'Brien \"ο μικρός\" ''")},
        {"sql drop", QStringLiteral("'; DROP TABLE STOIXEIA_PELATH; --")},
        {"sql or", QStringLiteral("1 OR 1=1")},
        {"long", QString(10000, QChar(0x03B1))},
        {"right to left", QStringLiteral("مرحبا שלום")},
        {"emoji", QStringLiteral("πόνος 😀👍🏽")},
        {"combining accents", QStringLiteral("e\u0301 ι\u0308\u0301")},
        {"controls", controls},
        {"nul", nul},
    };
}

// The engine's own view of the schema: what no text typed may change.
QString schema()
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    return ReceiptChecks::nativeValue(
        c, "SELECT group_concat(type || name || COALESCE(sql, ''), '|') FROM sqlite_master");
}

// A text column's value in the row a condition picks, as the engine holds it (NULL as "").
QString newestValueWhere(const QString &table, const QString &column, const QString &where)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    PreparedStatement s
        = c.prepare(QStringLiteral("SELECT [%1] FROM [%2] WHERE %3").arg(column, table, where));
    if (sqlite3_step(s.get()) != SQLITE_ROW)
        return QStringLiteral("<no row>");
    const void *data = sqlite3_column_text16(s.get(), 0);
    const int bytes = sqlite3_column_bytes16(s.get(), 0);
    return data ? QString(static_cast<const QChar *>(data), bytes / 2) : QString();
}

// A text column's value in the newest row of a table, as the engine holds it (NULL as "").
QString newestValue(const QString &table, const QString &column)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    PreparedStatement s = c.prepare(QStringLiteral("SELECT [%1] FROM [%2] ORDER BY rowid DESC "
                                                   "LIMIT 1")
                                        .arg(column, table));
    if (sqlite3_step(s.get()) != SQLITE_ROW)
        return QStringLiteral("<no row>");
    const void *data = sqlite3_column_text16(s.get(), 0);
    const int bytes = sqlite3_column_bytes16(s.get(), 0);
    return data ? QString(static_cast<const QChar *>(data), bytes / 2) : QString();
}

// A patient's whole row as one text, NUL characters kept: what "nothing else changed" compares.
QString patientRow(const QString &id, const QString &except)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    QString row;
    PreparedStatement s = c.prepare("SELECT * FROM STOIXEIA_PELATH WHERE ID=" + id);
    if (sqlite3_step(s.get()) != SQLITE_ROW)
        return QStringLiteral("<no row>");
    for (int i = 0; i < sqlite3_column_count(s.get()); ++i) {
        if (QString::fromUtf8(sqlite3_column_name(s.get(), i)) == except)
            continue;
        const void *data = sqlite3_column_text16(s.get(), i);
        row += (data ? QString(static_cast<const QChar *>(data),
                               sqlite3_column_bytes16(s.get(), i) / 2)
                     : QStringLiteral("<null>"))
            + "|";
    }
    return row;
}

QString declaredType(const QString &table, const QString &column)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    return ReceiptChecks::nativeValue(
               c,
               QStringLiteral("SELECT type FROM pragma_table_info('%1') WHERE name='%2'")
                   .arg(table, column))
        .toUpper();
}

bool isFreeText(const QString &type)
{
    return type.contains("CHAR") || type.contains("TEXT") || type.contains("MEMO")
        || type.contains("CLOB");
}

// Puts a text into a field as pasting does (the field's width applies) and returns what the
// field then holds.
QString paste(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field)) {
        line->selectAll();
        line->insert(text);
        return line->text();
    }
    auto *plain = qobject_cast<QPlainTextEdit *>(field);
    plain->setPlainText(text);
    return plain->toPlainText();
}

// Counts what happened to the inputs over the whole test.
struct Tally {
    int tried = 0;
    int stored = 0;
    int cut = 0; // stored as the field's width left it
    int asTheFieldHoldsIt = 0;
    int refused = 0;
};
Tally g_tally;

class HostileInput : public ::testing::Test {
protected:
    static void TearDownTestSuite()
    {
        std::printf("inputs tried %d: stored exactly %d, cut to the field's width %d, stored as "
                    "the multi-line box holds it %d, refused %d (no failure listed above: no "
                    "SQL error)\n",
                    g_tally.tried, g_tally.stored, g_tally.cut, g_tally.asTheFieldHoldsIt,
                    g_tally.refused);
    }

    // Judges one saved text: what the field held must be in the database exactly.
    void judge(const std::string &where, const QString &typed, const QString &inField,
               const QString &stored)
    {
        ++g_tally.tried;
        for (const auto &shown : messages.shown())
            ADD_FAILURE() << where << ": message " << shown.text.toStdString();
        EXPECT_EQ(stored, inField) << where << ": stored " << stored.left(80).toStdString();
        if (stored != inField)
            return;
        if (inField == typed)
            ++g_tally.stored;
        else if (typed.startsWith(inField))
            ++g_tally.cut;
        else // a multi-line box holds a carriage return as a line break
            ++g_tally.asTheFieldHoldsIt;
    }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
};

} // namespace

TEST_F(HostileInput, TableEditorsStoreEveryTextAsTheFieldHoldsIt)
{
    const QList<EditorLayout> layouts {ExpensesEditor::layout(), OfficeEditors::notebook(),
                                       OfficeEditors::reminders(), OfficeEditors::phoneNumbers(),
                                       OfficeEditors::doctors()};
    const QString before = schema();
    for (const EditorLayout &layout : layouts) {
        for (const EditorField &target : layout.fields) {
            if (!isFreeText(declaredType(layout.table, target.column)))
                continue;
            for (const Hostile &h : hostileTexts()) {
                const std::string where
                    = (layout.table + "." + target.column).toStdString() + " / " + h.name;
                messages.clear();
                TableEditorWindow w(layout);
                w.show();
                w.navigator()->press(RecordNavigator::Insert);
                // Every other field gets a plain value that must come back unchanged.
                QHash<QString, QString> others;
                for (const EditorField &f : layout.fields) {
                    if (f.column == target.column)
                        continue;
                    const QString type = declaredType(layout.table, f.column);
                    const QString value = isFreeText(type) ? QStringLiteral("Άλλο")
                        : type.contains("DATE")            ? QStringLiteral("1/2/2010")
                                                           : QStringLiteral("5");
                    paste(w.editor(f.column), value);
                    if (isFreeText(type))
                        others.insert(f.column, value);
                }
                const QString inField = paste(w.editor(target.column), h.text);
                w.navigator()->press(RecordNavigator::Post);
                judge(where, h.text, inField, newestValue(layout.table, target.column));
                for (auto it = others.cbegin(); it != others.cend(); ++it)
                    EXPECT_EQ(newestValue(layout.table, it.key()), it.value())
                        << where << ": other field " << it.key().toStdString();
                w.done(0);
            }
        }
    }
    EXPECT_EQ(schema(), before);
}

TEST_F(HostileInput, NewPatientStoresEveryTextAsTheFieldHoldsIt)
{
    const QStringList fields {"ONOMA",      "EPWNYMO",   "DIEYTHYNSH", "THLEFWNO_1",
                              "THLEFWNO_2", "EPAGGELMA", "TAMEIO"};
    const QString before = schema();
    for (const QString &field : fields) {
        for (const Hostile &h : hostileTexts()) {
            const std::string where = "STOIXEIA_PELATH." + field.toStdString() + " / " + h.name;
            messages.clear();
            NewPatientWindow w;
            w.show();
            for (const QString &other : fields) {
                if (other != field)
                    paste(w.form()->edit(other), QStringLiteral("Άλλο"));
            }
            const QString inField = paste(w.form()->edit(field), h.text);
            w.recordBar()->button(RecordNavigator::Post)->click();
            judge(where, h.text, inField, newestValue("STOIXEIA_PELATH", field));
            for (const QString &other : fields) {
                if (other != field) {
                    EXPECT_EQ(newestValue("STOIXEIA_PELATH", other), QStringLiteral("Άλλο"))
                        << where << ": other field " << other.toStdString();
                }
            }
            w.done(0);
        }
    }
    EXPECT_EQ(schema(), before);
}

TEST_F(HostileInput, ReceiptTextsAreStoredTrimmedOrRefusedByTheButton)
{
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    WindowHooks::printReceipt = [](QWidget *, const QString &) {};
    const QString before = schema();
    for (const char *column : {"PERIGRAFH", "TAMEIO"}) {
        for (const Hostile &h : hostileTexts()) {
            const std::string where = std::string("APODEIKSEIS.") + column + " / " + h.name;
            messages.clear();
            ReceiptWindow w;
            w.PatientId = "7";
            w.PatientFirstName = "Άννα";
            w.PatientSurname = "Ιωάννου";
            w.show();
            paste(w.amountBox(), "40");
            const bool description = QLatin1String(column) == QLatin1String("PERIGRAFH");
            QLineEdit *target = description ? w.descriptionBox() : w.fundBox();
            QLineEdit *other = description ? w.fundBox() : w.descriptionBox();
            paste(other, QStringLiteral("Άλλο"));
            const QString inField = paste(target, h.text);
            const int receiptsBefore = ReceiptChecks::receiptCount();
            auto *button = w.findChild<QPushButton *>("buttonRegister");
            ASSERT_NE(button, nullptr);
            if (!button->isEnabled()) {
                // The window's own rule refuses punctuation: nothing may be written.
                ++g_tally.tried;
                ++g_tally.refused;
                EXPECT_EQ(ReceiptChecks::receiptCount(), receiptsBefore) << where;
                continue;
            }
            button->click();
            // The window trims what it stores, as it always has.
            judge(where, h.text.trimmed(), inField.trimmed(), newestValue("APODEIKSEIS", column));
            EXPECT_EQ(newestValue("APODEIKSEIS", description ? "TAMEIO" : "PERIGRAFH"), "Άλλο")
                << where;
        }
    }
    EXPECT_EQ(schema(), before);
    EXPECT_TRUE(ReceiptChecks::broken(1).isEmpty());
    WindowHooks::printReceipt = nullptr;
}

TEST_F(HostileInput, DaySheetSlotsStoreEveryTextAsTheFieldHoldsIt)
{
    const QDate day(2026, 3, 5);
    AppointmentBook::native("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2026-03-05')");
    const QStringList columns = Schema::slotColumns();
    const QString before = schema();
    // The first, a middle and the last slot; the slot beside each keeps a plain text.
    for (const int slot : {1, 14, 28}) {
        const int neighbour = slot == 28 ? 27 : slot + 1;
        for (const Hostile &h : hostileTexts()) {
            const std::string where
                = "RANTEBOU." + columns.at(slot - 1).toStdString() + " / " + h.name;
            messages.clear();
            DaySheetWindow sheet;
            sheet.DayDateText = QStringLiteral("5/3/2026");
            sheet.DayQueryText
                = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
            sheet.setUp();
            paste(sheet.DBEdit(neighbour), QStringLiteral("Άλλο"));
            const QString inField = paste(sheet.DBEdit(slot), h.text);
            sheet.saveButton()->click();
            judge(where, h.text, inField, newestValue("RANTEBOU", columns.at(slot - 1)));
            EXPECT_EQ(AppointmentBook::slot(day, columns.at(neighbour - 1)), "Άλλο") << where;
            EXPECT_EQ(AppointmentBook::rowsOf(day), 1) << where;
        }
    }
    EXPECT_EQ(schema(), before);
}

TEST_F(HostileInput, VisitsAndPracticeDetailsStoreEveryTextAsTheFieldHoldsIt)
{
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Μαρία','Ιωάννου')");
    const QString id = practice.scalar("SELECT MAX(ID) FROM STOIXEIA_PELATH");
    practice.exec("INSERT INTO INFORMATION (TITLE, PHONE, AFT) VALUES ('Τίτλος', '1', '2')");
    const QString before = schema();
    for (const Hostile &h : hostileTexts()) {
        for (const bool reason : {true, false}) {
            const std::string where
                = std::string("EPISKEPSEIS.") + (reason ? "AITIA" : "PERIGRAFH") + " / " + h.name;
            messages.clear();
            VisitsWindow w;
            w.PatientFirstName = QStringLiteral("Μαρία");
            w.PatientSurname = QStringLiteral("Ιωάννου");
            w.PatientId = id;
            w.FormShow();
            paste(w.dateBox(), "15/3/2022");
            paste(reason ? w.descriptionBox() : w.reasonBox(), QStringLiteral("Άλλο"));
            const QString inField = paste(reason ? w.reasonBox() : w.descriptionBox(), h.text);
            w.entryBar()->button(RecordNavigator::Post)->click();
            judge(where, h.text, inField,
                  newestValue("EPISKEPSEIS", reason ? "AITIA" : "PERIGRAFH"));
            EXPECT_EQ(newestValue("EPISKEPSEIS", reason ? "PERIGRAFH" : "AITIA"), "Άλλο") << where;
            EXPECT_EQ(newestValue("EPISKEPSEIS", "ID"), id) << where;
            w.done(0);
        }
        for (const QString &column : PracticeDetailsWindow::columns()) {
            if (!isFreeText(declaredType("INFORMATION", column)))
                continue;
            const std::string where = "INFORMATION." + column.toStdString() + " / " + h.name;
            messages.clear();
            PracticeDetailsWindow w;
            w.show();
            QHash<QString, QString> others;
            for (const QString &other : PracticeDetailsWindow::columns())
                others.insert(other, newestValue("INFORMATION", other));
            const QString inField = paste(w.field(column), h.text);
            w.saveBar()->press(RecordNavigator::Post);
            judge(where, h.text, inField, newestValue("INFORMATION", column));
            for (auto it = others.cbegin(); it != others.cend(); ++it) {
                if (it.key() != column) {
                    EXPECT_EQ(newestValue("INFORMATION", it.key()), it.value()) << where;
                }
            }
            EXPECT_EQ(practice.count("SELECT * FROM INFORMATION"), 1) << where;
        }
    }
    EXPECT_EQ(schema(), before);
}

// A surname holding the text is found by it, or the find button refuses the text: never an
// SQL error, never another patient.
TEST_F(HostileInput, FindingAPatientByAHostileSurname)
{
    QStringList surnames; // what the list opened by the find window showed
    TestSupport::ModalDriver driver([&surnames](QDialog *d) {
        if (auto *list = qobject_cast<PatientListWindow *>(d)) {
            list->FormShow();
            for (int r = 0; r < list->records().rowCount(); ++r)
                surnames << list->records().text(r, list->records().fieldIndex("EPWNYMO"));
            list->done(0);
        }
        return 0;
    });
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άλλος','Ασθενής')");
    const QString before = schema();
    for (const Hostile &h : hostileTexts()) {
        const std::string where = std::string("find surname / ") + h.name;
        messages.clear();
        {
            NewPatientWindow w;
            w.show();
            paste(w.form()->edit("EPWNYMO"), h.text);
            w.recordBar()->button(RecordNavigator::Post)->click();
        }
        const QString stored = newestValue("STOIXEIA_PELATH", "EPWNYMO");
        PatientListWindow list;
        FindPatientWindow find(&list);
        find.show();
        paste(find.surnameBox(), stored);
        ++g_tally.tried;
        if (!find.surnameFindButton()->isEnabled()) {
            ++g_tally.refused;
            continue;
        }
        surnames.clear();
        find.surnameFindButton()->click();
        for (const auto &shown : messages.shown())
            ADD_FAILURE() << where << ": message " << shown.text.toStdString();
        EXPECT_TRUE(surnames.contains(stored)) << where;
        EXPECT_FALSE(surnames.contains("Ασθενής")) << where;
        ++g_tally.stored;
        practice.exec("DELETE FROM STOIXEIA_PELATH WHERE ID="
                      + practice.scalar("SELECT MAX(ID) FROM STOIXEIA_PELATH"));
    }
    EXPECT_EQ(schema(), before);
}

// An existing patient edited in the patient data window and in the health record's history:
// the edited column holds the text, the rest of the row and the other patient stay as they were.
TEST_F(HostileInput, EditingAPatientAndTheHealthHistory)
{
    practice.exec(
        "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,TAMEIO) VALUES('Μαρία','Ιωάννου','ΙΚΑ')");
    const QString id = practice.scalar("SELECT MAX(ID) FROM STOIXEIA_PELATH");
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άλλος','Ασθενής')");
    const QString otherId = practice.scalar("SELECT MAX(ID) FROM STOIXEIA_PELATH");
    const QString before = schema();
    const QString otherRow = patientRow(otherId, {});
    for (const Hostile &h : hostileTexts()) {
        for (const QString &column : {QStringLiteral("EPWNYMO"), QStringLiteral("DIEYTHYNSH")}) {
            const std::string where = "patient data " + column.toStdString() + " / " + h.name;
            messages.clear();
            const QString rest = patientRow(id, column);
            PatientDataWindow w;
            w.PatientId = id;
            w.FormShow();
            const QString inField = paste(w.form()->edit(column), h.text);
            w.recordBar()->button(RecordNavigator::Post)->click();
            judge(where, h.text, inField, newestValueWhere("STOIXEIA_PELATH", column, "ID=" + id));
            EXPECT_EQ(patientRow(id, column), rest) << where;
        }
        {
            const std::string where = std::string("health record history / ") + h.name;
            messages.clear();
            const QString rest = patientRow(id, "ISTORIKO");
            HealthRecordWindow w;
            w.PatientId = id;
            w.PatientFirstName = QStringLiteral("Μαρία");
            w.PatientSurname = QStringLiteral("Ιωάννου");
            w.FormShow();
            const QString inField = paste(w.historyBox(), h.text);
            w.recordBar()->button(RecordNavigator::Post)->click();
            judge(where, h.text, inField,
                  newestValueWhere("STOIXEIA_PELATH", "ISTORIKO", "ID=" + id));
            EXPECT_EQ(patientRow(id, "ISTORIKO"), rest) << where;
        }
    }
    EXPECT_EQ(patientRow(otherId, {}), otherRow);
    EXPECT_EQ(schema(), before);
}
