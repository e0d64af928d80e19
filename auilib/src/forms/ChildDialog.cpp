#include "ChildDialog.h"

#include "AUILibConfig.h"
#include "ChildDialogImpl.h"

#include <QPalette>

namespace AUILib {

ChildDialog::impl::impl()
    : m_widget(new ChildDialogQt)
{
}

ChildDialog::impl::~impl()
{
    ReleaseWidget(m_widget);
}

void ChildDialog::impl::SetBackgroundColor(int rgb)
{
    if (!m_widget)
        return;
    m_backgroundColor = rgb;
    QPalette palette = m_widget->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(QColor(static_cast<QRgb>(rgb))));
    m_widget->setAutoFillBackground(true);
    m_widget->setPalette(palette);
}

ChildDialog::ChildDialog()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::ChildDialog);
}

ChildDialog::~ChildDialog() = default;

bool ChildDialog::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> ChildDialog::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ChildDialog::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void ChildDialog::SetVisible(bool visible)
{
    m_impl->Show(visible, true);
}

void ChildDialog::SetBackgroundColor(int rgb)
{
    m_impl->SetBackgroundColor(rgb);
}

int ChildDialog::BackgroundColor() const
{
    return m_impl->BackgroundColor();
}

} // namespace AUILib
