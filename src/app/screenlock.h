#pragma once

#include "idletimer.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class LockWindow;
class QAction;
class QWidget;

// Locks the program when the person has left it: after the idle time without a key press,
// a mouse movement or a touch, or at once from the menu entry or its shortcut, every window of
// the program is covered (on the screen and in any picture taken of it) and the lock window asks
// for the practice's password. Nothing under the covers changes: what was typed stays, nothing
// is saved or closed, and the modal windows that were open go on working after unlocking.
//
// Input is seen by one event filter on the application, which only raises a flag; a timer
// checks the flag once a second against a steady clock, which tests replace.
class ScreenLock : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<qint64()>; // milliseconds of a steady clock
    static constexpr int kCheckIntervalMs = 1000;

    explicit ScreenLock(QObject *parent = nullptr);
    ~ScreenLock() override;

    // Minutes without input before the program locks itself; 0: never by itself.
    void setIdleMinutes(int minutes);
    int idleMinutes() const { return m_idleMinutes; }
    // The idle time is measured from the clock's present.
    void setClock(Clock clock);

    // The entry that locks at once; its shortcut works from every window of the program.
    void setLockAction(QAction *action);

    bool isLocked() const { return m_locked; }
    // The lock window while locked, else nullptr.
    LockWindow *lockWindow() const;
    QTimer *checkTimer() { return &m_timer; }

    void lockNow();
    // The timer's check.
    void check();

signals:
    void locked();
    void unlocked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void unlock();
    void windowShown(QWidget *window);
    void cover(QWidget *window);
    bool belongsToLock(const QWidget *widget) const;
    void bringLockForward();

    IdleTimer m_idle;
    Clock m_clock;
    QTimer m_timer;
    int m_idleMinutes = 0;
    bool m_locked = false;
    QPointer<QAction> m_action;
    QPointer<LockWindow> m_window;
    QList<QPointer<QWidget>> m_covers;
    QPointer<QWidget> m_activeBefore;
    QPointer<QWidget> m_focusBefore;
};
