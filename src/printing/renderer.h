#pragma once

#include "layout.h"

#include <QDate>
#include <QHash>
#include <QRectF>
#include <QRgb>

#include <vector>

class QPainter;
class RecordSet;

namespace Report {

// One thing drawn on a page, in millimetres from the top left corner of the paper.
struct PageItem {
    enum class Kind : quint8 { Text, Line, Box };
    Kind kind = Kind::Text;
    bool pageNumbers = false; // the text still holds {page} or {pages}
    bool wrap = false;        // a text that may break into several lines inside its rectangle
    bool hasFill = false;
    quint16 font = 0;
    int flags = 0;
    float pen = 0.3f;
    QRgb color = 0xff000000;
    QRgb fill = 0;
    QRectF rect; // lines: from the top left to the bottom right corner
    QString text;
};

// A report laid out on pages, ready for any output (PDF file, printer, preview).
class RenderedReport {
public:
    QString title;
    QSizeF pageSizeMm;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize pageSize {QPageSize::A4};
    QDate printDate;
    std::vector<FontSpec> fonts;
    std::vector<std::vector<PageItem>> pages;

    int pageCount() const { return int(pages.size()); }
    // Draws one page (0-based) on a painter whose device has the paper's top left corner at
    // its origin and dotsPerMm device pixels per millimetre.
    void paintPage(QPainter &painter, int page, double dotsPerMm) const;
    // Every text of a page as printed, in drawing order (tests and the status window use it).
    QStringList pageTexts(int page) const;
};

// The data a layout is run against: data connections found by name, each a record set whose
// rows are read by column name. The renderer only reads; it never moves the current row.
using Connections = QHash<QString, const RecordSet *>;

// Lays out a layout's report over the given data. Throws ReportError when the layout names a
// connection that is not given or a column that its connection does not deliver.
RenderedReport render(const Layout &layout, const Connections &data,
                      const QDate &printDate = QDate::currentDate());

// A value as the layouts print it after a bar in a placeholder: "amount" two decimals, "date"
// day/month/year, "month" the month's Greek name, "upper" in capitals, "percent" with " %".
QString formatValue(const QString &value, const QString &format);

} // namespace Report
