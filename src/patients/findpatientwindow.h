#pragma once

#include "window.h"
#include "windowhooks.h"

#include <optional>

class PatientListWindow;
class QLineEdit;
class QPushButton;
class QTabWidget;

// Chooses which patients the patient list shows: by the first letters of the surname, by a
// span of birth dates, or all. It reads nothing itself; it composes the list's SELECT and
// shows the list.
class FindPatientWindow : public Window {
    Q_OBJECT
public:
    // The list is the program's one patient list window; the find window only borrows it.
    explicit FindPatientWindow(PatientListWindow *list, QWidget *parent = nullptr);

    QTabWidget *tabs() const { return m_tabs; }
    QLineEdit *surnameBox() const { return m_surname; }
    QLineEdit *fromBox() const { return m_from; }
    QLineEdit *toBox() const { return m_to; }
    QPushButton *surnameFindButton() const { return m_surnameFind; }
    QPushButton *dateFindButton() const { return m_dateFind; }
    QPushButton *allButton() const { return m_all; }

    // Choosing one patient for another window: the list offers "Επιλογή", and a choice closes
    // the list and this window. chosen() is the patient, or nothing.
    void setChoosing(bool choosing) { m_choosing = choosing; }
    std::optional<PatientContext> chosen() const { return m_chosen; }

    // The actions of the buttons.
    void surnameFindClick();
    void dateFindClick();
    void allPatientsClick();

private:
    void surnameChanged();
    void datesChanged();
    void showList(const QString &listFilter, const QString &listSql);

    PatientListWindow *m_list;
    QTabWidget *m_tabs;
    QLineEdit *m_surname;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QPushButton *m_surnameFind;
    QPushButton *m_dateFind;
    QPushButton *m_all;
    QPushButton *m_exit;
    bool m_choosing = false;
    std::optional<PatientContext> m_chosen;
};

using TForm17 = FindPatientWindow;
