#pragma once

#include "BaseImplQt.h"

#include <QWidget>

namespace AUILib {

// A page of a stacked dialog or a tab view; `recursive` reaches every widget on it as well.
inline void EnablePageWidget(QWidget* page, bool enable, bool recursive)
{
    if (recursive)
        BaseImplQt::EnableRecursive(page, enable);
    else
        page->setEnabled(enable);
}

} // namespace AUILib
