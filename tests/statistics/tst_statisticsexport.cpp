// The statistics written for the accountant as CSV, read back by a real CSV reader, in the
// system's decimal separator.
#include "exportfixtures.h"
#include "exporttexts.h"
#include "statisticsfixture.h"
#include "statisticswindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

using namespace ExportFixtures;
using StatisticsFixture::shown;

namespace {

class StatisticsExport : public ExportTest {
protected:
    StatisticsExport() { StatisticsFixture::fill(practice); }
};

} // namespace

TEST_F(StatisticsExport, EveryMonthOfBothPeriodsAndTheirTotals)
{
    SCOPED_TRACE(QLocale::system().name().toStdString());
    StatisticsWindow w;
    w.yearBox()->setValue(2025);
    w.monthBox()->setCurrentIndex(11);
    w.refresh();
    target = out("stats.csv");
    w.exportButton()->click();
    EXPECT_EQ(messages.last(), ExportTexts::tableWritten(26, QDir::toNativeSeparators(target)));
    EXPECT_TRUE(suggested.endsWith("Στατιστικά 2025.csv")) << suggested.toStdString();

    const std::vector<QStringList> rows = csvRows(readBack(target));
    ASSERT_EQ(rows.size(), 27u);
    EXPECT_EQ(rows[0], QStringList({"Έτος", "Μήνας", "Έσοδα (EUR)", "Φ.Π.Α εσόδων (EUR)",
                                    "Έξοδα (EUR)", "Φ.Π.Α εξόδων (EUR)", "Καθαρό (EUR)",
                                    "Επισκέψεις", "Νέοι ασθενείς", "Ραντεβού με ασθενή",
                                    "Δεν προσήλθαν"}));
    const auto row = [](QStringList r) {
        for (QString &c : r)
            c = shown(c);
        return r;
    };
    // 2024 first, then 2025, then the two totals.
    EXPECT_EQ(rows[1], row({"2024", "Ιανουάριος", "30.00", "7.20", "0.00", "0.00", "30.00", "1",
                            "0", "0", "0"}));
    EXPECT_EQ(rows[3], row({"2024", "Μάρτιος", "40.00", "9.60", "0.00", "0.00", "40.00", "2",
                            "1", "2", "1"}));
    EXPECT_EQ(rows[6], row({"2024", "Ιούνιος", "0.00", "0.00", "150.00", "36.00", "-150.00",
                            "0", "0", "0", "0"}));
    EXPECT_EQ(rows[13], row({"2025", "Ιανουάριος", "80.00", "19.20", "120.50", "24.00",
                             "-40.50", "4", "2", "2", "1"}));
    EXPECT_EQ(rows[15], row({"2025", "Μάρτιος", "55.51", "13.32", "0.00", "0.00", "55.51", "1",
                             "0", "0", "0"}));
    EXPECT_EQ(rows[25], row({"Σύνολο 2024", "", "70.00", "16.80", "150.00", "36.00", "-80.00",
                             "3", "1", "2", "1"}));
    EXPECT_EQ(rows[26], row({"Σύνολο 2025", "", "185.51", "44.52", "420.50", "96.00",
                             "-235.00", "7", "3", "4", "2"}));
}
