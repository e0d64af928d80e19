#include "SpinEdit.h"

#include "AUILibConfig.h"
#include "SpinEditImpl.h"
#include "WideText.h"

namespace AUILib {

SpinEdit::impl::impl(SpinEdit& owner)
    : m_widget(new SpinEditQt)
{
    TrackConnection(QObject::connect(m_widget, &SpinEditQt::valueChanged,
                                     [&owner](long long value) { FireHandlers(owner.OnValueChanged, value); }));
    TrackConnection(QObject::connect(m_widget, &SpinEditQt::arrowValueChanged, [&owner](long long value, long long change) {
        FireHandlers(owner.OnArrowValueChanged, value, change);
    }));
}

SpinEdit::impl::~impl()
{
    ReleaseWidget(m_widget);
}

SpinEdit::SpinEdit()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::SpinEdit);
}

SpinEdit::~SpinEdit() = default;

bool SpinEdit::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> SpinEdit::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* SpinEdit::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void SpinEdit::SetRange(long long a, long long b)
{
    if (SpinEditQt* widget = m_impl->Widget())
        widget->SetRange(a, b);
}

long long SpinEdit::GetValue()
{
    SpinEditQt* widget = m_impl->Widget();
    return widget ? widget->GetValue() : 0;
}

void SpinEdit::SetValue(long long value)
{
    if (SpinEditQt* widget = m_impl->Widget())
        widget->SetValue(value);
}

void SpinEdit::SetStep(long long step)
{
    if (SpinEditQt* widget = m_impl->Widget())
        widget->SetStep(step);
}

void SpinEdit::SetSuffix(const std::wstring& suffix)
{
    if (SpinEditQt* widget = m_impl->Widget())
        widget->SetSuffix(ToQString(suffix));
}

std::wstring SpinEdit::GetSuffix() const
{
    SpinEditQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->Suffix()) : std::wstring();
}

void SpinEdit::SetBalloonNaNtext(const std::wstring& title, const std::wstring& text)
{
    if (SpinEditQt* widget = m_impl->Widget())
        widget->SetBalloonNaNtext(ToQString(title), ToQString(text));
}

void SpinEdit::LastValidValueCorrection(bool on)
{
    if (SpinEditQt* widget = m_impl->Widget())
        widget->SetLastValidValueCorrection(on);
}

} // namespace AUILib
