#pragma once

#include <QStackedWidget>

namespace AUILib {

class StackedDialogQt : public QStackedWidget
{
    Q_OBJECT
public:
    using QStackedWidget::QStackedWidget;
};

} // namespace AUILib
