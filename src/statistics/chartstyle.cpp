#include "chartstyle.h"

namespace ChartStyle {

QColor fill(int series)
{
    switch (series % kSeriesStyles) {
    case 0:
        return QColor(0, 0, 128); // navy: grey level about 15
    case 1:
        return QColor(220, 80, 80); // the values' red, lighter: about 120
    case 2:
        return QColor(135, 206, 235); // sky blue: about 190
    default:
        return QColor(255, 255, 255);
    }
}

bool striped(int series)
{
    return series % kSeriesStyles == 3;
}

} // namespace ChartStyle
