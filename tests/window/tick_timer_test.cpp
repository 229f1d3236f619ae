#include "tick_timer.h"

#include <QSignalSpy>
#include <QTest>

using namespace wattmeter;

// The timer on a clock the test moves: no window, no waiting.
class TickTimerTest : public QObject {
    Q_OBJECT

private slots:
    void deliversEveryTickDueUpToABound_data()
    {
        QTest::addColumn<int>("busyMs");
        QTest::addColumn<int>("delivered");
        QTest::newRow("on time") << 100 << 1;
        QTest::newRow("a busy second") << 1000 << 10;
        QTest::newRow("busy for the bound") << int(TickTimer::maxBacklogMs) << 20;
        QTest::newRow("busy past it, as in a sleep") << int(TickTimer::maxBacklogMs) + 100 << 0;
    }

    void deliversEveryTickDueUpToABound()
    {
        QFETCH(int, busyMs);
        QFETCH(int, delivered);
        qint64 now = 5000;
        TickTimer timer{[&now] { return now; }};
        QSignalSpy ticks{&timer, &TickTimer::tick};
        timer.setEnabled(true);
        now += busyMs;
        timer.deliverDueTicks();
        QCOMPARE(ticks.count(), delivered);
        const int onRhythm = delivered + (busyMs % 100 == 0 ? 0 : 1);
        for (const int wait : {99, 1000}) { // on in the old rhythm, then none once stopped
            now += wait;
            timer.deliverDueTicks();
            QCOMPARE(ticks.count(), onRhythm);
            timer.setEnabled(false);
        }
    }

    // As in a message box's event loop: the ticks due before lapse, and the
    // timer counts from its new start.
    void restartedInsideATickCountsAfresh()
    {
        qint64 now = 0;
        TickTimer timer{[&now] { return now; }};
        int ticks = 0;
        connect(&timer, &TickTimer::tick, this, [&] {
            if (++ticks == 1) {
                timer.setEnabled(false);
                timer.setEnabled(true);
            }
        });
        timer.setEnabled(true);
        for (const auto& [wait, ticked] : {std::pair{1000, 1}, {99, 1}, {1, 2}}) {
            now += wait;
            timer.deliverDueTicks();
            QCOMPARE(ticks, ticked);
        }
    }
};

QTEST_GUILESS_MAIN(TickTimerTest)
#include "tick_timer_test.moc"
