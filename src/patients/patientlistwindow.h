#pragma once

#include "patientwindow.h"
#include "recordset.h"
#include "windowhooks.h"

#include <optional>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class RecordGrid;
class RecordNavigator;

// The patients the find window chose, and the hub for everything about one of them: its
// details, health record, visits, printouts, receipts and payments. One instance lives for
// the whole run; the find window sets ListSql and ListFilter and shows it modally.
class PatientListWindow : public PatientWindow {
    Q_OBJECT
public:
    explicit PatientListWindow(QWidget *parent = nullptr);
    ~PatientListWindow() override;

    // Inputs: the SELECT the list runs, and its tail after the table name (or empty), which
    // only goes on to the printouts.
    QString ListSql;
    QString ListFilter;

    // The in-memory order of the rows: SortColumn + SortDirection, e.g. "TAMEIO DESC".
    QString SortColumn = QStringLiteral("EPWNYMO");
    QString SortDirection = QStringLiteral(" ASC");

    // Each showing: read the rows of ListSql, reset the sort, enable what may be enabled.
    void FormShow() override;
    // Reads ListSql again on a fresh connection, e.g. after the patient's details changed.
    void reread();

    // The patient actions, as the buttons and the menu items run them.
    void patientDataClick();
    void healthRecordClick();
    void visitsClick();
    void printoutsClick();
    void receiptClick();
    void paymentsClick();
    // The patient's linked appointments.
    void appointmentsClick();
    // Everything held on the patient, as a PDF and a JSON file the person names.
    void exportClick();
    // The record bar's delete (also Ctrl+Delete in the grid).
    void deleteClick();

    // Opened to choose one patient for another window: the patient actions give way to
    // "Επι&λογή" (or a double click on a row), which closes the list with chosen() set.
    void setChoosing(bool choosing);
    std::optional<PatientContext> chosen() const { return m_chosen; }
    QPushButton *chooseButton() const { return m_choose; }
    void chooseClick();

    // The current row's patient: trimmed texts of ID, ONOMA, EPWNYMO and the birth date.
    PatientContext currentPatient() const;

    RecordSet &records() { return m_list; }
    RecordGrid *grid() const { return m_grid; }
    RecordNavigator *recordBar() const { return m_bar; }
    QLabel *countLine() const { return m_count; }
    QMenu *optionsMenu() const { return m_menu; }
    QGroupBox *sortByGroup() const { return m_sortBy; }
    QGroupBox *sortKindGroup() const { return m_sortKind; }
    QGroupBox *actionsGroup() const { return m_actions; }
    QRadioButton *sortOption(const QString &column) const;
    QRadioButton *ascendingOption() const { return m_ascending; }
    QRadioButton *descendingOption() const { return m_descending; }
    QPushButton *actionButton(const QString &objectName) const;
    QAction *menuItem(const QString &objectName) const;

    void done(int result) override;

private:
    struct Action {
        QPushButton *button;
        QAction *item;
    };

    void updateCount();
    void applySort();
    void enableHookedActions();
    bool hasPatient() const;
    Action makeAction(const QString &name, const QString &buttonText, const QString &menuText,
                      void (PatientListWindow::*handler)());

    Query m_list;
    QMenuBar *m_menuBar;
    QMenu *m_menu;
    RecordGrid *m_grid;
    QLabel *m_count;
    RecordNavigator *m_bar;
    QGroupBox *m_sortBy;
    QGroupBox *m_sortKind;
    QGroupBox *m_actions;
    QButtonGroup *m_sortColumns;
    QRadioButton *m_ascending;
    QRadioButton *m_descending;
    QPushButton *m_exit;
    Action m_data {};
    Action m_health {};
    Action m_visits {};
    Action m_printouts {};
    Action m_receipt {};
    Action m_payments {};
    Action m_export {};
    Action m_appointments {};
    QPushButton *m_choose = nullptr;
    bool m_choosing = false;
    std::optional<PatientContext> m_chosen;
};

using TForm18 = PatientListWindow;
