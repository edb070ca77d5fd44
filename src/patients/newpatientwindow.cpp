#include "newpatientwindow.h"

#include "fieldbinder.h"
#include "patientfieldsform.h"
#include "recordnavigator.h"

#include <QPushButton>

namespace {
const QString kCaption = QStringLiteral("Καταχώρηση νέου ασθενούς");
// The window only adds rows, so its cursor reads none of the existing patients.
const QString kNoRows = QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE 1=0");
} // namespace

NewPatientWindow::NewPatientWindow(QWidget *parent)
    : PatientWindow(parent)
    , m_table(m_connection)
    , m_binder(new FieldBinder(this))
{
    // A patient typed in is one the person would type again if told it was not saved.
    m_table.setRegistersInserts(true);
    setObjectName(QStringLiteral("TForm16"));
    setUpWindow(kCaption, 480, 340);

    m_form = new PatientFieldsForm(this);
    m_form->move(16, 16);
    m_form->bindTo(m_binder);

    m_bar = new RecordNavigator(RecordNavigator::Insert | RecordNavigator::Post, this);
    m_bar->setObjectName(QStringLiteral("recordBar"));
    m_bar->setGeometry(16 + 168, 16 + m_form->height() + 8, 60, 25);

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 40, 88, 28);

    connect(m_bar, &RecordNavigator::pressed, this, [this](RecordNavigator::Button which) {
        if (which == RecordNavigator::Insert)
            m_form->firstField()->setFocus();
    });

    FormCreate();
}

NewPatientWindow::~NewPatientWindow() = default;

void NewPatientWindow::FormCreate()
{
    Kit::guarded(this, [this] {
        openConnection();
        reopen(m_table, kNoRows);
        m_binder->setRecordSet(&m_table);
        m_bar->setRecordSet(&m_table);
        // Ready for typing at once: one blank new record.
        m_table.insert();
    });
    m_form->firstField()->setFocus();
}

void NewPatientWindow::done(int result)
{
    // A record that was not posted is dropped without a question; one whose registration is
    // unsettled is looked up first.
    Kit::settleBeforeClosing(this, m_table);
    m_table.close();
    m_connection.close();
    PatientWindow::done(result);
}
