#pragma once

#include <QLineEdit>

namespace wattmeter {

// A text field of the meter. The program rewrites it ten times a second
// while it runs: such a rewrite keeps a selection of the whole text, for
// copying the running total, and is not told to a screen reader, which would
// read each one out, each cutting off the last; where-am-I reads the present
// text. What the user types or deletes is told as in any field.
class MeterField : public QLineEdit {
    Q_OBJECT

public:
    explicit MeterField(QWidget* parent = nullptr);

    // Installs, once for the program's life, the fields' own accessible
    // interface and the accessibility handler that keeps their quiet changes
    // from screen readers and hands every other event on.
    static void setUpAccessibility();

    // Replaces the text as the program does; an unchanged text is left as it
    // is, with any selection the user made in it.
    void rewrite(const QString& text);

    // Whether the change of text, caret or selection under way is the
    // program's, which no screen reader is told.
    bool isQuiet() const { return quiet_; }

protected:
    // The focus itself tells the text and that it is selected: the selection
    // that Tab makes, and that leaving takes away, are not told again.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool quiet_ = false;
};

} // namespace wattmeter
