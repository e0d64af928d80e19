#pragma once

// A control over any Qt widget class, built the way every control of the library is: the public
// object, its implementation on BaseImplQt, and the widget.
#include "BaseGUIObject.h"
#include "BaseImplQt.h"

#include <QPointer>
#include <QWidget>

template <typename Widget>
class TestControl : public AUILib::BaseGUIObject
{
public:
    class Impl : public AUILib::BaseImplQt
    {
    public:
        Impl()
            : widget(new Widget)
        {
        }
        ~Impl() override { ReleaseWidget(widget); }
        QWidget* GetWidget() override { return widget; }

        QPointer<Widget> widget;
    };

    TestControl()
        : m_impl(std::make_shared<Impl>())
    {
    }

    bool Create(QWidget* parent) override { return m_impl->Create(parent); }
    std::shared_ptr<AUILib::BaseImpl> GetBaseImpl() const override { return m_impl; }
    Widget* widget() const { return m_impl->widget; }
    Impl& impl() const { return *m_impl; }

private:
    std::shared_ptr<Impl> m_impl;
};
