#pragma once

#include "patientwindow.h"
#include "recordset.h"

class FieldBinder;
class PatientFieldsForm;
class ReminderContactGroup;
class QPushButton;
class RecordNavigator;

// Edits one patient's basic details. The row is in edit state from showing to closing; post
// saves, and a change not posted is dropped when the window closes.
class PatientDataWindow : public PatientWindow {
    Q_OBJECT
public:
    explicit PatientDataWindow(QWidget *parent = nullptr);
    ~PatientDataWindow() override;

    QString PatientId;

    void FormShow() override;

    PatientFieldsForm *form() const { return m_form; }
    RecordNavigator *recordBar() const { return m_bar; }
    RecordSet &records() { return m_query; }
    // The patient's addresses for appointment reminders and the consent, below the details;
    // saved with "Post" in a table of their own.
    ReminderContactGroup *reminderContact() const { return m_contact; }

    void done(int result) override;

private:
    void editAgain();
    void showContact();
    void saveContact();

    Query m_query;
    FieldBinder *m_binder;
    PatientFieldsForm *m_form;
    RecordNavigator *m_bar;
    ReminderContactGroup *m_contact;
    QPushButton *m_exit;
};

using TForm19 = PatientDataWindow;
