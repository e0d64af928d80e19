#pragma once

#include "BaseImplQt.h"
#include "CustomLineEdit.h"
#include "DoubleSpinEdit.h"
#include "DoubleSpinEditQt.h"

#include <QPointer>

namespace AUILib {

class DoubleSpinEdit::impl : public BaseImplQt
{
public:
    explicit impl(DoubleSpinEdit& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    DoubleSpinEditQt* Widget() const { return m_widget; }
    // Null until SupportPicaPoints installed one.
    CustomLineEdit* PicaLineEdit() const { return m_picaLineEdit; }
    void SupportPicaPoints(bool on);

private:
    void OnBoxValueChanged(DoubleSpinEdit& owner, double value);
    void OnArrowValueChanged(DoubleSpinEdit& owner, double value, double change);

    QPointer<DoubleSpinEditQt> m_widget;
    QPointer<CustomLineEdit> m_picaLineEdit;
};

} // namespace AUILib
