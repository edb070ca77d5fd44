#include "patientdatawindow.h"

#include "fieldbinder.h"
#include "patientfieldsform.h"
#include "patientsql.h"
#include "recordnavigator.h"

#include <QPushButton>

namespace {
const QString kCaption = QStringLiteral("Στοιχεία του ασθενούς");
} // namespace

PatientDataWindow::PatientDataWindow(QWidget *parent)
    : PatientWindow(parent)
    , m_query(m_connection)
    , m_binder(new FieldBinder(this))
{
    setObjectName(QStringLiteral("TForm19"));
    setUpWindow(kCaption, 480, 340);

    m_form = new PatientFieldsForm(this);
    m_form->move(16, 16);
    m_form->bindTo(m_binder);
    m_binder->setRecordSet(&m_query);

    m_bar = new RecordNavigator(RecordNavigator::Post, this);
    m_bar->setObjectName(QStringLiteral("recordBar"));
    m_bar->setGeometry(16 + 168, 16 + m_form->height() + 8, 30, 25);
    m_bar->setRecordSet(&m_query);
    // After any click on the bar the row is ready for the next change.
    connect(m_bar, &RecordNavigator::pressed, this, &PatientDataWindow::editAgain);

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 40, 88, 28);
}

PatientDataWindow::~PatientDataWindow() = default;

void PatientDataWindow::FormShow()
{
    Kit::guarded(this, [this] {
        openConnection();
        reopen(m_query, PatientSql::patientData(PatientId));
    });
    // Without the patient's row (deleted meanwhile) typing would start a new patient instead.
    m_form->setEnabled(m_query.isOpen() && m_query.rowCount() > 0);
    editAgain();
    m_form->firstField()->setFocus();
}

void PatientDataWindow::editAgain()
{
    // A row that the database refused stays in edit state with what was typed.
    if (m_query.isOpen() && m_query.currentRow() >= 0
        && m_query.state() == RecordSet::State::Browse)
        Kit::guarded(this, [this] { m_query.edit(); });
}

void PatientDataWindow::done(int result)
{
    // Changes not posted are dropped without a question.
    m_query.close();
    m_connection.close();
    PatientWindow::done(result);
}
