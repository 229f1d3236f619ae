#pragma once

#include <QScrollBar>

namespace wattmeter {

// A vertical scroll bar with its larger value at the top, as on the meter:
// the thumb, the arrows, a click in the track, the arrow keys, Home/End and
// the wheel all move upwards to raise the value, one step at a time. Its
// thumb stands out at least 3:1 from the track, in the system's style where
// that style's own thumb does, in a deeper shade of it where not.
class MeterScrollBar : public QScrollBar {
    Q_OBJECT

public:
    MeterScrollBar(int top, int bottom, QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void mirrorAction(int action);
};

} // namespace wattmeter
