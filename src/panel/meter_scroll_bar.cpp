#include "panel/meter_scroll_bar.h"

#include <QWheelEvent>

namespace wattmeter {

// Qt draws an inverted bar upside down but still maps the upper arrow, the
// upper track and Home to "decrease". Mirroring those actions makes every input
// follow the thumb; inverted controls do the same for the arrow keys, whose
// actions are then mirrored back, and the wheel is flipped to match.
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
