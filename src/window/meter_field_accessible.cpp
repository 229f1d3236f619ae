#include "meter_field_accessible.h"

#include <QLineEdit>

namespace wattmeter {

namespace {

// Qt's offset for "where the caret is".
constexpr int caretOffset = -2;

} // namespace

MeterFieldAccessible::MeterFieldAccessible(QLineEdit* field)
    : QAccessibleWidget{field, QAccessible::EditableText}
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit* MeterFieldAccessible::field() const
{
    return static_cast<QLineEdit*>(widget());
}

QString MeterFieldAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value && !field()->text().isEmpty())
        return field()->text();
    return QAccessibleWidget::text(type);
}

void MeterFieldAccessible::setText(QAccessible::Text type, const QString& text)
{
    if (type == QAccessible::Value)
        field()->setText(text);
    else
        QAccessibleWidget::setText(type, text);
}

QAccessible::State MeterFieldAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.readOnly = field()->isReadOnly();
    state.selectableText = true;
    return state;
}

void* MeterFieldAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString MeterFieldAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QString MeterFieldAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return {};
    return field()->text().mid(startOffset, endOffset - startOffset);
}

QString MeterFieldAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                               int* startOffset, int* endOffset) const
{
    return QAccessibleTextInterface::textBeforeOffset(
        offset == caretOffset ? cursorPosition() : offset, boundary, startOffset, endOffset);
}

QString MeterFieldAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                              int* startOffset, int* endOffset) const
{
    return QAccessibleTextInterface::textAfterOffset(
        offset == caretOffset ? cursorPosition() : offset, boundary, startOffset, endOffset);
}

QString MeterFieldAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                           int* startOffset, int* endOffset) const
{
    return QAccessibleTextInterface::textAtOffset(offset == caretOffset ? cursorPosition() : offset,
                                                  boundary, startOffset, endOffset);
}

int MeterFieldAccessible::characterCount() const
{
    return int(field()->text().size());
}

QRect MeterFieldAccessible::characterRect(int offset) const
{
    const QString character = text(offset, offset + 1);
    if (character.isEmpty())
        return {};
    // Measured from the caret, the one place in the text whose drawn place
    // the line edit tells, scrolled as it is: a rectangle centred on it.
    const QFontMetrics metrics{field()->font()};
    const QString& whole = field()->text();
    const QRect caret = field()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x = caret.left() + caret.width() / 2 + metrics.horizontalAdvance(whole.left(offset)) -
                  metrics.horizontalAdvance(whole.left(field()->cursorPosition()));
    const QRect rect{x, caret.top(), metrics.horizontalAdvance(character), metrics.height()};
    return rect.translated(field()->mapToGlobal(QPoint{}));
}

int MeterFieldAccessible::offsetAtPoint(const QPoint& point) const
{
    return field()->cursorPositionAt(field()->mapFromGlobal(point));
}

int MeterFieldAccessible::cursorPosition() const
{
    return field()->cursorPosition();
}

void MeterFieldAccessible::setCursorPosition(int position)
{
    field()->setCursorPosition(position);
}

int MeterFieldAccessible::selectionCount() const
{
    return field()->hasSelectedText() ? 1 : 0;
}

void MeterFieldAccessible::selection(int index, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (index != 0 || !field()->hasSelectedText())
        return;
    *startOffset = field()->selectionStart();
    *endOffset = field()->selectionEnd();
}

void MeterFieldAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void MeterFieldAccessible::removeSelection(int index)
{
    if (index == 0)
        field()->deselect();
}

void MeterFieldAccessible::setSelection(int index, int startOffset, int endOffset)
{
    if (index == 0)
        field()->setSelection(startOffset, endOffset - startOffset);
}

void MeterFieldAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    field()->setCursorPosition(endIndex);
    field()->setCursorPosition(startIndex);
}

void MeterFieldAccessible::deleteText(int startOffset, int endOffset)
{
    field()->setText(field()->text().remove(startOffset, endOffset - startOffset));
}

void MeterFieldAccessible::insertText(int offset, const QString& text)
{
    field()->setText(field()->text().insert(offset, text));
}

void MeterFieldAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    field()->setText(field()->text().replace(startOffset, endOffset - startOffset, text));
}

} // namespace wattmeter
