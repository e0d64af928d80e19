#include "MultiLineEditQt.h"

#include <QMimeData>

namespace AUILib {

void MultiLineEditQt::insertFromMimeData(const QMimeData* source)
{
    if (m_insertLimit < 0 || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // The text rule would remove, right before the cursor, whatever of the insertion is over the
    // limit: its end. A text already over the limit is left to that rule.
    const QTextCursor cursor = textCursor();
    const int kept = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
    const int room = m_insertLimit - kept;
    const QString text = source->text();
    if (room < 0 || text.size() <= room) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    int cut = room;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    QMimeData shortened;
    shortened.setText(text.left(cut));
    QPlainTextEdit::insertFromMimeData(&shortened);
}

} // namespace AUILib
