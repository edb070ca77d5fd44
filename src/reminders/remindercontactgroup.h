#pragma once

#include "remindercontacts.h"

#include <QGroupBox>

class Connection;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

// "Υπενθυμίσεις ραντεβού" in the patient's data window: the email, the mobile number for SMS
// (offered from the patient's telephones that are Greek mobiles) and the consent with its date.
class ReminderContactGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit ReminderContactGroup(QWidget *parent = nullptr);

    // Shows the patient's stored contact; the telephones offer their mobile numbers.
    void showContact(const std::optional<Reminders::Contact> &stored, qint64 patientId,
                     const QStringList &telephones);
    // What the boxes say; empty text when it is fine, else what is wrong, in Greek.
    Reminders::Contact contact() const;
    QString problem() const;
    bool changed() const { return contact() != m_shown; }

    QLineEdit *emailBox() const { return m_email; }
    QComboBox *mobileBox() const { return m_mobile; }
    QCheckBox *consentBox() const { return m_consent; }
    QDateEdit *consentDateBox() const { return m_date; }

private:
    Reminders::Contact m_shown;
    QLineEdit *m_email;
    QComboBox *m_mobile;
    QCheckBox *m_consent;
    QDateEdit *m_date;
};
