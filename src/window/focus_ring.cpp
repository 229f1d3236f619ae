#include "window/focus_ring.h"

#include "window/text_contrast.h"

#include <QPainter>

namespace wattmeter {

FocusRing::FocusRing(QWidget* window) : QWidget{window}, window_{window}
{
    setObjectName("FocusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::follow(QWidget* control)
{
    if (!control || control == window_ || !window_->isAncestorOf(control)) {
        hide();
        return;
    }
    // Beside the control, among its siblings, so that it covers none of
    // the control's own text.
    if (parentWidget() != control->parentWidget())
        setParent(control->parentWidget());
    const QRect ring = control->geometry().adjusted(-width, -width, width, width);
    setGeometry(ring);
    setMask(QRegion{rect()} - QRegion{rect().adjusted(width, width, -width, -width)});
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter{this};
    painter.fillRect(rect(), nearestShade(palette().color(QPalette::Highlight),
                                          palette().color(QPalette::Window), visibleContrast));
}

} // namespace wattmeter
