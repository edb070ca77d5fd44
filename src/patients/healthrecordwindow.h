#pragma once

#include "patientwindow.h"
#include "recordset.h"

class FieldBinder;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class RecordNavigator;

// One patient's health record: 27 conditions answered yes or no, and a free history, all
// columns of the patient's own row. Choosing an answer or typing starts an edit; post saves.
class HealthRecordWindow : public PatientWindow {
    Q_OBJECT
public:
    explicit HealthRecordWindow(QWidget *parent = nullptr);
    ~HealthRecordWindow() override;

    QString PatientId;
    QString PatientFirstName;
    QString PatientSurname;
    QString PatientBirthDate;

    // The label of each condition, by its column "1" to "27".
    static QString conditionLabel(int column);

    void FormShow() override;

    QComboBox *conditionBox(int column) const;
    QPlainTextEdit *historyBox() const { return m_history; }
    RecordNavigator *recordBar() const { return m_bar; }
    RecordSet &records() { return m_query; }

    void done(int result) override;

private:
    Query m_query;
    FieldBinder *m_binder;
    QLabel *m_firstName;
    QLabel *m_surname;
    QLabel *m_birthDate;
    QList<QComboBox *> m_conditions;
    QPlainTextEdit *m_history;
    RecordNavigator *m_bar;
    QPushButton *m_exit;
};

using TForm20 = HealthRecordWindow;
