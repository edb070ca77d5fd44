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
        return question(parent, text, QMessageBox::Yes);
    }
    bool askYesNoDefaultNo(QWidget *parent, const QString &text) override
    {
        return question(parent, text, QMessageBox::No);
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
    void errorWithDetails(QWidget *parent, const QString &text, const QString &details) override
    {
        QMessageBox box(QMessageBox::Critical, AppInfo::title(), shown(text), QMessageBox::Ok,
                        parent);
        if (!details.isEmpty())
            box.setDetailedText(shown(details));
        box.exec();
    }

private:
    static bool question(QWidget *parent, const QString &text,
                         QMessageBox::StandardButton byDefault);
};

bool BoxMessageService::question(QWidget *parent, const QString &text,
                                 QMessageBox::StandardButton byDefault)
{
    QMessageBox box(QMessageBox::Question, AppInfo::title(), shown(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(byDefault);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

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
