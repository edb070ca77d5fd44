#include "backupsettingswindow.h"

#include "backupcommands.h"
#include "backuptexts.h"
#include "dberror.h"
#include "messageservice.h"
#include "sealedbackup.h"
#include "secretstore.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BackupTexts;

BackupSettingsWindow::BackupSettingsWindow(MyData::SecretStore &secrets,
                                           const QString &practiceFolder, QWidget *parent)
    : Window(parent)
    , m_secrets(secrets)
    , m_practiceFolder(practiceFolder)
{
    setObjectName(QStringLiteral("BackupSettingsWindow"));
    setUpWindow(kSettingsCaption, 560, 330);

    m_encrypt = new QCheckBox(kEncrypt, this);
    m_encrypt->setObjectName(QStringLiteral("chkEncrypt"));
    m_passphrase = new QLineEdit(this);
    m_passphrase->setObjectName(QStringLiteral("edtPassphrase"));
    m_confirm = new QLineEdit(this);
    m_confirm->setObjectName(QStringLiteral("edtConfirmPassphrase"));
    for (QLineEdit *field : {m_passphrase, m_confirm}) {
        field->setEchoMode(QLineEdit::Password);
        field->setMaxLength(200);
    }
    auto *rule = new QLabel(kPassphraseRule, this);
    rule->setObjectName(QStringLiteral("lblPassphraseRule"));
    rule->setWordWrap(true);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("lblPassphraseState"));
    m_state->setWordWrap(true);
    auto *warning = Kit::boldLabel(kForgottenWarning, this, true);
    warning->setObjectName(QStringLiteral("lblForgottenWarning"));
    warning->setWordWrap(true);
    m_save = new QPushButton(kSaveSettings, this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    QPushButton *exit = addExitButton();
    setDefaultButton(m_save);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(Kit::labelFor(kPassphrase, m_passphrase), m_passphrase);
    form->addRow(Kit::labelFor(kConfirmPassphrase, m_confirm), m_confirm);
    form->addRow(QString(), rule);
    form->addRow(QString(), m_state);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 14);
    layout->addWidget(m_encrypt);
    layout->addLayout(form);
    layout->addWidget(warning);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &BackupSettingsWindow::saveClick);
    connect(m_encrypt, &QCheckBox::toggled, this, &BackupSettingsWindow::updateFields);

    m_encrypt->setChecked(SealedBackup::encryptionOn(m_practiceFolder));
    updateFields();
    readPassphraseState();
}

void BackupSettingsWindow::updateFields()
{
    m_passphrase->setEnabled(m_encrypt->isChecked());
    m_confirm->setEnabled(m_encrypt->isChecked());
}

void BackupSettingsWindow::readPassphraseState()
{
    QPointer<BackupSettingsWindow> self(this);
    m_secrets.read(BackupCommands::passphraseName(m_practiceFolder),
                   [self](bool found, const QString &, const QString &) {
                       if (!self)
                           return;
                       self->m_stored = found;
                       self->m_state->setText(found ? kPassphraseStored : kPassphraseMissing);
                   });
}

void BackupSettingsWindow::storeSetting(bool on)
{
    if (Kit::guarded(this, [&] { SealedBackup::setEncryptionOn(m_practiceFolder, on); }))
        Messages::information(this, kSettingsSaved);
}

void BackupSettingsWindow::saveClick()
{
    if (!m_encrypt->isChecked()) {
        // The phrase stays in the keyring: copies sealed with it may still need restoring.
        storeSetting(false);
        return;
    }
    const QString phrase = m_passphrase->text();
    if (phrase.isEmpty() && m_confirm->text().isEmpty()) {
        if (!m_stored) {
            Messages::information(this, kPassphraseNeeded);
            return;
        }
        storeSetting(true);
        return;
    }
    if (phrase != m_confirm->text()) {
        Messages::information(this, kPassphrasesDiffer);
        return;
    }
    if (!SealedBackup::acceptable(phrase)) {
        Messages::information(this, kPassphraseTooShort);
        return;
    }
    // The phrase first: copies are never to be sealed with a phrase the keyring did not keep.
    QPointer<BackupSettingsWindow> self(this);
    m_secrets.write(BackupCommands::passphraseName(m_practiceFolder), phrase,
                    [self](bool ok, const QString &why) {
                        if (!self)
                            return;
                        self->m_passphrase->clear();
                        self->m_confirm->clear();
                        if (!ok) {
                            Messages::error(self, passphraseNotKept(why));
                            return;
                        }
                        self->storeSetting(true);
                        self->readPassphraseState();
                    });
}
