#pragma once

#include "datawindow.h"

#include <array>
#include <memory>

class FieldBinder;
class Query;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class RecordNavigator;

// The appointments of one date: 28 half-hour slots from 08:00 to 22:00, each a free text in
// its own column of the date's row of RANTEBOU. Slots 1-14 (08:00-15:00) form the left column,
// 15-28 (15:00-22:00) the right one. Typing edits the row; only the save button writes it, and
// closing the sheet drops what was not saved, without a question.
//
// The opener fills DayDateText and DayQueryText, calls setUp() and shows the sheet modally.
class DaySheetWindow : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kSlots = 28;

    explicit DaySheetWindow(QWidget *parent = nullptr);
    ~DaySheetWindow() override;

    // Inputs: the date as the heading shows it ("5/3/2026") and the query of the date's row.
    QString DayDateText;
    QString DayQueryText;

    // Heading, connection and query, in this order; a failure of the database throws DbError.
    // When the query finds no row for the date, the slots are shown empty and cannot be typed
    // into, as there is no row a save could write to.
    void setUp();

    QLabel *Label83() const { return m_heading; }
    QLineEdit *DBEdit(int slot) const { return m_edits.at(size_t(slot - 1)); }
    QLabel *Panel(int slot) const { return m_panels.at(size_t(slot - 1)); }
    RecordNavigator *DBNavigator1() const { return m_navigator; }
    QPushButton *Button29() const { return m_exit; }
    // The save button of the record bar.
    QToolButton *saveButton() const;
    Query &query() { return *m_query; }

    void Button29Click();

private:
    // Held by pointer so that this header does not bring the record sets' names along. Closing
    // the sheet closes it, which drops an edit that was not saved.
    std::unique_ptr<Query> m_query;
    FieldBinder *m_binder = nullptr;
    QLabel *m_heading = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    std::array<QLabel *, kSlots> m_panels {};
    std::array<QLineEdit *, kSlots> m_edits {};
    RecordNavigator *m_navigator = nullptr;
    QPushButton *m_exit = nullptr;
};

// The class name by which the day sheet is known.
using TForm2a = DaySheetWindow;
