// A value typed into a bound field is converted by its column's kind when the row is posted;
// a text that is not of that kind is refused with a message in Greek, nothing is written, and
// the row stays in edit with what was typed.
#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using TestSupport::TempPractice;

namespace {

struct Case {
    const char *table;
    const char *column;
    QVariant typed;
    QString stored;  // as the program shows it afterwards ("" for null)
    QString refused; // the message when the value is refused
};

QString notANumber(const char *typed)
{
    return QStringLiteral("Η τιμή '%1' δεν είναι έγκυρος αριθμός.")
        .arg(TestSupport::num(QString::fromUtf8(typed)));
}

QString notAWholeNumber(const char *typed)
{
    return QStringLiteral("Η τιμή '%1' δεν είναι έγκυρος ακέραιος αριθμός.")
        .arg(TestSupport::num(QString::fromUtf8(typed)));
}

} // namespace

TEST(FieldConversion, NumbersTypedIntoBoundFields)
{
    const Case cases[] = {
        // Amounts: the system's decimal separator (written as a point here, a comma on a Greek
        // system), blanks around trimmed, an empty text is null.
        {"EKSODA", "POSO", QStringLiteral("12.5"), QStringLiteral("12.5"), {}},
        {"EKSODA", "POSO", QStringLiteral(" 12.5 "), QStringLiteral("12.5"), {}},
        {"EKSODA", "POSO", QStringLiteral("12,5"), {}, notANumber("12,5")},
        {"EKSODA", "POSO", QStringLiteral("-3"), QStringLiteral("-3"), {}},
        {"EKSODA", "POSO", QStringLiteral(".5"), QStringLiteral("0.5"), {}},
        {"EKSODA", "POSO", QStringLiteral(""), QString(), {}},
        {"EKSODA", "POSO", QStringLiteral("   "), QString(), {}},
        {"EKSODA", "POSO", 7.25, QStringLiteral("7.25"), {}},
        {"EKSODA", "POSO", QStringLiteral("abc"), {}, notANumber("abc")},
        {"EKSODA", "POSO", QStringLiteral("1.2.3"), {}, notANumber("1.2.3")},
        {"EKSODA", "POSO", QStringLiteral("1,200.50"), {}, notANumber("1,200.50")},
        {"EKSODA", "POSO", QStringLiteral("12 €"), {}, notANumber("12 €")},
        {"EKSODA", "POSO", QStringLiteral("1e5"), {}, notANumber("1e5")},
        {"EKSODA", "POSO", QStringLiteral("nan"), {}, notANumber("nan")},
        {"SYNTELESTHS_VAT", "VAT_RATIO", QStringLiteral("0.24"), QStringLiteral("0.24"), {}},
        {"SYNTELESTHS_VAT", "VAT_RATIO", QStringLiteral("24%"), {}, notANumber("24%")},
        // Whole numbers: the receipt numbering.
        {"LAST_APODEIKSH", "LAST", QStringLiteral("42"), QStringLiteral("42"), {}},
        {"LAST_APODEIKSH", "LAST", QStringLiteral(" +7 "), QStringLiteral("7"), {}},
        {"LAST_APODEIKSH", "LAST", QStringLiteral(""), QString(), {}},
        {"LAST_APODEIKSH", "LAST", 3.0, QStringLiteral("3"), {}},
        {"LAST_APODEIKSH", "LAST", QStringLiteral("1.5"), {}, notAWholeNumber("1.5")},
        {"LAST_APODEIKSH", "LAST", QStringLiteral("12,0"), {}, notAWholeNumber("12,0")},
        {"LAST_APODEIKSH", "LAST", QStringLiteral("δέκα"), {}, notAWholeNumber("δέκα")},
        {"LAST_APODEIKSH",
         "LAST",
         QStringLiteral("99999999999999999999"),
         {},
         notAWholeNumber("99999999999999999999")},
        // A number (not a typed text) is named as the program holds it, with a point.
        {"LAST_APODEIKSH", "LAST", 2.5, {},
         QStringLiteral("Η τιμή '2.5' δεν είναι έγκυρος ακέραιος αριθμός.")},
    };
    for (Case c : cases) {
        // Typed texts as this system's person types them; numbers stay numbers.
        if (c.typed.typeId() == QMetaType::QString)
            c.typed = TestSupport::num(c.typed.toString());
        c.stored = TestSupport::num(c.stored);
        SCOPED_TRACE(QStringLiteral("%1.%2 = '%3'")
                         .arg(c.table, c.column, c.typed.toString())
                         .toStdString());
        TempPractice p;
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        Table t(connection);
        t.setTableName(QString::fromUtf8(c.table));
        t.open();
        t.insert();
        t.setFieldValue(c.column, c.typed);
        const QString count = QStringLiteral("SELECT * FROM %1").arg(c.table);
        if (c.refused.isEmpty()) {
            t.post();
            EXPECT_EQ(t.state(), RecordSet::State::Browse);
            EXPECT_EQ(p.count(count), 1);
            EXPECT_EQ(p.scalar(QStringLiteral("SELECT %1 FROM %2").arg(c.column, c.table)),
                      c.stored);
            continue;
        }
        try {
            t.post();
            ADD_FAILURE() << "the value was accepted";
        } catch (const DbError &e) {
            EXPECT_EQ(e.message(), c.refused);
        }
        EXPECT_EQ(t.state(), RecordSet::State::Insert);
        EXPECT_EQ(t.fieldValue(c.column), c.typed);
        EXPECT_EQ(p.count(count), 0);
    }
}

TEST(FieldConversion, ARefusedEditKeepsTheStoredValue)
{
    TempPractice p;
    p.exec("INSERT INTO EKSODA(HMEROMHNIA,POSO) VALUES(#3/1/2026#,10)");
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    Table t(connection);
    t.setTableName("EKSODA");
    t.open();
    t.setFieldValue("POSO", QStringLiteral("δέκα"));
    EXPECT_THROW(t.post(), DbError);
    EXPECT_EQ(t.state(), RecordSet::State::Edit);
    t.setFieldValue("POSO", TestSupport::num("10.40"));
    t.post();
    EXPECT_EQ(p.scalar("SELECT POSO FROM EKSODA"), TestSupport::num("10.4"));
}
