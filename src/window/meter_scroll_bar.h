#pragma once

#include <QScrollBar>

namespace wattmeter {

// A vertical scroll bar with its larger value at the top, as on the meter:
// the thumb, the arrows, a click in the track, the arrow keys, Home/End and
// the wheel all move upwards to raise the value, one step at a time.
class MeterScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit MeterScrollBar(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void mirrorAction(int action);
};

} // namespace wattmeter
