#pragma once

#include "accesswindows.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

// The start-up dialogue answered as a person would, without showing its windows: the first
// password "abc", then the login with it. For a ModalDriver of the programs that show windows.
inline int answerStartup(QDialog *dialog)
{
    if (auto *first = qobject_cast<FirstPasswordWindow *>(dialog)) {
        first->newEdit()->setText(QStringLiteral("abc"));
        first->confirmEdit()->setText(QStringLiteral("abc"));
        first->storeButton()->click();
    } else if (auto *login = qobject_cast<LoginWindow *>(dialog)) {
        login->passwordEdit()->setText(QStringLiteral("abc"));
        login->loginButton()->click();
    }
    return dialog->result();
}
