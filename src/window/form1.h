#pragma once

#include "core/panel.h"

#include <QWidget>

#include <array>
#include <exception>
#include <functional>

class QLineEdit;
class QScrollBar;

namespace wattmeter {

class FocusRing;
class TickTimer;

// The meter's window. Its fields, bars and timer are the meter's state: the
// metering operations read and write them through the Panel interface.
class Form1 : public QWidget, public Panel {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

    std::string text(Field field) const override;
    void setText(Field field, std::string_view text) override;
    int value(Bar bar) const override;
    void setValue(Bar bar, int value) override;
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What the user is told after an operation's error of each kind: what
    // it had written by then and how to go on.
    struct Advice {
        const char* onTypeMismatch;
        const char* onOverflow;
    };

    void createControls();
    void wireEvents();
    // Runs an operation; an error stops the meter and is reported with the
    // advice for its kind.
    void perform(const std::function<void()>& operation, const Advice& advice);
    void report(const std::exception& error, const char* advice, bool stopped);

    std::array<QLineEdit*, allFields.size()> fields_{};
    std::array<QScrollBar*, allBars.size()> bars_{};
    TickTimer* timer1_ = nullptr;
    FocusRing* focusRing_ = nullptr;
};

} // namespace wattmeter
