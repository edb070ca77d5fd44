#include "ebookssettingswindow.h"

#include "billingtexts.h"
#include "dberror.h"
#include "ebooksservice.h"
#include "messageservice.h"
#include "recordset.h"
#include "secretstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BillingTexts;
using MyData::EbooksSettings;

EbooksSettingsWindow::EbooksSettingsWindow(MyData::SecretStore &secrets, QWidget *parent)
    : DataWindow(parent)
    , m_secrets(secrets)
{
    setObjectName(QStringLiteral("EbooksSettingsWindow"));
    setUpWindow(kEbooksCaption, 620, 430);

    m_enabled = new QCheckBox(kEbooksEnabled, this);
    m_enabled->setObjectName(QStringLiteral("chkEnabled"));
    m_service = new QComboBox(this);
    m_service->setObjectName(QStringLiteral("cmbService"));
    m_service->addItem(kEbooksTestService, false);
    m_service->addItem(kEbooksProductionService, true);
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("edtUser"));
    m_user->setMaxLength(100);
    m_key = new QLineEdit(this);
    m_key->setObjectName(QStringLiteral("edtKey"));
    m_key->setEchoMode(QLineEdit::Password);
    m_key->setPlaceholderText(kEbooksKeyHint);
    m_key->setMaxLength(200);
    m_keyState = new QLabel(this);
    m_keyState->setObjectName(QStringLiteral("lblKeyState"));
    m_forget = new QPushButton(kEbooksForgetKey, this);
    m_forget->setObjectName(QStringLiteral("btnForgetKey"));
    m_series = new QLineEdit(this);
    m_series->setObjectName(QStringLiteral("edtSeries"));
    m_series->setMaxLength(50);
    m_treatment = new QComboBox(this);
    m_treatment->setObjectName(QStringLiteral("cmbTreatment"));
    m_treatment->addItem(kEbooksExempt, int(MyData::VatTreatment::Exempt));
    m_treatment->addItem(kEbooksTaxable, int(MyData::VatTreatment::Taxable));
    m_payment = new QComboBox(this);
    m_payment->setObjectName(QStringLiteral("cmbPayment"));
    m_payment->addItem(kEbooksCash, int(MyData::PaymentMethod::Cash));
    m_payment->addItem(kEbooksBank, int(MyData::PaymentMethod::BankAccount));
    m_payment->addItem(kEbooksIris, int(MyData::PaymentMethod::Iris));
    auto *untested = Kit::boldLabel(kEbooksUntested, this, true);
    untested->setObjectName(QStringLiteral("lblUntested"));
    untested->setWordWrap(true);
    m_save = new QPushButton(kEbooksSave, this);
    m_save->setObjectName(QStringLiteral("btnSave"));
    QPushButton *exit = addExitButton();
    setDefaultButton(m_save);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(Kit::labelFor(kEbooksService, m_service), m_service);
    form->addRow(Kit::labelFor(kEbooksUser, m_user), m_user);
    form->addRow(Kit::labelFor(kEbooksKey, m_key), m_key);
    // The key's state on a line of its own, wrapped when the window is narrow, and the button
    // under it: side by side, a longer state went under the button.
    m_keyState->setWordWrap(true);
    form->addRow(QString(), m_keyState);
    auto *keyRow = new QHBoxLayout;
    keyRow->addWidget(m_forget);
    keyRow->addStretch(1);
    form->addRow(QString(), keyRow);
    form->addRow(Kit::labelFor(kEbooksSeries, m_series), m_series);
    form->addRow(Kit::labelFor(kEbooksTreatment, m_treatment), m_treatment);
    form->addRow(Kit::labelFor(kEbooksPayment, m_payment), m_payment);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 14);
    layout->addWidget(m_enabled);
    layout->addLayout(form);
    layout->addWidget(untested);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &EbooksSettingsWindow::saveClick);
    connect(m_forget, &QPushButton::clicked, this, &EbooksSettingsWindow::forgetKeyClick);
    connect(m_user, &QLineEdit::editingFinished, this, &EbooksSettingsWindow::readKeyState);

    EbooksSettings settings;
    Kit::guarded(this, [&] {
        openConnection();
        settings = EbooksSettings::read(m_connection);
    });
    showSettings(settings);
    readKeyState();
}

EbooksSettingsWindow::~EbooksSettingsWindow() = default;

void EbooksSettingsWindow::showSettings(const EbooksSettings &s)
{
    m_enabled->setChecked(s.enabled);
    m_service->setCurrentIndex(s.production ? 1 : 0);
    m_user->setText(s.user);
    m_series->setText(s.series);
    m_treatment->setCurrentIndex(m_treatment->findData(int(s.treatment)));
    m_payment->setCurrentIndex(std::max(0, m_payment->findData(s.paymentMethod)));
}

void EbooksSettingsWindow::readKeyState()
{
    QPointer<EbooksSettingsWindow> self(this);
    m_secrets.read(MyData::keyName(m_user->text().trimmed()),
                   [self](bool found, const QString &, const QString &) {
                       if (!self)
                           return;
                       self->m_keyStored = found;
                       self->m_keyState->setText(found ? kEbooksKeyStored : kEbooksKeyMissing);
                       self->m_forget->setEnabled(found);
                   });
}

void EbooksSettingsWindow::saveClick()
{
    EbooksSettings s;
    s.enabled = m_enabled->isChecked();
    s.production = m_service->currentData().toBool();
    s.user = m_user->text().trimmed();
    s.series = m_series->text().trimmed();
    s.treatment = MyData::VatTreatment(m_treatment->currentData().toInt());
    s.paymentMethod = m_payment->currentData().toInt();
    const QString key = m_key->text().trimmed();
    if (s.enabled) {
        QString vatNumber;
        Kit::guarded(this, [&] {
            Query q(m_connection);
            q.setSql(QStringLiteral("SELECT AFT FROM INFORMATION"));
            q.open();
            vatNumber = q.rowCount() > 0 ? q.value(0, 0).toString().trimmed() : QString();
        });
        QString problem;
        if (s.user.isEmpty())
            problem = kEbooksNeedUser;
        else if (key.isEmpty() && !m_keyStored)
            problem = kEbooksNeedKey;
        else if (!MyData::isValidSeries(s.series))
            problem = kEbooksBadSeries;
        else if (!MyData::isValidVatNumber(vatNumber))
            problem = kEbooksBadVatNumber;
        if (!problem.isEmpty()) {
            Messages::information(this, problem);
            return;
        }
    }
    QPointer<EbooksSettingsWindow> self(this);
    auto write = [self, s] {
        if (!self)
            return;
        const bool ok = Kit::guarded(self, [&] {
            s.write(self->m_connection);
            if (MyData::EbooksService *service = MyData::EbooksService::instance())
                service->reloadSettings();
        });
        if (ok)
            Messages::information(self, kEbooksSaved);
        self->m_key->clear();
        self->readKeyState();
    };
    if (key.isEmpty()) {
        write();
        return;
    }
    // The key first: settings that name a key the keyring did not keep are not saved.
    m_secrets.write(MyData::keyName(s.user), key, [self, write](bool ok, const QString &why) {
        if (!self)
            return;
        if (!ok) {
            Messages::error(self, ebooksKeyNotSaved(why));
            return;
        }
        write();
    });
}

void EbooksSettingsWindow::forgetKeyClick()
{
    QPointer<EbooksSettingsWindow> self(this);
    m_secrets.remove(MyData::keyName(m_user->text().trimmed()),
                     [self](bool, const QString &) {
                         if (self)
                             self->readKeyState();
                     });
}
