#pragma once

#include "window.h"

#include <QDate>

class QLineEdit;
class QPushButton;

// "Εξαγωγή ραντεβού (iCalendar)…": the appointments of a period, linked to a patient or not, as
// an .ics file that a phone's calendar imports; a later export of the same slots updates the
// events there instead of adding them again (ICalendar).
class CalendarExportWindow : public Window {
    Q_OBJECT
public:
    // The period starts on the first of `today`'s month and ends three months later.
    explicit CalendarExportWindow(QWidget *parent = nullptr,
                                  const QDate &today = QDate::currentDate());

    QLineEdit *fromBox() const { return m_from; }
    QLineEdit *toBox() const { return m_to; }
    QPushButton *exportButton() const { return m_export; }

    // Reads the period, asks for the file's name and writes it; tells the person how many
    // appointments went where, or why nothing was written. True when the file was written.
    bool exportClick();

    // A date as the boxes show it: "5/3/2026".
    static QString boxText(const QDate &date);

private:
    QLineEdit *m_from;
    QLineEdit *m_to;
    QPushButton *m_export;
    QPushButton *m_exit;
};
