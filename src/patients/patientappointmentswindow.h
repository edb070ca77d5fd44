#pragma once

#include "patientwindow.h"
#include "recordset.h"

#include <QDateTime>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class RecordGrid;

// A patient's appointments: the slots of the book linked to the patient, the upcoming ones
// first (the soonest at the top), then the past ones from the latest, each no-show marked
// "Δεν προσήλθε"; below them, the reminders of the patient's appointments and what became of
// each. Read-only: the links are made and changed in the day sheet.
class PatientAppointmentsWindow : public PatientWindow {
    Q_OBJECT
public:
    explicit PatientAppointmentsWindow(QWidget *parent = nullptr);

    // Inputs, as the patient list fills them.
    QString PatientFirstName;
    QString PatientSurname;
    QString PatientId;

    // The time that divides upcoming from past; tests replace it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    void FormShow() override;

    Query &list() { return m_list; }
    RecordGrid *grid() const { return m_grid; }
    QLabel *countLine() const { return m_count; }
    QTreeWidget *reminders() const { return m_reminders; }

private:
    Query m_list;
    QLabel *m_firstName;
    QLabel *m_surname;
    RecordGrid *m_grid;
    QLabel *m_count;
    QTreeWidget *m_reminders;
    QPushButton *m_exit;
};
