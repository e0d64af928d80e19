#pragma once

#include <QPlainTextEdit>

namespace AUILib {

// The multi-line edit's widget. With a character limit, a paste or a drop brings in only what the
// limit keeps, so that a long paste is never laid out only to be removed again.
class MultiLineEditQt : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // -1: no limit.
    void SetInsertLimit(int limit) { m_insertLimit = limit; }

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    int m_insertLimit = -1;
};

} // namespace AUILib
