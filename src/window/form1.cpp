#include "window/form1.h"

#include "core/energy_tick.h"
#include "core/errors.h"
#include "core/run_control.h"
#include "window/focus_ring.h"
#include "window/form1_layout.h"
#include "window/meter_fonts.h"
#include "window/meter_icon.h"
#include "window/meter_scroll_bar.h"
#include "window/text_contrast.h"
#include "window/tick_timer.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <limits>
#include <vector>

namespace wattmeter {

namespace {

using layout::Colours;
using layout::Control;
using layout::Kind;

constexpr auto meterTitle = "Power Measurement Example";

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A control looked up by its layout name. A name that finds none is a fault
// in this program: it stops here, naming it, rather than at a null pointer.
template <typename T> T* namedChild(const QObject* parent, std::string_view name)
{
    auto* child = parent->findChild<T*>(toQString(name));
    if (!child)
        qFatal("Form1: no %s named %.*s", T::staticMetaObject.className(),
               static_cast<int>(name.size()), name.data());
    return child;
}

QRect pixelRect(const Control& control)
{
    constexpr int px = layout::twipsPerPixel;
    return {control.left / px, control.top / px, control.width / px, control.height / px};
}

void applyColours(QWidget* widget, Colours colours)
{
    QPalette palette = widget->palette();
    switch (colours) {
    case Colours::System: return;
    case Colours::BlueText: // on the background of the window or frame that holds it
        palette.setColor(QPalette::WindowText,
                         readableBlue(widget->parentWidget()->palette().color(QPalette::Window)));
        break;
    case Colours::GreenOnBlack:
        palette.setColor(QPalette::Base, QColor{0, 0, 0});
        palette.setColor(QPalette::Text, QColor{0, 192, 0});
        break;
    }
    widget->setPalette(palette);
}

QLabel* newLabel(const Control& control, QWidget* parent)
{
    auto* label = new QLabel{QString::fromUtf8(control.caption), parent};
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

QLineEdit* newTextField(const Control& control, QWidget* parent)
{
    auto* field = new QLineEdit{QString::fromUtf8(control.caption), parent};
    field->setAlignment(Qt::AlignCenter);
    // The total lives in this text: no length limit may ever cut it.
    field->setMaxLength(std::numeric_limits<int>::max());
    auto* caption = namedChild<QLabel>(parent, control.captionLabel);
    caption->setBuddy(field);
    field->setAccessibleName(caption->text());
    return field;
}

Colours coloursOf(const QObject* widget)
{
    const QByteArray name = widget->objectName().toUtf8();
    const auto* control =
        std::find_if(layout::controls.begin(), layout::controls.end(),
                     [&name](const Control& control) { return name == control.name; });
    if (control == layout::controls.end())
        qFatal("Form1: no control named %s in the layout", name.constData());
    return control->colours;
}

Bar barNamed(std::string_view name)
{
    const auto* bar = std::find_if(allBars.begin(), allBars.end(),
                                   [name](Bar bar) { return barName(bar) == name; });
    if (bar == allBars.end())
        qFatal("Form1: no bar of the panel is named %.*s", static_cast<int>(name.size()),
               name.data());
    return *bar;
}

// Both bars sit in one frame, whose title would otherwise name them both to
// a screen reader.
QScrollBar* newScrollBar(Bar bar, QWidget* parent)
{
    const BarSetting setting = barSetting(bar);
    auto* scrollBar = new MeterScrollBar{setting.top, setting.bottom, parent};
    scrollBar->setValue(setting.initial);
    const bool volts = bar == Bar::VScroll1;
    scrollBar->setAccessibleName(volts ? Form1::tr("Voltage setting")
                                       : Form1::tr("Current setting"));
    scrollBar->setAccessibleDescription(
        (volts ? Form1::tr("%1 to %2 volts") : Form1::tr("%1 to %2 amps"))
            .arg(setting.bottom)
            .arg(setting.top));
    return scrollBar;
}

QWidget* newControl(const Control& control, QWidget* parent)
{
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case Kind::Label: return newLabel(control, parent);
    case Kind::Frame: return new QGroupBox{caption, parent};
    case Kind::Button: return new QPushButton{caption, parent};
    case Kind::TextField: return newTextField(control, parent);
    case Kind::ScrollBar: return newScrollBar(barNamed(control.name), parent);
    }
    return nullptr;
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget{parent}
{
    setObjectName("Form1");
    setWindowTitle(meterTitle);
    setWindowIcon(meterIcon());
    setFixedSize(layout::clientWidth / layout::twipsPerPixel,
                 layout::clientHeight / layout::twipsPerPixel);
    installFontSubstitutes();

    timer1_ = new TickTimer{this};
    timer1_->setObjectName("Timer1");
    createControls();
    focusRing_ = new FocusRing{this};
    wireEvents();
}

void Form1::createControls()
{
    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const Control& control : layout::controls) {
        QWidget* container = this;
        if (control.container)
            container = namedChild<QWidget>(this, control.container);
        QWidget* widget = newControl(control, container);
        widget->setObjectName(control.name);
        widget->setGeometry(pixelRect(control));
        widget->setFont(meterFont(control.font));
        applyColours(widget, control.colours);
        if (control.colours != Colours::System || control.kind == Kind::Button)
            widget->installEventFilter(this);
        if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(control.tabIndex, widget);
    }

    // A caption's bottom edge lies under its field, which hides it. Masked
    // off, that edge no longer makes every rewrite of the field repaint the
    // caption as well.
    for (auto* caption : findChildren<QLabel*>())
        if (QWidget* field = caption->buddy())
            caption->setMask(QRegion{caption->rect()} -
                             QRegion{field->geometry().translated(-caption->pos())});

    // Frames with their caption on the border line, leaving their inside to
    // their controls. A Qt built without that style keeps its own frames.
    if (QStyle* frameStyle = QStyleFactory::create("Windows")) {
        frameStyle->setParent(this);
        for (auto* frame : findChildren<QGroupBox*>())
            frame->setStyle(frameStyle);
    }

    for (Field field : allFields)
        fields_[static_cast<std::size_t>(field)] = namedChild<QLineEdit>(this, fieldName(field));
    for (Bar bar : allBars)
        bars_[static_cast<std::size_t>(bar)] = namedChild<QScrollBar>(this, barName(bar));

    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    tabOrder.front().second->setFocus();
}

void Form1::wireEvents()
{
    // Each operation says, for each error it can raise, what it has written
    // by then and how to go on; the manual page gives the same advice. The
    // texts are translated only when an error is reported, never on the
    // tick's path.
    connect(namedChild<QPushButton>(this, "cmdStart"), &QPushButton::clicked, this, [this] {
        perform([this] { start(*this); },
                {nullptr, QT_TR_NOOP("Every field keeps its text. Set the computer's clock to "
                                     "the present day and press Start again.")});
    });
    connect(namedChild<QPushButton>(this, "cmdStop"), &QPushButton::clicked, this, [this] {
        perform([this] { stop(*this); },
                {QT_TR_NOOP("Stop Time shows the new stop time; the other fields keep their "
                            "text. Press Start first, or type a start time such as "
                            "2026-12-07 09:30:00 into Start Time."),
                 QT_TR_NOOP("Stop Time shows the new stop time; the other fields keep their "
                            "text. Type a start time less than 68 years from the stop time into "
                            "Start Time and press Stop again.")});
    });
    connect(namedChild<QPushButton>(this, "cmdReset"), &QPushButton::clicked, this, [this] {
        perform([this] { reset(*this); }, {nullptr, nullptr});
    });
    // The ring, not the window: focus also moves while the window is being
    // destroyed, its own part already gone.
    connect(qApp, &QApplication::focusChanged, focusRing_,
            [ring = focusRing_](QWidget*, QWidget* now) { ring->follow(now); });
    // The total is the one number a tick reads that the user may have typed.
    connect(timer1_, &TickTimer::tick, this, [this] {
        perform([this] { energyTick(*this); },
                {nullptr,
                 QT_TR_NOOP("Volts, Amps and Watts show the setting; the rest keep their text. "
                            "Watt Hours holds a number too large to count on: Reset, or a "
                            "smaller total typed there, lets the meter run again.")});
    });
}

void Form1::changeEvent(QEvent* event)
{
    // A desktop switched between light and dark: the captions' blue is
    // chosen again against the new background, the meter running on.
    if (event->type() == QEvent::PaletteChange)
        for (const Control& control : layout::controls)
            if (control.colours == Colours::BlueText)
                applyColours(namedChild<QLabel>(this, control.name), control.colours);
    QWidget::changeEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // Return presses a focused button, as Space does and as on Windows.
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
    if (event->type() == QEvent::PaletteChange)
        applyColours(static_cast<QWidget*>(watched), coloursOf(watched));
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing ends the program; no tick may land after it.
    setTimerEnabled(false);
    QWidget::closeEvent(event);
}

void Form1::perform(const std::function<void()>& operation, const Advice& advice)
{
    const bool wasRunning = timerEnabled();
    try {
        operation();
    } catch (const std::exception& error) {
        // Stopped first, so that a failing tick is reported once.
        setTimerEnabled(false);
        const bool typeMismatch = dynamic_cast<const TypeMismatch*>(&error) != nullptr;
        report(error, typeMismatch ? advice.onTypeMismatch : advice.onOverflow, wasRunning);
    }
}

void Form1::report(const std::exception& error, const char* advice, bool stopped)
{
    // What the user typed is quoted in the report: shown as typed, never as
    // markup.
    QMessageBox box{QMessageBox::Critical, meterTitle, QString::fromUtf8(error.what()),
                    QMessageBox::Ok, this};
    box.setTextFormat(Qt::PlainText);
    QStringList informative;
    if (stopped)
        informative << tr("The meter has stopped.");
    if (advice)
        informative << tr(advice);
    box.setInformativeText(informative.join(' '));
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
    box.exec();
}

std::string Form1::text(Field field) const
{
    return fields_[static_cast<std::size_t>(field)]->text().toStdString();
}

void Form1::setText(Field field, std::string_view text)
{
    // Most ticks rewrite volts, amps and watts unchanged: leaving those fields
    // alone spares their repaint and keeps any selection the user made there.
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    const QString newText = toQString(text);
    if (edit->text() == newText)
        return;
    // A field selected whole, as for copying the running total, stays so.
    const bool selectedWhole = edit->hasSelectedText() && edit->selectedText() == edit->text();
    edit->setText(newText);
    if (selectedWhole)
        edit->selectAll();
}

int Form1::value(Bar bar) const
{
    return bars_[static_cast<std::size_t>(bar)]->value();
}

void Form1::setValue(Bar bar, int value)
{
    bars_[static_cast<std::size_t>(bar)]->setValue(value);
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
