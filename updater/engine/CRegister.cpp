#include "CRegister.h"

#include "CUP_Log.h"
#include "platform/PlistSettings.h"
#include "platform/SystemRoot.h"

#include <QFileInfo>

namespace {

const QString kProductName = QStringLiteral("Kelvrin PDF Reader");
const QString kDefaultOrganisation = QStringLiteral("Kelvrin Software");
const QString kDefaultApplication = QStringLiteral("Kelvrin.PDF.Reader");
const QString kClassicMap = QStringLiteral("Classic");

QString settingsKey(const QString& key, const QString& name)
{
    QString joined = name.isEmpty() ? key : key + '\\' + name;
    return joined.replace('\\', '/');
}

void useDefaultsWhenBothEmpty(QString& organisation, QString& application)
{
    if (organisation.isEmpty() && application.isEmpty()) {
        organisation = kDefaultOrganisation;
        application = kDefaultApplication;
    }
}

QVariant readInLayout(const PlistSettingsFile& settings, const QString& key, const QVariant& defaultValue)
{
    if (CheckIsContinue())
        return settings.value(key, defaultValue);
    if (!settings.contains(kClassicMap))
        return defaultValue;
    return settings.value(kClassicMap).toMap().value(key, defaultValue);
}

bool writeInLayout(PlistSettingsFile& settings, const QString& key, const QVariant& value)
{
    if (CheckIsContinue())
        return settings.setValue(key, value);
    QVariantMap classic = settings.value(kClassicMap).toMap();
    classic.insert(key, value);
    return settings.setValue(kClassicMap, classic);
}

QVariant readKey(const QString& key, const QVariant& defaultValue)
{
    QVariant result;
    QString organisation;
    QString application;
    CheckSingleKeysPlist(key, result, defaultValue, organisation, application);
    return result;
}

bool writeKey(const QString& key, const QVariant& value)
{
    QString organisation;
    QString application;
    return WriteSingleKeysPlist(key, value, organisation, application);
}

} // namespace

bool CheckIsContinue()
{
    const QString machineList =
        systemPath(QString("/usr/local/share/kelvrin/%1/LocalMachine/LocalMachine.plist").arg(kProductName));
    const QString key = QString("HKEY_LOCAL_MACHINE/SOFTWARE/Kelvrin Software/%1/bContinue").arg(kProductName);
    return PlistSettingsFile(machineList).value(key, "1").toString() == "1";
}

bool CheckSingleKeysPlist(const QString& key, QVariant& result, const QVariant& defaultValue, QString& organisation,
                          QString& application)
{
    useDefaultsWhenBothEmpty(organisation, application);
    const PlistSettingsFile settings(applicationSettingsPath(organisation, application));
    result = readInLayout(settings, QString(key).replace('\\', '/'), defaultValue);
    return settings.status() == QSettings::NoError;
}

bool WriteSingleKeysPlist(const QString& key, const QVariant& value, QString& organisation, QString& application)
{
    useDefaultsWhenBothEmpty(organisation, application);
    const QString path = applicationSettingsPath(organisation, application);
    PlistSettingsFile settings(path);
    const QString settingsKey = QString(key).replace('\\', '/');
    if (writeInLayout(settings, settingsKey, value))
        return true;
    // No caller can do more than go on; the log is where a lost setting is found.
    CUP_Log::PrintLog("cannot store " + settingsKey + " = " + value.toString() + " in " + path + ": " +
                      settings.writeFailure());
    return false;
}

QString CRegister::regGetString(QString key, QString name)
{
    return readKey(settingsKey(key, name), QString()).toString();
}

unsigned int CRegister::regGetDword(QString key, QString name)
{
    return static_cast<unsigned int>(readKey(settingsKey(key, name), 0).toULongLong());
}

bool CRegister::regSetString(QString key, QString name, QString value)
{
    return writeKey(settingsKey(key, name), value);
}

bool CRegister::regSetDword(QString key, QString name, unsigned int value)
{
    return writeKey(settingsKey(key, name), value);
}

QVariant CRegister::regGetVariant(const QString& key, const QVariant& defaultValue, const QString& plistFile,
                                  const QString& organisation, const QString& application)
{
    QString chosenOrganisation = organisation;
    QString chosenApplication = application;
    useDefaultsWhenBothEmpty(chosenOrganisation, chosenApplication);
    const PlistSettingsFile settings(!plistFile.isEmpty() && QFileInfo::exists(plistFile)
                                         ? plistFile
                                         : applicationSettingsPath(chosenOrganisation, chosenApplication));
    return readInLayout(settings, key, defaultValue);
}
