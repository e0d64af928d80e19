#include "ButtonBoxQt.h"

#include "ButtonBoxSizing.h"

#include <QEvent>

namespace AUILib {

bool ButtonBoxQt::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_sizesFrozen) {
        ApplyButtonBoxSizing(this);
        m_sizesFrozen = true;
    }
    return QDialogButtonBox::event(event);
}

} // namespace AUILib
