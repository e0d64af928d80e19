#pragma once

#include <QFrame>
#include <QTextCursor>

#include <algorithm>
#include <cstdint>
#include <utility>

// What the multi-line and the rich edit do alike on their Qt text widgets.
namespace AUILib::TextEditOperations {

// Within one set the bits act in the order shown, read-only 1, frame 2, visible 4, wrap 8.
template <typename Widget>
void ApplyStyleBits(Widget& widget, std::uint32_t bits, bool on)
{
    if (bits & 4u)
        widget.setVisible(on);
    if (bits & 1u)
        widget.setReadOnly(on);
    if (bits & 2u)
        widget.setFrameStyle(on ? QFrame::StyledPanel : QFrame::NoFrame);
    if (bits & 8u)
        widget.setLineWrapMode(on ? Widget::WidgetWidth : Widget::NoWrap);
}

template <typename Widget>
void SetStyle(Widget& widget, std::uint32_t removeBits, std::uint32_t addBits)
{
    ApplyStyleBits(widget, addBits, true);
    ApplyStyleBits(widget, removeBits, false);
}

// Refreshes `cursor` from the widget; start and end of its selection.
template <typename Widget>
std::pair<std::int64_t, std::int64_t> GetSelection(Widget& widget, QTextCursor& cursor)
{
    cursor = widget.textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

// Selects [start, end) through `cursor`, taken from the widget so that it works on the current
// document; -1 as end stands for the end of the text, positions past the end stop there.
template <typename Widget>
void SetSelection(Widget& widget, QTextCursor& cursor, std::int64_t start, std::int64_t end)
{
    cursor = widget.textCursor();
    cursor.clearSelection();
    const std::int64_t length = widget.document()->characterCount() - 1;
    if (end == -1)
        end = length;
    if (start < 0 || end < 0)
        return;
    cursor.setPosition(static_cast<int>(std::min(start, length)));
    if (end > start)
        cursor.setPosition(static_cast<int>(std::min(end, length)), QTextCursor::KeepAnchor);
    widget.setTextCursor(cursor);
}

} // namespace AUILib::TextEditOperations
