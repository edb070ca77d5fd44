#pragma once

#include "datawindow.h"

class Connection;
class QLineEdit;
class QPushButton;

// The password UPDATE of the first-password and change windows, with the value as an SQL
// literal (quotes doubled).
QString passwordUpdateSql(const QString &password);

// The warning at the top of each password window, and a password field that shows "*".
namespace AccessKit {
QLineEdit *passwordField(QWidget *parent, const QString &objectName);
// Trimmed, not empty and free of the characters that may not reach SQL text.
bool acceptable(const QString &trimmed);
// The warning of the login window (its second word is written with a Latin small o).
QString loginWarning();
// The login's check of a typed password against the one stored in SECURITY, read now on the
// open connection: both trimmed, compared exactly. A wrong password is told with the login's
// message, and the field is emptied and takes the focus. Throws DbError when it cannot be read.
bool checkTyped(QWidget *window, Connection &connection, QLineEdit *field);
} // namespace AccessKit

// The login window, shown at every start-up; the main window appears only after it has
// accepted the password. Its exit button ends the program.
class LoginWindow : public DataWindow {
    Q_OBJECT
public:
    explicit LoginWindow(QWidget *parent = nullptr);
    ~LoginWindow() override;

    QLineEdit *passwordEdit() const { return m_password; }
    QPushButton *loginButton() const { return m_login; }
    QPushButton *exitButton() const { return m_exit; }

    void Edit1Change();  // enable rule
    void Button1Click(); // login check
    void Button2Click(); // exit

private:
    QLineEdit *m_password;
    QPushButton *m_login;
    QPushButton *m_exit;
};
using TForm65 = LoginWindow;

// Asks for a first password while the stored one is still the factory default; it ends only
// by storing one, or when storing fails (a read-only or locked file): then the failure is shown
// and the program ends, since no login could follow.
class FirstPasswordWindow : public DataWindow {
    Q_OBJECT
public:
    explicit FirstPasswordWindow(QWidget *parent = nullptr);
    ~FirstPasswordWindow() override;

    QLineEdit *newEdit() const { return m_new; }
    QLineEdit *confirmEdit() const { return m_confirm; }
    QPushButton *storeButton() const { return m_store; }
    // True once the new password is stored; false when the window ended because it could not be.
    bool stored() const { return m_stored; }

    void EditChange();
    void Button1Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *m_new;
    QLineEdit *m_confirm;
    QPushButton *m_store;
    bool m_stored = false;
    bool m_failed = false;
};
using TForm100 = FirstPasswordWindow;

// Changes the password: the old one must match the one stored when the window was created.
class ChangePasswordWindow : public DataWindow {
    Q_OBJECT
public:
    explicit ChangePasswordWindow(QWidget *parent = nullptr);
    ~ChangePasswordWindow() override;

    QLineEdit *oldEdit() const { return m_old; }
    QLineEdit *newEdit() const { return m_new; }
    QLineEdit *confirmEdit() const { return m_confirm; }
    QPushButton *changeButton() const { return m_change; }
    QPushButton *exitButton() const { return m_exit; }

    void EditChange();
    void Button1Click();

private:
    QString m_storedPassword;
    QLineEdit *m_old;
    QLineEdit *m_new;
    QLineEdit *m_confirm;
    QPushButton *m_change;
    QPushButton *m_exit;
};
using TForm66 = ChangePasswordWindow;
