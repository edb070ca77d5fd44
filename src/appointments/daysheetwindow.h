#pragma once

#include "appointmentlinks.h"
#include "datawindow.h"
#include "windowhooks.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class FieldBinder;
class Query;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;
class RecordNavigator;

// The appointments of one date: 28 half-hour slots from 08:00 to 22:00, each a free text in
// its own column of the date's row of RANTEBOU. Slots 1-14 (08:00-15:00) form the left column,
// 15-28 (15:00-22:00) the right one. Typing edits the row; only the save button writes it, and
// closing the sheet drops what was not saved, without a question.
//
// A slot may know its patient: "Σύνδεση με ασθενή…" (the slot's menu, or F4 in the slot)
// chooses one with the patient finder, and a mark inside the field shows the link. The links
// are written with the texts, by the same save, in one transaction (AppointmentLinks).
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

    // The patient finder, as the link action opens it; tests replace it.
    std::function<std::optional<PatientContext>(QWidget *parent)> choosePatient;
    // The time a no-show is judged against; tests replace it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // The day's links as the sheet shows them (saved or not), by slot place (0 = DBEdit1).
    const AppointmentLinks::DayLinks &links() const { return m_links; }
    // The actions of slot k (1..28), as its menu and shortcut run them. Linking fills an empty
    // slot with the patient's "Επώνυμο Όνομα" and keeps a typed text; each change waits for
    // the save button like a typed one.
    void linkSlot(int slot);
    void unlinkSlot(int slot);
    // Marks (or unmarks) a linked slot's patient as not having come; only once its time began.
    void setNoShow(int slot, bool noShow);
    // The slot's menu: the field's own editing entries, then the link entries.
    QMenu *createSlotMenu(int slot);
    // The mark inside slot k's field; hidden while the slot has no patient.
    QAction *linkMark(int slot) const { return m_marks.at(size_t(slot - 1)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The save button's action: the row's texts and the day's links in one transaction.
    void save();
    void queueReminders();
    void readLinks();
    void updateMark(int slot);
    bool canEdit() const;
    QString patientName(qint64 id) const;

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
    std::array<QAction *, kSlots> m_marks {};
    QDate m_day;
    AppointmentLinks::DayLinks m_links;
    QHash<qint64, QString> m_names; // "Επώνυμο Όνομα" of the linked patients
    QSet<int> m_reminded;           // the slots (0-27) whose patient was sent a reminder
};

// The class name by which the day sheet is known.
using TForm2a = DaySheetWindow;
