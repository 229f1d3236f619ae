#pragma once

#include "panel.h"

#include <QWidget>

#include <functional>
#include <memory>

class QFocusFrame;
class QScrollBar;

namespace Ui {
class Form1;
}

namespace wattmeter {

class Announcer;
class MeterField;
class TickTimer;

// The meter's window, as its form describes it. Its fields, bars and timer
// are the meter's state: the metering operations read and write them through
// the Panel interface.
class Form1 : public QWidget, public Panel {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

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
        const char* onClockOutOfRange;
    };

    MeterField* field(Field field) const;
    QScrollBar* bar(Bar bar) const;
    void setUpWhatTheFormCannotHold();
    void applyColours(QWidget* control);
    void wireEvents();
    // Runs an operation; an error stops the meter and is reported with the
    // advice for its kind, and false returned.
    bool perform(const std::function<void()>& operation, const Advice& advice);
    void report(const QString& error, const QString& advice, bool stopped);

    std::unique_ptr<Ui::Form1> ui_;
    TickTimer* timer1_ = nullptr;
    QFocusFrame* focusFrame_ = nullptr;
    Announcer* announcer_ = nullptr; // tells a screen reader what Start and Stop did
};

} // namespace wattmeter
