#pragma once

#include <QScrollBar>

namespace AUILib {

class ScrollBarQt : public QScrollBar
{
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;
};

} // namespace AUILib
