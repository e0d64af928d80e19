#include "StackedDialog.h"

#include "AUILibConfig.h"
#include "PageEnabling.h"
#include "StackedDialogImpl.h"

namespace AUILib {

StackedDialog::impl::impl()
    : m_widget(new StackedDialogQt)
{
}

StackedDialog::impl::~impl()
{
    ReleaseWidget(m_widget);
}

QWidget* StackedDialog::impl::Page(int index)
{
    RequireWidget();
    return m_widget->widget(index);
}

StackedDialog::StackedDialog()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::StackedDialog);
}

StackedDialog::~StackedDialog() = default;

bool StackedDialog::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> StackedDialog::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* StackedDialog::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void StackedDialog::SetCurrentIndex(int index)
{
    if (StackedDialogQt* widget = m_impl->Widget())
        widget->setCurrentIndex(index);
}

int StackedDialog::GetCurrentIndex()
{
    StackedDialogQt* widget = m_impl->Widget();
    return widget ? widget->currentIndex() : 0;
}

QWidget* StackedDialog::GetPage(int index)
{
    return m_impl->Page(index);
}

int StackedDialog::InsertChildDialog(int index, QWidget* page)
{
    StackedDialogQt* widget = m_impl->Widget();
    return widget ? widget->insertWidget(index, page) : 0;
}

void StackedDialog::EnablePage(int index, bool enable, bool recursive)
{
    if (QWidget* page = m_impl->Page(index))
        EnablePageWidget(page, enable, recursive);
}

} // namespace AUILib
