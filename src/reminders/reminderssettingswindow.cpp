#include "reminderssettingswindow.h"

#include "messageservice.h"
#include "remindertexts.h"
#include "secretstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kStored = QStringLiteral("Φυλάσσεται στην κλειδοθήκη.");
const QString kMissing = QStringLiteral("Δεν έχει φυλαχτεί.");
const QString kSaved = QStringLiteral("Οι ρυθμίσεις των υπενθυμίσεων καταχωρήθηκαν.");
const QString kFields = QStringLiteral(
    "Πεδία: {ονοματεπώνυμο}, {ημερομηνία}, {ώρα}, {ιατρείο}, {διεύθυνση}, {τηλέφωνο}.");

QLineEdit *lineEdit(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

} // namespace

RemindersSettingsWindow::RemindersSettingsWindow(MyData::SecretStore &secrets, QWidget *parent)
    : DataWindow(parent)
    , m_secrets(secrets)
{
    setObjectName(QStringLiteral("RemindersSettingsWindow"));
    setUpWindow(ReminderTexts::kSettingsCaption, 560, 520);
    Kit::guarded(this, [&] {
        openConnection();
        m_stored = Reminders::load(m_connection);
    });
    closeData();

    auto *layout = new QVBoxLayout(this);
    m_enabled = new QCheckBox(QStringLiteral("Αποστολή υπενθυμίσεων ραντεβού"), this);
    m_enabled->setObjectName(QStringLiteral("enabledBox"));
    layout->addWidget(m_enabled);
    auto *consent = new QLabel(
        QStringLiteral("Στέλνονται μόνο σε ασθενείς που έδωσαν τη συγκατάθεσή τους "
                       "(«Στοιχεία του ασθενούς»)."),
        this);
    consent->setWordWrap(true);
    layout->addWidget(consent);

    auto *tabs = new QTabWidget(this);
    layout->addWidget(tabs, 1);

    // Email.
    auto *mailPage = new QWidget(tabs);
    auto *mailForm = new QFormLayout(mailPage);
    m_mail = new QCheckBox(QStringLiteral("Με email"), mailPage);
    m_mail->setObjectName(QStringLiteral("mailBox"));
    mailForm->addRow(m_mail);
    m_host = lineEdit(mailPage, "hostBox");
    mailForm->addRow(QStringLiteral("Διακομιστής SMTP:"), m_host);
    auto *portRow = new QHBoxLayout;
    m_port = new QSpinBox(mailPage);
    m_port->setObjectName(QStringLiteral("portBox"));
    m_port->setRange(1, 65535);
    m_security = new QComboBox(mailPage);
    m_security->setObjectName(QStringLiteral("securityBox"));
    m_security->addItem(QStringLiteral("STARTTLS"), int(Reminders::Security::StartTls));
    m_security->addItem(QStringLiteral("TLS"), int(Reminders::Security::Tls));
    portRow->addWidget(m_port);
    portRow->addWidget(new QLabel(QStringLiteral("Ασφάλεια:"), mailPage));
    portRow->addWidget(m_security, 1);
    mailForm->addRow(QStringLiteral("Θύρα:"), portRow);
    m_user = lineEdit(mailPage, "userBox");
    mailForm->addRow(QStringLiteral("Όνομα χρήστη:"), m_user);
    m_password = lineEdit(mailPage, "passwordBox");
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("γράψτε τον για να τον αλλάξετε"));
    mailForm->addRow(QStringLiteral("Κωδικός:"), m_password);
    m_passwordState = new QLabel(mailPage);
    m_passwordState->setObjectName(QStringLiteral("passwordState"));
    mailForm->addRow(QString(), m_passwordState);
    m_senderName = lineEdit(mailPage, "senderNameBox");
    mailForm->addRow(QStringLiteral("Όνομα αποστολέα:"), m_senderName);
    m_senderAddress = lineEdit(mailPage, "senderAddressBox");
    mailForm->addRow(QStringLiteral("Email αποστολέα:"), m_senderAddress);
    tabs->addTab(mailPage, QStringLiteral("Email"));

    // SMS.
    auto *smsPage = new QWidget(tabs);
    auto *smsForm = new QFormLayout(smsPage);
    m_sms = new QCheckBox(QStringLiteral("Με SMS (μέσω της υπηρεσίας του παρόχου)"), smsPage);
    m_sms->setObjectName(QStringLiteral("smsBox"));
    smsForm->addRow(m_sms);
    m_smsUrl = lineEdit(smsPage, "smsUrlBox");
    smsForm->addRow(QStringLiteral("Διεύθυνση (URL):"), m_smsUrl);
    m_smsMethod = new QComboBox(smsPage);
    m_smsMethod->setObjectName(QStringLiteral("smsMethodBox"));
    m_smsMethod->addItems({QStringLiteral("POST"), QStringLiteral("GET")});
    smsForm->addRow(QStringLiteral("Μέθοδος:"), m_smsMethod);
    m_smsContentType = lineEdit(smsPage, "smsContentTypeBox");
    smsForm->addRow(QStringLiteral("Τύπος περιεχομένου:"), m_smsContentType);
    m_smsBody = new QPlainTextEdit(smsPage);
    m_smsBody->setObjectName(QStringLiteral("smsBodyBox"));
    m_smsBody->setTabChangesFocus(true);
    m_smsBody->setMaximumHeight(70);
    smsForm->addRow(QStringLiteral("Σώμα αιτήματος:"), m_smsBody);
    m_smsHeader = lineEdit(smsPage, "smsHeaderBox");
    m_smsHeader->setPlaceholderText(QStringLiteral("π.χ. Authorization: Bearer {κλειδί}"));
    smsForm->addRow(QStringLiteral("Επιπλέον κεφαλίδα:"), m_smsHeader);
    m_smsSuccess = lineEdit(smsPage, "smsSuccessBox");
    smsForm->addRow(QStringLiteral("Απάντηση επιτυχίας:"), m_smsSuccess);
    m_smsKey = lineEdit(smsPage, "smsKeyBox");
    m_smsKey->setEchoMode(QLineEdit::Password);
    m_smsKey->setPlaceholderText(QStringLiteral("γράψτε το για να το αλλάξετε"));
    smsForm->addRow(QStringLiteral("Κλειδί:"), m_smsKey);
    m_keyState = new QLabel(smsPage);
    m_keyState->setObjectName(QStringLiteral("keyState"));
    smsForm->addRow(QString(), m_keyState);
    auto *smsHelp = new QLabel(
        QStringLiteral("Πεδία: {αριθμός}, {μήνυμα}, {κλειδί}."), smsPage);
    smsForm->addRow(QString(), smsHelp);
    tabs->addTab(smsPage, QStringLiteral("SMS"));

    // When and what.
    auto *messagePage = new QWidget(tabs);
    auto *messageForm = new QFormLayout(messagePage);
    m_hours = new QSpinBox(messagePage);
    m_hours->setObjectName(QStringLiteral("hoursBox"));
    m_hours->setRange(1, 24 * 14);
    m_hours->setSuffix(QStringLiteral(" ώρες πριν"));
    messageForm->addRow(QStringLiteral("Υπενθύμιση:"), m_hours);
    m_secondHours = new QSpinBox(messagePage);
    m_secondHours->setObjectName(QStringLiteral("secondHoursBox"));
    m_secondHours->setRange(0, 24 * 14);
    m_secondHours->setSuffix(QStringLiteral(" ώρες πριν"));
    m_secondHours->setSpecialValueText(QStringLiteral("Καμία"));
    messageForm->addRow(QStringLiteral("Δεύτερη υπενθύμιση:"), m_secondHours);
    m_subject = lineEdit(messagePage, "subjectBox");
    messageForm->addRow(QStringLiteral("Θέμα email:"), m_subject);
    m_message = new QPlainTextEdit(messagePage);
    m_message->setObjectName(QStringLiteral("messageBox"));
    m_message->setTabChangesFocus(true);
    messageForm->addRow(QStringLiteral("Μήνυμα:"), m_message);
    auto *fields = new QLabel(kFields, messagePage);
    fields->setWordWrap(true);
    messageForm->addRow(QString(), fields);
    tabs->addTab(messagePage, QStringLiteral("Πότε και τι"));

    auto *buttons = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("Καταχώρηση"), this);
    m_save->setObjectName(QStringLiteral("saveButton"));
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(addExitButton());
    layout->addLayout(buttons);
    setDefaultButton(m_save);
    connect(m_save, &QPushButton::clicked, this, &RemindersSettingsWindow::saveClick);

    show(m_stored);
    readSecretState();
}

RemindersSettingsWindow::~RemindersSettingsWindow() = default;

void RemindersSettingsWindow::show(const Reminders::Settings &s)
{
    m_enabled->setChecked(s.enabled);
    m_mail->setChecked(s.mailOn);
    m_host->setText(s.smtpHost);
    m_port->setValue(s.smtpPort);
    m_security->setCurrentIndex(m_security->findData(int(s.security)));
    m_user->setText(s.smtpUser);
    m_senderName->setText(s.senderName);
    m_senderAddress->setText(s.senderAddress);
    m_sms->setChecked(s.smsOn);
    m_smsUrl->setText(s.smsUrl);
    m_smsMethod->setCurrentText(s.smsMethod);
    m_smsContentType->setText(s.smsContentType);
    m_smsBody->setPlainText(s.smsBody);
    m_smsHeader->setText(s.smsHeader);
    m_smsSuccess->setText(s.smsSuccess);
    m_hours->setValue(s.hoursBefore);
    m_secondHours->setValue(s.secondHoursBefore);
    m_subject->setText(s.subject);
    m_message->setPlainText(s.message);
}

Reminders::Settings RemindersSettingsWindow::settings() const
{
    Reminders::Settings s = m_stored; // keeps what the window does not show (an authority file)
    s.enabled = m_enabled->isChecked();
    s.mailOn = m_mail->isChecked();
    s.smtpHost = m_host->text().trimmed();
    s.smtpPort = m_port->value();
    s.security = Reminders::Security(m_security->currentData().toInt());
    s.smtpUser = m_user->text().trimmed();
    s.senderName = m_senderName->text().trimmed();
    s.senderAddress = m_senderAddress->text().trimmed();
    s.smsOn = m_sms->isChecked();
    s.smsUrl = m_smsUrl->text().trimmed();
    s.smsMethod = m_smsMethod->currentText();
    s.smsContentType = m_smsContentType->text().trimmed();
    s.smsBody = m_smsBody->toPlainText();
    s.smsHeader = m_smsHeader->text().trimmed();
    s.smsSuccess = m_smsSuccess->text();
    s.hoursBefore = m_hours->value();
    s.secondHoursBefore = m_secondHours->value();
    s.subject = m_subject->text();
    s.message = m_message->toPlainText();
    return s;
}

void RemindersSettingsWindow::readSecretState()
{
    QPointer<RemindersSettingsWindow> self(this);
    for (const auto &[name, label] :
         {std::pair {Reminders::kMailSecret, m_passwordState},
          std::pair {Reminders::kSmsSecret, m_keyState}}) {
        QPointer<QLabel> target(label);
        m_secrets.read(QLatin1String(name), [self, target](bool found, const QString &, const QString &) {
            if (self && target)
                target->setText(found ? kStored : kMissing);
        });
    }
}

void RemindersSettingsWindow::saveClick()
{
    const Reminders::Settings s = settings();
    const QStringList problems = Reminders::problems(s);
    if (!problems.isEmpty()) {
        Messages::information(this, problems.join(QLatin1Char('\n')));
        return;
    }
    QPointer<RemindersSettingsWindow> self(this);
    auto write = [self, s] {
        if (!self)
            return;
        const bool ok = Kit::guarded(self, [&] {
            self->openConnection();
            Reminders::save(self->m_connection, s);
        });
        self->closeData();
        if (!ok)
            return;
        self->m_stored = s;
        self->m_password->clear();
        self->m_smsKey->clear();
        self->readSecretState();
        Messages::information(self, kSaved);
    };
    // The secrets first: settings are not saved when the keyring did not keep what was typed.
    QList<std::pair<QString, QString>> secrets;
    if (!m_password->text().isEmpty())
        secrets.append({QLatin1String(Reminders::kMailSecret), m_password->text()});
    if (!m_smsKey->text().trimmed().isEmpty())
        secrets.append({QLatin1String(Reminders::kSmsSecret), m_smsKey->text().trimmed()});
    auto next = std::make_shared<std::function<void(int)>>();
    // Each step holds the chain only weakly: the chain ends with the last answer.
    std::weak_ptr<std::function<void(int)>> chain = next;
    *next = [self, secrets, write, chain](int i) {
        if (!self)
            return;
        if (i == secrets.size()) {
            write();
            return;
        }
        auto next = chain.lock();
        self->m_secrets.write(secrets[i].first, secrets[i].second,
                              [self, next, i](bool ok, const QString &why) {
                                  if (!self)
                                      return;
                                  if (!ok) {
                                      Messages::error(
                                          self,
                                          QStringLiteral("Η κλειδοθήκη δεν κράτησε τον κωδικό: %1")
                                              .arg(why));
                                      return;
                                  }
                                  (*next)(i + 1);
                              });
    };
    (*next)(0);
}
