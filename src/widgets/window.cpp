#include "window.h"

#include "appinfo.h"
#include "dberror.h"
#include "dbtexts.h"
#include "messageservice.h"
#include "recordset.h"
#include "widgettexts.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

Window::Window(QWidget *parent)
    : QDialog(parent)
{
    setModal(true);
    Kit::paintSkyBlue(this);
}

void Window::setUpWindow(const QString &caption, int clientWidth, int clientHeight, Border border)
{
    m_border = border;
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint;
    if (border == Border::CloseBox)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
}

void Window::setCancelButton(QPushButton *button)
{
    m_cancel = button;
    button->setAutoDefault(false);
}

QPushButton *Window::addExitButton(const QString &objectName, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    setCancelButton(button);
    connect(button, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    return button;
}

void Window::setDefaultButton(QPushButton *button)
{
    button->setDefault(true);
    button->setAutoDefault(true);
}

int Window::showModal()
{
    return ModalRunner::exec(this);
}

void Window::keyPressEvent(QKeyEvent *event)
{
    // Esc presses the exit button; without one it closes a window that has a close box.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (m_cancel) {
            if (m_cancel->isEnabled())
                m_cancel->click();
        } else if (m_border == Border::CloseBox) {
            QDialog::reject();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void Window::reject()
{
    // A window without border icons and without an exit button cannot be dismissed.
    if (m_border == Border::NoIcons && !m_cancel)
        return;
    QDialog::reject();
}

void Window::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Kit::guardWheel(this);
    if (!m_centred && !event->spontaneous()) {
        Kit::centre(this);
        m_centred = true;
    }
}

namespace ModalRunner {

namespace {
Runner &runner()
{
    static Runner r;
    return r;
}
} // namespace

int exec(QDialog *dialog)
{
    if (runner())
        return runner()(dialog);
    return dialog->exec();
}

void install(Runner r)
{
    runner() = std::move(r);
}

} // namespace ModalRunner

namespace Kit {

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(role, colour);
    widget->setPalette(pal);
}

void paintSkyBlue(QWidget *widget)
{
    setColour(widget, QPalette::Window, AppInfo::skyBlue());
    widget->setAutoFillBackground(true);
}

QLabel *requiredStar(QWidget *parent)
{
    auto *star = new QLabel(QStringLiteral("*"), parent);
    setColour(star, QPalette::WindowText, Qt::red);
    QFont f = star->font();
    f.setBold(true);
    star->setFont(f);
    return star;
}

QLabel *countLabel(QWidget *parent, const QString &objectName)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    setColour(label, QPalette::WindowText, Qt::red);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QString countText(int n, const QString &noun)
{
    return QStringLiteral("Βρέθηκαν ") + QString::number(n) + noun;
}

QLabel *boldLabel(const QString &text, QWidget *parent, bool red)
{
    auto *label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    if (red) {
        setColour(label, QPalette::WindowText, Qt::red);
    }
    return label;
}

QLabel *labelFor(const QString &text, QWidget *field)
{
    QLabel *label = boldLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

void nameCalendarArrows(QCalendarWidget *calendar)
{
    const std::pair<const char *, QString> arrows[] = {
        {"qt_calendar_prevmonth", QStringLiteral("Προηγούμενος μήνας")},
        {"qt_calendar_nextmonth", QStringLiteral("Επόμενος μήνας")},
    };
    for (const auto &[objectName, name] : arrows) {
        if (auto *button = calendar->findChild<QToolButton *>(QLatin1String(objectName)))
            button->setAccessibleName(name);
    }
}

void centre(QWidget *widget)
{
    QScreen *screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = widget->frameGeometry().size();
    widget->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

namespace {

// Swallows a wheel turned over a drop-down that does not have the focus.
class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Wheel) {
            auto *box = qobject_cast<QComboBox *>(watched);
            if (box && !box->hasFocus()) {
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

} // namespace

void guardWheel(QWidget *root)
{
    static WheelGuard *guard = new WheelGuard(qApp);
    for (QComboBox *box : root->findChildren<QComboBox *>()) {
        if (box->focusPolicy() == Qt::WheelFocus)
            box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(guard); // installing it again keeps one filter
    }
}

bool guarded(QWidget *parent, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const DbError &e) {
        // The layer says what happened; the window adds what the person can do about it. A
        // registration whose outcome is unknown says it itself (the next save looks it up).
        QString text = e.message();
        if (e.kind() == DbError::Kind::NotWritten
            || (e.kind() == DbError::Kind::OutcomeUnknown
                && !text.startsWith(DbTexts::kRegistrationUnknown)))
            text += QLatin1Char('\n') + WidgetTexts::kTypedStays;
        Messages::error(parent, text);
    }
    return false;
}

void settleBeforeClosing(QWidget *parent, RecordSet &records)
{
    if (!records.hasUnsettledInsert())
        return;
    try {
        records.settle();
    } catch (const DbError &) {
        // Found written, and only its re-read failed: the window closes all the same.
    }
    if (records.hasUnsettledInsert())
        Messages::information(parent, WidgetTexts::kClosedUnknown);
}

} // namespace Kit
