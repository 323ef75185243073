#pragma once

// What every benchmark here does alike: timing, the median of runs, one figure a line,
// the record count from the command line and a quiet offscreen platform.

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

inline double seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

// One figure a line, `name: value unit`: seconds with three decimals, ratios ("x") with
// two, other figures with one.
inline void print(const char *name, double value, const char *unit)
{
    const std::string_view u(unit);
    const int decimals = u == "s" ? 3 : u == "x" ? 2 : 1;
    std::printf("%s: %.*f %s\n", name, decimals, value, unit);
    std::fflush(stdout);
}

// The longest the event loop waited between start() and stop(): a timer asks every
// millisecond, and the wait that ends at stop() counts too.
class EventLoopProbe
{
public:
    EventLoopProbe()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { turn(); });
    }
    void start()
    {
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop()
    {
        turn();
        m_timer.stop();
    }
    qint64 worstMs() const { return m_worst; }

private:
    void turn()
    {
        const qint64 now = m_clock.elapsed();
        m_worst = std::max(m_worst, now - m_last);
        m_last = now;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = 0;
};

// `--records N` from the command line, else `fallback`.
inline int recordsArgument(const QStringList &args, int fallback)
{
    if (const qsizetype i = args.indexOf(QStringLiteral("--records")); i >= 0 && i + 1 < args.size())
        return args[i + 1].toInt();
    return fallback;
}

// The offscreen platform says on every drop-down that it cannot grab the keyboard.
inline void quietPlatform(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
