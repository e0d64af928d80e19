#include "PlistSettings.h"

#include "CurrentUser.h"
#include "PlistCodec.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
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

// The same normalisation QSettings applies: no leading, trailing or repeated "/".
QString normalisedKey(const QString& key)
{
    QString result;
    for (const QChar c : key) {
        if (c != '/' || (!result.isEmpty() && !result.endsWith('/')))
            result.append(c);
    }
    if (result.endsWith('/'))
        result.chop(1);
    return result;
}

bool isSettingsList(const Plist::ReadResult& result)
{
    return result.status == Plist::ReadStatus::Ok && result.value.type() == QVariant::Map;
}

// A write may replace a file that is missing, a settings list, or no property list at all.
bool isReplaceable(const Plist::ReadResult& result)
{
    return result.status == Plist::ReadStatus::Missing || result.status == Plist::ReadStatus::Malformed ||
           isSettingsList(result);
}

QSettings::SettingsMap toSettingsMap(const QVariantMap& entries)
{
    QSettings::SettingsMap map;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
        map.insert(toSettingsKey(entry.key()), entry.value());
    return map;
}

QVariantMap toFileEntries(const QSettings::SettingsMap& map)
{
    QVariantMap entries;
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        entries.insert(toFileKey(entry.key()), entry.value());
    return entries;
}

bool readPlistSettings(QIODevice& device, QSettings::SettingsMap& map)
{
    const auto result = Plist::parseList(device.readAll());
    if (!isSettingsList(result))
        return false;
    map = toSettingsMap(result.value.toMap());
    return true;
}

// QSettings goes on to write after its read failed, and reports the failure afterwards: it may
// write only over what it could read, so that a write it reports as failed never replaced a file.
bool writePlistSettings(QIODevice& device, const QSettings::SettingsMap& map)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    if (!file)
        return false;
    const auto current = Plist::readListFile(file->fileName());
    if (current.status != Plist::ReadStatus::Missing && !isSettingsList(current))
        return false;
    const auto xml = Plist::toXml(toFileEntries(map));
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

PlistSettingsFile::PlistSettingsFile(QString path)
    : m_path(std::move(path))
{
    const auto result = Plist::readListFile(m_path);
    m_replaceable = isReplaceable(result);
    if (isSettingsList(result))
        m_values = toSettingsMap(result.value.toMap());
    else if (result.status == Plist::ReadStatus::Unreadable)
        m_status = QSettings::AccessError;
    else if (result.status != Plist::ReadStatus::Missing)
        m_status = QSettings::FormatError;
}

bool PlistSettingsFile::contains(const QString& key) const
{
    return m_values.contains(normalisedKey(key));
}

QVariant PlistSettingsFile::value(const QString& key, const QVariant& defaultValue) const
{
    return m_values.value(normalisedKey(key), defaultValue);
}

bool PlistSettingsFile::setValue(const QString& key, const QVariant& value)
{
    if (!m_replaceable) {
        return failWrite(m_status == QSettings::AccessError
                             ? "the file cannot be read, so it is not written over"
                             : "the file may hold settings that cannot be read here, so it is not written over");
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return failWrite("cannot make the folder " + folder);
    QSettings::SettingsMap values = m_values;
    values.insert(normalisedKey(key), value);
    QString failure;
    if (!Plist::writeFile(m_path, toFileEntries(values), &failure))
        return failWrite(failure);
    m_values = values;
    m_status = QSettings::NoError;
    m_writeFailure.clear();
    return true;
}

bool PlistSettingsFile::failWrite(const QString& cause)
{
    m_writeFailure = cause;
    return false;
}
