// What the lock's event filter costs every event of the program: mouse movements and key
// presses sent to a plain window that ignores them (so that the delivery itself is what is
// timed), with the lock's filter on the application and without it, in the same process; and
// how many allocations each event makes either way. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./lock_bench [events=200000]
#include "screenlock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <qtestspontaneevent.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <vector>

namespace {

std::atomic<long> g_allocations {0};

double cpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Run {
    double ms;
    long allocations;
};

// Half mouse movements, half key presses, each sent as the platform sends them.
Run deliver(QWidget *target, int events)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QSpontaneKeyEvent::setSpontaneous(&move);
    QSpontaneKeyEvent::setSpontaneous(&key);
    const long before = g_allocations.load();
    const double start = cpuMs();
    for (int i = 0; i < events; ++i) {
        if (i % 2)
            QApplication::sendEvent(target, &move);
        else
            QApplication::sendEvent(target, &key);
    }
    return {cpuMs() - start, g_allocations.load() - before};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

void *operator new(std::size_t n)
{
    ++g_allocations;
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int events = argc > 1 ? std::atoi(argv[1]) : 200000;
    QWidget field;
    field.setMouseTracking(true);
    field.show();
    QApplication::processEvents();

    std::vector<double> without, with;
    long allocWithout = 0, allocWith = 0;
    for (int round = 0; round < 8; ++round) {
        const Run a = deliver(&field, events);
        ScreenLock lock;
        lock.setIdleMinutes(10);
        const Run b = deliver(&field, events);
        if (round == 0)
            continue; // warms the caches
        without.push_back(a.ms);
        with.push_back(b.ms);
        allocWithout = a.allocations;
        allocWith = b.allocations;
    }
    const double w0 = median(without);
    const double w1 = median(with);
    std::printf("%d events (median of 7, thread CPU time)\n", events);
    std::printf("  without the lock's filter: %8.2f ms  %6.1f ns/event  %ld allocations\n", w0,
                w0 * 1e6 / events, allocWithout);
    std::printf("  with the lock's filter:    %8.2f ms  %6.1f ns/event  %ld allocations\n", w1,
                w1 * 1e6 / events, allocWith);
    std::printf("  ratio with/without: %.3f\n", w1 / w0);
    return 0;
}
