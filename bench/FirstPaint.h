#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// Watches a window until its first frame is painted and handed to the window system, then
// prints one line, "<microseconds since the epoch> <CPU microseconds> <peak memory in KiB>",
// and ends the event loop, so that the program shuts down as it always does. Given the argument
// "--end-at-first-paint" it ends the process there instead, for a profiler that counts to the
// end of the process.
class FirstPaint : public QObject
{
public:
    FirstPaint()
        : m_endAtOnce(
            QCoreApplication::arguments().contains(QStringLiteral("--end-at-first-paint")))
    { }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // The window's own paint event comes first, its children's and the flush to the
        // screen after it in the same pass; a queued call runs once that pass is over.
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QMetaObject::invokeMethod(this, &FirstPaint::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report() const
    {
        using namespace std::chrono;
        const auto now = duration_cast<microseconds>(system_clock::now().time_since_epoch());
        long long cpu = -1;
        long long peak = -1;
#ifdef Q_OS_UNIX
        rusage usage {};
        if (getrusage(RUSAGE_SELF, &usage) == 0) {
            auto us = [](const timeval &t) { return t.tv_sec * 1000000LL + t.tv_usec; };
            cpu = us(usage.ru_utime) + us(usage.ru_stime);
#ifdef Q_OS_MACOS
            peak = usage.ru_maxrss / 1024; // bytes there, KiB elsewhere
#else
            peak = usage.ru_maxrss;
#endif
        }
#endif
        std::printf("%lld %lld %lld\n", static_cast<long long>(now.count()), cpu, peak);
        std::fflush(stdout);
        if (m_endAtOnce)
            std::_Exit(0);
        QCoreApplication::exit(0);
    }

    const bool m_endAtOnce;
    bool m_painted = false;
};
