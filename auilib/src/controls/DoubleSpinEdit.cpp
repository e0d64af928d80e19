#include "DoubleSpinEdit.h"

#include "AUILibConfig.h"
#include "DoubleSpinEditImpl.h"
#include "PicaPoints.h"
#include "WideText.h"

namespace AUILib {

DoubleSpinEdit::impl::impl(DoubleSpinEdit& owner)
    : m_widget(new DoubleSpinEditQt(&owner))
{
    TrackConnection(QObject::connect(m_widget, QOverload<double>::of(&QDoubleSpinBox::valueChanged),
                                     [this, &owner](double value) { OnBoxValueChanged(owner, value); }));
    TrackConnection(QObject::connect(m_widget, &DoubleSpinEditQt::arrowValueChanged,
                                     [this, &owner](double value, double change) {
                                         OnArrowValueChanged(owner, value, change);
                                     }));
}

DoubleSpinEdit::impl::~impl()
{
    if (m_widget)
        m_widget->ReleaseOwner();
    ReleaseWidget(m_widget);
}

void DoubleSpinEdit::impl::SupportPicaPoints(bool on)
{
    m_picaLineEdit = m_widget->SupportPicaPoints(on);
}

void DoubleSpinEdit::impl::OnBoxValueChanged(DoubleSpinEdit& owner, double value)
{
    if (!m_widget->IsPica() || !m_picaLineEdit) {
        FireHandlers(owner.OnValueChanged, value);
        return;
    }
    // In pica mode the value only carries the text: the length is what the text says.
    const QStringList entries = m_widget->ParsePica(m_picaLineEdit->text());
    if (!entries.isEmpty())
        FireHandlers(owner.OnPicaValueChanged, PicaPointFromEntries(entries));
}

void DoubleSpinEdit::impl::OnArrowValueChanged(DoubleSpinEdit& owner, double value, double change)
{
    if (m_widget->IsPica())
        FireHandlers(owner.OnPicaArrowValueChanged, m_widget->PicaValue(), change);
    else
        FireHandlers(owner.OnArrowValueChanged, value, change);
}

DoubleSpinEdit::DoubleSpinEdit()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::DoubleSpinEdit);
}

DoubleSpinEdit::~DoubleSpinEdit() = default;

bool DoubleSpinEdit::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> DoubleSpinEdit::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* DoubleSpinEdit::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void DoubleSpinEdit::SetRange(double min, double max)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetBounds(min, max);
}

void DoubleSpinEdit::SetRange(PicaPoint min, PicaPoint max)
{
    DoubleSpinEditQt* widget = m_impl->Widget();
    if (widget && widget->IsPica())
        widget->SetBounds(PicaToValue(min), PicaToValue(max));
}

double DoubleSpinEdit::GetValue()
{
    DoubleSpinEditQt* widget = m_impl->Widget();
    return widget ? widget->value() : 0.0;
}

PicaPoint DoubleSpinEdit::GetPicaPointValue()
{
    DoubleSpinEditQt* widget = m_impl->Widget();
    return widget && widget->IsPica() ? widget->PicaValue() : PicaPoint();
}

void DoubleSpinEdit::SetValue(double value)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetNumber(value);
}

void DoubleSpinEdit::SetValue(PicaPoint value)
{
    DoubleSpinEditQt* widget = m_impl->Widget();
    if (widget && widget->IsPica() && m_impl->PicaLineEdit())
        widget->SetPicaValue(value);
}

void DoubleSpinEdit::SetStep(double step)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetStep(step);
}

void DoubleSpinEdit::SetStep(PicaPoint step)
{
    DoubleSpinEditQt* widget = m_impl->Widget();
    if (widget && widget->IsPica())
        widget->SetStep(PicaToValue(step));
}

void DoubleSpinEdit::SetPrecision(int decimals)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetPrecision(decimals);
}

void DoubleSpinEdit::SetSuffix(const std::wstring& suffix)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->setSuffix(ToQString(suffix));
}

std::wstring DoubleSpinEdit::GetSuffix() const
{
    DoubleSpinEditQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->suffix()) : std::wstring();
}

void DoubleSpinEdit::SetBalloonNaNtext(const std::wstring& title, const std::wstring& text)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetBalloonNaNtext(ToQString(title), ToQString(text));
}

void DoubleSpinEdit::LastValidValueCorrection(bool on)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetLastValidValueCorrection(on);
}

void DoubleSpinEdit::SetDecimalChar(char decimal)
{
    if (DoubleSpinEditQt* widget = m_impl->Widget())
        widget->SetDecimalChar(decimal);
}

void DoubleSpinEdit::SupportPicaPoints(bool on)
{
    if (m_impl->Widget())
        m_impl->SupportPicaPoints(on);
}

} // namespace AUILib
