#pragma once

#include "BaseImplQt.h"
#include "ChildDialog.h"
#include "ChildDialogQt.h"

#include <QPointer>

namespace AUILib {

class ChildDialog::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }

    void SetBackgroundColor(int rgb);
    int BackgroundColor() const { return m_backgroundColor; }

private:
    QPointer<ChildDialogQt> m_widget;
    std::int32_t m_backgroundColor = -1;
};

} // namespace AUILib
