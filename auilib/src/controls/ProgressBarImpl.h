#pragma once

#include "BaseImplQt.h"
#include "ProgressBar.h"
#include "ProgressBarQt.h"

#include <QPointer>

namespace AUILib {

class ProgressBar::impl : public BaseImplQt
{
public:
    explicit impl(ProgressBar& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    ProgressBarQt* Widget() const { return m_widget; }

private:
    QPointer<ProgressBarQt> m_widget;
};

} // namespace AUILib
