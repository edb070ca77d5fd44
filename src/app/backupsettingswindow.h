#pragma once

#include "window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace MyData {
class SecretStore;
}

// "Αντίγραφα ασφαλείας…" under "Ρυθμίσεις": whether this computer encrypts the practice's backup
// copies, and the passphrase, typed twice, kept in the desktop's keyring for the automatic
// copies (never in the practice's files).
class BackupSettingsWindow : public Window {
    Q_OBJECT
public:
    BackupSettingsWindow(MyData::SecretStore &secrets, const QString &practiceFolder,
                         QWidget *parent = nullptr);

    void saveClick();

private:
    void readPassphraseState();
    void updateFields();
    void storeSetting(bool on);

    MyData::SecretStore &m_secrets;
    QString m_practiceFolder;
    bool m_stored = false;
    QCheckBox *m_encrypt = nullptr;
    QLineEdit *m_passphrase = nullptr;
    QLineEdit *m_confirm = nullptr;
    QLabel *m_state = nullptr;
    QPushButton *m_save = nullptr;
};
