// The statistics window on a practice with known figures over two years: every number it
// shows (tables, figures under the charts, the bars themselves), on a rolling period, without
// the appointment links, when the database fails, and what its printout and export hold.
#include "printingtestsupport.h"
#include "schema.h"
#include "statisticsfigures.h"
#include "statisticsfixture.h"
#include "statisticswindow.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <map>

using namespace PrintingTest;
using StatisticsFixture::shown;

namespace {

// A table as the window shows it: the months' rows that are not all zero, by row index (12
// is the totals), each written with points; every other month must show zeros.
struct Expected {
    const char *key;
    QString tab;
    QStringList columns;
    std::map<int, QStringList> rows;
    QStringList figures;
};

QStringList monthNames(int firstMonth, int firstYear)
{
    static const char *names[] = {"Ιανουάριος", "Φεβρουάριος", "Μάρτιος", "Απρίλιος",
                                  "Μάιος",      "Ιούνιος",     "Ιούλιος", "Αύγουστος",
                                  "Σεπτέμβριος", "Οκτώβριος",  "Νοέμβριος", "Δεκέμβριος"};
    QStringList out;
    for (int i = 0; i < 12; ++i) {
        const int m = (firstMonth - 1 + i) % 12;
        out << QStringLiteral("%1 %2").arg(QString::fromUtf8(names[m])).arg(
            firstYear + (firstMonth - 1 + i) / 12);
    }
    return out;
}

QStringList cells(const QTableWidget *t, int row)
{
    QStringList out;
    for (int c = 0; c < t->columnCount(); ++c)
        out << (t->item(row, c) ? t->item(row, c)->text() : QString());
    return out;
}

QStringList headers(const QTableWidget *t)
{
    QStringList out;
    for (int c = 0; c < t->columnCount(); ++c)
        out << t->horizontalHeaderItem(c)->text();
    return out;
}

// A number as the table shows it, for a bar's value.
double number(const QString &text)
{
    QString t = text;
    return t.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

class Statistics : public PrintingFixture {
protected:
    Statistics() { StatisticsFixture::fill(practice); }

    static void choose(StatisticsWindow &w, int year, int endMonth)
    {
        w.yearBox()->setValue(year);
        w.monthBox()->setCurrentIndex(endMonth - 1);
        w.refresh();
    }

    // Checks a window's tables, figures and bars against the expected ones, all of them.
    static void checkAll(const StatisticsWindow &w, const QList<Expected> &expected,
                         const QStringList &months)
    {
        ASSERT_EQ(w.tabs()->count(), expected.size());
        for (int e = 0; e < expected.size(); ++e) {
            const Expected &x = expected[e];
            SCOPED_TRACE(x.key);
            EXPECT_EQ(w.tabs()->tabText(e), x.tab);
            const auto *table = w.findChild<QTableWidget *>(QStringLiteral("table_") + x.key);
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(headers(table), x.columns);
            ASSERT_EQ(table->rowCount(), 13);
            for (int r = 0; r < 13; ++r) {
                QStringList want;
                const auto found = x.rows.find(r);
                if (found != x.rows.end()) {
                    want = found->second;
                } else {
                    const bool amounts = x.rows.begin()->second.value(0).contains(QLatin1Char('.'));
                    for (int c = 1; c < x.columns.size(); ++c)
                        want << (amounts ? QStringLiteral("0.00") : QStringLiteral("0"));
                }
                want.prepend(r < 12 ? months[r] : QStringLiteral("Σύνολο"));
                for (QString &cell : want)
                    cell = shown(cell);
                EXPECT_EQ(cells(table, r), want) << "row " << r;
            }
            const auto *figures = w.findChild<QLabel *>(QStringLiteral("figures_") + x.key);
            ASSERT_NE(figures, nullptr);
            QStringList wantFigures;
            for (const QString &f : x.figures)
                wantFigures << shown(f);
            EXPECT_EQ(figures->text().split(QLatin1Char('\n')), wantFigures);

            // The bars draw the table's columns, in their order; the net is the line.
            const auto *view = w.findChild<QChartView *>(QStringLiteral("chart_") + x.key);
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(view->accessibleDescription(), wantFigures.join(QLatin1Char('\n')));
            const auto *bars = qobject_cast<QBarSeries *>(view->chart()->series().value(0));
            ASSERT_NE(bars, nullptr);
            const bool hasNet = QLatin1String(x.key) == QLatin1String("expenses");
            ASSERT_EQ(bars->count(), table->columnCount() - 1 - (hasNet ? 1 : 0));
            for (int s = 0; s < bars->count(); ++s)
                for (int m = 0; m < 12; ++m)
                    EXPECT_NEAR(bars->barSets()[s]->at(m), number(table->item(m, s + 1)->text()),
                                0.006)
                        << "set " << s << " month " << m;
            if (hasNet) {
                const auto *line = qobject_cast<QLineSeries *>(view->chart()->series().value(1));
                ASSERT_NE(line, nullptr);
                for (int m = 0; m < 12; ++m)
                    EXPECT_NEAR(line->at(m).y(), number(table->item(m, 3)->text()), 0.006);
            }
        }
    }
};

const QStringList kZeroAmounts4 = {"0.00", "0.00", "0.00", "0.00"};

QList<Expected> calendarYear2025()
{
    return {
        {"income",
         QStringLiteral("Έσοδα"),
         {"Μήνας", "Ποσό 2025 (EUR)", "Φ.Π.Α 2025 (EUR)", "Ποσό 2024 (EUR)", "Φ.Π.Α 2024 (EUR)"},
         {{0, {"80.00", "19.20", "30.00", "7.20"}},
          {2, {"55.51", "13.32", "40.00", "9.60"}},
          {11, {"50.00", "12.00", "0.00", "0.00"}},
          {12, {"185.51", "44.52", "70.00", "16.80"}}},
         {"Έσοδα χωρίς Φ.Π.Α: 185.51 EUR (πέρσι 70.00 EUR, +165.0 %)",
          "Φ.Π.Α εσόδων: 44.52 EUR (πέρσι 16.80 EUR, +165.0 %)",
          "Έσοδα με Φ.Π.Α: 230.03 EUR (πέρσι 86.80 EUR, +165.0 %)"}},
        {"expenses",
         QStringLiteral("Έξοδα και καθαρό"),
         {"Μήνας", "Έσοδα (EUR)", "Έξοδα (EUR)", "Καθαρό (EUR)"},
         {{0, {"80.00", "120.50", "-40.50"}},
          {2, {"55.51", "0.00", "55.51"}},
          {5, {"0.00", "300.00", "-300.00"}},
          {11, {"50.00", "0.00", "50.00"}},
          {12, {"185.51", "420.50", "-235.00"}}},
         {"Έσοδα χωρίς Φ.Π.Α: 185.51 EUR (πέρσι 70.00 EUR, +165.0 %)",
          "Έξοδα χωρίς Φ.Π.Α: 420.50 EUR (πέρσι 150.00 EUR, +180.3 %)",
          "Καθαρό αποτέλεσμα: -235.00 EUR (πέρσι -80.00 EUR, -193.8 %)",
          "Τα έξοδα είναι το 226.7 % των εσόδων"}},
        {"visits",
         QStringLiteral("Επισκέψεις"),
         {"Μήνας", "Επισκέψεις 2025", "Νέοι ασθενείς 2025", "Επισκέψεις 2024",
          "Νέοι ασθενείς 2024"},
         {{0, {"4", "2", "1", "0"}},
          {1, {"1", "0", "0", "0"}},
          {2, {"1", "0", "2", "1"}},
          {11, {"1", "1", "0", "0"}},
          {12, {"7", "3", "3", "1"}}},
         {"Επισκέψεις: 7 (πέρσι 3, +133.3 %)", "Νέοι ασθενείς: 3 (πέρσι 1, +200.0 %)"}},
        {"appointments",
         QStringLiteral("Ραντεβού"),
         {"Μήνας", "Ραντεβού 2025", "Δεν προσήλθαν 2025", "Ραντεβού 2024", "Δεν προσήλθαν 2024"},
         {{0, {"2", "1", "0", "0"}},
          {1, {"1", "0", "0", "0"}},
          {2, {"0", "0", "2", "1"}},
          {11, {"1", "1", "0", "0"}},
          {12, {"4", "2", "2", "1"}}},
         {"Ραντεβού με ασθενή: 4 (πέρσι 2, +100.0 %)", "Δεν προσήλθαν: 2 (πέρσι 1, +100.0 %)",
          "Απουσίες: 50.0 % των ραντεβού"}},
    };
}

} // namespace

TEST_F(Statistics, EveryFigureOfAYearBesideTheYearBefore)
{
    SCOPED_TRACE(QLocale::system().name().toStdString());
    StatisticsWindow w;
    choose(w, 2025, 12);
    ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Στατιστικά"));
    EXPECT_TRUE(w.printButton()->isEnabled());
    EXPECT_TRUE(w.exportButton()->isEnabled());
    checkAll(w, calendarYear2025(), monthNames(1, 2025));
}

TEST_F(Statistics, TwelveMonthsEndingWithAChosenMonth)
{
    StatisticsWindow w;
    choose(w, 2025, 3);
    ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    // April 2024 to March 2025, beside April 2023 to March 2024.
    const QList<Expected> expected = {
        {"income",
         QStringLiteral("Έσοδα"),
         {"Μήνας", "Ποσό 4/2024 - 3/2025 (EUR)", "Φ.Π.Α 4/2024 - 3/2025 (EUR)",
          "Ποσό 4/2023 - 3/2024 (EUR)", "Φ.Π.Α 4/2023 - 3/2024 (EUR)"},
         {{8, {"0.00", "0.00", "99.00", "0.00"}},
          {9, {"80.00", "19.20", "30.00", "7.20"}},
          {11, {"55.51", "13.32", "40.00", "9.60"}},
          {12, {"135.51", "32.52", "169.00", "16.80"}}},
         {"Έσοδα χωρίς Φ.Π.Α: 135.51 EUR (πέρσι 169.00 EUR, -19.8 %)",
          "Φ.Π.Α εσόδων: 32.52 EUR (πέρσι 16.80 EUR, +93.6 %)",
          "Έσοδα με Φ.Π.Α: 168.03 EUR (πέρσι 185.80 EUR, -9.6 %)"}},
    };
    ASSERT_GE(w.tabs()->count(), 1);
    const auto *table = w.findChild<QTableWidget *>(QStringLiteral("table_income"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(headers(table), expected[0].columns);
    const QStringList months = monthNames(4, 2024);
    for (const auto &[row, values] : expected[0].rows) {
        QStringList want = values;
        want.prepend(row < 12 ? months[row] : QStringLiteral("Σύνολο"));
        for (QString &c : want)
            c = shown(c);
        EXPECT_EQ(cells(table, row), want) << "row " << row;
    }
    EXPECT_EQ(cells(table, 0), QStringList({months[0], shown("0.00"), shown("0.00"),
                                            shown("0.00"), shown("0.00")}));
    QStringList figures;
    for (const QString &f : expected[0].figures)
        figures << shown(f);
    EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("figures_income"))->text(),
              figures.join(QLatin1Char('\n')));
    // The axis names the year where the period runs over two.
    const auto *view = w.findChild<QChartView *>(QStringLiteral("chart_income"));
    const auto *bars = qobject_cast<QBarSeries *>(view->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(StatisticsFigures::axisLabel(w.statistics(), 0), QStringLiteral("Απρ 24"));
    EXPECT_EQ(StatisticsFigures::axisLabel(w.statistics(), 11), QStringLiteral("Μαρ 25"));

    // Choosing another month reads again.
    w.monthBox()->setCurrentIndex(11);
    checkAll(w, calendarYear2025(), monthNames(1, 2025));
}

TEST_F(Statistics, APracticeWithoutAppointmentLinksHasNoSuchChart)
{
    practice.exec(QStringLiteral("DROP TABLE RANTEBOU_ASTHENH"));
    StatisticsWindow w;
    choose(w, 2025, 12);
    ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    QList<Expected> expected = calendarYear2025();
    expected.removeLast();
    checkAll(w, expected, monthNames(1, 2025));
    EXPECT_EQ(w.findChild<QTableWidget *>(QStringLiteral("table_appointments")), nullptr);
}

TEST_F(Statistics, AFailingReadIsShownAndLeavesNothingToPrint)
{
    StatisticsWindow w;
    choose(w, 2025, 12);
    ASSERT_EQ(w.tabs()->count(), 4);
    practice.exec(QStringLiteral("DROP TABLE EKSODA"));
    w.yearBox()->setValue(2024);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().kind, "error");
    EXPECT_TRUE(messages.last().contains(QLatin1String("EKSODA"), Qt::CaseInsensitive))
        << messages.last().toStdString();
    EXPECT_EQ(w.tabs()->count(), 0);
    EXPECT_FALSE(w.printButton()->isEnabled());
    EXPECT_FALSE(w.exportButton()->isEnabled());
    w.printButton()->click();
    EXPECT_TRUE(output.runs().isEmpty());
}

TEST_F(Statistics, ThePrintoutHoldsEveryChartsFiguresAndTables)
{
    StatisticsWindow w;
    choose(w, 2025, 12);
    w.printButton()->click();
    ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    ASSERT_EQ(output.runs().size(), 1);
    EXPECT_EQ(lastPages(), 2);
    const QString text = lastText();
    EXPECT_TRUE(text.contains(QStringLiteral("Στατιστικά του ιατρείου")));
    EXPECT_TRUE(text.contains(QStringLiteral("Περίοδος 2025, σύγκριση με 2024")));
    for (const Expected &e : calendarYear2025()) {
        SCOPED_TRACE(e.key);
        for (const QString &f : e.figures)
            EXPECT_TRUE(text.contains(shown(f))) << shown(f).toStdString();
        for (const QString &c : e.columns)
            EXPECT_TRUE(text.contains(c)) << c.toStdString();
        for (const auto &[row, values] : e.rows)
            for (const QString &v : values)
                EXPECT_TRUE(text.contains(shown(v))) << v.toStdString();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("σελίδα 2 από 2")));
}

TEST_F(Statistics, ShownItIsPaintedFirstAndThenReadsThisMonthsPeriod)
{
    StatisticsWindow w;
    w.show();
    EXPECT_FALSE(w.hasRead());
    EXPECT_FALSE(w.printButton()->isEnabled());
    for (int i = 0; i < 200 && !w.hasRead(); ++i)
        QTest::qWait(10);
    ASSERT_TRUE(w.hasRead());
    EXPECT_EQ(w.yearBox()->value(), QDate::currentDate().year());
    EXPECT_EQ(w.monthBox()->currentIndex(), QDate::currentDate().month() - 1);
    EXPECT_EQ(w.tabs()->count(), 4);
    EXPECT_TRUE(w.printButton()->isEnabled());
    w.done(0);
}
