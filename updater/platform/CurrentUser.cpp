#include "CurrentUser.h"

#include <QDir>
#include <QFile>

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
    // QDir::homePath() answers the file system's root when HOME is empty; the account knows better.
    if (const QString home = qEnvironmentVariable("HOME"); !home.isEmpty())
        return QDir::cleanPath(home);
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_dir && *entry->pw_dir)
        return QDir::cleanPath(QFile::decodeName(entry->pw_dir));
    return QString();
}

QString globalPreferencesPath()
{
    return currentUserHome() + "/Library/Preferences/.GlobalPreferences.plist";
}
