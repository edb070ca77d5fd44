#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using TestSupport::TempPractice;

namespace {

struct Practice {
    TempPractice p;
    Connection c;
    Practice()
    {
        c.setUp(Program::DbConnectionString, true);
        for (const char *name : {"Ζαχαρίου", "αθανασίου", "Ωραιόπουλος", "ΒΑΣΙΛΕΙΟΥ", "Άγγελος"})
            c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('%1')")
                          .arg(QString::fromUtf8(name)));
    }
    QStringList surnames(Query &q)
    {
        QStringList out;
        for (int r = 0; r < q.rowCount(); ++r)
            out << q.text(r, q.fieldIndex("EPWNYMO"));
        return out;
    }
};

} // namespace

TEST(RecordSet, OrderByAndSortFollowGreekAlphabet)
{
    Practice f;
    Query q(f.c);
    q.setSql("SELECT ID, EPWNYMO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC");
    q.open();
    const QStringList expected
        = {QStringLiteral("Άγγελος"), QStringLiteral("αθανασίου"), QStringLiteral("ΒΑΣΙΛΕΙΟΥ"),
           QStringLiteral("Ζαχαρίου"), QStringLiteral("Ωραιόπουλος")};
    EXPECT_EQ(f.surnames(q), expected);
    q.setCurrentRow(2);
    q.sort("EPWNYMO DESC");
    QStringList reversed = expected;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(f.surnames(q), reversed);
    // The current row stays on the same record.
    EXPECT_EQ(q.fieldText("EPWNYMO"), QStringLiteral("ΒΑΣΙΛΕΙΟΥ"));
    q.sort("ID ASC");
    EXPECT_EQ(q.fieldText(0), "4");
    EXPECT_THROW(q.sort("NOPE ASC"), DbError);
}

TEST(RecordSet, LikeIgnoresCaseAndAccents)
{
    Practice f;
    f.c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('ΠΑΠΑΔΟΠΟΥΛΟΣ')"));
    f.c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Παπαδόπουλος')"));
    f.c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Καππάς')"));
    Query q(f.c);
    q.setSql(QStringLiteral(
        "SELECT * FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'παπ%' ORDER BY EPWNYMO ASC"));
    q.open();
    EXPECT_EQ(q.rowCount(), 2);
}

TEST(RecordSet, ValuesReadAsText)
{
    Practice f;
    f.c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO,VAT,EGKYRH,HMEROMHNIA) "
                "VALUES(3,40,6.5,FALSE,#3/5/2026#)");
    Query q(f.c);
    q.setSql("SELECT * FROM APODEIKSEIS");
    q.open();
    EXPECT_EQ(q.fieldText("HMEROMHNIA"), "5/3/2026");
    EXPECT_EQ(q.fieldText("POSO"), "40");
    EXPECT_EQ(q.fieldText("VAT"), TestSupport::num("6.5"));
    EXPECT_EQ(q.fieldText("EGKYRH"), "False");
    EXPECT_EQ(q.fieldText("ONOMA"), "");
    EXPECT_EQ(q.fieldText(0), "3");
}

TEST(RecordSet, InsertPostsAndRereadsTheCounterAndDefaults)
{
    Practice f;
    Table t(f.c);
    t.setTableName("STOIXEIA_PELATH");
    t.open();
    EXPECT_EQ(t.rowCount(), 5);
    t.insert();
    t.setFieldValue("EPWNYMO", QStringLiteral("Ο'Νιλ"));
    t.setFieldValue("HMEROMHNIA_GENNHSEWS", "7/4/1961");
    t.post();
    EXPECT_EQ(t.state(), RecordSet::State::Browse);
    EXPECT_EQ(t.fieldText("ID"), "6");
    EXPECT_EQ(t.fieldText("HMEROMHNIA_GENNHSEWS"), "7/4/1961");
    EXPECT_EQ(f.p.scalar("SELECT HMEROMHNIA_GENNHSEWS FROM STOIXEIA_PELATH WHERE ID=6"),
              "7/4/1961");

    // Posting twice writes two rows with their own ID.
    t.insert();
    t.setFieldValue("EPWNYMO", "X");
    t.post();
    t.insert();
    t.setFieldValue("EPWNYMO", "X");
    t.post();
    EXPECT_EQ(f.p.count("SELECT * FROM STOIXEIA_PELATH WHERE EPWNYMO='X'"), 2);
}

TEST(RecordSet, BadValuesAreRefusedOnPostAndTheRowStaysInEdit)
{
    Practice f;
    Query q(f.c);
    q.setSql("SELECT * FROM STOIXEIA_PELATH WHERE ID=1");
    q.open();
    ASSERT_TRUE(q.isUpdatable());
    q.edit();
    q.setFieldValue("HMEROMHNIA_GENNHSEWS", "31/02/2008");
    try {
        q.post();
        FAIL();
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "'31/02/2008' is not a valid date");
    }
    EXPECT_EQ(q.state(), RecordSet::State::Edit);
    q.setFieldValue("HMEROMHNIA_GENNHSEWS", "");
    q.setFieldValue("ONOMA", QString(51, QChar('a')));
    EXPECT_THROW(q.post(), DbError);
    q.cancel();
    EXPECT_EQ(q.fieldText("ONOMA"), "");
}

TEST(RecordSet, EditAndDeleteRowsWithQuotesInThem)
{
    Practice f;
    f.c.execute(QStringLiteral("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Ο''Νιλ')"));
    Query q(f.c);
    q.setSql(QStringLiteral("SELECT ID,ONOMA,EPWNYMO FROM STOIXEIA_PELATH WHERE ID=6"));
    q.open();
    EXPECT_EQ(q.fieldText("EPWNYMO"), QStringLiteral("Ο'Νιλ"));
    q.edit();
    q.setFieldValue("ONOMA", QStringLiteral("Σ'ον"));
    q.post();
    EXPECT_EQ(f.p.scalar("SELECT ONOMA FROM STOIXEIA_PELATH WHERE ID=6"), QStringLiteral("Σ'ον"));
    q.deleteCurrent();
    EXPECT_EQ(q.rowCount(), 0);
    EXPECT_EQ(q.currentRow(), -1);
    EXPECT_EQ(f.p.count("SELECT * FROM STOIXEIA_PELATH"), 5);
}

TEST(RecordSet, AggregatesAndExpressionsAreReadOnly)
{
    Practice f;
    Query q(f.c);
    q.setSql("SELECT COUNT(*) AS SYNOLO FROM STOIXEIA_PELATH");
    q.open();
    EXPECT_FALSE(q.isUpdatable());
    EXPECT_EQ(q.fieldText("SYNOLO"), "5");
    EXPECT_THROW(q.edit(), DbError);
}

TEST(RecordSet, MovingAndSignals)
{
    Practice f;
    Table t(f.c);
    t.setTableName("STOIXEIA_PELATH");
    t.open();
    QSignalSpy moved(&t, &RecordSet::currentChanged);
    EXPECT_TRUE(t.bof());
    t.last();
    EXPECT_TRUE(t.eof());
    t.prior();
    t.first();
    EXPECT_EQ(moved.count(), 3);
    // Moving away from a changed row writes it.
    t.setFieldValue("ONOMA", QStringLiteral("Νίκος"));
    t.next();
    EXPECT_EQ(f.p.scalar("SELECT ONOMA FROM STOIXEIA_PELATH WHERE ID=1"), QStringLiteral("Νίκος"));
    t.deleteCurrent();
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.currentRow(), 1);
    t.close();
    EXPECT_FALSE(t.isOpen());
    EXPECT_EQ(t.rowCount(), 0);
}

TEST(RecordSet, EmptyTableEditStartsANewRow)
{
    TempPractice p;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Table t(c);
    t.setTableName("SHMEIWSEIS");
    t.open();
    EXPECT_TRUE(t.isEmpty());
    t.setFieldValue("TITLOS", "Πρώτη");
    EXPECT_EQ(t.state(), RecordSet::State::Insert);
    t.post();
    EXPECT_EQ(p.scalar("SELECT TITLOS FROM SHMEIWSEIS WHERE ID=1"), QStringLiteral("Πρώτη"));
    t.insert();
    t.cancel();
    EXPECT_EQ(t.rowCount(), 1);
}
