#include "panel/meter_scroll_bar.h"

#include <QWheelEvent>

namespace wattmeter {

// Qt draws an inverted bar upside down but leaves its inputs as they were: the
// upper arrow, the upper track and Home still lower the value. mirrorAction
// turns every step and jump around so that it follows the thumb. Inverted
// controls make the Up key ask for a decrease like the upper arrow, so the
// mirror raises both; the wheel moves the slider directly and is flipped in
// wheelEvent.
MeterScrollBar::MeterScrollBar(int top, int bottom, QWidget* parent)
    : QScrollBar{Qt::Vertical, parent}
{
    setRange(bottom, top);
    setSingleStep(1);
    setPageStep(1);
    setInvertedAppearance(true);
    setInvertedControls(true);
    setFocusPolicy(Qt::StrongFocus); // so the arrow keys can reach it
    connect(this, &QAbstractSlider::actionTriggered, this, &MeterScrollBar::mirrorAction);
}

void MeterScrollBar::mirrorAction(int action)
{
    // Called with the slider position already moved, before the value follows.
    switch (action) {
    case SliderSingleStepAdd:
    case SliderSingleStepSub:
    case SliderPageStepAdd:
    case SliderPageStepSub: setSliderPosition(2 * value() - sliderPosition()); break;
    case SliderToMinimum:
    case SliderToMaximum: setSliderPosition(minimum() + maximum() - sliderPosition()); break;
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

} // namespace wattmeter
