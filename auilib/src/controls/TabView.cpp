#include "TabView.h"

#include "AUILibConfig.h"
#include "PageEnabling.h"
#include "TabViewImpl.h"
#include "WideText.h"

namespace AUILib {

namespace {

std::wstring UpToNul(const std::wstring& text)
{
    return text.substr(0, text.find(L'\0'));
}

} // namespace

TabView::impl::impl(TabView& owner)
    : m_widget(new TabViewQt)
{
    TrackConnection(QObject::connect(m_widget, &QTabWidget::currentChanged,
                                     [&owner](int index) { FireHandlers(owner.OnCurrentChanged, index); }));
}

TabView::impl::~impl()
{
    ReleaseWidget(m_widget);
}

QWidget* TabView::impl::Page(int index)
{
    RequireWidget();
    return m_widget->widget(index);
}

TabView::TabView()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::TabView);
}

TabView::~TabView() = default;

bool TabView::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> TabView::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* TabView::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void TabView::SetCurrentIndex(int index)
{
    if (TabViewQt* widget = m_impl->Widget())
        widget->setCurrentIndex(index);
}

void TabView::SetTabText(int index, const std::wstring& text)
{
    if (TabViewQt* widget = m_impl->Widget())
        widget->setTabText(index, ToQString(UpToNul(text)));
}

std::wstring TabView::GetTabText(int index)
{
    TabViewQt* widget = m_impl->Widget();
    return widget ? UpToNul(ToWString(widget->tabText(index))) : std::wstring();
}

void TabView::EnablePage(int index, bool enable, bool recursive)
{
    if (QWidget* page = m_impl->Page(index))
        EnablePageWidget(page, enable, recursive);
}

int TabView::GetCurrentIndex() const
{
    TabViewQt* widget = m_impl->Widget();
    return widget ? widget->currentIndex() : -1;
}

int TabView::GetItemCount() const
{
    TabViewQt* widget = m_impl->Widget();
    return widget ? widget->count() : 0;
}

void TabView::ActivateNextTab()
{
    const int count = GetItemCount();
    if (count < 1)
        return;
    SetCurrentIndex((GetCurrentIndex() + 1) % count);
}

void TabView::ActivatePreviousTab()
{
    const int count = GetItemCount();
    if (count < 1)
        return;
    const int current = GetCurrentIndex();
    SetCurrentIndex(current > 0 ? current - 1 : count - 1);
}

} // namespace AUILib
