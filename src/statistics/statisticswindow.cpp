#include "statisticswindow.h"

#include "chartdata.h"
#include "chartstyle.h"
#include "exportdialog.h"
#include "statisticsfigures.h"
#include "statisticsprint.h"
#include "statisticstexts.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

using namespace StatisticsTexts;

namespace {

QChart *makeChart(const ChartData &data)
{
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);

    auto *bars = new QBarSeries;
    for (int s = 0; s < data.bars.size(); ++s) {
        auto *set = new QBarSet(data.bars[s].name);
        for (double v : data.bars[s].values)
            *set << v;
        if (ChartStyle::striped(s))
            set->setBrush(QBrush(ChartStyle::outline(), Qt::BDiagPattern));
        else
            set->setBrush(ChartStyle::fill(s));
        set->setPen(QPen(ChartStyle::outline(), 1));
        bars->append(set);
    }
    bars->setBarWidth(0.8);
    chart->addSeries(bars);

    auto *x = new QBarCategoryAxis;
    x->append(data.categories);
    chart->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(x);

    auto [low, high] = data.range();
    const QList<double> ticks = ChartDataOf::ticks(low, high);
    auto *y = new QValueAxis;
    y->setRange(std::min(low, ticks.first()), std::max(high, ticks.last()));
    y->setTickCount(int(ticks.size()));
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(y);

    for (const ChartData::Series &s : data.lines) {
        auto *line = new QLineSeries;
        line->setName(s.name);
        for (int i = 0; i < s.values.size(); ++i)
            line->append(i, s.values[i]);
        line->setPen(QPen(ChartStyle::line(), 2.5));
        line->setPointsVisible(true);
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
    return chart;
}

QTableWidget *makeTable(const FigureTable &t, QWidget *parent)
{
    auto *table = new QTableWidget(int(t.rows.size()), int(t.columns.size()), parent);
    table->setObjectName(QStringLiteral("table_") + t.key);
    table->setAccessibleName(t.title);
    table->setHorizontalHeaderLabels(t.columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    for (int r = 0; r < t.rows.size(); ++r)
        for (int c = 0; c < t.columns.size(); ++c) {
            auto *item = new QTableWidgetItem(t.rows[r].value(c));
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (r + 1 == t.rows.size()) {
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
            }
            table->setItem(r, c, item);
        }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->resizeRowsToContents();
    return table;
}

} // namespace

StatisticsWindow::StatisticsWindow(QWidget *parent)
    : DataWindow(parent)
    , m_statistics(QDate::currentDate().year(), QDate::currentDate().month())
{
    setObjectName(QStringLiteral("StatisticsWindow"));
    setUpWindow(kCaption, 1000, 760);

    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("spinYear"));
    m_year->setRange(1900, 2999);
    m_year->setValue(QDate::currentDate().year());
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("comboEndMonth"));
    m_month->addItems(kMonths);
    m_month->setCurrentIndex(QDate::currentDate().month() - 1);
    m_month->setToolTip(kPeriodHint);
    m_print = new QPushButton(kPrint, this);
    m_print->setObjectName(QStringLiteral("buttonPrint"));
    m_print->setAutoDefault(false);
    m_export = new QPushButton(kExport, this);
    m_export->setObjectName(QStringLiteral("buttonExport"));
    m_export->setAutoDefault(false);
    QPushButton *exit = addExitButton();
    exit->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(Kit::labelFor(kYear, m_year));
    top->addWidget(m_year);
    top->addSpacing(12);
    top->addWidget(Kit::labelFor(kEndMonth, m_month));
    top->addWidget(m_month);
    top->addStretch(1);
    top->addWidget(m_print);
    top->addWidget(m_export);
    top->addWidget(exit);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);

    QWidget::setTabOrder(m_year, m_month);
    QWidget::setTabOrder(m_month, m_tabs);
    QWidget::setTabOrder(m_tabs, m_print);
    QWidget::setTabOrder(m_print, m_export);
    QWidget::setTabOrder(m_export, exit);

    connect(m_year, &QSpinBox::valueChanged, this, [this] {
        if (m_loaded)
            refresh();
    });
    connect(m_month, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loaded)
            refresh();
    });
    connect(m_print, &QPushButton::clicked, this, &StatisticsWindow::printClick);
    connect(m_export, &QPushButton::clicked, this, &StatisticsWindow::exportClick);
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::FormShow()
{
    // The window is painted first and the figures read right after: on a large practice the
    // reading takes a good part of a second, which the person spends looking at the window
    // rather than at the menu.
    m_print->setEnabled(false);
    m_export->setEnabled(false);
    m_readAfterPaint = true;
    update();
}

void StatisticsWindow::paintEvent(QPaintEvent *event)
{
    DataWindow::paintEvent(event);
    if (!m_readAfterPaint)
        return;
    m_readAfterPaint = false;
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            refresh();
    });
}

void StatisticsWindow::refresh()
{
    m_loaded = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    PracticeStatistics statistics(m_year->value(), m_month->currentIndex() + 1);
    const bool read = Kit::guarded(this, [&] {
        openConnection();
        statistics.load(m_connection);
        closeData();
    });
    m_print->setEnabled(read);
    m_export->setEnabled(read);
    m_statistics = statistics;
    if (!read) {
        while (m_tabs->count() > 0) {
            QWidget *page = m_tabs->widget(0);
            m_tabs->removeTab(0);
            delete page;
        }
        return;
    }
    showFigures();
}

QWidget *StatisticsWindow::chartPage(const FigureTable &table, int chart)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("page_") + table.key);
    const QList<ChartData> charts = ChartDataOf::charts(m_statistics);
    auto *view = new QChartView(makeChart(charts.value(chart)), page);
    view->setObjectName(QStringLiteral("chart_") + table.key);
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->setTitle(table.title);
    QFont titleFont = view->chart()->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    view->chart()->setTitleFont(titleFont);
    view->setAccessibleName(table.title);
    view->setAccessibleDescription(table.figures.join(QLatin1Char('\n')));
    view->setMinimumHeight(240);

    auto *figures = new QLabel(table.figures.join(QLatin1Char('\n')), page);
    figures->setObjectName(QStringLiteral("figures_") + table.key);
    figures->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont bold = figures->font();
    bold.setBold(true);
    figures->setFont(bold);

    // The table shows its 13 rows whole, so that the totals are never scrolled away.
    QTableWidget *grid = makeTable(table, page);
    int height = grid->horizontalHeader()->sizeHint().height() + 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r)
        height += grid->rowHeight(r);
    grid->setFixedHeight(height);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(view, 1);
    layout->addWidget(figures);
    layout->addWidget(grid);
    return page;
}

void StatisticsWindow::showFigures()
{
    const int current = std::max(0, m_tabs->currentIndex());
    m_tabs->setUpdatesEnabled(false);
    while (m_tabs->count() > 0) {
        QWidget *page = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete page;
    }
    const QList<FigureTable> tables = StatisticsFigures::tables(m_statistics);
    const QString captions[] = {kIncomeTab, kExpensesTab, kVisitsTab, kAppointmentsTab};
    for (int i = 0; i < tables.size(); ++i)
        m_tabs->addTab(chartPage(tables[i], i), captions[std::min(i, 3)]);
    m_tabs->setCurrentIndex(std::min(current, m_tabs->count() - 1));
    m_tabs->setUpdatesEnabled(true);
}

void StatisticsWindow::printClick()
{
    if (!m_print->isEnabled())
        return;
    Kit::guarded(this, [this] { StatisticsPrint::print(m_statistics, this); });
}

void StatisticsWindow::exportClick()
{
    if (!m_export->isEnabled())
        return;
    QString period = m_statistics.periodName(PracticeStatistics::Current);
    period.replace(QLatin1Char('/'), QLatin1Char('-'));
    ExportDialog::exportTable(this, kExportFileName.arg(period),
                              [this] { return StatisticsFigures::exportTable(m_statistics); });
}
