#include "metering/energy_tick.h"
#include "panel/form1.h"
#include "panel/tick_timer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

using namespace wattmeter;

namespace {

// Answers every message box the window shows, noting its title and text, as a
// user pressing OK would.
class MessageBoxAnswerer : public QObject {
public:
    MessageBoxAnswerer()
    {
        connect(&poll_, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                titles << box->windowTitle();
                texts << box->text();
                box->accept();
            }
        });
        poll_.start(10);
    }
    QStringList titles;
    QStringList texts;

private:
    QTimer poll_;
};

const QRegularExpression stamp{R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$)"};

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    Form1* form = nullptr;

    template <typename T> T* child(const char* name) const
    {
        auto* widget = form->findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString fieldText(const char* name) const { return child<QLineEdit>(name)->text(); }
    void click(const char* button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // Runs the meter in real time and returns the milliseconds it ran.
    qint64 runFor(int ms, int stallMs = 0)
    {
        QElapsedTimer clock;
        click("cmdStart");
        clock.start();
        QTest::qWait((ms - stallMs) / 2);
        QThread::msleep(static_cast<unsigned long>(stallMs));
        QTest::qWait((ms - stallMs) / 2);
        click("cmdStop");
        return clock.elapsed();
    }

private slots:
    void init()
    {
        form = new Form1;
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
    void cleanup() { delete form; }

    void startsStoppedShowingTheFieldNames()
    {
        for (const char* name : {"txtVolts", "txtAmps", "txtWatts", "txtWattHours", "txtKwh",
                                 "txtTimeStart", "txtTimeStop", "txtTimeElapsed"})
            QCOMPARE(fieldText(name), QString{name});
        QCOMPARE(child<QScrollBar>("VScroll1")->value(), 250);
        QCOMPARE(child<QScrollBar>("VScroll2")->value(), 4);
        QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>("cmdStart"));
        QCOMPARE(form->windowTitle(), QString{"Power Measurement Example"});
        QTest::qWait(250);
        QCOMPARE(fieldText("txtWattHours"), QString{"txtWattHours"});
    }

    void controlsSitWhereTheLayoutPutsThem()
    {
        QCOMPARE(form->size(), QSize(489, 674));
        QCOMPARE(child<QLabel>("Label14")->geometry(), QRect(16, 8, 457, 17));
        QCOMPARE(child<QLineEdit>("txtVolts")->geometry(), QRect(24, 144, 257, 33));
        QCOMPARE(child<QLineEdit>("txtTimeElapsed")->geometry(), QRect(24, 600, 377, 33));
        QCOMPARE(child<QGroupBox>("Frame2")->geometry(), QRect(296, 32, 177, 401));
        QCOMPARE(child<QPushButton>("cmdStart")->parentWidget()->objectName(), QString{"Frame1"});
        QCOMPARE(child<QPushButton>("cmdStart")->geometry(), QRect(16, 24, 65, 33));
        QCOMPARE(child<QScrollBar>("VScroll2")->geometry(), QRect(104, 64, 41, 305));
        QCOMPARE(child<QLabel>("Label10")->geometry(), QRect(112, 376, 25, 17));
        // A caption's bottom edge lies one pixel under its field, which is drawn over it.
        auto* caption = child<QLabel>("Label4");
        auto* field = child<QLineEdit>("txtWattHours");
        QCOMPARE(caption->geometry().bottom(), field->geometry().top());
        QVERIFY(form->children().indexOf(field) > form->children().indexOf(caption));
        QCOMPARE(field->accessibleName(), QString{"Watt Hours"});
        QCOMPARE(child<QLineEdit>("txtTimeElapsed")->accessibleName(),
                 QString{"Elapsed Time (Seconds)"});
    }

    void buttonsStartStopAndReset()
    {
        child<QScrollBar>("VScroll1")->setValue(220);
        click("cmdReset");
        QCOMPARE(fieldText("txtVolts"), QString{"00"});
        QCOMPARE(fieldText("txtWattHours"), QString{"0.000"});
        QCOMPARE(fieldText("txtTimeStart"), QString{});
        QCOMPARE(child<QScrollBar>("VScroll1")->value(), 250);

        click("cmdStart");
        QVERIFY(child<TickTimer>("Timer1")->isEnabled());
        QVERIFY(stamp.match(fieldText("txtTimeStart")).hasMatch());
        click("cmdStop");
        QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        QVERIFY(stamp.match(fieldText("txtTimeStop")).hasMatch());
        QVERIFY(QRegularExpression{"^[01] Seconds$"}.match(fieldText("txtTimeElapsed")).hasMatch());
    }

    void ticksTenTimesASecondEvenWhenTheLoopStalls()
    {
        QSignalSpy ticks{child<TickTimer>("Timer1"), &TickTimer::tick};
        click("cmdReset");
        const qint64 ran = runFor(2000, 1000);
        QVERIFY2(qAbs(ticks.count() - ran / 100) <= 1,
                 qPrintable(QString("%1 ticks in %2 ms").arg(ticks.count()).arg(ran)));
        const double total = fieldText("txtWattHours").split(' ').front().toDouble();
        QVERIFY(qAbs(total - ticks.count() * 0.028) < 0.001);
        const auto ticksWhenStopped = ticks.count();
        QTest::qWait(250);
        QCOMPARE(ticks.count(), ticksWhenStopped);
    }

    void closingStopsTheTicks()
    {
        QSignalSpy ticks{child<TickTimer>("Timer1"), &TickTimer::tick};
        click("cmdStart");
        form->close();
        QTest::qWait(300);
        QCOMPARE(ticks.count(), 0);
    }

    void typedTextIsWhatTheTickReads()
    {
        auto* total = child<QLineEdit>("txtWattHours");
        total->clear();
        QTest::keyClicks(total, "100");
        energyTick(*form);
        QCOMPARE(total->text(), QString{"100.028 WH"});

        // A readout the tick leaves unchanged keeps the user's selection.
        auto* volts = child<QLineEdit>("txtVolts");
        volts->selectAll();
        energyTick(*form);
        QCOMPARE(volts->selectedText(), QString{"250 Volts"});

        const QString longTotal = "7" + QString(70000, ' ');
        total->setText(longTotal);
        QCOMPARE(form->text(Field::txtWattHours), longTotal.toStdString());
    }

    void scrollBarsMoveByOneWithMouseAndKeyboard()
    {
        auto* volts = child<QScrollBar>("VScroll1");
        volts->setValue(230);
        QTest::mouseClick(volts, Qt::LeftButton, {}, QPoint(volts->width() / 2, 3));
        QCOMPARE(volts->value(), 231);
        QTest::mouseClick(volts, Qt::LeftButton, {},
                          QPoint(volts->width() / 2, volts->height() - 3));
        QCOMPARE(volts->value(), 230);
        QTest::mouseClick(volts, Qt::LeftButton, {},
                          QPoint(volts->width() / 2, volts->height() - 30));
        QCOMPARE(volts->value(), 229);

        volts->setFocus();
        QTest::keyClick(volts, Qt::Key_Up);
        QCOMPARE(volts->value(), 230);
        QTest::keyClick(volts, Qt::Key_Down);
        QTest::keyClick(volts, Qt::Key_PageDown);
        QCOMPARE(volts->value(), 228);
        QTest::keyClick(volts, Qt::Key_End);
        QCOMPARE(volts->value(), 210);
        QWheelEvent wheelUp{QPointF(20, 150),  volts->mapToGlobal(QPointF(20, 150)),
                            QPoint(),          QPoint(0, 120),
                            Qt::NoButton,      Qt::NoModifier,
                            Qt::NoScrollPhase, false};
        QApplication::sendEvent(volts, &wheelUp);
        QVERIFY(volts->value() > 210);

        auto* amps = child<QScrollBar>("VScroll2");
        amps->setFocus();
        QTest::keyClick(amps, Qt::Key_Home);
        QCOMPARE(amps->value(), 200);
        QCOMPARE(fieldText("txtAmps"), QString{"txtAmps"}); // shown only at the next tick
    }

    void tabVisitsTheControlsInOrder()
    {
        QStringList visited;
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"cmdStop", "txtVolts", "txtAmps", "txtWatts", "txtWattHours",
                                       "VScroll1", "VScroll2", "txtTimeStart", "txtTimeStop",
                                       "txtTimeElapsed", "cmdReset", "txtKwh", "cmdStart"}));
    }

    void stopBeforeStartIsReportedAndNothingIsLost()
    {
        child<QLineEdit>("txtWattHours")->setText("123.456 WH");
        MessageBoxAnswerer answerer;
        click("cmdStop");
        QCOMPARE(answerer.titles, QStringList{"Power Measurement Example"});
        QVERIFY(answerer.texts.front().startsWith("Type mismatch"));
        QVERIFY(answerer.texts.front().contains("txtTimeStart"));
        QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        QVERIFY(stamp.match(fieldText("txtTimeStop")).hasMatch());
        QCOMPARE(fieldText("txtTimeElapsed"), QString{"txtTimeElapsed"});
        QCOMPARE(fieldText("txtWattHours"), QString{"123.456 WH"});

        child<QLineEdit>("txtTimeStart")->setText(QString(5000, 'x'));
        click("cmdStop");
        QCOMPARE(answerer.texts.size(), 2);
        QVERIFY(answerer.texts.back().size() < 200);
    }

    void aFailingTickIsReportedOnceAndStopsTheMeter()
    {
        click("cmdReset");
        MessageBoxAnswerer answerer;
        child<QLineEdit>("txtWattHours")->setText("1e999");
        click("cmdStart");
        QTest::qWait(600);
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.front().startsWith("Overflow"));
        QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        QCOMPARE(fieldText("txtWattHours"), QString{"1e999"});
        QCOMPARE(fieldText("txtWatts"), QString{"1000 Watts"});

        child<QLineEdit>("txtWattHours")->setText("5");
        click("cmdStart");
        QTRY_VERIFY(fieldText("txtWattHours") != "5");
        QVERIFY(fieldText("txtWattHours").startsWith("5.0"));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
