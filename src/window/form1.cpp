#include "form1.h"

#include "announcer.h"
#include "energy_tick.h"
#include "errors.h"
#include "meter_field.h"
#include "meter_icon.h"
#include "run_control.h"
#include "text_contrast.h"
#include "tick_timer.h"
#include "ui_form1.h"

#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QMessageBox>

#include <array>

namespace wattmeter {

namespace {

// The readouts the tick writes, green on black.
constexpr std::array readouts{Field::txtVolts, Field::txtAmps, Field::txtWatts, Field::txtWattHours,
                              Field::txtKwh};

QString translated(const char* text)
{
    return text ? Form1::tr(text) : QString{};
}

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void setPointSize(QWidget* control, double points)
{
    QFont font = control->font();
    font.setPointSizeF(points);
    control->setFont(font);
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget{parent}, ui_{std::make_unique<Ui::Form1>()}
{
    ui_->setupUi(this);
    timer1_ = new TickTimer{TickTimer::steadyClock, this};
    timer1_->setObjectName("Timer1");
    focusFrame_ = new QFocusFrame{this};
    announcer_ = new Announcer{this};
    setUpWhatTheFormCannotHold();
    wireEvents();
    ui_->cmdStart->setFocus();
}

Form1::~Form1() = default;

MeterField* Form1::field(Field field) const
{
    switch (field) {
    case Field::txtVolts: return ui_->txtVolts;
    case Field::txtAmps: return ui_->txtAmps;
    case Field::txtWatts: return ui_->txtWatts;
    case Field::txtWattHours: return ui_->txtWattHours;
    case Field::txtKwh: return ui_->txtKwh;
    case Field::txtTimeStart: return ui_->txtTimeStart;
    case Field::txtTimeStop: return ui_->txtTimeStop;
    case Field::txtTimeElapsed: return ui_->txtTimeElapsed;
    }
    return nullptr;
}

QScrollBar* Form1::bar(Bar bar) const
{
    return bar == Bar::VScroll1 ? ui_->VScroll1 : ui_->VScroll2;
}

void Form1::setUpWhatTheFormCannotHold()
{
    setWindowIcon(meterIcon());

    // The bars' ends and start values are the core's, which also resets them.
    for (Bar each : allBars) {
        const BarSetting setting = barSetting(each);
        bar(each)->setRange(setting.bottom, setting.top);
        bar(each)->setValue(setting.initial);
    }

    // Sizes between whole points, which a form does not keep.
    setPointSize(ui_->Frame1, 9.75);
    setPointSize(ui_->Frame2, 9.75);
    for (Field readout : readouts)
        setPointSize(field(readout), 14.25);
    // OCR-A's bold is a family of its own, and Qt makes no bold of a fixed
    // pitch face: asked for by name, after the font the window names.
    for (Field each : allFields) {
        QFont font = field(each)->font();
        font.setFamilies({font.family(), QStringLiteral("OCRABold")});
        field(each)->setFont(font);
    }

    // The captions' blue and the readouts' green on black, chosen against
    // the desktop's colours, and chosen again when a theme replaces them.
    for (Field readout : readouts) {
        applyColours(field(readout));
        field(readout)->installEventFilter(this);
    }
    for (auto* caption : findChildren<QLabel*>()) {
        QWidget* captioned = caption->buddy();
        if (!captioned)
            continue;
        applyColours(caption);
        caption->installEventFilter(this);
        // A caption's bottom edge lies under its field, which hides it.
        // Masked off, that edge no longer makes every rewrite of the field
        // repaint the caption as well.
        caption->setMask(QRegion{caption->rect()} -
                         QRegion{captioned->geometry().translated(-caption->pos())});
    }
    for (auto* button : {ui_->cmdStart, ui_->cmdStop, ui_->cmdReset})
        button->installEventFilter(this);
}

void Form1::applyColours(QWidget* control)
{
    QPalette palette = control->palette();
    if (qobject_cast<QLabel*>(control)) {
        // On the background of the window that holds it.
        palette.setColor(QPalette::WindowText,
                         readableBlue(control->parentWidget()->palette().color(QPalette::Window)));
    } else {
        palette.setColor(QPalette::Base, QColor{0, 0, 0});
        palette.setColor(QPalette::Text, QColor{0, 192, 0});
    }
    control->setPalette(palette);
}

void Form1::wireEvents()
{
    // Each operation says, for each error it can raise, what it has written
    // by then and how to go on; the manual page gives the same advice. The
    // texts are translated only when an error is reported, never on the
    // tick's path.
    connect(ui_->cmdStart, &QPushButton::clicked, this, [this] {
        if (perform([this] { start(*this); },
                    {nullptr, nullptr,
                     QT_TR_NOOP("Every field keeps its text. Set the computer's clock to the "
                                "present day and press Start again.")}))
            announcer_->announce(tr("The meter runs from %1.").arg(ui_->txtTimeStart->text()));
    });
    connect(ui_->cmdStop, &QPushButton::clicked, this, [this] {
        if (perform(
                [this] { stop(*this); },
                {QT_TR_NOOP("Stop Time shows the new stop time; the other fields keep their "
                            "text. Press Start first, or type a start time such as "
                            "2026-12-07 09:30:00 into Start Time."),
                 QT_TR_NOOP("Stop Time shows the new stop time; the other fields keep their "
                            "text. Type a start time less than 68 years from the stop time into "
                            "Start Time and press Stop again."),
                 QT_TR_NOOP("Every field keeps its text. Set the computer's clock to the "
                            "present day and press Stop again.")}))
            announcer_->announce(tr("Stopped at %1, after %2.")
                                     .arg(ui_->txtTimeStop->text(), ui_->txtTimeElapsed->text()));
    });
    connect(ui_->cmdReset, &QPushButton::clicked, this, [this] {
        perform([this] { reset(*this); }, {nullptr, nullptr, nullptr});
    });
    // The frame, not the window: focus also moves while the window is being
    // destroyed, its own part already gone.
    connect(qApp, &QApplication::focusChanged, focusFrame_,
            [frame = focusFrame_, window = static_cast<QWidget*>(this)](QWidget*, QWidget* now) {
                frame->setWidget(now && now != window && window->isAncestorOf(now) ? now : nullptr);
            });
    // The total is the one number a tick reads that the user may have typed.
    connect(timer1_, &TickTimer::tick, this, [this] {
        perform([this] { energyTick(*this); },
                {nullptr,
                 QT_TR_NOOP("Volts, Amps and Watts show the setting; the rest keep their text. "
                            "Watt Hours holds a number too large to count on: Reset, or a "
                            "smaller total typed there, lets the meter run again."),
                 nullptr});
    });
}

void Form1::changeEvent(QEvent* event)
{
    // A desktop switched between light and dark: the captions' blue is
    // chosen again against the new background, the meter running on.
    if (event->type() == QEvent::PaletteChange)
        for (auto* caption : findChildren<QLabel*>())
            if (caption->buddy())
                applyColours(caption);
    QWidget::changeEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // Return presses a focused button, as Space does and as on Windows, once
    // however long it is held. Not by making the buttons auto-default: Qt
    // then makes the focused one the window's default, which screen readers
    // are told has the shortcut "Enter", and Orca reads as the mnemonic "r".
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                button->click();
            return true;
        }
    }
    // A desktop theme may give every widget its palette afresh, as qt6ct
    // does when the user picks another scheme: the meter's own colours go
    // back on. Set again unchanged, a palette sends no further event.
    if (event->type() == QEvent::PaletteChange && !qobject_cast<QPushButton*>(watched))
        applyColours(static_cast<QWidget*>(watched));
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing ends the program; no tick may land after it.
    setTimerEnabled(false);
    QWidget::closeEvent(event);
}

bool Form1::perform(const std::function<void()>& operation, const Advice& advice)
{
    const bool wasRunning = timerEnabled();
    QString error;
    QString told;
    try {
        operation();
        return true;
    } catch (const TypeMismatch& mismatch) {
        error = QString::fromUtf8(mismatch.what());
        told = translated(advice.onTypeMismatch);
    } catch (const ClockOutOfRange& clock) {
        error = QString::fromUtf8(clock.what());
        told = translated(advice.onClockOutOfRange);
    } catch (const Overflow& overflow) {
        error = QString::fromUtf8(overflow.what());
        told = translated(advice.onOverflow);
    } catch (const std::exception& unexpected) {
        // Out of memory, or a fault of the meter's own: nothing is undone.
        error = tr("Error: %1").arg(QString::fromUtf8(unexpected.what()));
        told = tr("Every field keeps the text it had when this happened. Press OK, then try "
                  "again.");
    }
    // Stopped first, so that a failing tick is reported once.
    setTimerEnabled(false);
    report(error, told, wasRunning);
    return false;
}

void Form1::report(const QString& error, const QString& advice, bool stopped)
{
    // What the user typed is quoted in the report: shown as typed, never as
    // markup. The informative text follows the main text's format.
    QMessageBox box{QMessageBox::Critical, windowTitle(), error, QMessageBox::Ok, this};
    box.setTextFormat(Qt::PlainText);
    QStringList informative;
    if (stopped)
        informative << tr("The meter has stopped.");
    if (!advice.isEmpty())
        informative << advice;
    box.setInformativeText(informative.join(' '));
    box.exec();
}

std::string Form1::text(Field field) const
{
    return this->field(field)->text().toStdString();
}

void Form1::setText(Field field, std::string_view text)
{
    this->field(field)->rewrite(toQString(text));
}

int Form1::value(Bar bar) const
{
    return this->bar(bar)->value();
}

void Form1::setValue(Bar bar, int value)
{
    this->bar(bar)->setValue(value);
}

bool Form1::timerEnabled() const
{
    return timer1_->isEnabled();
}

void Form1::setTimerEnabled(bool enabled)
{
    timer1_->setEnabled(enabled);
}

} // namespace wattmeter
