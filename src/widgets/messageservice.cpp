#include "messageservice.h"

#include "appinfo.h"

#include <QMessageBox>

namespace {

// Paragraphs separated by carriage returns alone show as separate lines.
QString shown(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

class BoxMessageService : public MessageService {
public:
    void information(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, AppInfo::title(), shown(text), QMessageBox::Ok,
                        parent);
        box.exec();
    }
    bool askYesNo(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, AppInfo::title(), shown(text),
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    bool askOkCancel(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, AppInfo::title(), shown(text),
                        QMessageBox::Ok | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    }
    void error(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Critical, AppInfo::title(), shown(text), QMessageBox::Ok,
                        parent);
        box.exec();
    }
};

BoxMessageService g_boxes;
MessageService *g_service = &g_boxes;

} // namespace

MessageService &MessageService::instance()
{
    return *g_service;
}

void MessageService::install(MessageService *service)
{
    g_service = service ? service : &g_boxes;
}
