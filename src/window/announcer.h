#pragma once

#include <QWidget>

namespace wattmeter {

// Tells a screen reader a message without moving the focus: through Qt's
// announcement where Qt has one (from 6.8); before that, as a notification
// that appears, which a screen reader reads out as it does (Orca does; a
// description or name changed on the focused control reaches Orca from
// Qt 6.4 as an object, not a text). It takes no room in the window.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* window);

    void announce(const QString& message);
};

} // namespace wattmeter
