#include "energy_tick.h"
#include "errors.h"
#include "form1.h"
#include "meter_application.h"
#include "scroll_bar_part.h"
#include "tick_timer.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#ifndef Q_OS_WIN
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#endif

using namespace wattmeter;

namespace {

// Answers every message box the window shows, noting its text, as a user
// pressing OK would: a test that meets one it did not expect fails at once.
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(const Panel& panel)
    {
        connect(&poll_, &QTimer::timeout, this, [this, &panel] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->windowTitle() + ": " + box->text() + ' ' + box->informativeText();
                if (panel.timerEnabled()) // an error is reported once, the meter stopped
                    texts << "the meter still ran while this was shown";
                for (auto* label : box->findChildren<QLabel*>())
                    allPlain = allPlain && (label->textFormat() == Qt::PlainText ||
                                            !Qt::mightBeRichText(label->text()));
                box->accept();
            }
        });
        poll_.start(10);
    }
    QStringList texts;
    bool allPlain = true;

private:
    QTimer poll_;
};

// A window whose writes of one field can be made to fail, as they might
// with no memory left.
enum class Failure { None, OutOfMemory, Clock };
class FailingForm1 : public Form1 {
public:
    Failure failure = Failure::None;
    void setText(Field field, std::string_view text) override
    {
        if (failure == Failure::OutOfMemory && field == Field::txtTimeElapsed)
            throw std::bad_alloc{};
        if (failure == Failure::Clock && field == Field::txtTimeStop)
            throw ClockOutOfRange{};
        Form1::setText(field, text);
    }
};

#ifndef Q_OS_WIN
// The text attribute run that covers OFFSET in a widget's text, asked of this
// program through the accessibility bus, as Orca asks it to build a line.
std::pair<int, int> attributeRunThroughAtSpi(QWidget* widget, int offset)
{
    const auto call = [](QDBusConnection& bus, const QString& to, const QString& path,
                         const QString& interface, const QString& method,
                         const QVariantList& args) {
        auto message = QDBusMessage::createMethodCall(to, path, interface, method);
        message.setArguments(args);
        // Waits with the event loop running, for this program answers too.
        return bus.call(message, QDBus::BlockWithGui).arguments();
    };
    auto session = QDBusConnection::sessionBus();
    const auto address =
        call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", {});
    auto bus = QDBusConnection::connectToBus(address.value(0).toString(), "test");
    // The registry's one child is this program: its bus name and root.
    const auto apps = call(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                           "org.a11y.atspi.Accessible", "GetChildren", {});
    const QDBusArgument list = apps.value(0).value<QDBusArgument>();
    QString app;
    list.beginArray();
    list.beginStructure();
    list >> app;
    list.endStructure();
    list.endArray();
    const auto path =
        "/org/a11y/atspi/accessible/" +
        QString::number(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
    const auto run = call(bus, app, path, "org.a11y.atspi.Text", "GetAttributes", {offset});
    return {run.value(1, -1).toInt(), run.value(2, -1).toInt()};
}
#endif

// One way of moving a scroll bar: toward +1 raises the value, -1 lowers it.
struct BarInput {
    enum Kind { Click, Key, Jump, Wheel, Drag };
    const char* name;
    Kind kind;
    int toward;
    QStyle::SubControl part = QStyle::SC_None;
    Qt::Key key = Qt::Key_unknown;
};

// clang-format off
const BarInput barInputs[] = {
    {"upper arrow", BarInput::Click, +1, QStyle::SC_ScrollBarSubLine},
    {"lower arrow", BarInput::Click, -1, QStyle::SC_ScrollBarAddLine},
    {"track above", BarInput::Click, +1, QStyle::SC_ScrollBarSubPage},
    {"track below", BarInput::Click, -1, QStyle::SC_ScrollBarAddPage},
    {"Up", BarInput::Key, +1, {}, Qt::Key_Up}, {"Down", BarInput::Key, -1, {}, Qt::Key_Down},
    {"Page Up", BarInput::Key, +1, {}, Qt::Key_PageUp}, {"Page Down", BarInput::Key, -1, {}, Qt::Key_PageDown},
    {"Home", BarInput::Jump, +1, {}, Qt::Key_Home}, {"End", BarInput::Jump, -1, {}, Qt::Key_End},
    {"wheel up", BarInput::Wheel, +1}, {"wheel down", BarInput::Wheel, -1},
    {"thumb dragged up", BarInput::Drag, +1, QStyle::SC_ScrollBarSlider},
    {"thumb dragged down", BarInput::Drag, -1, QStyle::SC_ScrollBarSlider},
};
// clang-format on

// An error of each kind, and where it arises: typed into Start Time before
// Stop, or into Watt Hours before a tick.
const struct ErrorCase {
    const char* name;
    QString typed;
    bool running, tick;
    Failure failure;
    const char *error, *advice;
} errorCases[] = {
    {"Stop, no date and time", "txtTimeStart", false, false, Failure::None,
     "Type mismatch: \"txtTimeStart\" is not a date and time",
     "Stop Time shows the new stop time; the other fields keep their text. Press Start "
     "first, or type a start time such as 2026-12-07 09:30:00 into Start Time."},
    {"Stop, markup", "<b>9:30</b> <i>am</i>", false, false, Failure::None,
     "\"<b>9:30</b> <i>am</i>\" is not a date", "Press Start first"},
    {"Stop, empty", "", false, false, Failure::None, "Type mismatch: Start Time is empty",
     "Press Start first"},
    {"Stop, 2025 years", "0001-01-01 00:00:00", true, false, Failure::None,
     "Overflow: the seconds from \"0001-01-01",
     "Type a start time less than 68 years from the stop time"},
    {"Stop, 5000 letters", QString(5000, 'x'), true, false, Failure::None, "Type mismatch: \"xxxx",
     "Start"},
    {"Stop, out of memory", "9:30", true, false, Failure::OutOfMemory, "Error: std::bad_alloc",
     "Every field keeps the text it had when this happened"},
    {"Stop, the clock", "9:30", false, false, Failure::Clock,
     "Overflow: the clock's time cannot be shown as a date",
     "Every field keeps its text. Set the computer's clock to the present day"},
    {"tick, total too large", "1e" + QString(5000, '9'), true, true, Failure::None,
     "Overflow: \"1e999",
     "Volts, Amps and Watts show the setting; the rest keep their text. Watt Hours holds "
     "a number too large to count on: Reset"},
};

const QRegularExpression stamp{R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$)"};

// What passes the meter's own accessibility handler on to Qt's bridge to
// screen readers, recorded there in place of the bridge.
QList<std::pair<QObject*, QAccessible::Event>> told;
QStringList announced;

void record(QAccessibleEvent* event)
{
    told.append({event->object(), event->type()});
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement)
        announced << static_cast<QAccessibleAnnouncementEvent*>(event)->message();
#else
    if (event->type() == QAccessible::ObjectShow &&
        event->accessibleInterface()->role() == QAccessible::Notification)
        announced << event->accessibleInterface()->text(QAccessible::Name);
#endif
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    FailingForm1* form = nullptr;
    std::unique_ptr<MessageBoxAnswerer> boxes;

    template <typename T> T* child(const char* name) const { return form->findChild<T*>(name); }
    QString fieldText(const char* name) const { return child<QLineEdit>(name)->text(); }
    void click(const char* button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    QString named(QWidget* control, QAccessible::Text text = QAccessible::Name)
    {
        return QAccessible::queryAccessibleInterface(control)->text(text);
    }

private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(record);
        setUpMeterApplication();
    }
    void init()
    {
        form = new FailingForm1;
        boxes = std::make_unique<MessageBoxAnswerer>(*form);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
    void cleanup()
    {
        const QStringList unexpected = boxes->texts;
        boxes.reset();
        delete form;
        QVERIFY2(unexpected.isEmpty(), qPrintable("error box: " + unexpected.join(" | ")));
    }

    void startsAsItsFormDescribes()
    {
        for (Field each : allFields)
            QCOMPARE(form->text(each), std::string{fieldName(each)});
        QVERIFY(!form->timerEnabled());
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>("cmdStart"));

        // A bold field drawn from a bold face, as the face Qt resolved says of
        // itself (QFontInfo repeats the request).
        for (auto* field : form->findChildren<QLineEdit*>()) {
            const QByteArray os2 = QRawFont::fromFont(field->font()).fontTable("OS/2");
            QVERIFY(os2.size() >= 6 && ((uchar(os2[4]) << 8) | uchar(os2[5])) >= 600);
        }
        // A caption's bottom edge lies one pixel under its field, which is drawn over it.
        auto* caption = child<QLabel>("Label4");
        auto* field = child<QLineEdit>("txtWattHours");
        QCOMPARE(caption->geometry().bottom(), field->geometry().top());
        QVERIFY(form->children().indexOf(field) > form->children().indexOf(caption));
    }

    void aScreenReaderTellsEveryControlApartInTabOrder()
    {
        QStringList names;
        for (auto* control : form->findChildren<QWidget*>())
            if (control->focusPolicy() != Qt::NoFocus)
                names << named(control);
        QCOMPARE(names.size(), 13);
        QVERIFY(!names.contains(QString{}));
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        QCOMPARE(named(child<QLineEdit>("txtTimeElapsed")), QString{"Elapsed Time (Seconds)"});
        const char* const barTexts[][2] = {{"Voltage setting", "210 to 250 volts"},
                                           {"Current setting", "0 to 200 amps"}};
        for (Bar each : allBars) {
            auto* scrollBar = child<QScrollBar>(barName(each).data());
            const BarSetting setting = barSetting(each);
            QCOMPARE(named(scrollBar), QString{barTexts[int(each)][0]});
            QCOMPARE(named(scrollBar, QAccessible::Description), QString{barTexts[int(each)][1]});
            auto* value = QAccessible::queryAccessibleInterface(scrollBar)->valueInterface();
            QCOMPARE(value->currentValue(), QVariant{setting.initial});
            QCOMPARE(value->minimumValue(), QVariant{setting.bottom});
            QCOMPARE(value->maximumValue(), QVariant{setting.top});
        }

        QStringList visited;
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"cmdStop", "txtVolts", "txtAmps", "txtWatts", "txtWattHours",
                                       "VScroll1", "VScroll2", "txtTimeStart", "txtTimeStop",
                                       "txtTimeElapsed", "cmdReset", "txtKwh", "cmdStart"}));
    }

    void buttonsStartStopAndReset()
    {
        child<QScrollBar>("VScroll1")->setValue(220);
        click("cmdReset");
        QCOMPARE(fieldText("txtWattHours"), QString{"0.000"});
        QCOMPARE(child<QScrollBar>("VScroll1")->value(), 250);

        click("cmdStart");
        QVERIFY(form->timerEnabled());
        QVERIFY(stamp.match(fieldText("txtTimeStart")).hasMatch());
        QTRY_COMPARE(fieldText("txtWattHours"), QString{"0.028 WH"}); // the first tick, on time
        click("cmdStop");
        QVERIFY(!form->timerEnabled());
        QVERIFY(QRegularExpression{"^[01] Seconds$"}.match(fieldText("txtTimeElapsed")).hasMatch());

        // Return and the keypad's Enter press a focused button once, as Space
        // does, however long they are held.
        for (const auto& [button, key] :
             {std::pair{"cmdStart", Qt::Key_Return}, {"cmdStop", Qt::Key_Enter}}) {
            auto* pressed = child<QPushButton>(button);
            pressed->setFocus();
            // A screen reader is told of no shortcut for it: it has none.
            QCOMPARE(named(pressed, QAccessible::Accelerator), QString{});
            QSignalSpy clicks{pressed, &QPushButton::clicked};
            const auto modifier = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
            QTest::keyPress(pressed, key, modifier);
            QKeyEvent held{QEvent::KeyPress, key, modifier, QString{}, true};
            for (int repeat = 0; repeat < 3; ++repeat)
                QApplication::sendEvent(pressed, &held);
            QTest::keyRelease(pressed, key, modifier);
            QCOMPARE(clicks.count(), 1);
        }
        QVERIFY(!form->timerEnabled());

        click("cmdStart");
        form->close(); // ends the program: no tick may land after it
        QVERIFY(!form->timerEnabled());
    }

    // What a screen reader is told, focused on the running total. Run by the
    // test form1_tests_spoken, where Qt's bridge to AT-SPI is on.
    void aScreenReaderHearsTheTotalOnceAndNotEachTick()
    {
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("checked through AT-SPI, on X11 (form1_tests_spoken runs this)");
        QTRY_VERIFY(QAccessible::isActive());
        told.clear();
        auto* total = child<QLineEdit>("txtWattHours");
        const auto toldOfItsText = [total] {
            return std::count_if(told.begin(), told.end(), [total](const auto& event) {
                return event.first == total && event.second >= QAccessible::TextCaretMoved &&
                       event.second <= QAccessible::TextSelectionChanged;
            });
        };
        click("cmdReset");
        click("cmdStart");
        total->setFocus(Qt::TabFocusReason);
        for (int tick = 0; tick < 10; ++tick)
            emit child<TickTimer>("Timer1")->tick();
        QCOMPARE(toldOfItsText(), 0);
        auto* text = QAccessible::queryAccessibleInterface(total)->textInterface();
        QCOMPARE(text->text(0, text->characterCount()), QString{"0.280 WH"}); // where-am-I
#ifndef Q_OS_WIN
        // One run over the whole text: Orca 43 speaks a line short of the
        // last character of the run it ends in.
        QCOMPARE(attributeRunThroughAtSpi(total, 3), (std::pair{0, 8}));
#endif
        QTest::keyClicks(total, "5");
        QVERIFY(toldOfItsText() > 0); // typing is echoed
    }

    // Start and Stop are told without moving the focus, in the fields' words;
    // Qt's bridge hands that on to AT-SPI, or to UI Automation as its
    // notification event.
    void startAndStopAreAnnounced()
    {
        if (QGuiApplication::platformName() == "xcb")
            QTRY_VERIFY(QAccessible::isActive());
        else if (QT_VERSION < QT_VERSION_CHECK(6, 8, 0))
            QSKIP("before Qt 6.8, told only where a bridge is on (form1_tests_spoken runs this)");
        announced.clear();
        click("cmdStart");
        click("cmdStop");
        QCOMPARE(announced, (QStringList{"The meter runs from " + fieldText("txtTimeStart") + ".",
                                         "Stopped at " + fieldText("txtTimeStop") + ", after " +
                                             fieldText("txtTimeElapsed") + "."}));
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
        volts->setSelection(0, 3);
        total->selectAll();
        energyTick(*form);
        QCOMPARE(volts->selectedText(), QString{"250"});
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
        QTest::addColumn<Bar>("bar");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("input");
        for (Bar bar : allBars)
            for (int start : {barSetting(bar).top, barSetting(bar).bottom})
                for (int input = 0; input < int(std::size(barInputs)); ++input)
                    QTest::addRow("%s at %d, %s", barName(bar).data(), start, barInputs[input].name)
                        << bar << start << input;
    }

    void everyInputMovesABarTheWayItsThumbGoes()
    {
        QFETCH(Bar, bar);
        QFETCH(int, start);
        QFETCH(int, input);
        const BarInput& how = barInputs[input];
        const auto [top, bottom, initial] = barSetting(bar);
        auto* scrollBar = child<QScrollBar>(barName(bar).data());
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
        const auto mouse = [scrollBar](QEvent::Type type, QPoint where, Qt::MouseButtons held) {
            QMouseEvent event{type, where, scrollBar->mapToGlobal(where), Qt::LeftButton, held, {}};
            QApplication::sendEvent(scrollBar, &event);
        };
        const QPoint to{at.x(), how.toward > 0 ? 0 : scrollBar->height() - 1};
        QWheelEvent wheel(at, scrollBar->mapToGlobal(at), {}, {0, 120 * how.toward}, {}, {},
                          Qt::NoScrollPhase, false);
        switch (how.kind) {
        case BarInput::Click: QTest::mouseClick(scrollBar, Qt::LeftButton, {}, at); break;
        case BarInput::Key:
        case BarInput::Jump: QTest::keyClick(scrollBar, how.key); break;
        case BarInput::Wheel: QApplication::sendEvent(scrollBar, &wheel); break;
        case BarInput::Drag:
            mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
            mouse(QEvent::MouseMove, to, Qt::LeftButton);
            mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
            break;
        }

        const int moved = (scrollBar->value() - start) * how.toward;
        switch (how.kind) {
        case BarInput::Click:
        case BarInput::Key: QCOMPARE(moved, std::min(1, room)); break;
        case BarInput::Jump:
        case BarInput::Drag: QCOMPARE(scrollBar->value(), end); break;
        case BarInput::Wheel: QVERIFY(moved >= std::min(1, room) && moved <= room); break;
        }
        QCOMPARE(fieldText("txtVolts"), QString{"txtVolts"}); // shown only at the next tick
    }

    void errorsAreReportedAndNothingIsLost_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(errorCases)); ++row)
            QTest::newRow(errorCases[row].name) << row;
    }

    // Each error with its own advice, shown with the meter stopped and said to
    // have stopped only where it ran; what was typed quoted as typed, markup
    // and all; nothing typed or counted lost, and the stop time written only
    // where it was. Then the meter runs again.
    void errorsAreReportedAndNothingIsLost()
    {
        QFETCH(int, row);
        const auto& [name, typed, running, tick, failure, error, advice] = errorCases[row];
        child<QLineEdit>("txtWattHours")->setText(tick ? typed : "123.456 WH");
        if (running)
            click("cmdStart");
        for (const char* field : {"txtTimeStop", "txtTimeElapsed", "txtWatts"})
            child<QLineEdit>(field)->setText("kept");
        if (!tick)
            child<QLineEdit>("txtTimeStart")->setText(typed);
        form->failure = failure;
        if (tick)
            emit child<TickTimer>("Timer1")->tick();
        else
            click("cmdStop");
        form->failure = Failure::None;
        QCOMPARE(boxes->texts.size(), 1);
        const QString text = boxes->texts.takeFirst();
        QVERIFY2(text.startsWith(form->windowTitle() + ": "), qPrintable(text));
        QVERIFY2(text.contains(error) && text.contains(advice), qPrintable(text));
        QCOMPARE(text.contains("The meter has stopped."), running);
        QVERIFY2(text.size() < 330, qPrintable(text));
        QVERIFY(boxes->allPlain);
        QVERIFY(!form->timerEnabled());
        QCOMPARE(stamp.match(fieldText("txtTimeStop")).hasMatch(),
                 !tick && failure != Failure::Clock);
        QCOMPARE(fieldText("txtTimeElapsed"), QString{"kept"});
        QCOMPARE(fieldText("txtWatts"), QString{tick ? "1000 Watts" : "kept"});
        QCOMPARE(fieldText("txtWattHours"), tick ? typed : QString{"123.456 WH"});
        // As the advice says, a smaller total lets the meter run again.
        child<QLineEdit>("txtWattHours")->setText("5");
        click("cmdStart");
        emit child<TickTimer>("Timer1")->tick();
        QCOMPARE(fieldText("txtWattHours"), QString{"5.028 WH"});
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
