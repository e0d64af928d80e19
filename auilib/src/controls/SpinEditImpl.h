#pragma once

#include "BaseImplQt.h"
#include "SpinEdit.h"
#include "SpinEditQt.h"

#include <QPointer>

namespace AUILib {

class SpinEdit::impl : public BaseImplQt
{
public:
    explicit impl(SpinEdit& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    SpinEditQt* Widget() const { return m_widget; }

private:
    QPointer<SpinEditQt> m_widget;
};

} // namespace AUILib
