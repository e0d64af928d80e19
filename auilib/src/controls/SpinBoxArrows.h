#pragma once

#include <QPoint>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QWidget>

namespace AUILib {

// The arrow of a spin box under a point: SC_SpinBoxUp, SC_SpinBoxDown or SC_None.
inline QStyle::SubControl SpinBoxArrowAt(const QWidget* box, const QStyleOptionSpinBox& option, QPoint at)
{
    for (QStyle::SubControl arrow : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown}) {
        if (box->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, box).contains(at))
            return arrow;
    }
    return QStyle::SC_None;
}

} // namespace AUILib
