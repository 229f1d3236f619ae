#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace wattmeter {

// The meter's 100 ms timer. Ticks are counted from a monotonic clock: ticks
// that fall due while the thread is busy are delivered together on its return,
// one signal each, so a meter left running N seconds has ticked 10 N times.
// A gap longer than maxBacklogMs is no busy thread but a machine that slept
// (Linux's monotonic clock stops then, Windows' may not): its ticks lapse, so
// that a sleep adds no energy on either system and never floods the window.
class TickTimer : public QObject {
    Q_OBJECT

public:
    // Milliseconds from any fixed point; never goes back.
    using Clock = std::function<qint64()>;
    static qint64 steadyClock();

    static constexpr qint64 intervalMs = 100;
    static constexpr qint64 maxBacklogMs = 2000;

    explicit TickTimer(Clock clock, QObject* parent = nullptr);

    bool isEnabled() const { return enabled_; }
    // Enabling a running timer keeps its rhythm; enabling a stopped one
    // starts a new rhythm from now.
    void setEnabled(bool enabled);

    // Delivers every tick due by the clock; called when the next one falls
    // due, and by whoever moves the clock on.
    void deliverDueTicks();

signals:
    void tick();

private:
    qint64 elapsed() const { return clock_() - enabledAt_; }
    void waitForNextTick();

    Clock clock_;
    QTimer wakeUp_;
    qint64 enabledAt_ = 0;
    qint64 delivered_ = 0;
    qint64 runs_ = 0; // times enabled, so that a tick can tell it was restarted
    bool enabled_ = false;
};

} // namespace wattmeter
