#pragma once

#include "window.h"

class QCalendarWidget;
class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;

// The desk calendar "Ημερολογιακά": a month calendar with week numbers, the Orthodox Easter of
// a chosen year and the number of days between two dates. It touches no table.
class CalendarWindow : public Window {
    Q_OBJECT
public:
    explicit CalendarWindow(QWidget *parent = nullptr);
    ~CalendarWindow() override;

    QCalendarWidget *calendar() const { return m_calendar; }
    QSpinBox *yearField() const { return m_year; }
    QLabel *easterResult() const { return m_easter; }
    QDateEdit *fromPicker() const { return m_fromPicker; }
    QDateEdit *toPicker() const { return m_toPicker; }
    QLineEdit *fromText() const { return m_fromText; }
    QLineEdit *toText() const { return m_toText; }
    QLabel *dayCount() const { return m_days; }
    QPushButton *exitButton() const { return m_exit; }

private:
    void FormShow();
    void yearChanged(const QString &text);
    void datesChanged();

    QCalendarWidget *m_calendar;
    QSpinBox *m_year;
    QLabel *m_easter;
    QLineEdit *m_fromText;
    QDateEdit *m_fromPicker;
    QLineEdit *m_toText;
    QDateEdit *m_toPicker;
    QLabel *m_days;
    QPushButton *m_exit;
};
