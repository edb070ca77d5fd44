#pragma once

#include "patientwindow.h"
#include "recordset.h"

class FieldBinder;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordGrid;
class RecordNavigator;

// A patient's log of visits: an entry form always ready for the next visit above, the visits
// in date order below, with paging and deletion.
class VisitsWindow : public PatientWindow {
    Q_OBJECT
public:
    explicit VisitsWindow(QWidget *parent = nullptr);
    ~VisitsWindow() override;

    QString PatientFirstName;
    QString PatientSurname;
    QString PatientId;

    void FormShow() override;

    QLineEdit *dateBox() const { return m_date; }
    QLineEdit *reasonBox() const { return m_reason; }
    QLineEdit *descriptionBox() const { return m_description; }
    RecordNavigator *entryBar() const { return m_entryBar; }
    RecordNavigator *listBar() const { return m_listBar; }
    RecordGrid *grid() const { return m_grid; }
    QLabel *countLine() const { return m_count; }
    RecordSet &entry() { return m_entry; }
    RecordSet &visits() { return m_list; }

    void done(int result) override;

private:
    void FormCreate();
    void startNewVisit();
    void entryPressed();
    void openList();
    void updateCount();
    qlonglong patientNumber() const;

    Query m_entry;
    Query m_list;
    FieldBinder *m_binder;
    QLabel *m_firstName;
    QLabel *m_surname;
    QLineEdit *m_date;
    QLineEdit *m_reason;
    QLineEdit *m_description;
    RecordNavigator *m_entryBar;
    RecordGrid *m_grid;
    QLabel *m_count;
    RecordNavigator *m_listBar;
    QPushButton *m_exit;
};

using TFORM17A = VisitsWindow;
