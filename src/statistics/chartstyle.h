#pragma once

#include <QColor>

// The fills of a chart's series, in the program's colours (navy, the values' red, the windows'
// sky blue) and chosen so that a black-and-white printout tells them apart by shade alone:
// dark, middle, light, and white with stripes.
namespace ChartStyle {

inline constexpr int kSeriesStyles = 4;
QColor fill(int series);
// The fourth series is white with stripes of the first one's colour.
bool striped(int series);
inline QColor outline()
{
    return QColor(0, 0, 128);
}
// The line of the net result drawn over bars.
inline QColor line()
{
    return QColor(0, 0, 0);
}

} // namespace ChartStyle
