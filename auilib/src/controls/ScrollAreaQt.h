#pragma once

#include <QScrollArea>

namespace AUILib {

class ScrollAreaQt : public QScrollArea
{
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;
};

} // namespace AUILib
