#include "meter_scroll_bar.h"

#include <QWheelEvent>

namespace wattmeter {

// Qt draws an inverted bar upside down but leaves its inputs as they were: the
// upper arrow, the upper track and Home still lower the value. mirrorAction
// turns every step and jump around so that it follows the thumb. A scroll
// bar's Up key already asks for a decrease like its upper arrow, so the mirror
// raises both; the wheel moves the slider directly and is flipped in
// wheelEvent.
MeterScrollBar::MeterScrollBar(QWidget* parent) : QScrollBar{Qt::Vertical, parent}
{
    setInvertedAppearance(true);
    setPageStep(1);                  // a click in the track moves one step, as an arrow does
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

} // namespace wattmeter
