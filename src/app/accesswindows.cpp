#include "accesswindows.h"

#include "dberror.h"
#include "messageservice.h"
#include "program.h"
#include "recordset.h"
#include "sqltext.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kWarning = QStringLiteral("Προσοχή έχουν σημασία Πεζά / Κεφαλαία");
// The login window's warning is written with a Latin small o in its second word.
const QString kLoginWarning = QStringLiteral("Προσοχή έχoυν σημασία Πεζά / Κεφαλαία");

QString readStoredPassword(Connection &connection)
{
    Table security(connection);
    security.setTableName(QStringLiteral("SECURITY"));
    security.close();
    security.open();
    return security.rowCount() > 0 && security.columnCount() > 0 ? security.text(0, 0).trimmed()
                                                                 : QString();
}

// A row of the form: label (bold), field, red star; the label names the field for the
// accelerator and for screen readers.
void addRow(QGridLayout *grid, int row, const QString &caption, QLineEdit *field, QWidget *parent)
{
    QLabel *label = Kit::boldLabel(caption, parent);
    label->setBuddy(field);
    grid->addWidget(label, row, 0, Qt::AlignRight);
    grid->addWidget(field, row, 1);
    grid->addWidget(Kit::requiredStar(parent), row, 2);
}

} // namespace

QString passwordUpdateSql(const QString &password)
{
    return QStringLiteral("UPDATE SECURITY SET [PASSWORD]=") + SqlText::quoted(password);
}

namespace AccessKit {

QLineEdit *passwordField(QWidget *parent, const QString &objectName)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    edit->setMaxLength(50);
    return edit;
}

bool acceptable(const QString &trimmed)
{
    return !trimmed.isEmpty() && SqlText::IsSafeText(trimmed);
}

QString loginWarning()
{
    return kLoginWarning;
}

bool checkTyped(QWidget *window, Connection &connection, QLineEdit *field)
{
    const QString typed = field->text().trimmed();
    if (readStoredPassword(connection) == typed)
        return true;
    Messages::information(window, QStringLiteral("Λανθασμένος κωδικός πρόσβασης."));
    field->clear();
    field->setFocus();
    return false;
}

} // namespace AccessKit

// ---- login ----

LoginWindow::LoginWindow(QWidget *parent)
    : DataWindow(parent)
{
    setUpWindow(QStringLiteral("Έλεγχος πρόσβασης"), 303, 159, Border::NoIcons);
    Program::LoginGranted = false;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Kit::boldLabel(kLoginWarning, this, true), 0, Qt::AlignHCenter);
    auto *grid = new QGridLayout;
    m_password = AccessKit::passwordField(this, QStringLiteral("passwordEdit"));
    addRow(grid, 0, QStringLiteral("Κωδικός πρόσβασης:"), m_password, this);
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    m_login = new QPushButton(QStringLiteral("Εί&σοδος"), this);
    m_login->setObjectName(QStringLiteral("loginButton"));
    m_exit = addExitButton();
    buttons->addStretch();
    buttons->addWidget(m_login);
    buttons->addWidget(m_exit);
    layout->addLayout(buttons);
    setDefaultButton(m_login);
    m_login->setEnabled(false);

    connect(m_password, &QLineEdit::textChanged, this, &LoginWindow::Edit1Change);
    connect(m_login, &QPushButton::clicked, this, &LoginWindow::Button1Click);
    m_password->setFocus();
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::Edit1Change()
{
    m_login->setEnabled(AccessKit::acceptable(m_password->text().trimmed()));
}

void LoginWindow::Button1Click()
{
    if (!m_login->isEnabled())
        return;
    Kit::guarded(this, [&] {
        openConnection();
        Program::LoginGranted = false;
        if (AccessKit::checkTyped(this, m_connection, m_password)) {
            Program::LoginGranted = true;
            accept();
        }
    });
}

void LoginWindow::Button2Click()
{
    Program::LoginGranted = false;
    done(QDialog::Rejected);
}

// ---- first password ----

FirstPasswordWindow::FirstPasswordWindow(QWidget *parent)
    : DataWindow(parent)
{
    setUpWindow(QStringLiteral("Καθορισμός του κωδικού πρόσβασης"), 370, 157, Border::NoIcons);
    Kit::guarded(this, [&] { openConnection(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Kit::boldLabel(kWarning, this, true), 0, Qt::AlignHCenter);
    auto *grid = new QGridLayout;
    m_new = AccessKit::passwordField(this, QStringLiteral("newPasswordEdit"));
    m_confirm = AccessKit::passwordField(this, QStringLiteral("confirmPasswordEdit"));
    addRow(grid, 0, QStringLiteral("Κωδικός πρόσβασης:"), m_new, this);
    addRow(grid, 1, QStringLiteral("Επιβεβαίωση κωδικού πρόσβασης:"), m_confirm, this);
    layout->addLayout(grid);
    m_store = new QPushButton(QStringLiteral("Καταχώρηση"), this);
    m_store->setObjectName(QStringLiteral("storeButton"));
    layout->addWidget(m_store, 0, Qt::AlignRight);
    setDefaultButton(m_store);
    m_store->setEnabled(false);

    connect(m_new, &QLineEdit::textChanged, this, &FirstPasswordWindow::EditChange);
    connect(m_confirm, &QLineEdit::textChanged, this, &FirstPasswordWindow::EditChange);
    connect(m_store, &QPushButton::clicked, this, &FirstPasswordWindow::Button1Click);
    m_new->setFocus();
}

FirstPasswordWindow::~FirstPasswordWindow() = default;

void FirstPasswordWindow::EditChange()
{
    const QString n = m_new->text().trimmed();
    const QString c = m_confirm->text().trimmed();
    m_store->setEnabled(AccessKit::acceptable(n) && AccessKit::acceptable(c) && n == c);
}

void FirstPasswordWindow::Button1Click()
{
    if (!m_store->isEnabled())
        return;
    const QString n = m_new->text().trimmed();
    const bool stored = Kit::guarded(this, [&] {
        m_connection.open();
        m_connection.execute(passwordUpdateSql(n));
        m_stored = true;
    });
    if (!stored) {
        // The failure has been shown; a file that refuses the password refuses it again.
        m_failed = true;
        done(QDialog::Rejected);
        return;
    }
    Messages::information(this,
                          QStringLiteral("Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία."));
    accept();
}

void FirstPasswordWindow::closeEvent(QCloseEvent *event)
{
    // The window ends only by storing a password, or by failing to.
    if (!m_stored && !m_failed) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// ---- change password ----

ChangePasswordWindow::ChangePasswordWindow(QWidget *parent)
    : DataWindow(parent)
{
    setUpWindow(QStringLiteral("Αλλαγή του κωδικού πρόσβασης"), 405, 219);
    Kit::guarded(this, [&] {
        openConnection();
        m_storedPassword = readStoredPassword(m_connection);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Kit::boldLabel(kWarning, this, true), 0, Qt::AlignHCenter);
    auto *grid = new QGridLayout;
    m_old = AccessKit::passwordField(this, QStringLiteral("oldPasswordEdit"));
    m_new = AccessKit::passwordField(this, QStringLiteral("newPasswordEdit"));
    m_confirm = AccessKit::passwordField(this, QStringLiteral("confirmPasswordEdit"));
    addRow(grid, 0, QStringLiteral("Προηγούμενος κωδικός πρόσβασης:"), m_old, this);
    addRow(grid, 1, QStringLiteral("Νέος κωδικός πρόσβασης:"), m_new, this);
    addRow(grid, 2, QStringLiteral("Επιβεβαίωση νέου κωδικού πρόσβασης:"), m_confirm, this);
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    m_change = new QPushButton(QStringLiteral("Αλ&λαγή"), this);
    m_change->setObjectName(QStringLiteral("changeButton"));
    m_exit = addExitButton();
    buttons->addStretch();
    buttons->addWidget(m_change);
    buttons->addWidget(m_exit);
    layout->addLayout(buttons);
    setDefaultButton(m_change);
    m_change->setEnabled(false);

    for (QLineEdit *e : {m_old, m_new, m_confirm})
        connect(e, &QLineEdit::textChanged, this, &ChangePasswordWindow::EditChange);
    connect(m_change, &QPushButton::clicked, this, &ChangePasswordWindow::Button1Click);
    m_old->setFocus();
}

ChangePasswordWindow::~ChangePasswordWindow() = default;

void ChangePasswordWindow::EditChange()
{
    const QString o = m_old->text().trimmed();
    const QString n = m_new->text().trimmed();
    const QString c = m_confirm->text().trimmed();
    m_change->setEnabled(AccessKit::acceptable(o) && AccessKit::acceptable(n)
                         && AccessKit::acceptable(c) && n == c && m_storedPassword == o);
}

void ChangePasswordWindow::Button1Click()
{
    if (!m_change->isEnabled())
        return;
    const QString n = m_new->text().trimmed();
    Kit::guarded(this, [&] {
        m_connection.open();
        m_connection.execute(passwordUpdateSql(n));
        Messages::information(this,
                              QStringLiteral("Η αλλαγή του κωδικού πρόσβασης έγινε με επιτυχία."));
        accept();
    });
}
