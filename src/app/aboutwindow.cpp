#include "aboutwindow.h"

#include "appinfo.h"
#include "launcher.h"
#include "pictures.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A label that opens an address when clicked with the left button; a right click on it opens
// nothing (not even the window's own right-click page).
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString &text, QString address, QWidget *parent)
        : QLabel(text, parent)
        , m_address(std::move(address))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            Launcher::openAddress(m_address);
    }
    void contextMenuEvent(QContextMenuEvent *event) override { event->accept(); }

private:
    QString m_address;
};

QLabel *link(const QString &caption, const QString &shown, const QString &address, QWidget *parent,
             const QString &objectName)
{
    auto *label = new LinkLabel(caption
                                    + QStringLiteral(
                                        "<span style=\"color:#0000ff; text-decoration:underline\">")
                                    + shown.toHtmlEscaped() + QStringLiteral("</span>"),
                                address, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::RichText);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : Window(parent)
{
    setUpWindow(QStringLiteral("About Orvanta"), 620, 420);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);

    auto *banner = new QLabel(this);
    banner->setPixmap(Pictures::banner(QSize(620, 48)));
    layout->addWidget(banner);

    auto *body = new QGridLayout;
    body->setContentsMargins(12, 6, 12, 0);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("aboutPicture"));
    picture->setFixedSize(264, 246);
    picture->setScaledContents(true);
    picture->setPixmap(Pictures::splash(QSize(528, 492)));
    body->addWidget(picture, 0, 0, 9, 1, Qt::AlignTop);

    auto *name = new QLabel(QStringLiteral("Orvanta"), this);
    QFont big = name->font();
    big.setPointSize(24);
    big.setBold(true);
    name->setFont(big);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(name);
    nameRow->addWidget(new QLabel(AppInfo::versionText(), this), 0, Qt::AlignBottom);
    nameRow->addStretch();
    body->addLayout(nameRow, 0, 1);
    body->addWidget(new QLabel(QStringLiteral("Κατασκευή: ") + AppInfo::maker(), this), 1, 1);
    body->addWidget(link(QStringLiteral("Website: "), AppInfo::makerWebsite(),
                         AppInfo::makerWebsite(), this, QStringLiteral("websiteLink")),
                    2, 1);
    body->addWidget(link(QStringLiteral("E-mail: "), AppInfo::makerEmail(),
                         QStringLiteral("mailto:") + AppInfo::makerEmail(), this,
                         QStringLiteral("emailLink")),
                    3, 1);
    body->addWidget(new QLabel(QStringLiteral("Λεωφόρος Παραδείγματος 1, 100 00 Αθήνα"), this), 4,
                    1);
    body->addWidget(new QLabel(QStringLiteral("Τηλ.: 210 000 0000  Fax: 210 000 0001"), this), 5,
                    1);
    auto *rights = new QLabel(AppInfo::rightsNotice(), this);
    rights->setWordWrap(true);
    body->addWidget(rights, 6, 1);
    auto *badge
        = new LinkLabel(QString(), AppInfo::makerWebsite() + QStringLiteral("/orvanta"), this);
    badge->setObjectName(QStringLiteral("badge"));
    badge->setPixmap(Pictures::badge());
    body->addWidget(badge, 7, 1, Qt::AlignLeft);
    body->setRowStretch(8, 1);
    layout->addLayout(body, 1);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addSpacing(12);
    layout->addLayout(buttons);
    setDefaultButton(m_ok);
    setCancelButton(m_ok);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutWindow::contextMenuEvent(QContextMenuEvent *event)
{
    Launcher::openAddress(AppInfo::makerWebsite());
    event->accept();
}
