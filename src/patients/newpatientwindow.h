#pragma once

#include "patientwindow.h"
#include "recordset.h"

class FieldBinder;
class PatientFieldsForm;
class QPushButton;
class RecordNavigator;

// Typing in new patients, one after another: each is a new row of STOIXEIA_PELATH, saved with
// the record bar's post and followed by the next with its insert. The window checks nothing;
// the database decides what it accepts.
class NewPatientWindow : public PatientWindow {
    Q_OBJECT
public:
    explicit NewPatientWindow(QWidget *parent = nullptr);
    ~NewPatientWindow() override;

    PatientFieldsForm *form() const { return m_form; }
    RecordNavigator *recordBar() const { return m_bar; }
    RecordSet &records() { return m_table; }

    void done(int result) override;

private:
    void FormCreate();

    Query m_table;
    FieldBinder *m_binder;
    PatientFieldsForm *m_form;
    RecordNavigator *m_bar;
    QPushButton *m_exit;
};

// The name the window goes by in the program's design documents.
using TForm16 = NewPatientWindow;
