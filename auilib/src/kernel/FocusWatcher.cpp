#include "FocusWatcher.h"

#include <QEvent>
#include <QWidget>

namespace AUILib {

FocusWatcher::FocusWatcher(QWidget* watched)
    : QObject(watched)
{
    if (watched)
        watched->installEventFilter(this);
}

bool FocusWatcher::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        emit focusChanged(true);
    else if (event->type() == QEvent::FocusOut)
        emit focusChanged(false);
    return false;
}

} // namespace AUILib
