#include "meter_style.h"

#include "text_contrast.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace wattmeter {

void MeterStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const
{
    // The common style's frame leaves a gap in its border for the caption.
    if (control == CC_GroupBox) {
        QCommonStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The style draws the arrows; the track and thumb are drawn here, in
    // colours that tell the track from the window behind the bar and the
    // thumb from the track, opaque as their contrast is reckoned. Windows
    // 11's palette has translucent ones and buttons of its window's colour,
    // and its style makes the bar's own background transparent.
    QStyleOptionSlider arrows = *bar;
    arrows.subControls &= SC_ScrollBarAddLine | SC_ScrollBarSubLine;
    QProxyStyle::drawComplexControl(control, &arrows, painter, widget);
    const QWidget* behind = widget ? widget->parentWidget() : nullptr;
    const QColor track = nearestShade(
        QColor{bar->palette.color(QPalette::Button).rgb()}.darker(105),
        QColor{(behind ? behind->palette() : bar->palette).color(QPalette::Window).rgb()},
        trackContrast);
    const QColor thumb =
        nearestShade(QColor{bar->palette.color(QPalette::Dark).rgb()}, track, visibleContrast);
    painter->fillRect(subControlRect(control, bar, SC_ScrollBarGroove, widget), track);
    if (bar->subControls & SC_ScrollBarSlider)
        painter->fillRect(subControlRect(control, bar, SC_ScrollBarSlider, widget), thumb);
}

QRect MeterStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                 SubControl part, const QWidget* widget) const
{
    if (control == CC_GroupBox) { // the caption on the border line, as drawn above
        QRect rect = QCommonStyle::subControlRect(control, option, part, widget);
        // A caption too wide for the usual gap before it, as in a font wider
        // than the one asked for, is centred, with as much border after it.
        const int room = option->rect.width() - rect.width();
        if (part == SC_GroupBoxLabel && rect.left() - option->rect.left() > room / 2)
            rect.moveLeft(option->rect.left() + std::max(room / 2, 0));
        return rect;
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
}

void MeterStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const
{
    if (element == PE_FrameGroupBox) // around the rectangle given, not below a caption
        QCommonStyle::drawPrimitive(element, option, painter, widget);
    else
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void MeterStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const
{
    if (element == CE_FocusFrame) {
        painter->fillRect(option->rect,
                          nearestShade(option->palette.color(QPalette::Highlight),
                                       option->palette.color(QPalette::Window), visibleContrast));
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

int MeterStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returned) const
{
    if (hint == SH_GroupBox_TextLabelVerticalAlignment) // the border through the caption's middle
        return Qt::AlignVCenter;
    return QProxyStyle::styleHint(hint, option, widget, returned);
}

} // namespace wattmeter
