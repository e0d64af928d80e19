#pragma once

#include "BaseImplQt.h"
#include "GroupBox.h"
#include "GroupBoxQt.h"

#include <QPointer>

namespace AUILib {

class GroupBox::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    // Repaints the area it leaves or takes in its parent, so no frame is left behind.
    void Show(bool show, bool repaint) override;
    QWidget* GetWidget() override { return m_widget; }
    GroupBoxQt* Widget() const { return m_widget; }

private:
    QPointer<GroupBoxQt> m_widget;
};

} // namespace AUILib
