#include "lockwindow.h"

#include "accesswindows.h"
#include "locktexts.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

LockWindow::LockWindow(QWidget *parent)
    : DataWindow(parent)
{
    setObjectName(QStringLiteral("lockWindow"));
    setUpWindow(LockTexts::kLockCaption, 420, 210, Border::NoIcons);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    setAccessibleName(LockTexts::kLockCaption);
    setAccessibleDescription(LockTexts::kLockMessage);

    auto *layout = new QVBoxLayout(this);
    m_message = new QLabel(LockTexts::kLockMessage, this);
    m_message->setObjectName(QStringLiteral("lockMessage"));
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    layout->addWidget(Kit::boldLabel(AccessKit::loginWarning(), this, true), 0, Qt::AlignHCenter);
    auto *grid = new QGridLayout;
    m_password = AccessKit::passwordField(this, QStringLiteral("passwordEdit"));
    m_password->setAccessibleDescription(LockTexts::kLockMessage);
    QLabel *label = Kit::boldLabel(QStringLiteral("Κωδικός πρόσβασης:"), this);
    label->setBuddy(m_password);
    grid->addWidget(label, 0, 0, Qt::AlignRight);
    grid->addWidget(m_password, 0, 1);
    grid->addWidget(Kit::requiredStar(this), 0, 2);
    layout->addLayout(grid);
    m_unlock = new QPushButton(LockTexts::kUnlockButton, this);
    m_unlock->setObjectName(QStringLiteral("unlockButton"));
    layout->addWidget(m_unlock, 0, Qt::AlignRight);
    setDefaultButton(m_unlock);
    m_unlock->setEnabled(false);

    connect(m_password, &QLineEdit::textChanged, this, &LockWindow::EditChange);
    connect(m_unlock, &QPushButton::clicked, this, &LockWindow::UnlockClick);
    m_password->setFocus();
}

LockWindow::~LockWindow() = default;

void LockWindow::EditChange()
{
    m_unlock->setEnabled(AccessKit::acceptable(m_password->text().trimmed()));
}

void LockWindow::UnlockClick()
{
    if (!m_unlock->isEnabled())
        return;
    bool right = false;
    // A practice that cannot be read (a server out of reach) keeps the program locked; the
    // failure is shown and the person may try again.
    Kit::guarded(this, [&] {
        openConnection();
        right = AccessKit::checkTyped(this, m_connection, m_password);
    });
    closeData();
    if (right && m_onUnlock)
        m_onUnlock();
}

void LockWindow::release()
{
    m_released = true;
    m_password->clear();
    hide();
}

void LockWindow::closeEvent(QCloseEvent *event)
{
    // Neither the window manager nor Alt+F4 takes the lock away.
    if (!m_released) {
        event->ignore();
        return;
    }
    DataWindow::closeEvent(event);
}

void LockWindow::showEvent(QShowEvent *event)
{
    DataWindow::showEvent(event);
    m_password->setFocus();
    // A screen reader says the window and what it asks for at once, not only on the next key.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    QAccessibleEvent focus(m_password, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}
