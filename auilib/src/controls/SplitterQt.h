#pragma once

#include <QSplitter>

namespace AUILib {

class SplitterQt : public QSplitter
{
    Q_OBJECT
public:
    using QSplitter::QSplitter;
};

} // namespace AUILib
