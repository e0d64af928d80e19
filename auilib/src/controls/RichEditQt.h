#pragma once

#include <QTextEdit>

namespace AUILib {

class RichEditQt : public QTextEdit
{
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;
};

} // namespace AUILib
