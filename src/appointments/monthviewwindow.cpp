#include "monthviewwindow.h"

#include "appointmenttexts.h"
#include "daylabel.h"
#include "daysheetwindow.h"
#include "dberror.h"
#include "recordset.h"
#include "sqltext.h"

#include <sqlite3.h>

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kWidth = 626;
constexpr int kHeight = 607;
constexpr int kGridLeft = 12;
constexpr int kGridTop = 52;
constexpr int kCellWidth = 86;
constexpr int kHeadingHeight = 26;
constexpr int kRowHeight = 80;
constexpr int kRows = 6;
// The columns of the day row: the date, then the 28 slots.
constexpr int kRowColumns = 29;

const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kRed(255, 0, 0);

QRect cellRect(int cell)
{
    const int column = (cell - 1) % MonthLayout::kColumns;
    const int row = (cell - 1) / MonthLayout::kColumns;
    return {column * kCellWidth, kHeadingHeight + row * kRowHeight, kCellWidth, kRowHeight};
}

// The frame of the grid: a heading row, five full weeks and the two cells of the sixth row.
class GridFrame : public QWidget {
public:
    explicit GridFrame(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("GridFrame"));
        resize(MonthLayout::kColumns * kCellWidth + 1, kHeadingHeight + kRows * kRowHeight + 1);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QPen(QColor(0, 0, 128), 1));
        for (int c = 0; c < MonthLayout::kColumns; ++c)
            p.drawRect(c * kCellWidth, 0, kCellWidth, kHeadingHeight);
        for (int k = 1; k <= MonthLayout::kCellCount; ++k)
            p.drawRect(cellRect(k));
    }
};

void colourText(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Text, colour);
    pal.setColor(QPalette::ButtonText, colour);
    widget->setPalette(pal);
}

QFont sized(QFont font, int points, bool bold)
{
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// Blanks and control characters at either end do not make a slot booked.
bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x20 && !c.isSpace() && c.category() != QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace

MonthViewWindow::MonthViewWindow(QWidget *parent, const QDate &today)
    : DataWindow(parent)
    , m_query(std::make_unique<Query>(m_connection))
{
    setObjectName(QStringLiteral("TForm1a"));
    setUpWindow(AppointmentTexts::monthViewCaption(), kWidth, kHeight);
    buildControls();
    closesWithWindow({m_query.get()});
    FormCreate(today);
}

MonthViewWindow::~MonthViewWindow() = default;

void MonthViewWindow::buildControls()
{
    const QFont large = sized(font(), 14, false);

    auto *yearLabel = new QLabel(AppointmentTexts::yearLabel(), this);
    yearLabel->setObjectName(QStringLiteral("Label1"));
    yearLabel->setFont(large);
    colourText(yearLabel, kBlue);
    yearLabel->setGeometry(kGridLeft, 10, 56, 32);

    m_yearList = new QComboBox(this);
    m_yearList->setObjectName(QStringLiteral("ComboBox2"));
    for (int year = AppointmentTexts::kFirstYear; year <= AppointmentTexts::kLastYear; ++year)
        m_yearList->addItem(QString::number(year));
    m_yearList->setMaxVisibleItems(15);
    m_yearList->setFont(large);
    colourText(m_yearList, kBlue);
    m_yearList->setGeometry(72, 10, 96, 32);
    yearLabel->setBuddy(m_yearList);

    m_today = new QPushButton(AppointmentTexts::todayButton(), this);
    m_today->setObjectName(QStringLiteral("Button2"));
    m_today->setGeometry(184, 10, 96, 32);

    auto *monthLabel = new QLabel(AppointmentTexts::monthLabel(), this);
    monthLabel->setObjectName(QStringLiteral("Label2"));
    monthLabel->setFont(large);
    colourText(monthLabel, kBlue);
    monthLabel->setGeometry(308, 10, 72, 32);

    m_monthList = new QComboBox(this);
    m_monthList->setObjectName(QStringLiteral("ComboBox1"));
    m_monthList->addItems(AppointmentTexts::monthNames());
    m_monthList->setMaxVisibleItems(12);
    m_monthList->setFont(large);
    colourText(m_monthList, kBlue);
    m_monthList->setGeometry(384, 10, 178, 32);
    monthLabel->setBuddy(m_monthList);

    auto *grid = new GridFrame(this);
    grid->move(kGridLeft, kGridTop);
    const QStringList weekdays = AppointmentTexts::weekdayNames();
    for (int c = 0; c < MonthLayout::kColumns; ++c) {
        auto *heading = new QLabel(weekdays.at(c), grid);
        heading->setObjectName(QStringLiteral("LabelW%1").arg(c + 1));
        heading->setFont(sized(font(), 10, true));
        heading->setAlignment(Qt::AlignCenter);
        colourText(heading, c >= 5 ? kLime : kGreen);
        heading->setGeometry(c * kCellWidth + 1, 1, kCellWidth - 1, kHeadingHeight - 1);
    }
    const QFont dayFont = sized(font(), 18, true);
    const QFont countFont = sized(font(), 14, true);
    for (int k = 1; k <= MonthLayout::kCellCount; ++k) {
        const QRect r = cellRect(k);
        auto *day = new DayLabel(grid);
        day->setObjectName(QStringLiteral("LabelD%1").arg(k));
        day->setFont(dayFont);
        day->setAlignment(Qt::AlignCenter);
        day->setGeometry(r.x() + 2, r.y() + 3, r.width() - 3, 40);
        connect(day, &DayLabel::clicked, this, [this, k] { LabelDClick(k); });
        m_dayLabels[size_t(k - 1)] = day;

        auto *count = new QLabel(grid);
        count->setObjectName(QStringLiteral("LabelR%1").arg(k));
        count->setFont(countFont);
        count->setAlignment(Qt::AlignCenter);
        colourText(count, kRed);
        count->setGeometry(r.x() + 2, r.y() + 44, r.width() - 3, 32);
        m_countLabels[size_t(k - 1)] = count;
    }

    m_exit = addExitButton(QStringLiteral("Button1"));
    m_exit->setGeometry(kWidth - kGridLeft - 100, kHeight - 42, 100, 32);

    // None of the controls is reached with the Tab key.
    for (QWidget *w : {static_cast<QWidget *>(m_yearList), static_cast<QWidget *>(m_monthList),
                       static_cast<QWidget *>(m_today), static_cast<QWidget *>(m_exit)})
        w->setFocusPolicy(Qt::ClickFocus);

    // activated: only a choice the person makes, never a selection made from code.
    connect(m_monthList, &QComboBox::activated, this, &MonthViewWindow::ComboBox1Change);
    connect(m_yearList, &QComboBox::activated, this, &MonthViewWindow::ComboBox2Change);
    connect(m_today, &QPushButton::clicked, this, &MonthViewWindow::Button2Click);
}

void MonthViewWindow::FormCreate(const QDate &today)
{
    m_state.TodayYear = quint16(today.year());
    m_state.TodayMonth = quint16(today.month());
    m_state.TodayDay = quint16(today.day());
    SelectToday();
}

void MonthViewWindow::ComboBox1Change()
{
    LayoutMonth();
}

void MonthViewWindow::ComboBox2Change()
{
    LayoutMonth();
}

void MonthViewWindow::Button1Click()
{
    done(QDialog::Rejected);
}

void MonthViewWindow::Button2Click()
{
    SelectToday();
}

void MonthViewWindow::LabelDClick(int cell)
{
    DayLabel *label = LabelD(cell);
    const int day = label->text().toInt();
    if (label->isHidden() || day <= 0)
        return;
    m_state.SelectedDay = day;
    OpenDaySheet();
}

void MonthViewWindow::SelectToday()
{
    // A date outside the years of the list shows the nearest month the list can show.
    const QDate first(AppointmentTexts::kFirstYear, 1, 1);
    const QDate last(AppointmentTexts::kLastYear, 12, 31);
    const QDate today(m_state.TodayYear, m_state.TodayMonth, m_state.TodayDay);
    const QDate shown = !today.isValid() ? first : std::clamp(today, first, last);
    m_monthList->setCurrentIndex(shown.month() - 1);
    m_yearList->setCurrentIndex(shown.year() - AppointmentTexts::kFirstYear);
    LayoutMonth();
}

void MonthViewWindow::LayoutMonth()
{
    m_state.DisplayedMonth = m_monthList->currentIndex() + 1;
    m_state.DisplayedYear = m_yearList->currentText().toInt();
    const MonthLayout::Grid grid
        = MonthLayout::MonthGrid(m_state.DisplayedYear, m_state.DisplayedMonth,
                                 QDate(m_state.TodayYear, m_state.TodayMonth, m_state.TodayDay));
    for (int k = 1; k <= MonthLayout::kCellCount; ++k) {
        const MonthLayout::Cell &cell = grid[size_t(k - 1)];
        DayLabel *day = LabelD(k);
        day->setText(cell.text);
        colourText(day, MonthLayout::colourOf(cell.colour));
        day->setVisible(cell.visible);
        QLabel *count = LabelR(k);
        count->clear();
        count->setVisible(cell.visible);
    }
    RefreshDayCounts();
}

void MonthViewWindow::RefreshDayCounts()
{
    const bool done = Kit::guarded(this, [this] {
        openConnection();
        const int days = QDate(m_state.DisplayedYear, m_state.DisplayedMonth, 1).daysInMonth();
        for (int d = 1; d <= days; ++d) {
            const QString literal = SqlText::ToSqlDate(
                AppointmentTexts::dateText(d, m_state.DisplayedMonth, m_state.DisplayedYear));
            m_query->close();
            m_query->setSql(AppointmentTexts::dayQuery(literal));
            m_query->open();
            // The date of an existing row is never empty, so a row counts from 0 and a day
            // without a row stays at -1. Only the first row is looked at.
            int count = -1;
            const int columns = std::min(kRowColumns, m_query->columnCount());
            for (int position = 0; position < columns; ++position) {
                if (!isBlank(m_query->fieldText(position)))
                    ++count;
            }
            if (count <= 0)
                ClearDayCount(d);
            else
                ShowDayCount(d, count);
        }
        m_query->close();
        m_connection.close();
    });
    if (!done) {
        m_query->close();
        m_connection.close();
    }
}

int MonthViewWindow::cellShowing(int day) const
{
    const QString text = QString::number(day);
    for (int k = 1; k <= MonthLayout::kCellCount; ++k) {
        if (LabelD(k)->text() == text)
            return k;
    }
    return 0;
}

void MonthViewWindow::ShowDayCount(int day, int count)
{
    if (const int k = cellShowing(day))
        LabelR(k)->setText(QString::number(count));
}

void MonthViewWindow::ClearDayCount(int day)
{
    if (const int k = cellShowing(day))
        LabelR(k)->clear();
}

void MonthViewWindow::OpenDaySheet()
{
    const QString dateText = AppointmentTexts::dateText(m_state.SelectedDay, m_state.DisplayedMonth,
                                                        m_state.DisplayedYear);
    const bool inserted = Kit::guarded(this, [&] {
        openConnection();
        m_state.DayLiteral = SqlText::ToSqlDate(dateText);
        try {
            m_connection.execute(AppointmentTexts::insertDay(m_state.DayLiteral));
        } catch (const DbError &e) {
            // The date is unique in RANTEBOU: a day that has its row already uses that row.
            // Any other refusal (a read-only, locked or full file) is the person's to see.
            if (e.code() != SQLITE_CONSTRAINT_UNIQUE)
                throw;
        }
        m_connection.close();
    });
    if (!inserted) {
        m_connection.close();
        return;
    }

    DaySheetWindow sheet(this);
    sheet.DayDateText = dateText;
    sheet.DayQueryText = AppointmentTexts::dayQuery(m_state.DayLiteral);
    if (!Kit::guarded(this, [&] { sheet.setUp(); }))
        return;
    sheet.showModal();
    RefreshDayCounts();
}
