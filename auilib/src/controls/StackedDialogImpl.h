#pragma once

#include "BaseImplQt.h"
#include "StackedDialog.h"
#include "StackedDialogQt.h"

#include <QPointer>

namespace AUILib {

class StackedDialog::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    StackedDialogQt* Widget() const { return m_widget; }
    // Null for an index out of range; AgnosticUIException once the widget is gone.
    QWidget* Page(int index);

private:
    QPointer<StackedDialogQt> m_widget;
};

} // namespace AUILib
