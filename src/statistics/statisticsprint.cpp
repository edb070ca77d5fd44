#include "statisticsprint.h"

#include "chartdata.h"
#include "chartstyle.h"
#include "program.h"
#include "reportproject.h"
#include "statisticsfigures.h"
#include "statisticstexts.h"

#include <algorithm>
#include <cmath>

using namespace StatisticsTexts;
using Report::PageItem;

namespace StatisticsPrint {

namespace {

constexpr double kPageWidth = 210, kPageHeight = 297;
constexpr double kLeft = 15, kRight = 195, kTop = 12, kBottom = 280;
constexpr double kChartHeight = 36;
constexpr double kAxisWidth = 18;
constexpr double kRowHeight = 3.4;
constexpr double kFigureHeight = 4.2;

enum Font : quint16 { Title, Heading, Body, Small, SmallBold };

QString axisText(double v)
{
    // Whole numbers on the axis; amounts of thousands read better without decimals.
    if (std::fabs(v - std::round(v)) < 1e-9)
        return QString::number(qint64(std::llround(v)));
    QString t = QString::number(v, 'f', 1);
    return t.replace(QLatin1Char('.'), Decimal::systemSeparator());
}

class Page {
public:
    explicit Page(Report::RenderedReport &report)
        : m_report(report)
    {
        newPage();
    }

    double y = kTop;

    void newPage()
    {
        m_report.pages.emplace_back();
        y = kTop;
    }
    double room() const { return kBottom - y; }

    void text(const QRectF &rect, const QString &text, Font font, int flags,
              QRgb colour = 0xff000000, bool pageNumbers = false)
    {
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.rect = rect;
        item.text = text;
        item.font = font;
        item.flags = flags;
        item.color = colour;
        item.pageNumbers = pageNumbers;
        m_report.pages.back().push_back(item);
    }
    void line(double x1, double y1, double x2, double y2, float pen = 0.2f,
              QRgb colour = 0xff000000)
    {
        PageItem item;
        item.kind = PageItem::Kind::Line;
        item.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
        item.pen = pen;
        item.color = colour;
        m_report.pages.back().push_back(item);
    }
    void box(const QRectF &rect, const QColor &fill, bool striped, float pen = 0.15f)
    {
        PageItem item;
        item.kind = PageItem::Kind::Box;
        item.rect = rect;
        item.hasFill = true;
        item.fill = fill.rgba();
        item.pen = pen;
        item.color = ChartStyle::outline().rgba();
        m_report.pages.back().push_back(item);
        if (striped)
            for (double s = rect.top() + 0.8; s < rect.bottom() - 0.2; s += 0.8)
                line(rect.left(), s, rect.right(), s, 0.12f, ChartStyle::outline().rgba());
    }

private:
    Report::RenderedReport &m_report;
};

void drawChart(Page &page, const ChartData &chart)
{
    const double top = page.y;
    const double plotLeft = kLeft + kAxisWidth;
    const double plotWidth = kRight - plotLeft;
    // Plain variables, not a structured binding: clang 14 cannot capture one in the lambda.
    double low = chart.range().first;
    double high = chart.range().second;
    const QList<double> ticks = ChartDataOf::ticks(low, high);
    low = std::min(low, ticks.first());
    high = std::max(high, ticks.last());
    const auto yOf = [&](double v) { return top + kChartHeight * (high - v) / (high - low); };
    for (double t : ticks) {
        page.line(plotLeft, yOf(t), kRight, yOf(t), t == 0 ? 0.3f : 0.08f,
                  t == 0 ? 0xff000000 : 0xffa0a0a0);
        page.text(QRectF(kLeft, yOf(t) - 2, kAxisWidth - 1.5, 4), axisText(t), Small,
                  Qt::AlignRight | Qt::AlignVCenter);
    }
    const int months = int(chart.categories.size());
    const double group = plotWidth / months;
    const int sets = int(chart.bars.size());
    const double barWidth = group * 0.8 / std::max(1, sets);
    for (int m = 0; m < months; ++m) {
        const double x0 = plotLeft + group * m + group * 0.1;
        for (int s = 0; s < sets; ++s) {
            const double v = chart.bars[s].values.value(m);
            if (v == 0)
                continue;
            const QRectF bar(QPointF(x0 + barWidth * s, std::min(yOf(v), yOf(0))),
                             QPointF(x0 + barWidth * (s + 1), std::max(yOf(v), yOf(0))));
            page.box(bar, ChartStyle::fill(s), ChartStyle::striped(s));
        }
        page.text(QRectF(plotLeft + group * m, top + kChartHeight + 0.5, group, 3.5),
                  chart.categories[m], Small, Qt::AlignHCenter | Qt::AlignTop);
    }
    for (const ChartData::Series &line : chart.lines)
        for (int m = 0; m < months; ++m) {
            const double x = plotLeft + group * (m + 0.5);
            const double yv = yOf(line.values.value(m));
            if (m + 1 < months)
                page.line(x, yv, x + group, yOf(line.values.value(m + 1)), 0.4f,
                          ChartStyle::line().rgba());
            page.box(QRectF(x - 0.7, yv - 0.7, 1.4, 1.4), ChartStyle::line(), false, 0);
        }
    page.y = top + kChartHeight + 4.5;

    // The legend: a sample of each series and its name.
    double x = plotLeft;
    for (int s = 0; s < sets; ++s) {
        page.box(QRectF(x, page.y + 0.6, 4, 2.6), ChartStyle::fill(s), ChartStyle::striped(s));
        page.text(QRectF(x + 5, page.y, 40, 4), chart.bars[s].name, Small,
                  Qt::AlignLeft | Qt::AlignVCenter);
        x += 45;
    }
    for (const ChartData::Series &line : chart.lines) {
        page.line(x, page.y + 1.9, x + 4, page.y + 1.9, 0.4f, ChartStyle::line().rgba());
        page.text(QRectF(x + 5, page.y, 40, 4), line.name, Small,
                  Qt::AlignLeft | Qt::AlignVCenter);
    }
    page.y += 5.5;
}

void drawTable(Page &page, const FigureTable &table)
{
    const int columns = int(table.columns.size());
    const double first = 34;
    const double other = (kRight - kLeft - first) / std::max(1, columns - 1);
    const auto left = [&](int c) { return c == 0 ? kLeft : kLeft + first + other * (c - 1); };
    const auto width = [&](int c) { return c == 0 ? first : other; };
    const auto row = [&](const QStringList &cells, Font font) {
        for (int c = 0; c < columns; ++c)
            page.text(QRectF(left(c) + 1, page.y, width(c) - 2, kRowHeight), cells.value(c), font,
                      (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        page.y += kRowHeight;
        page.line(kLeft, page.y, kRight, page.y, 0.08f, 0xff808080);
    };
    page.line(kLeft, page.y, kRight, page.y, 0.2f);
    row(table.columns, SmallBold);
    for (int r = 0; r < table.rows.size(); ++r)
        row(table.rows[r], r + 1 == table.rows.size() ? SmallBold : Small);
    page.line(kLeft, page.y, kRight, page.y, 0.2f);
}

double sectionHeight(const FigureTable &table)
{
    return 7 + kChartHeight + 10 + table.figures.size() * kFigureHeight + 2
        + (table.rows.size() + 1) * kRowHeight + 6;
}

} // namespace

Report::RenderedReport render(const PracticeStatistics &statistics, const QDate &printDate)
{
    Report::RenderedReport report;
    report.title = kPrintTitle;
    report.pageSizeMm = QSizeF(kPageWidth, kPageHeight);
    report.printDate = printDate;
    Report::FontSpec title;
    title.size = 14;
    title.bold = true;
    Report::FontSpec heading;
    heading.size = 10.5;
    heading.bold = true;
    Report::FontSpec body;
    body.size = 8.5;
    Report::FontSpec small;
    small.size = 7;
    Report::FontSpec smallBold = small;
    smallBold.bold = true;
    report.fonts = {title, heading, body, small, smallBold};

    Page page(report);
    page.text(QRectF(kLeft, page.y, kRight - kLeft, 7), kPrintTitle, Title,
              Qt::AlignLeft | Qt::AlignVCenter);
    page.y += 7;
    page.text(QRectF(kLeft, page.y, kRight - kLeft, 5),
              kPrintPeriod.arg(statistics.periodName(PracticeStatistics::Current),
                               statistics.periodName(PracticeStatistics::Previous)),
              Body, Qt::AlignLeft | Qt::AlignVCenter);
    page.y += 8;

    const QList<FigureTable> tables = StatisticsFigures::tables(statistics);
    const QList<ChartData> charts = ChartDataOf::charts(statistics);
    for (int i = 0; i < tables.size(); ++i) {
        if (page.room() < sectionHeight(tables[i]))
            page.newPage();
        page.text(QRectF(kLeft, page.y, kRight - kLeft, 6), tables[i].title, Heading,
                  Qt::AlignLeft | Qt::AlignVCenter);
        page.y += 7;
        drawChart(page, charts[i]);
        for (const QString &f : tables[i].figures) {
            page.text(QRectF(kLeft, page.y, kRight - kLeft, kFigureHeight), f, Body,
                      Qt::AlignLeft | Qt::AlignVCenter);
            page.y += kFigureHeight;
        }
        page.y += 2;
        drawTable(page, tables[i]);
        page.y += 6;
    }

    const QString footer = kPrintFooter.arg(printDate.toString(QStringLiteral("d/M/yyyy")));
    for (auto &items : report.pages) {
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.rect = QRectF(kLeft, 285, kRight - kLeft, 4);
        item.text = footer;
        item.font = Small;
        item.flags = Qt::AlignRight | Qt::AlignVCenter;
        item.pageNumbers = true;
        items.push_back(item);
    }
    return report;
}

void print(const PracticeStatistics &statistics, QWidget *parent)
{
    ReportOutput::deliver(render(statistics), Program::AppDir + QStringLiteral("\\STATISTIKA"),
                          parent);
}

} // namespace StatisticsPrint
