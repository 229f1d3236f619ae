#pragma once

#include <QWidget>

namespace wattmeter {

// A ring around the control that has the keyboard focus, in a colour that
// stands out at least 3:1 from the window around it: the styles mark a
// focused scroll bar not at all and a focused button or field faintly.
class FocusRing : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 2;

    explicit FocusRing(QWidget* window);

    // Rings the control, or hides the ring where it is none of the window's.
    void follow(QWidget* control);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* window_;
};

} // namespace wattmeter
