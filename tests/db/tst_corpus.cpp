// Runs every SQL text the windows compose (the statement file tests/data/sql-corpus.txt, in order) on a practice with
// sample rows, and checks what the statements read and write.
#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "testsupport.h"

#include <QFile>
#include <QTextStream>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct Statement {
    int line;
    QString sql;
};

QList<Statement> readCorpus()
{
    QList<Statement> out;
    QFile f(TestSupport::testDataDir() + QStringLiteral("/sql-corpus.txt"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    QTextStream in(&f);
    int line = 0;
    while (!in.atEnd()) {
        const QString text = in.readLine();
        ++line;
        if (text.trimmed().isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        out.append({line, text});
    }
    return out;
}

void seed(Connection &c)
{
    const char *patients[][4] = {
        {"ΓΙΩΡΓΟΣ", "ΠΑΠΑΔΟΠΟΥΛΟΣ", "1955-06-01", "ΙΚΑ"},
        {"Μαρία", "Παπαδάκη", "1950-01-01", "ΟΓΑ"},
        {"Νίκος", "Αθανασίου", "1960-12-31", ""},
        {"Ελένη", "Ζώη", "1961-01-01", ""},
        {"Κώστας", "Βλάχος", "1949-12-31", ""},
        {"Άννα", "Ωραίου", "1975-03-03", ""},
        {"Πέτρος", "Ο'Νιλ", "1958-08-08", "ΤΕΒΕ"},
    };
    for (const auto &p : patients)
        c.executeNative(
            "INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,HMEROMHNIA_GENNHSEWS,TAMEIO,ISTORIKO) "
            "VALUES(?,?,?,?,?)",
            {QString::fromUtf8(p[0]), QString::fromUtf8(p[1]), QString::fromUtf8(p[2]),
             QString::fromUtf8(p[3]), QStringLiteral("Ιστορικό")});
    c.execute("INSERT INTO YPENTHIMISEIS(HMEROMHNIA,PERIGRAFH) VALUES(#3/5/2026#,'Τηλεφώνημα')");
    c.execute("INSERT INTO YPENTHIMISEIS(HMEROMHNIA,PERIGRAFH) VALUES(#3/5/2025#,'Πέρσι')");
    c.execute("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(7,#3/9/2026#,'Γ')");
    c.execute("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(7,#1/2/2026#,'Α')");
    c.execute("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(3,#1/1/2026#,'άλλος')");
    c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,POSO,VAT,SYNOLIKO_POSO) "
              "VALUES(90,#3/1/2008#,100,19,119)");
    c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,POSO,VAT,SYNOLIKO_POSO) "
              "VALUES(91,#3/31/2008#,50.5,9.6,60.1)");
    c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,POSO,VAT,SYNOLIKO_POSO,EGKYRH) "
              "VALUES(92,#3/15/2008#,1000,190,1190,FALSE)");
    c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,POSO,VAT,SYNOLIKO_POSO) "
              "VALUES(93,#4/1/2008#,7,1,8)");
    c.execute(
        "INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(#3/5/2008#,10,1.9,'Χαρτί')");
    c.execute(
        "INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(#3/1/2008#,20,3.8,'Ρεύμα')");
    c.execute("INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(#12/20/2007#,5,0,'Νερό')");
    c.execute("INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(#1/1/2009#,99,0,'Εκτός')");
    // Two linked slots of one day, one of them missed.
    c.execute("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,DEN_PROSHLTHE) "
              "VALUES(#3/9/2026#,0,7,FALSE)");
    c.execute("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,DEN_PROSHLTHE) "
              "VALUES(#3/9/2026#,1,3,TRUE)");
    for (const char *t : {"Γ σημείωση", "Α σημείωση", "Β σημείωση"})
        c.execute(QStringLiteral("INSERT INTO SHMEIWSEIS(TITLOS,PERIGRAFH) VALUES('%1','κείμενο')")
                      .arg(QString::fromUtf8(t)));
}

// Rows of a result as "a|b|c" lines.
// The expected rows are written with points; Format() gives this system's separator.
QStringList numbersAsShown(const QStringList &rows)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+\\.\\d+$"));
    QStringList out;
    for (const QString &row : rows) {
        QStringList cells = row.split(QLatin1Char('|'));
        for (QString &cell : cells)
            if (number.match(cell).hasMatch())
                cell = TestSupport::num(cell);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QStringList rows(Query &q)
{
    QStringList out;
    for (int r = 0; r < q.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < q.columnCount(); ++c)
            cells << q.text(r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

TEST(Corpus, EveryStatementRunsAndReadsWhatItShould)
{
    const QList<Statement> corpus = readCorpus();
    ASSERT_GT(corpus.size(), 30) << "corpus not found in "
                                 << qPrintable(TestSupport::testDataDir());

    // Expected results by the start of a statement's text: the rows, as "a|b|c" lines.
    const QList<std::pair<QString, QStringList>> expected = {
        {"SELECT HMEROMHNIA from YPENTHIMISEIS WHERE DAY", {"5/3/2026"}},
        {"SELECT * from YPENTHIMISEIS", {QStringLiteral("5/3/2026|Τηλεφώνημα")}},
        {"SELECT * from LAST_APODEIKSH", {}},
        // The payment went with its receipt's cancellation: sums over no rows are empty.
        {"SELECT COUNT(*) AS SYNOLO", {"0|||"}},
        {"SELECT Format(sum(POSO)", {"150.50|121.90|28.60"}},
        {"SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, Format(SUM(EKSODA.VAT)",
         {"30.00|5.70|35.70"}},
        {"SELECT Format(EKSODA.HMEROMHNIA",
         {QStringLiteral("01/03/2008|20.00|3.80|23.80|Ρεύμα"),
          QStringLiteral("05/03/2008|10.00|1.90|11.90|Χαρτί")}},
        {"SELECT MONTH(EKSODA.HMEROMHNIA)", {"12|2007|5.00|0.00|5.00", "3|2008|30.00|5.70|35.70"}},
        {"SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,Format", {"35.00|5.70|40.70"}},
        {"SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS ORDER BY",
         {QStringLiteral("Α σημείωση|κείμενο"), QStringLiteral("Β σημείωση|κείμενο"),
          QStringLiteral("Γ σημείωση|κείμενο")}},
        {"SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=3",
         {QStringLiteral("Β σημείωση|κείμενο")}},
        {"select ID AS ID", {QStringLiteral("7|2/1/2026|Α|"), QStringLiteral("7|9/3/2026|Γ|")}},
        {"SELECT * FROM RANTEBOU WHERE", {}},
        // The VAT a reprint chooses its layout by, as the receipt was written.
        {"SELECT VAT FROM APODEIKSEIS WHERE AR_APODEIKSHS=100", {"6"}},
        // The statistics' months (rows compared in order of their text: GROUP BY promises
        // no order). Receipts in force only; the amounts of a month with their counts.
        {"SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, POSO, VAT, COUNT(*) "
         "AS PLHTHOS FROM APODEIKSEIS",
         {"2008|3|100|19|1", "2008|3|50.5|9.6|1", "2008|4|7|1|1"}},
        {"SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, POSO, VAT, COUNT(*) "
         "AS PLHTHOS FROM EKSODA",
         {"2007|12|5|0|1", "2008|3|10|1.9|1", "2008|3|20|3.8|1", "2009|1|99|0|1"}},
        {"SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, COUNT(*) AS PLHTHOS "
         "FROM EPISKEPSEIS",
         {"2026|1|2", "2026|3|1"}},
        // Patients 3 and 7 both first came in January 2026.
        {"SELECT YEAR(PRWTH) AS ETOS", {"2026|1|2"}},
        {"SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, COUNT(*) AS PLHTHOS, "
         "SUM(CASE",
         {"2026|3|2|1"}},
    };

    TestSupport::TempPractice practice;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    seed(c);

    int checked = 0;
    for (const Statement &s : corpus) {
        SCOPED_TRACE(QStringLiteral("sql-corpus.txt:%1: %2").arg(s.line).arg(s.sql).toStdString());
        try {
            if (s.sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)) {
                Query q(c);
                q.setSql(s.sql);
                q.open();
                for (const auto &[start, want] : expected) {
                    if (s.sql.startsWith(start)) {
                        QStringList got = rows(q);
                        QStringList wanted = numbersAsShown(want);
                        if (s.sql.contains(QLatin1String(" AS ETOS, "))) {
                            got.sort();
                            wanted.sort();
                        }
                        EXPECT_EQ(got, wanted);
                        ++checked;
                        break;
                    }
                }
                // Searches by surname, by birth date and by ID each find what they ask for.
                if (s.sql.contains(QLatin1String("LIKE'ΠΑΠ%'"))) {
                    EXPECT_EQ(q.rowCount(), 2);
                }
                if (s.sql.contains(QLatin1String("BETWEEN #1/1/1950# AND #12/31/1960#"))) {
                    EXPECT_EQ(q.rowCount(), 4);
                }
                if (s.sql.contains(QLatin1String("WHERE ID=7"))
                    && s.sql.contains(QLatin1String("STOIXEIA_PELATH"))) {
                    EXPECT_EQ(q.fieldText("EPWNYMO"), QStringLiteral("Ο'Νιλ"));
                }
            } else {
                c.execute(s.sql);
            }
        } catch (const DbError &e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
    EXPECT_EQ(checked, expected.size());

    // What the writes left behind.
    EXPECT_EQ(practice.scalar("SELECT * FROM SECURITY"), "abc/12");
    EXPECT_EQ(practice.count("SELECT * FROM RANTEBOU"), 1);
    EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=100"), 0);
    EXPECT_EQ(practice.scalar("SELECT EGKYRH FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"), "False");
    EXPECT_EQ(practice.scalar("SELECT SYNOLIKO_POSO FROM APODEIKSEIS WHERE AR_APODEIKSHS=100"),
              "46");
}
