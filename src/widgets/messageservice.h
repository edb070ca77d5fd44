#pragma once

#include <QString>

class QWidget;

// The one way windows talk to the person in boxes: plain messages (OK), questions (Yes/No,
// OK/Cancel) and the error dialog that shows a failure of the database layer or the report
// engine. Tests install their own service, which records what was said and answers for the
// person.
class MessageService {
public:
    virtual ~MessageService() = default;

    // A plain message box with the application title as caption and the button OK.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // A confirmation box with Yes and No; true for Yes. Esc answers No.
    virtual bool askYesNo(QWidget *parent, const QString &text) = 0;
    // A Yes/No question about a step that cannot be taken back (a restore): No is the default
    // button, so Enter does not take the step. A service that does not tell the two kinds
    // apart asks it as any Yes/No question.
    virtual bool askYesNoDefaultNo(QWidget *parent, const QString &text)
    {
        return askYesNo(parent, text);
    }
    // A confirmation box with OK and Cancel; true for OK. Esc answers Cancel.
    virtual bool askOkCancel(QWidget *parent, const QString &text) = 0;
    // The error dialog: the layer's own message, with an error sign.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // The error dialog whose Greek text says what happened and what to do, with the words of
    // the system, the engine or the network that caused it kept apart ("Εμφάνιση
    // λεπτομερειών"). A service that does not show details gets them on the text's last line.
    virtual void errorWithDetails(QWidget *parent, const QString &text, const QString &details)
    {
        error(parent, details.isEmpty() ? text : text + QLatin1Char('\r') + details);
    }

    static MessageService &instance();
    // Replaces the service (nullptr restores the boxes); the caller keeps ownership.
    static void install(MessageService *service);
};

namespace Messages {
inline void information(QWidget *p, const QString &t)
{
    MessageService::instance().information(p, t);
}
inline bool askYesNo(QWidget *p, const QString &t)
{
    return MessageService::instance().askYesNo(p, t);
}
inline bool askYesNoDefaultNo(QWidget *p, const QString &t)
{
    return MessageService::instance().askYesNoDefaultNo(p, t);
}
inline bool askOkCancel(QWidget *p, const QString &t)
{
    return MessageService::instance().askOkCancel(p, t);
}
inline void error(QWidget *p, const QString &t)
{
    MessageService::instance().error(p, t);
}
inline void errorWithDetails(QWidget *p, const QString &t, const QString &details)
{
    MessageService::instance().errorWithDetails(p, t, details);
}
} // namespace Messages
