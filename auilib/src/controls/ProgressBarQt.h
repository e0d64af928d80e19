#pragma once

#include <QProgressBar>

namespace AUILib {

class ProgressBarQt : public QProgressBar
{
    Q_OBJECT
public:
    using QProgressBar::QProgressBar;
};

} // namespace AUILib
