#include "meter_field.h"

#include "meter_field_accessible.h"

#include <QAccessible>
#include <QScopedValueRollback>

namespace wattmeter {

namespace {

// What handled accessibility events before the meter's handler: where
// nothing did, Qt's bridge to the platform (AT-SPI, UI Automation).
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
    // A field being destroyed is no MeterField any more, and none is quiet.
    const auto* field = qobject_cast<const MeterField*>(event->object());
    if (field && field->isQuiet() && isTextEvent(event->type()))
        return;
    if (passOnTo) {
        passOnTo(event);
        return;
    }
    // Qt hands an event to its bridge only while no handler is installed,
    // and offers no other way to it: the handler steps aside for the event.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(passOnAllButQuietText);
}

QAccessibleInterface* meterFieldInterface(const QString& className, QObject* object)
{
    if (className != QLatin1String{MeterField::staticMetaObject.className()})
        return nullptr;
    return new MeterFieldAccessible{static_cast<MeterField*>(object)};
}

} // namespace

MeterField::MeterField(QWidget* parent) : QLineEdit{parent} {}

void MeterField::setUpAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(meterFieldInterface);
        passOnTo = QAccessible::installUpdateHandler(passOnAllButQuietText);
        return true;
    }();
    Q_UNUSED(installed);
}

void MeterField::rewrite(const QString& newText)
{
    // Most ticks rewrite volts, amps and watts unchanged: leaving those fields
    // alone spares their repaint and keeps any selection the user made there.
    if (text() == newText)
        return;
    const bool selectedWhole = hasSelectedText() && selectedText() == text();
    const QScopedValueRollback quiet{quiet_, true};
    setText(newText);
    if (selectedWhole)
        selectAll();
}

void MeterField::focusInEvent(QFocusEvent* event)
{
    const QScopedValueRollback quiet{quiet_, true};
    QLineEdit::focusInEvent(event);
}

void MeterField::focusOutEvent(QFocusEvent* event)
{
    const QScopedValueRollback quiet{quiet_, true};
    QLineEdit::focusOutEvent(event);
}

} // namespace wattmeter
