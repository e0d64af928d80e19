#include "ButtonBox.h"

#include "AUILibConfig.h"
#include "ButtonBoxImpl.h"
#include "ButtonBoxSizing.h"

#include <QPushButton>

namespace AUILib {

ButtonBox::impl::impl()
    : m_widget(new ButtonBoxQt)
{
}

ButtonBox::impl::~impl()
{
    m_buttons.clear();
    ReleaseWidget(m_widget);
}

void ButtonBox::impl::ConvertStandardButtons()
{
    if (!m_widget)
        return;
    QObject::disconnect(m_widget, nullptr, nullptr, nullptr);
    for (const StandardButtonEntry& entry : StandardButtonTable()) {
        QPushButton* pushButton = m_widget->button(entry.value);
        if (!pushButton)
            continue;
        auto button = std::make_shared<Button>(pushButton);
        pushButton->setText(TranslatedCaption(entry));
        m_buttons.push_back(button);
    }
}

std::shared_ptr<Button> ButtonBox::impl::GetButton(StandardButton which) const
{
    const QDialogButtonBox* box = m_widget;
    QPushButton* wanted = box ? box->button(static_cast<QDialogButtonBox::StandardButton>(which)) : nullptr;
    if (!wanted)
        return {};
    for (const std::shared_ptr<Button>& button : m_buttons) {
        if (button->GetBaseImpl()->GetWidget() == wanted)
            return button;
    }
    return {};
}

ButtonBox::ButtonBox()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::ButtonBox);
}

ButtonBox::~ButtonBox() = default;

bool ButtonBox::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size ButtonBox::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> ButtonBox::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ButtonBox::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void ButtonBox::SetOrientation(bool vertical)
{
    if (ButtonBoxQt* box = m_impl->Box())
        box->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
}

std::shared_ptr<Button> ButtonBox::GetButton(StandardButton which)
{
    return m_impl->GetButton(which);
}

} // namespace AUILib
