#pragma once

#include "BaseImplQt.h"
#include "Splitter.h"
#include "SplitterQt.h"

#include <QPointer>

namespace AUILib {

class Splitter::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    SplitterQt* Widget() const { return m_widget; }

private:
    QPointer<SplitterQt> m_widget;
};

} // namespace AUILib
