#include "screenlock.h"

#include "appinfo.h"
#include "locktexts.h"
#include "lockwindow.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <chrono>

namespace {

// What covers a window of the program while it is locked: a child on top of all the others,
// painted whole, so that neither the screen nor a picture of the window shows what is under it.
class LockCover : public QWidget {
public:
    explicit LockCover(QWidget *window)
        : QWidget(window)
    {
        setObjectName(QStringLiteral("lockCover"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(LockTexts::kCoverText);
        // The program's font, not the window's: every cover of a size looks the same.
        QFont f = QApplication::font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.5);
        setFont(f);
        setGeometry(window->rect());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), AppInfo::skyBlue());
        p.setPen(Qt::darkGray);
        p.drawText(rect(), Qt::AlignCenter, LockTexts::kCoverText);
    }
};

qint64 steadyNow()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

ScreenLock::ScreenLock(QObject *parent)
    : QObject(parent)
    , m_clock(steadyNow)
{
    m_timer.setInterval(kCheckIntervalMs);
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ScreenLock::check);
    m_idle.restart(m_clock());
    qApp->installEventFilter(this);
}

ScreenLock::~ScreenLock()
{
    qApp->removeEventFilter(this);
    for (const QPointer<QWidget> &c : std::as_const(m_covers))
        delete c.data();
    delete m_window.data();
}

void ScreenLock::setIdleMinutes(int minutes)
{
    m_idleMinutes = std::max(0, minutes);
    m_idle.setTimeout(qint64(m_idleMinutes) * 60 * 1000);
    m_idle.restart(m_clock());
    if (m_idleMinutes > 0)
        m_timer.start();
    else
        m_timer.stop();
}

void ScreenLock::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(steadyNow);
    m_idle.restart(m_clock());
}

void ScreenLock::setLockAction(QAction *action)
{
    m_action = action;
    // The main window's shortcuts stop at a modal window; this one is given to every window
    // as it is shown (see eventFilter), so that it locks from any of them.
    action->setShortcutContext(Qt::ApplicationShortcut);
}

LockWindow *ScreenLock::lockWindow() const
{
    return m_locked ? m_window.data() : nullptr;
}

void ScreenLock::check()
{
    if (!m_locked && m_idle.due(m_clock()))
        lockNow();
}

void ScreenLock::lockNow()
{
    if (m_locked)
        return;
    m_locked = true;
    m_activeBefore = QApplication::activeWindow();
    m_focusBefore = QApplication::focusWidget();
    // An open drop-down list or menu is closed: it would show above the covers. Its choice
    // stays as it was.
    for (int i = 0; i < 8 && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            cover(w);
    }
    m_window = new LockWindow;
    m_window->setOnUnlock([this] { unlock(); });
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit locked();
}

void ScreenLock::unlock()
{
    if (!m_locked)
        return;
    m_locked = false;
    for (const QPointer<QWidget> &c : std::as_const(m_covers))
        delete c.data();
    m_covers.clear();
    if (m_window) {
        m_window->release();
        m_window->deleteLater();
    }
    m_window = nullptr;
    if (m_activeBefore)
        m_activeBefore->activateWindow();
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::ActiveWindowFocusReason);
    m_idle.restart(m_clock());
    emit unlocked();
}

bool ScreenLock::belongsToLock(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == m_window || w->objectName() == QLatin1String("lockCover"))
            return true;
    }
    return false;
}

void ScreenLock::cover(QWidget *window)
{
    if (belongsToLock(window) || window->windowType() == Qt::ToolTip)
        return;
    for (const QPointer<QWidget> &c : std::as_const(m_covers)) {
        if (c && c->parentWidget() == window) {
            c->raise();
            return;
        }
    }
    auto *c = new LockCover(window);
    c->show();
    c->raise();
    m_covers << c;
}

void ScreenLock::bringLockForward()
{
    // A modal window that opened by itself while locked would take the input from the lock
    // window: the lock window is shown again, to be the newest modal window.
    QTimer::singleShot(0, this, [this] {
        if (!m_locked || !m_window)
            return;
        m_window->hide();
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    });
}

void ScreenLock::windowShown(QWidget *window)
{
    const Qt::WindowType type = window->windowType();
    // Menus and drop-down lists are left alone: they would list the entry.
    if (m_action && (type == Qt::Window || type == Qt::Dialog)
        && !window->actions().contains(m_action))
        window->addAction(m_action);
    if (!m_locked || belongsToLock(window))
        return;
    if (type == Qt::Popup) {
        QTimer::singleShot(0, window, &QWidget::close);
        return;
    }
    cover(window);
    if (window->windowModality() != Qt::NonModal)
        bringLockForward();
}

bool ScreenLock::eventFilter(QObject *watched, QEvent *event)
{
    // Called for every event of the program: no allocation, no look-up on the common path.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
        // Only what comes from the person: an event the program sends itself is no presence.
        if (event->spontaneous())
            m_idle.noteInput();
        break;
    case QEvent::Show:
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            windowShown(static_cast<QWidget *>(watched));
        break;
    case QEvent::Resize:
    case QEvent::ChildAdded:
        // A covered window that changes size, or gets a new part (which would lie on top),
        // keeps its cover whole and on top.
        if (m_locked && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()) {
            for (const QPointer<QWidget> &c : std::as_const(m_covers)) {
                if (c && c->parentWidget() == watched) {
                    c->setGeometry(static_cast<QWidget *>(watched)->rect());
                    c->raise();
                }
            }
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
