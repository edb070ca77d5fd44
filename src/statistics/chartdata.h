#pragma once

#include "practicestatistics.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one chart draws: the 12 months' labels, the bar series side by side, and a line over
// them where the chart has one (the net result). Values are for drawing only; the figures are
// read from the exact decimals (statisticsfigures.h).
struct ChartData {
    struct Series {
        QString name;
        QList<double> values;
    };
    QString key; // as the figure table's
    QString title;
    QStringList categories;
    QList<Series> bars;
    QList<Series> lines;

    // The lowest and highest values drawn, with 0 always inside.
    std::pair<double, double> range() const;
};

namespace ChartDataOf {
// The charts in the order of the figure tables.
QList<ChartData> charts(const PracticeStatistics &statistics);
// Gridline values for a range: 0 and about five round steps (1, 2 or 5 × 10^n, at least 1).
QList<double> ticks(double low, double high);
} // namespace ChartDataOf
