#include "window/meter_scroll_bar.h"

#include "window/text_contrast.h"

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <algorithm>
#include <vector>

namespace wattmeter {

// Qt draws an inverted bar upside down but leaves its inputs as they were: the
// upper arrow, the upper track and Home still lower the value. mirrorAction
// turns every step and jump around so that it follows the thumb. A scroll
// bar's Up key already asks for a decrease like its upper arrow, so the mirror
// raises both; the wheel moves the slider directly and is flipped in
// wheelEvent.
MeterScrollBar::MeterScrollBar(int top, int bottom, QWidget* parent)
    : QScrollBar{Qt::Vertical, parent}
{
    setRange(bottom, top);
    setSingleStep(1);
    setPageStep(1);
    setInvertedAppearance(true);
    setFocusPolicy(Qt::StrongFocus); // so the arrow keys can reach it
    connect(this, &QAbstractSlider::actionTriggered, this, &MeterScrollBar::mirrorAction);
}

void MeterScrollBar::mirrorAction(int action)
{
    // Qt has already moved the slider position, clamped to the range, and the
    // value still holds where the action started. The mirrored move is taken
    // from that value: at an end, Qt's clamped move has nothing left to mirror.
    switch (action) {
    case SliderSingleStepAdd: setSliderPosition(value() - singleStep()); break;
    case SliderSingleStepSub: setSliderPosition(value() + singleStep()); break;
    case SliderPageStepAdd: setSliderPosition(value() - pageStep()); break;
    case SliderPageStepSub: setSliderPosition(value() + pageStep()); break;
    case SliderToMinimum: setSliderPosition(maximum()); break;
    case SliderToMaximum: setSliderPosition(minimum()); break;
    default: break;
    }
}

void MeterScrollBar::wheelEvent(QWheelEvent* event)
{
    QWheelEvent flipped{event->position(),      event->globalPosition(), -event->pixelDelta(),
                        -event->angleDelta(),   event->buttons(),        event->modifiers(),
                        event->phase(),         event->inverted(),       event->source(),
                        event->pointingDevice()};
    QScrollBar::wheelEvent(&flipped);
    event->setAccepted(flipped.isAccepted());
}

namespace {

// The middle colour, by lightness, of what the style drew in a part of the bar.
QColor medianColour(const QImage& drawn, const QRect& part)
{
    std::vector<QRgb> pixels;
    const QRect inside = part.intersected(drawn.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            pixels.push_back(drawn.pixel(x, y));
    if (pixels.empty())
        return {};
    const auto middle = pixels.begin() + static_cast<std::ptrdiff_t>(pixels.size() / 2);
    std::nth_element(pixels.begin(), middle, pixels.end(),
                     [](QRgb a, QRgb b) { return qGray(a) < qGray(b); });
    return QColor{*middle};
}

} // namespace

void MeterScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);

    // What the style draws is read back from a drawing of its own, since
    // styles take the thumb's colour from the palette or from the system's
    // theme as they please.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    QImage drawn{size(), QImage::Format_RGB32};
    drawn.fill(palette().color(QPalette::Window));
    {
        QPainter painter{&drawn};
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
    }
    const auto part = [&](QStyle::SubControl control) {
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, control, this);
    };
    const QRect thumb = part(QStyle::SC_ScrollBarSlider);
    QRect track = part(QStyle::SC_ScrollBarSubPage);
    if (track.height() < part(QStyle::SC_ScrollBarAddPage).height())
        track = part(QStyle::SC_ScrollBarAddPage);
    const QColor thumbColour = medianColour(drawn, thumb);
    const QColor trackColour = medianColour(drawn, track);
    if (!thumbColour.isValid() || !trackColour.isValid() ||
        contrastRatio(thumbColour, trackColour) >= visibleContrast)
        return;
    QPainter painter{this};
    painter.fillRect(thumb.adjusted(1, 1, -1, -1),
                     nearestShade(thumbColour, trackColour, visibleContrast));
}

} // namespace wattmeter
