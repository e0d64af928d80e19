#pragma once

#include <QTabWidget>

namespace AUILib {

class TabViewQt : public QTabWidget
{
    Q_OBJECT
public:
    using QTabWidget::QTabWidget;
};

} // namespace AUILib
