#include "chartdata.h"

#include "statisticsfigures.h"
#include "statisticstexts.h"

#include <algorithm>
#include <cmath>

using namespace StatisticsTexts;
using P = PracticeStatistics;

std::pair<double, double> ChartData::range() const
{
    double low = 0, high = 0;
    for (const QList<Series> *list : {&bars, &lines})
        for (const Series &s : *list)
            for (double v : s.values) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
    return {low, high};
}

namespace ChartDataOf {

namespace {

template <typename Read>
ChartData::Series series(const PracticeStatistics &s, P::Period period, const QString &name,
                         Read read)
{
    ChartData::Series out;
    out.name = name;
    for (int i = 0; i < 12; ++i)
        out.values << read(s.month(period, i));
    return out;
}

} // namespace

QList<ChartData> charts(const PracticeStatistics &s)
{
    const QString now = s.periodName(P::Current);
    const QString before = s.periodName(P::Previous);
    QStringList categories;
    for (int i = 0; i < 12; ++i)
        categories << StatisticsFigures::axisLabel(s, i);
    const auto amount = [](Decimal MonthFigures::*field) {
        return [field](const MonthFigures &m) { return (m.*field).toDouble(); };
    };
    const auto count = [](qint64 MonthFigures::*field) {
        return [field](const MonthFigures &m) { return double(m.*field); };
    };
    QList<ChartData> out;

    ChartData income {QStringLiteral("income"), kIncomeTitle, categories, {}, {}};
    income.bars << series(s, P::Current, kSeriesAmount.arg(now), amount(&MonthFigures::income))
                << series(s, P::Current, kSeriesVat.arg(now), amount(&MonthFigures::incomeVat))
                << series(s, P::Previous, kSeriesAmount.arg(before), amount(&MonthFigures::income))
                << series(s, P::Previous, kSeriesVat.arg(before),
                          amount(&MonthFigures::incomeVat));
    out << income;

    ChartData expenses {QStringLiteral("expenses"), kExpensesTitle, categories, {}, {}};
    expenses.bars << series(s, P::Current, kSeriesIncome, amount(&MonthFigures::income))
                  << series(s, P::Current, kSeriesExpenses, amount(&MonthFigures::expenses));
    expenses.lines << series(s, P::Current, kSeriesNet,
                             [](const MonthFigures &m) { return m.net().toDouble(); });
    out << expenses;

    ChartData visits {QStringLiteral("visits"), kVisitsTitle, categories, {}, {}};
    visits.bars << series(s, P::Current, kVisits.arg(now), count(&MonthFigures::visits))
                << series(s, P::Current, kNewPatients.arg(now), count(&MonthFigures::newPatients))
                << series(s, P::Previous, kVisits.arg(before), count(&MonthFigures::visits))
                << series(s, P::Previous, kNewPatients.arg(before),
                          count(&MonthFigures::newPatients));
    out << visits;

    if (s.hasAppointmentLinks()) {
        ChartData links {QStringLiteral("appointments"), kAppointmentsTitle, categories, {}, {}};
        links.bars << series(s, P::Current, kLinkedSlots.arg(now), count(&MonthFigures::linkedSlots))
                   << series(s, P::Current, kNoShows.arg(now), count(&MonthFigures::noShows))
                   << series(s, P::Previous, kLinkedSlots.arg(before),
                             count(&MonthFigures::linkedSlots))
                   << series(s, P::Previous, kNoShows.arg(before), count(&MonthFigures::noShows));
        out << links;
    }
    return out;
}

QList<double> ticks(double low, double high)
{
    if (high - low <= 0)
        high = low + 1;
    const double raw = (high - low) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * magnitude >= raw) {
            step = m * magnitude;
            break;
        }
    // Counts and euros: no gridline between two whole numbers.
    step = std::max(step, 1.0);
    QList<double> out;
    for (double v = std::floor(low / step) * step; v <= high + step * 0.999; v += step)
        out << (std::fabs(v) < step * 1e-9 ? 0.0 : v);
    return out;
}

} // namespace ChartDataOf
