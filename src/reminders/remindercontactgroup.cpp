#include "remindercontactgroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

ReminderContactGroup::ReminderContactGroup(QWidget *parent)
    : QGroupBox(QStringLiteral("Υπενθυμίσεις ραντεβού"), parent)
{
    setObjectName(QStringLiteral("reminderContactGroup"));
    auto *grid = new QGridLayout(this);
    m_email = new QLineEdit(this);
    m_email->setObjectName(QStringLiteral("reminderEmail"));
    m_email->setMaxLength(100);
    m_mobile = new QComboBox(this);
    m_mobile->setObjectName(QStringLiteral("reminderMobile"));
    m_mobile->setEditable(true);
    m_mobile->setInsertPolicy(QComboBox::NoInsert);
    m_consent = new QCheckBox(QStringLiteral("Συγκατάθεση για υπενθυμίσεις, από"), this);
    m_consent->setObjectName(QStringLiteral("reminderConsent"));
    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("reminderConsentDate"));
    m_date->setDisplayFormat(QStringLiteral("d/M/yyyy"));
    m_date->setCalendarPopup(true);
    m_date->setEnabled(false);
    auto *emailLabel = new QLabel(QStringLiteral("Email:"), this);
    emailLabel->setBuddy(m_email);
    auto *mobileLabel = new QLabel(QStringLiteral("Κινητό για SMS:"), this);
    mobileLabel->setBuddy(m_mobile);
    grid->addWidget(emailLabel, 0, 0);
    grid->addWidget(m_email, 0, 1, 1, 2);
    grid->addWidget(mobileLabel, 1, 0);
    grid->addWidget(m_mobile, 1, 1, 1, 2);
    grid->addWidget(m_consent, 2, 0, 1, 2);
    grid->addWidget(m_date, 2, 2);
    grid->setColumnStretch(1, 1);
    connect(m_consent, &QCheckBox::toggled, this, [this](bool on) {
        m_date->setEnabled(on);
        if (on && !m_shown.consent)
            m_date->setDate(QDate::currentDate());
    });
}

void ReminderContactGroup::showContact(const std::optional<Reminders::Contact> &stored,
                                       qint64 patientId, const QStringList &telephones)
{
    m_shown = stored.value_or(Reminders::Contact {});
    m_shown.patientId = patientId;
    m_email->setText(m_shown.email);
    m_mobile->clear();
    QStringList offered;
    if (!m_shown.mobile.isEmpty())
        offered << m_shown.mobile;
    for (const QString &phone : telephones)
        if (const QString mobile = Reminders::greekMobile(phone);
            !mobile.isEmpty() && !offered.contains(mobile))
            offered << mobile;
    m_mobile->addItems(offered);
    m_mobile->setCurrentText(m_shown.mobile);
    m_consent->setChecked(m_shown.consent);
    m_date->setDate(m_shown.consentDate.isValid() ? m_shown.consentDate : QDate::currentDate());
    m_date->setEnabled(m_shown.consent);
}

Reminders::Contact ReminderContactGroup::contact() const
{
    Reminders::Contact c;
    c.patientId = m_shown.patientId;
    c.email = m_email->text().trimmed();
    const QString typed = m_mobile->currentText().trimmed();
    const QString mobile = Reminders::greekMobile(typed);
    c.mobile = mobile.isEmpty() ? typed : mobile;
    c.consent = m_consent->isChecked();
    c.consentDate = c.consent ? m_date->date() : QDate();
    return c;
}

QString ReminderContactGroup::problem() const
{
    const Reminders::Contact c = contact();
    if (!c.email.isEmpty() && !Reminders::plausibleEmail(c.email))
        return QStringLiteral("Η διεύθυνση email «%1» δεν είναι σωστή.").arg(c.email);
    if (!c.mobile.isEmpty() && Reminders::greekMobile(c.mobile).isEmpty())
        return QStringLiteral("Το κινητό για SMS πρέπει να είναι ελληνικό κινητό (69xxxxxxxx).");
    return {};
}
