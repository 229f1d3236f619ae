#pragma once

#include <QProxyStyle>

namespace wattmeter {

// The desktop's style with three changes, for every control of the window: a
// frame's caption sits on its border line, drawn the common style's way (some
// styles put it above a frame of their own); a scroll bar's track stands out
// from the window and its thumb at least 3:1 from the track; and the mark of
// the keyboard focus, drawn around the focused control by a QFocusFrame,
// stands out 3:1 from the window. Most styles mark a focused scroll bar not
// at all and a focused button or field faintly, draw the thumb in a shade of
// the track, and some the track in the window's colour.
class MeterStyle : public QProxyStyle {
    Q_OBJECT

public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override;
};

} // namespace wattmeter
