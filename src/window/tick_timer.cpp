#include "tick_timer.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace wattmeter {

qint64 TickTimer::steadyClock()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TickTimer::TickTimer(Clock clock, QObject* parent) : QObject{parent}, clock_{std::move(clock)}
{
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
    connect(&wakeUp_, &QTimer::timeout, this, &TickTimer::deliverDueTicks);
}

void TickTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled) {
        ++runs_;
        enabledAt_ = clock_();
        delivered_ = 0;
        waitForNextTick();
    } else {
        wakeUp_.stop();
    }
}

void TickTimer::deliverDueTicks()
{
    if (!enabled_)
        return;
    const qint64 due = elapsed() / intervalMs;
    if ((due - delivered_) * intervalMs > maxBacklogMs)
        delivered_ = due;
    const qint64 run = runs_;
    // A tick's receiver may disable the timer, and may enable it again (in a
    // nested event loop, such as a message box's): the ticks still due then
    // lapse, and a timer enabled again counts from its own start.
    while (enabled_ && runs_ == run && delivered_ < due) {
        ++delivered_;
        emit tick();
    }
    if (enabled_)
        waitForNextTick();
}

void TickTimer::waitForNextTick()
{
    const qint64 untilDue = (delivered_ + 1) * intervalMs - elapsed();
    wakeUp_.start(static_cast<int>(std::max<qint64>(untilDue, 0)));
}

} // namespace wattmeter
