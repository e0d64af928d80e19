#include "MacServices.h"

#include "platform/HardwareIdentity.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

QString GetHardwareUUID()
{
    return hardwareUuid();
}

bool processMacAppOpenfile(QString application, QString file)
{
    if (application.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    return QProcess::startDetached(application, {file});
}
