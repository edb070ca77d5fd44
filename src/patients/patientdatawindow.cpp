#include "patientdatawindow.h"

#include "fieldbinder.h"
#include "patientfieldsform.h"
#include "patientsql.h"
#include "recordnavigator.h"
#include "remindercontactgroup.h"

#include "messageservice.h"

#include <QPushButton>

#include <algorithm>

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

    // The reminders' group goes below the details and their bar; the window grows by it.
    m_contact = new ReminderContactGroup(this);
    const int top = m_bar->geometry().bottom() + 12;
    m_contact->setGeometry(16, top, width() - 32, m_contact->sizeHint().height());
    setFixedHeight(std::max(height(), m_contact->geometry().bottom() + 52));
    connect(m_bar, &RecordNavigator::pressed, this, [this](RecordNavigator::Button which) {
        if (which == RecordNavigator::Post)
            saveContact();
    });

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 40, 88, 28);
}

void PatientDataWindow::showContact()
{
    const bool found = m_query.isOpen() && m_query.rowCount() > 0;
    m_contact->setEnabled(found);
    if (!found)
        return;
    Kit::guarded(this, [this] {
        const qint64 id = PatientId.toLongLong();
        m_contact->showContact(Reminders::contact(m_connection, id), id,
                               {m_query.fieldValue(QStringLiteral("THLEFWNO_1")).toString(),
                                m_query.fieldValue(QStringLiteral("THLEFWNO_2")).toString()});
    });
}

void PatientDataWindow::saveContact()
{
    if (!m_contact->isEnabled() || !m_contact->changed())
        return;
    if (const QString problem = m_contact->problem(); !problem.isEmpty()) {
        Messages::information(this, problem);
        return;
    }
    if (Kit::guarded(this, [this] { Reminders::saveContact(m_connection, m_contact->contact()); }))
        showContact();
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
    showContact();
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
