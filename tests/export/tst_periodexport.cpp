// The accountant's exports of the period income and of the period's expenses, read back by a
// real CSV reader and a real workbook reader: the same rows and amounts as the windows found,
// in the system's decimal separator (run once on a Greek system and once under LANG=C), with
// names and descriptions that hold separators, quotes and line breaks intact.
#include "exportfixtures.h"
#include "exporttexts.h"
#include "expensesbyperiodwindow.h"
#include "periodincomewindow.h"
#include "recordgrid.h"

#include "connection.h"
#include "decimal.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace ExportFixtures;

namespace {

const QString kPayer = QStringLiteral("Ο'Νηλ; \"Γιώργος\"");
const QString kTwoLines = QStringLiteral("Φυσικοθεραπεία αυχένα\nδεύτερη συνεδρία");

void insert(const QString &sql, const QVariantList &values)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.executeNative(sql, values);
}

void addReceipt(int number, const QString &isoDate, const QString &payer,
                const QString &description, const QVariant &fund, double amount, double vat,
                bool valid = true)
{
    insert("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
           "POSO, TAMEIO, POSO_CY, PERIGRAFH, VAT, SYNOLIKO_POSO, EGKYRH) "
           "VALUES (?, ?, 'Όνομα', 'Επώνυμο', ?, ?, ?, 0, ?, ?, ?, ?)",
           {number, isoDate, payer, amount, fund, description, vat, amount + vat, valid ? 1 : 0});
}

void addExpense(const QString &isoDate, const QString &description, double amount, double vat)
{
    insert("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) VALUES (?, ?, ?, ?)",
           {isoDate, amount, vat, description});
}

// An amount as this system writes it: "40,00" on a Greek system, "40.00" under LANG=C.
QString money(const char *pointed)
{
    return QString::fromLatin1(pointed).replace(u'.', Decimal::systemSeparator());
}

Decimal sumOf(const std::vector<QStringList> &rows, int column)
{
    Decimal sum;
    for (size_t r = 1; r < rows.size(); ++r) {
        const auto value = Decimal::read(rows[r].at(column));
        EXPECT_TRUE(value.has_value()) << rows[r].at(column).toStdString();
        sum = sum + value.value_or(Decimal());
    }
    return sum;
}

int excelDay(const QDate &date)
{
    return int(QDate(1899, 12, 30).daysTo(date));
}

class PeriodExport : public ExportTest {
protected:
    PeriodExport()
    {
        addReceipt(105, "2024-01-01", "Λάμπρου Ελένη", "Σύντομη", QVariant(), 0.05, 0.01);
        addReceipt(101, "2024-01-15", kPayer, kTwoLines, "ΕΟΠΥΥ", 40, 9.6);
        addReceipt(102, "2024-02-29", "Ιωάννου Άννα", "=1+1", QVariant(), 10.1, 1.52);
        addReceipt(103, "2024-03-31", "Ακυρωμένη", "Ακυρώθηκε", QVariant(), 100, 24, false);
        addReceipt(104, "2024-04-01", "Εκτός", "Εκτός περιόδου", QVariant(), 70, 16.8);
        addExpense("2024-03-05", "Ενοίκιο; Μάρτιος \"Α\"", 500, 0);
        addExpense("2024-03-10", "Ρεύμα\nΔΕΗ", 80.65, 19.35);
        addExpense("2024-04-02", "Εκτός περιόδου", 12, 2.88);
    }

    void findIncome(PeriodIncomeWindow &w, const QString &from, const QString &to)
    {
        w.fromBox()->clear();
        w.toBox()->clear();
        QTest::keyClicks(w.fromBox(), from);
        QTest::keyClicks(w.toBox(), to);
        w.findButton()->click();
    }
    void findExpenses(ExpensesReviewWindow &w, const QString &from, const QString &to)
    {
        w.fromField()->setText(from);
        w.toField()->setText(to);
        w.findButton()->click();
    }
};

} // namespace

TEST_F(PeriodExport, IncomeRowsReadBackAsTheWindowFoundThem)
{
    SCOPED_TRACE(QLocale::system().name().toStdString());
    PeriodIncomeWindow w;
    w.show();
    EXPECT_FALSE(w.exportButton()->isEnabled());
    findIncome(w, "1/1/2024", "31/3/2024");
    ASSERT_TRUE(messages.texts().isEmpty()) << messages.last().toStdString();
    ASSERT_TRUE(w.exportButton()->isEnabled());

    target = out("income.csv");
    w.exportButton()->click();
    EXPECT_EQ(messages.last(), ExportTexts::tableWritten(3, QDir::toNativeSeparators(target)));
    EXPECT_TRUE(suggested.endsWith("Εισπράξεις 1-1-2024 έως 31-3-2024.csv"))
        << suggested.toStdString();

    const QJsonObject file = readBack(target);
    EXPECT_TRUE(file.value("bom").toBool());
    const std::vector<QStringList> rows = csvRows(file);
    const std::vector<QStringList> expected = {
        {"Αριθμός απόδειξης", "Ημερομηνία", "Πληρωτής", "Περιγραφή", "Ταμείο", "Ποσό (EUR)",
         "Φ.Π.Α (EUR)", "Ποσό + Φ.Π.Α (EUR)"},
        {"105", "1/1/2024", "Λάμπρου Ελένη", "Σύντομη", "", money("0.05"), money("0.01"),
         money("0.06")},
        {"101", "15/1/2024", kPayer, kTwoLines, "ΕΟΠΥΥ", money("40.00"), money("9.60"),
         money("49.60")},
        // A text a spreadsheet would run as a formula is written after an apostrophe.
        {"102", "29/2/2024", "Ιωάννου Άννα", "'=1+1", "", money("10.10"), money("1.52"),
         money("11.62")},
    };
    EXPECT_EQ(rows, expected);
    // No totals row: the columns sum to what the window shows.
    EXPECT_EQ(sumOf(rows, 5), Decimal::read(w.result("POSO")->text()).value_or(Decimal(-1)));
    EXPECT_EQ(sumOf(rows, 6), Decimal::read(w.result("VAT")->text()).value_or(Decimal(-1)));
    EXPECT_EQ(w.result("POSO")->text(), money("50.15"));
}

TEST_F(PeriodExport, IncomeAsAWorkbookHoldsNumbersDatesAndPlainTexts)
{
    PeriodIncomeWindow w;
    w.show();
    findIncome(w, "1/1/2024", "31/3/2024");
    target = out("income");
    filter = ExportTexts::kXlsxFilter;
    w.exportButton()->click();
    ASSERT_EQ(messages.last(),
              ExportTexts::tableWritten(3, QDir::toNativeSeparators(out("income.xlsx"))));
    const QJsonObject book = readBack(out("income.xlsx"));
    EXPECT_EQ(book.value("sheet").toString(), "Εισπράξεις");
    const QJsonArray rows = book.value("rows").toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toArray()[2].toObject().value("s").toString(), "Πληρωτής");
    const QJsonArray second = rows[2].toArray();
    const auto number = [](const QJsonValue &cell) { return cell.toObject().value("n").toDouble(); };
    const auto format = [](const QJsonValue &cell) {
        return cell.toObject().value("fmt").toString();
    };
    EXPECT_EQ(number(second[0]), 101);
    EXPECT_EQ(number(second[1]), excelDay(QDate(2024, 1, 15)));
    EXPECT_EQ(format(second[1]), "d/m/yyyy");
    EXPECT_EQ(second[2].toObject().value("s").toString(), kPayer);
    EXPECT_EQ(second[3].toObject().value("s").toString(), kTwoLines);
    EXPECT_EQ(number(second[5]), 40);
    EXPECT_EQ(format(second[5]), "0.00");
    // The amounts are numbers with a point inside the file, also on a Greek system.
    EXPECT_EQ(number(second[6]), 9.6);
    EXPECT_EQ(number(second[7]), 49.6);
    EXPECT_FALSE(book.value("widths").toObject().isEmpty());
    // A workbook keeps a text a text: no apostrophe, and no formula either.
    const QJsonObject formulaLike = rows[3].toArray()[3].toObject();
    EXPECT_EQ(formulaLike.value("s").toString(), "=1+1");
    EXPECT_FALSE(formulaLike.value("formula").toBool());
    EXPECT_TRUE(rows[3].toArray()[4].isNull()); // no fund: an empty cell
}

TEST_F(PeriodExport, ExpensesRowsReadBackAsTheWindowFoundThem)
{
    SCOPED_TRACE(QLocale::system().name().toStdString());
    ExpensesByPeriodWindow w;
    w.show();
    ASSERT_NE(w.exportButton(), nullptr);
    EXPECT_FALSE(w.exportButton()->isEnabled());
    findExpenses(w, "1/3/2024", "31/3/2024");
    ASSERT_TRUE(w.exportButton()->isEnabled());
    // The export writes the search's criteria, not what the fields hold by then.
    w.fromField()->setText("1/1/2020");
    target = out("expenses.csv");
    w.exportButton()->click();
    EXPECT_EQ(messages.last(), ExportTexts::tableWritten(2, QDir::toNativeSeparators(target)));

    const std::vector<QStringList> rows = csvRows(readBack(target));
    const std::vector<QStringList> expected = {
        {"Ημερομηνία", "Περιγραφή", "Αξία (EUR)", "Φ.Π.Α (EUR)", "Αξία + Φ.Π.Α (EUR)"},
        {"5/3/2024", "Ενοίκιο; Μάρτιος \"Α\"", money("500.00"), money("0.00"), money("500.00")},
        {"10/3/2024", "Ρεύμα\nΔΕΗ", money("80.65"), money("19.35"), money("100.00")},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(w.grid()->model()->rowCount(), 2);
    const QStringList totals = w.totals();
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(sumOf(rows, 2 + c), Decimal::read(totals.at(c)).value_or(Decimal(-1)))
            << totals.at(c).toStdString();
}

TEST_F(PeriodExport, TheButtonFollowsTheLastSearch)
{
    PeriodIncomeWindow income;
    income.show();
    findIncome(income, "1/1/2024", "31/3/2024");
    EXPECT_TRUE(income.exportButton()->isEnabled());
    findIncome(income, "31/2/2024", "31/3/2024"); // not a date
    EXPECT_FALSE(income.exportButton()->isEnabled());

    ExpensesByPeriodWindow expenses;
    expenses.show();
    findExpenses(expenses, "1/3/2024", "31/3/2024");
    EXPECT_TRUE(expenses.exportButton()->isEnabled());
    findExpenses(expenses, "abc", "31/3/2024");
    EXPECT_FALSE(expenses.exportButton()->isEnabled());
    findExpenses(expenses, "1/3/2024", "31/3/2024");
    expenses.done(QDialog::Rejected); // closing resets the window
    EXPECT_FALSE(expenses.exportButton()->isEnabled());
}

TEST_F(PeriodExport, ACancelledChoiceOrAnUnwritableDestinationWritesNothing)
{
    PeriodIncomeWindow w;
    w.show();
    findIncome(w, "1/1/2024", "31/3/2024");
    messages.clear();

    target.clear(); // the person cancels the file dialogue
    w.exportButton()->click();
    EXPECT_TRUE(messages.texts().isEmpty());

    QFile plain(out("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    target = out("plain.txt/income.csv"); // a folder that is a regular file: no one can write
    w.exportButton()->click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().last().kind, "error");
    EXPECT_EQ(messages.last(),
              ExportTexts::notWritten(QDir::toNativeSeparators(target), ExportTexts::kNoFolder));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"plain.txt"});
}
