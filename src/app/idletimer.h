#pragma once

#include <QtGlobal>

// When the person has been away long enough: input only raises a flag (the cheapest thing an
// event filter can do for every key and mouse event), and the periodic check folds the flag
// into the time of the last input. The times are milliseconds of a steady clock the caller
// reads, so that tests give their own.
class IdleTimer {
public:
    // 0: never due.
    void setTimeout(qint64 ms) { m_timeout = ms; }
    qint64 timeout() const { return m_timeout; }

    // The idle time starts again now (at start, after unlocking, after a new timeout).
    void restart(qint64 now)
    {
        m_last = now;
        m_input = false;
    }
    void noteInput() { m_input = true; }

    // At a check: input since the last check restarts the idle time; true once the idle time
    // has reached the timeout.
    bool due(qint64 now)
    {
        if (m_input)
            restart(now);
        return m_timeout > 0 && now - m_last >= m_timeout;
    }

private:
    qint64 m_timeout = 0;
    qint64 m_last = 0;
    bool m_input = false;
};
