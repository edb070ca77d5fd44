#pragma once

#include "datawindow.h"
#include "ebookssettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace MyData {
class SecretStore;
}

// The practice's settings for the tax authority's e-books (myDATA): on or off, the test or the
// production service, the user name and the subscription key, the receipt series, how the
// services stand towards VAT and the usual payment method. The key goes to the desktop's
// keyring only; the window shows whether one is stored, never the key itself.
class EbooksSettingsWindow : public DataWindow {
    Q_OBJECT
public:
    EbooksSettingsWindow(MyData::SecretStore &secrets, QWidget *parent = nullptr);
    ~EbooksSettingsWindow() override;

    QCheckBox *enabledBox() const { return m_enabled; }
    QComboBox *serviceBox() const { return m_service; }
    QLineEdit *userBox() const { return m_user; }
    QLineEdit *keyBox() const { return m_key; }
    QLabel *keyState() const { return m_keyState; }
    QLineEdit *seriesBox() const { return m_series; }
    QComboBox *treatmentBox() const { return m_treatment; }
    QComboBox *paymentBox() const { return m_payment; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *forgetKeyButton() const { return m_forget; }

    // Checks and saves; the key, when one was typed, goes to the keyring. Says what is wrong
    // and saves nothing when the settings cannot work.
    void saveClick();
    void forgetKeyClick();

private:
    void showSettings(const MyData::EbooksSettings &s);
    void readKeyState();

    MyData::SecretStore &m_secrets;
    bool m_keyStored = false;
    QCheckBox *m_enabled;
    QComboBox *m_service;
    QLineEdit *m_user;
    QLineEdit *m_key;
    QLabel *m_keyState;
    QPushButton *m_forget;
    QLineEdit *m_series;
    QComboBox *m_treatment;
    QComboBox *m_payment;
    QPushButton *m_save;
};
