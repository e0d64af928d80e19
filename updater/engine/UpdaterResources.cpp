#include "UpdaterResources.h"

#include <QtGlobal>

void ensureUpdaterResources()
{
    Q_INIT_RESOURCE(dialogs);
}
