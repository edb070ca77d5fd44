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
    // A confirmation box with OK and Cancel; true for OK. Esc answers Cancel.
    virtual bool askOkCancel(QWidget *parent, const QString &text) = 0;
    // The error dialog: the layer's own message, with an error sign.
    virtual void error(QWidget *parent, const QString &text) = 0;

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
inline bool askOkCancel(QWidget *p, const QString &t)
{
    return MessageService::instance().askOkCancel(p, t);
}
inline void error(QWidget *p, const QString &t)
{
    MessageService::instance().error(p, t);
}
} // namespace Messages
