#pragma once

#include "datawindow.h"
#include "monthgrid.h"

#include <QDate>

#include <array>
#include <memory>

class DayLabel;
class Query;
class QComboBox;
class QLabel;
class QPushButton;

// The entry to the appointment book: one month as a grid of days, Monday first, with the
// number of booked half-hour slots under every day. The month and the year are picked from two
// fixed lists, "Σήμερα" returns to the month of the date taken when the window was created,
// and clicking a day number creates the day's row when needed and opens its day sheet; when
// the sheet closes the month is counted again. A day's row that cannot be written (a read-only,
// locked or full file) is reported with the engine's message and no sheet opens; only the
// refusal of a second row for the same date is expected, and then the existing row is used.
//
// The year list holds 2008-2035 only. When the local date lies outside those years, the window
// opens on the nearest month it can show (January 2008 before, December 2035 after) without a
// message, and no day number is green since today is not in any month shown.
class MonthViewWindow : public DataWindow {
    Q_OBJECT
public:
    struct State {
        quint16 TodayYear = 0;
        quint16 TodayMonth = 0;
        quint16 TodayDay = 0;
        int DisplayedMonth = 0; // 1..12
        int DisplayedYear = 0;
        int SelectedDay = 0;
        QString DayLiteral; // SQL literal of the day being opened
    };

    // today is the date the window treats as today; the local date unless a test says so.
    explicit MonthViewWindow(QWidget *parent = nullptr, const QDate &today = QDate::currentDate());
    ~MonthViewWindow() override;

    const State &state() const { return m_state; }

    QComboBox *ComboBox1() const { return m_monthList; } // month
    QComboBox *ComboBox2() const { return m_yearList; }  // year
    QPushButton *Button1() const { return m_exit; }
    QPushButton *Button2() const { return m_today; }
    DayLabel *LabelD(int cell) const { return m_dayLabels.at(size_t(cell - 1)); }
    QLabel *LabelR(int cell) const { return m_countLabels.at(size_t(cell - 1)); }

    // Handlers of the person's actions.
    void ComboBox1Change();
    void ComboBox2Change();
    void Button1Click();
    void Button2Click();
    void LabelDClick(int cell);

    // Operations.
    void SelectToday();
    void LayoutMonth();
    void RefreshDayCounts();
    void ShowDayCount(int day, int count);
    void ClearDayCount(int day);
    void OpenDaySheet();

private:
    void FormCreate(const QDate &today);
    void buildControls();
    int cellShowing(int day) const;

    State m_state;
    // Held by pointer so that this header does not bring the record sets' names along.
    std::unique_ptr<Query> m_query;
    QComboBox *m_yearList = nullptr;
    QComboBox *m_monthList = nullptr;
    QPushButton *m_today = nullptr;
    QPushButton *m_exit = nullptr;
    std::array<DayLabel *, MonthLayout::kCellCount> m_dayLabels {};
    std::array<QLabel *, MonthLayout::kCellCount> m_countLabels {};
};

// The class name by which the month view is known.
using TForm1a = MonthViewWindow;
