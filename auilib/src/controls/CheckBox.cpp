#include "CheckBox.h"

#include "AUILibConfig.h"
#include "CheckBoxImpl.h"
#include "WideText.h"

namespace AUILib {

CheckBox::impl::impl(CheckBox& owner)
    : m_widget(new CheckBoxQt)
{
    TrackConnection(
        QObject::connect(m_widget, &QAbstractButton::clicked, [&owner](bool) { FireHandlers(owner.OnClicked); }));
}

CheckBox::impl::~impl()
{
    ReleaseWidget(m_widget);
}

CheckBox::CheckBox()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::CheckBox);
}

CheckBox::~CheckBox()
{
    m_impl.reset();
}

bool CheckBox::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size CheckBox::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> CheckBox::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* CheckBox::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void CheckBox::SetCheck(CheckBoxStates state)
{
    CheckBoxQt* widget = m_impl->Widget();
    if (!widget || (state == CheckBoxStates::PartiallyChecked && !widget->isTristate()))
        return;
    widget->setCheckState(AUILibUtils::ChBStateToQtChBState(state));
}

CheckBoxStates CheckBox::GetCheck()
{
    const CheckBoxQt* widget = m_impl->Widget();
    return widget ? AUILibUtils::QtChBStateToChBState(widget->checkState()) : CheckBoxStates::Unchecked;
}

void CheckBox::SetTristate(bool tristate)
{
    if (CheckBoxQt* widget = m_impl->Widget())
        widget->setTristate(tristate);
}

void CheckBox::SetTextColor(unsigned int)
{
}

void CheckBox::SetTextColor(RGBColor)
{
}

void CheckBox::SetText(const std::wstring& text)
{
    CheckBoxQt* widget = m_impl->Widget();
    if (!widget)
        return;
    // The widget's own events from the new text are not the user's.
    m_impl->SetProgrammaticChange(true);
    widget->setText(ToQString(text));
    m_impl->SetProgrammaticChange(false);
}

std::wstring CheckBox::GetText() const
{
    const CheckBoxQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->text()) : std::wstring();
}

void CheckBox::SetWrap(bool wrap)
{
    if (CheckBoxQt* widget = m_impl->Widget())
        widget->SetWrap(wrap);
}

void CheckBox::SetMinimumHeight(unsigned int height)
{
    if (CheckBoxQt* widget = m_impl->Widget())
        widget->setMinimumHeight(static_cast<int>(height));
}

} // namespace AUILib
