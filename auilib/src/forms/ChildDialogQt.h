#pragma once

#include <QWidget>

namespace AUILib {

class ChildDialogQt : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

} // namespace AUILib
