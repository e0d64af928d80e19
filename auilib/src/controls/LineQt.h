#pragma once

#include <QFrame>

namespace AUILib {

class LineQt : public QFrame
{
    Q_OBJECT
public:
    using QFrame::QFrame;
};

} // namespace AUILib
