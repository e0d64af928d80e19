#include "CurrentUser.h"

#include <QDir>

#include <pwd.h>
#include <unistd.h>

QString currentUserName()
{
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString currentUserHome()
{
    return QDir::homePath();
}

QString globalPreferencesPath()
{
    return currentUserHome() + "/Library/Preferences/.GlobalPreferences.plist";
}
