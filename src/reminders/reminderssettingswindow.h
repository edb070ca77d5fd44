#pragma once

#include "datawindow.h"
#include "reminderssettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace MyData {
class SecretStore;
}

// "Υπενθυμίσεις ραντεβού" under "Ρυθμίσεις": on or off (off until turned on), the mail server
// and the SMS provider's HTTP interface, when, and the message. The password and the key go to
// the desktop's keyring only; the window shows whether one is stored, never the secret itself.
class RemindersSettingsWindow : public DataWindow {
    Q_OBJECT
public:
    RemindersSettingsWindow(MyData::SecretStore &secrets, QWidget *parent = nullptr);
    ~RemindersSettingsWindow() override;

    QCheckBox *enabledBox() const { return m_enabled; }
    QCheckBox *mailBox() const { return m_mail; }
    QLineEdit *hostBox() const { return m_host; }
    QSpinBox *portBox() const { return m_port; }
    QComboBox *securityBox() const { return m_security; }
    QLineEdit *userBox() const { return m_user; }
    QLineEdit *passwordBox() const { return m_password; }
    QLineEdit *senderNameBox() const { return m_senderName; }
    QLineEdit *senderAddressBox() const { return m_senderAddress; }
    QCheckBox *smsBox() const { return m_sms; }
    QLineEdit *smsUrlBox() const { return m_smsUrl; }
    QComboBox *smsMethodBox() const { return m_smsMethod; }
    QPlainTextEdit *smsBodyBox() const { return m_smsBody; }
    QLineEdit *smsSuccessBox() const { return m_smsSuccess; }
    QLineEdit *smsKeyBox() const { return m_smsKey; }
    QSpinBox *hoursBox() const { return m_hours; }
    QSpinBox *secondHoursBox() const { return m_secondHours; }
    QLineEdit *subjectBox() const { return m_subject; }
    QPlainTextEdit *messageBox() const { return m_message; }
    QPushButton *saveButton() const { return m_save; }

    Reminders::Settings settings() const;
    // Checks and saves; a password or key typed goes to the keyring first. Says what is wrong
    // and saves nothing when the settings cannot work.
    void saveClick();

private:
    void show(const Reminders::Settings &s);
    void readSecretState();

    MyData::SecretStore &m_secrets;
    Reminders::Settings m_stored;
    QCheckBox *m_enabled;
    QCheckBox *m_mail;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QComboBox *m_security;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLabel *m_passwordState;
    QLineEdit *m_senderName;
    QLineEdit *m_senderAddress;
    QCheckBox *m_sms;
    QLineEdit *m_smsUrl;
    QComboBox *m_smsMethod;
    QLineEdit *m_smsContentType;
    QPlainTextEdit *m_smsBody;
    QLineEdit *m_smsHeader;
    QLineEdit *m_smsSuccess;
    QLineEdit *m_smsKey;
    QLabel *m_keyState;
    QSpinBox *m_hours;
    QSpinBox *m_secondHours;
    QLineEdit *m_subject;
    QPlainTextEdit *m_message;
    QPushButton *m_save;
};
