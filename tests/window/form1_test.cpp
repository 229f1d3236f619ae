#include "core/energy_tick.h"
#include "scroll_bar_part.h"
#include "window/form1.h"
#include "window/form1_layout.h"
#include "window/meter_fonts.h"
#include "window/tick_timer.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <iterator>

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
                texts << box->text() + ' ' + box->informativeText();
                for (auto* label : box->findChildren<QLabel*>())
                    allPlain = allPlain &&
                               (label->text().isEmpty() || label->textFormat() == Qt::PlainText);
                box->accept();
            }
        });
        poll_.start(10);
    }
    QStringList titles;
    QStringList texts;
    bool allPlain = true;

private:
    QTimer poll_;
};

// One way of moving a scroll bar: toward +1 raises the value, -1 lowers it.
struct BarInput {
    enum Kind { Click, Hold, Key, Jump, Wheel };
    const char* name;
    Kind kind;
    int toward;
    QStyle::SubControl part = QStyle::SC_None;
    Qt::Key key = Qt::Key_unknown;
};

const BarInput barInputs[] = {
    {"upper arrow", BarInput::Click, +1, QStyle::SC_ScrollBarSubLine},
    {"track above the thumb", BarInput::Click, +1, QStyle::SC_ScrollBarSubPage},
    {"upper arrow held", BarInput::Hold, +1, QStyle::SC_ScrollBarSubLine},
    {"track above the thumb held", BarInput::Hold, +1, QStyle::SC_ScrollBarSubPage},
    {"Up", BarInput::Key, +1, QStyle::SC_None, Qt::Key_Up},
    {"Page Up", BarInput::Key, +1, QStyle::SC_None, Qt::Key_PageUp},
    {"wheel up", BarInput::Wheel, +1},
    {"Home", BarInput::Jump, +1, QStyle::SC_None, Qt::Key_Home},
    {"lower arrow", BarInput::Click, -1, QStyle::SC_ScrollBarAddLine},
    {"track below the thumb", BarInput::Click, -1, QStyle::SC_ScrollBarAddPage},
    {"lower arrow held", BarInput::Hold, -1, QStyle::SC_ScrollBarAddLine},
    {"track below the thumb held", BarInput::Hold, -1, QStyle::SC_ScrollBarAddPage},
    {"Down", BarInput::Key, -1, QStyle::SC_None, Qt::Key_Down},
    {"Page Down", BarInput::Key, -1, QStyle::SC_None, Qt::Key_PageDown},
    {"wheel down", BarInput::Wheel, -1},
    {"End", BarInput::Jump, -1, QStyle::SC_None, Qt::Key_End},
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
    // As the program does: the fonts in a folder beside the tests, where there is one.
    void initTestCase() { addShippedFonts(); }
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

    void controlsTakeTheirFrameFontAndPlaceInTheStack()
    {
        QCOMPARE(child<QPushButton>("cmdStart")->parentWidget()->objectName(), QString{"Frame1"});
        // Each named font, or where it is not installed its free stand-in,
        // never a fallback; a field marked bold drawn from a bold face, as
        // the face Qt resolved says of itself (QFontInfo repeats the request).
        const auto family = [this](const char* name) {
            return QFontInfo{child<QWidget>(name)->font()}.family();
        };
        for (const layout::Control& control : layout::controls) {
            if (control.kind != layout::Kind::TextField)
                continue;
            const QRawFont face = QRawFont::fromFont(child<QWidget>(control.name)->font());
            QVERIFY2(
                QStringList({"OCR A Extended", "OCRA", "OCRABold"}).contains(family(control.name)),
                qPrintable(family(control.name)));
            const QByteArray os2 = face.fontTable("OS/2");
            QVERIFY(os2.size() >= 6);
            const int weightClass = (uchar(os2[4]) << 8) | uchar(os2[5]);
            QVERIFY2(!control.font.bold || weightClass >= 600,
                     qPrintable(QString{"%1 drawn from %2 %3, weight %4"}
                                    .arg(control.name, face.familyName(), face.styleName())
                                    .arg(weightClass)));
        }
        QVERIFY2(QStringList({"Script MT Bold", "Kaushan Script"}).contains(family("Label14")),
                 qPrintable(family("Label14")));
        // A caption's bottom edge lies one pixel under its field, which is drawn over it.
        auto* caption = child<QLabel>("Label4");
        auto* field = child<QLineEdit>("txtWattHours");
        QCOMPARE(caption->geometry().bottom(), field->geometry().top());
        QVERIFY(form->children().indexOf(field) > form->children().indexOf(caption));
    }

    void aScreenReaderTellsEveryControlApart()
    {
        QStringList names;
        for (auto* widget : form->findChildren<QWidget*>())
            if (widget->focusPolicy() != Qt::NoFocus)
                names << QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        QCOMPARE(names.size(), 13);
        QVERIFY(!names.contains(QString{}));
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());

        const auto named = [](QWidget* widget, QAccessible::Text text) {
            return QAccessible::queryAccessibleInterface(widget)->text(text);
        };
        QCOMPARE(named(child<QLineEdit>("txtWattHours"), QAccessible::Name), QString{"Watt Hours"});
        QCOMPARE(named(child<QLineEdit>("txtTimeElapsed"), QAccessible::Name),
                 QString{"Elapsed Time (Seconds)"});
        QCOMPARE(named(child<QPushButton>("cmdReset"), QAccessible::Name), QString{"Reset"});

        const struct {
            const char* bar;
            const char* name;
            const char* description;
            int value, bottom, top;
        } bars[] = {{"VScroll1", "Voltage setting", "210 to 250 volts", 250, 210, 250},
                    {"VScroll2", "Current setting", "0 to 200 amps", 4, 0, 200}};
        for (const auto& bar : bars) {
            auto* scrollBar = child<QScrollBar>(bar.bar);
            QCOMPARE(named(scrollBar, QAccessible::Name), QString{bar.name});
            QCOMPARE(named(scrollBar, QAccessible::Description), QString{bar.description});
            auto* value = QAccessible::queryAccessibleInterface(scrollBar)->valueInterface();
            QCOMPARE(value->currentValue(), QVariant{bar.value});
            QCOMPARE(value->minimumValue(), QVariant{bar.bottom});
            QCOMPARE(value->maximumValue(), QVariant{bar.top});
        }
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

        // Return and the keypad's Enter press a focused button, as Space does.
        const std::pair<const char*, Qt::KeyboardModifiers> presses[] = {
            {"cmdStart", Qt::NoModifier}, {"cmdStop", Qt::KeypadModifier}};
        for (const auto& [button, modifiers] : presses) {
            child<QPushButton>(button)->setFocus();
            const bool running = child<TickTimer>("Timer1")->isEnabled();
            QTest::keyClick(child<QPushButton>(button),
                            modifiers == Qt::NoModifier ? Qt::Key_Return : Qt::Key_Enter,
                            modifiers);
            QCOMPARE(child<TickTimer>("Timer1")->isEnabled(), !running);
        }
        child<QLineEdit>("txtWattHours")->setText("5");
        child<QPushButton>("cmdReset")->setFocus();
        QTest::keyClick(child<QPushButton>("cmdReset"), Qt::Key_Space);
        QCOMPARE(fieldText("txtWattHours"), QString{"0.000"});
    }

    void ticksTenTimesASecondThroughStallsAndRestarts()
    {
        auto* timer = child<TickTimer>("Timer1");
        QSignalSpy ticks{timer, &TickTimer::tick};
        click("cmdReset");
        const qint64 ran = runFor(2000, 1000);
        QVERIFY2(qAbs(ticks.count() - ran / 100) <= 1,
                 qPrintable(QString("%1 ticks in %2 ms").arg(ticks.count()).arg(ran)));
        const double total = fieldText("txtWattHours").split(' ').front().toDouble();
        QVERIFY(qAbs(total - ticks.count() * 0.028) < 0.001);
        const auto ticksWhenStopped = ticks.count();
        QTest::qWait(250);
        QCOMPARE(ticks.count(), ticksWhenStopped);

        // A gap past the backlog's bound, as a machine's sleep makes where
        // the clock counts it, adds no ticks.
        ticks.clear();
        const qint64 stall = TickTimer::maxBacklogMs + 500;
        const qint64 awake = runFor(int(stall) + 600, int(stall)) - stall;
        QVERIFY2(ticks.count() <= awake / 100 + 1,
                 qPrintable(QString("%1 ticks in %2 ms awake").arg(ticks.count()).arg(awake)));

        // Stopped and started again within a tick, as in a nested event loop,
        // the timer counts afresh: none of the ticks that fell due in a stall
        // before comes within the first interval after.
        QElapsedTimer sinceRestart;
        int early = 0;
        const auto restartOnce = connect(timer, &TickTimer::tick, this, [&] {
            if (!sinceRestart.isValid()) {
                // Started before the timer's own clock, so that a tick on
                // time never reads as 99 ms here.
                sinceRestart.start();
                timer->setEnabled(false);
                timer->setEnabled(true);
            } else if (sinceRestart.elapsed() < TickTimer::intervalMs) {
                ++early;
            }
        });
        timer->setEnabled(true);
        QThread::msleep(1000);
        QTest::qWait(250);
        disconnect(restartOnce);
        timer->setEnabled(false);
        QVERIFY(sinceRestart.isValid());
        QCOMPARE(early, 0);
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

        // A readout the tick leaves unchanged keeps the user's selection; the
        // total selected whole, to be copied, stays selected whole.
        auto* volts = child<QLineEdit>("txtVolts");
        volts->selectAll();
        total->selectAll();
        energyTick(*form);
        QCOMPARE(volts->selectedText(), QString{"250 Volts"});
        QCOMPARE(total->selectedText(), QString{"100.056 WH"});
        total->setSelection(0, 3);
        energyTick(*form);
        QCOMPARE(total->selectedText(), QString{});

        const QString longTotal = "7" + QString(70000, ' ');
        total->setText(longTotal);
        QCOMPARE(form->text(Field::txtWattHours), longTotal.toStdString());
    }

    void everyInputMovesABarTheWayItsThumbGoes_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("input");
        const struct {
            const char* name;
            int top, bottom, middle;
        } bars[] = {{"VScroll1", 250, 210, 230}, {"VScroll2", 200, 0, 100}};
        for (const auto& bar : bars)
            for (int start : {bar.top, bar.bottom, bar.middle})
                for (int input = 0; input < int(std::size(barInputs)); ++input)
                    QTest::addRow("%s at %d, %s", bar.name, start, barInputs[input].name)
                        << QString{bar.name} << bar.top << bar.bottom << start << input;
    }

    void everyInputMovesABarTheWayItsThumbGoes()
    {
        QFETCH(QString, bar);
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(int, start);
        QFETCH(int, input);
        const BarInput& how = barInputs[input];
        auto* scrollBar = child<QScrollBar>(qPrintable(bar));
        scrollBar->setValue(start);
        scrollBar->setFocus();

        const int end = how.toward > 0 ? top : bottom;
        const int room = (end - start) * how.toward;
        QPoint at = scrollBar->rect().center();
        if (how.part != QStyle::SC_None) {
            const QRect part = scrollBarPart(scrollBar, how.part);
            if (part.isEmpty()) { // no track beyond a thumb at the end
                QCOMPARE(room, 0);
                return;
            }
            at = part.center();
        }
        switch (how.kind) {
        case BarInput::Click: QTest::mouseClick(scrollBar, Qt::LeftButton, {}, at); break;
        case BarInput::Hold:
            QTest::mousePress(scrollBar, Qt::LeftButton, {}, at);
            QTest::qWait(700); // past the repeat delay
            QTest::mouseRelease(scrollBar, Qt::LeftButton, {}, at);
            break;
        case BarInput::Key:
        case BarInput::Jump: QTest::keyClick(scrollBar, how.key); break;
        case BarInput::Wheel: {
            QWheelEvent wheel{at,
                              scrollBar->mapToGlobal(at),
                              QPoint(),
                              QPoint(0, 120 * how.toward),
                              Qt::NoButton,
                              Qt::NoModifier,
                              Qt::NoScrollPhase,
                              false};
            QApplication::sendEvent(scrollBar, &wheel);
            break;
        }
        }

        const int moved = (scrollBar->value() - start) * how.toward;
        switch (how.kind) {
        case BarInput::Click:
        case BarInput::Key: QCOMPARE(moved, std::min(1, room)); break;
        case BarInput::Jump: QCOMPARE(scrollBar->value(), end); break;
        case BarInput::Wheel: QVERIFY(moved >= std::min(1, room) && moved <= room); break;
        case BarInput::Hold: QVERIFY(moved >= std::min(2, room) && moved <= room); break;
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(scrollBar)->valueInterface()->currentValue(),
                 QVariant{scrollBar->value()});
        QCOMPARE(fieldText("txtVolts"), QString{"txtVolts"}); // shown only at the next tick
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
        QCOMPARE(answerer.texts.front(),
                 QString{"Type mismatch: \"txtTimeStart\" is not a date and time Stop Time shows "
                         "the new stop time; the other fields keep their text. Press Start "
                         "first, or type a start time such as 2026-12-07 09:30:00 into Start "
                         "Time."});
        QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        QVERIFY(stamp.match(fieldText("txtTimeStop")).hasMatch());
        QCOMPARE(fieldText("txtTimeElapsed"), QString{"txtTimeElapsed"});
        QCOMPARE(fieldText("txtWattHours"), QString{"123.456 WH"});

        // Each error with its own advice; the meter said to have stopped only
        // where it ran; what was typed quoted as typed, markup and all.
        const struct {
            QString typed;
            bool running;
            const char* text;
            const char* advice;
        } cases[] = {
            {"<b>9:30</b> <i>am</i>", false, "\"<b>9:30</b> <i>am</i>\" is not a date",
             "Press Start first"},
            {"", false, "Type mismatch: Start Time is empty", "Press Start first"},
            {"0001-01-01 00:00:00", true, "Overflow: the seconds from \"0001-01-01",
             "Type a start time less than 68 years from the stop time"},
            {QString(5000, 'x'), true, "Type mismatch: \"xxxx", "Start"},
        };
        for (const auto& row : cases) {
            if (row.running)
                click("cmdStart");
            child<QLineEdit>("txtTimeStart")->setText(row.typed);
            answerer.texts.clear();
            click("cmdStop");
            QCOMPARE(answerer.texts.size(), 1);
            const QString& text = answerer.texts.front();
            QVERIFY2(text.contains(row.text), qPrintable(text));
            QVERIFY2(text.contains(row.advice), qPrintable(text));
            QCOMPARE(text.contains("The meter has stopped."), row.running);
            QVERIFY2(text.size() < 300, qPrintable(text));
            QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        }
        QVERIFY(answerer.allPlain);
    }

    void aFailingTickIsReportedOnceAndStopsTheMeter()
    {
        click("cmdReset");
        MessageBoxAnswerer answerer;
        const QString hugeTotal = "1e" + QString(5000, '9');
        child<QLineEdit>("txtWattHours")->setText(hugeTotal);
        click("cmdStart");
        QTest::qWait(600);
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.front().startsWith("Overflow"));
        QVERIFY(answerer.texts.front().contains("Watt Hours holds a number too large to count on"));
        QVERIFY(answerer.texts.front().contains("Volts, Amps and Watts show the setting"));
        QVERIFY(answerer.texts.front().contains("Reset"));
        QVERIFY(!child<TickTimer>("Timer1")->isEnabled());
        QVERIFY(answerer.texts.front().size() < 300);
        QCOMPARE(fieldText("txtWattHours"), hugeTotal);
        QCOMPARE(fieldText("txtWatts"), QString{"1000 Watts"});

        child<QLineEdit>("txtWattHours")->setText("5");
        click("cmdStart");
        QTRY_VERIFY(fieldText("txtWattHours") != "5");
        QVERIFY(fieldText("txtWattHours").startsWith("5.0"));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
