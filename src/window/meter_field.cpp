#include "meter_field.h"

#include <QAccessible>

namespace wattmeter {

namespace {

// The field whose changes of text, caret and selection reach no screen
// reader while a Quiet lives; and what handled accessibility events before,
// Qt's bridge to the platform (AT-SPI, UI Automation) where nothing did.
const QObject* quietField = nullptr;
QAccessible::UpdateHandler passOnTo = nullptr;

bool isTextEvent(QAccessible::Event type)
{
    switch (type) {
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged: return true;
    default: return false;
    }
}

void passOnAllButQuietText(QAccessibleEvent* event)
{
    if (event->object() == quietField && isTextEvent(event->type()))
        return;
    QAccessible::installUpdateHandler(passOnTo);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(passOnAllButQuietText);
}

class Quiet {
public:
    explicit Quiet(const QObject* field)
    {
        quietField = field;
        passOnTo = QAccessible::installUpdateHandler(passOnAllButQuietText);
    }
    ~Quiet()
    {
        QAccessible::installUpdateHandler(passOnTo);
        quietField = nullptr;
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;
};

} // namespace

MeterField::MeterField(QWidget* parent) : QLineEdit{parent} {}

void MeterField::rewrite(const QString& newText)
{
    // Most ticks rewrite volts, amps and watts unchanged: leaving those fields
    // alone spares their repaint and keeps any selection the user made there.
    if (text() == newText)
        return;
    const bool selectedWhole = hasSelectedText() && selectedText() == text();
    const Quiet quiet{this};
    setText(newText);
    if (selectedWhole)
        selectAll();
}

void MeterField::focusInEvent(QFocusEvent* event)
{
    const Quiet quiet{this};
    QLineEdit::focusInEvent(event);
}

void MeterField::focusOutEvent(QFocusEvent* event)
{
    const Quiet quiet{this};
    QLineEdit::focusOutEvent(event);
}

} // namespace wattmeter
