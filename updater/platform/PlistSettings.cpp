#include "PlistSettings.h"

#include "CurrentUser.h"
#include "PlistCodec.h"

#include <QIODevice>

namespace {

constexpr QChar kMiddleDot(0x00B7);

// Applies the rotation "/" -> "." -> middle dot -> "/" (or its inverse) to one key.
QString rotateKey(QString key, QChar slashTo, QChar dotTo, QChar middleDotTo)
{
    for (QChar& c : key) {
        if (c == '/')
            c = slashTo;
        else if (c == '.')
            c = dotTo;
        else if (c == kMiddleDot)
            c = middleDotTo;
    }
    return key;
}

QString toFileKey(const QString& settingsKey)
{
    return rotateKey(settingsKey, '.', kMiddleDot, '/');
}

QString toSettingsKey(const QString& fileKey)
{
    return rotateKey(fileKey, kMiddleDot, '/', '.');
}

bool readPlistSettings(QIODevice& device, QSettings::SettingsMap& map)
{
    const auto root = Plist::parse(device.readAll());
    if (!root || root->type() != QVariant::Map)
        return false;
    const QVariantMap entries = root->toMap();
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
        map.insert(toSettingsKey(entry.key()), entry.value());
    return true;
}

bool writePlistSettings(QIODevice& device, const QSettings::SettingsMap& map)
{
    QVariantMap entries;
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        entries.insert(toFileKey(entry.key()), entry.value());
    const auto xml = Plist::toXml(entries);
    return xml && device.write(*xml) == xml->size();
}

} // namespace

QSettings::Format plistSettingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat("plist", readPlistSettings, writePlistSettings, Qt::CaseSensitive);
    return format;
}

std::unique_ptr<QSettings> openPlistSettings(const QString& filePath)
{
    auto settings = std::make_unique<QSettings>(filePath, plistSettingsFormat());
    settings->setFallbacksEnabled(false);
    return settings;
}

QString applicationSettingsPath(const QString& organisation, const QString& application)
{
    const QString domain = organisation.toLower().replace(' ', '-');
    return currentUserHome() + "/Library/Preferences/com." + domain + "." + application + ".plist";
}

std::unique_ptr<QSettings> openApplicationSettings(const QString& organisation, const QString& application)
{
    return openPlistSettings(applicationSettingsPath(organisation, application));
}
