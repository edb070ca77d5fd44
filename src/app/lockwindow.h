#pragma once

#include "datawindow.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The window that stands over the locked program and asks for the practice's password, the
// one the login checks, with the login's message when it is wrong. It has no exit and no close
// box: the only way on is the password. It is shown without a loop of its own (the windows
// under it keep theirs), modal to the whole program and on top of it.
class LockWindow : public DataWindow {
    Q_OBJECT
public:
    explicit LockWindow(QWidget *parent = nullptr);
    ~LockWindow() override;

    QLineEdit *passwordEdit() const { return m_password; }
    QPushButton *unlockButton() const { return m_unlock; }
    QLabel *messageLabel() const { return m_message; }

    // Runs when the right password was typed.
    void setOnUnlock(std::function<void()> onUnlock) { m_onUnlock = std::move(onUnlock); }

    void EditChange();   // enable rule, as the login's
    void UnlockClick();  // the login's check

    // Lets the window go (after the right password).
    void release();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_message;
    QLineEdit *m_password;
    QPushButton *m_unlock;
    std::function<void()> m_onUnlock;
    bool m_released = false;
};
