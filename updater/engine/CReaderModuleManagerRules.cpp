#include "CReaderModuleManager.h"

#include "engine/CUP_Log.h"
#include "engine/CRegister.h"

#include <QFile>
#include <QSet>

#include <array>

namespace {

const QString kUpdaterKey = QStringLiteral("Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");
const QString kRejectPrefix = QStringLiteral("AutoUpdate_");
const QString kRejectReaderVersion = QStringLiteral("currentVersion");

int decimal(const QString& text)
{
    return text.toInt(nullptr, 10);
}

// Four numbers; a text that runs out of dots repeats its last number into the missing places.
std::array<int, 4> versionNumbers(QString text)
{
    std::array<int, 4> numbers{};
    for (int i = 0; i < 3; ++i) {
        const int dot = text.indexOf('.');
        if (dot < 0) {
            numbers[i] = decimal(text);
            continue;
        }
        numbers[i] = decimal(text.left(dot));
        text = text.mid(dot + 1);
    }
    numbers[3] = decimal(text);
    return numbers;
}

int majorNumber(const QString& version)
{
    const int dot = version.indexOf('.');
    return decimal(dot < 0 ? version : version.left(dot));
}

QString withoutBlanks(const std::string& text)
{
    return QString::fromStdString(text).remove(' ');
}

const _UpdaterInfo* findComponent(const MODULEINFO& record, const QVector<_UpdaterInfo*>& installed)
{
    for (const _UpdaterInfo* component : installed) {
        if (component && component->name == record.name)
            return component;
    }
    return nullptr;
}

bool isUpdater(const MODULEINFO& record)
{
    return record.module_type == "updater";
}

} // namespace

int CReaderModuleManager::CompareVersion(QString a, QString b)
{
    const std::array<int, 4> left = versionNumbers(a);
    const std::array<int, 4> right = versionNumbers(b);
    for (size_t i = 0; i < left.size(); ++i) {
        if (left[i] != right[i])
            return left[i] > right[i] ? 1 : -1;
    }
    return 0;
}

bool CReaderModuleManager::CheckModuleAvailable(MODULEINFO* record, QVector<_UpdaterInfo*>& installed)
{
    if (m_strType == "Auto Updater" && isUpdater(*record) && !CheckUpdaterAvailable(record))
        return false;
    if (record->iscommon)
        return !isUpdater(*record) || CheckUpdaterAvailable(record);
    if (isUpdater(*record))
        return CheckUpdaterAvailable(record);
    const _UpdaterInfo* component = findComponent(*record, installed);
    if (!component)
        return false;
    return CompareVersion(withoutBlanks(component->version), withoutBlanks(record->version)) >= 0;
}

bool CReaderModuleManager::CheckAutoupdateModuleAvailable(MODULEINFO* record, QVector<_UpdaterInfo*>& installed)
{
    const _UpdaterInfo* component = findComponent(*record, installed);
    if (!component)
        return true;
    return CompareVersion(withoutBlanks(component->version), withoutBlanks(record->version)) >= 0;
}

bool CReaderModuleManager::CheckUpdaterAvailable(MODULEINFO* record, bool)
{
    if (!isUpdater(*record))
        return true;
    if (record->is_push)
        return false;
    return CompareVersion(QString::fromStdString(record->version), readerVersion()) <= 0;
}

bool CReaderModuleManager::CheckForcedUpgradeVersion(MODULEINFO* record, QVector<_UpdaterInfo*>& installed)
{
    if (isUpdater(*record) && record->forcedUpgrade)
        return true;
    const _UpdaterInfo* component = findComponent(*record, installed);
    if (!component)
        return true;
    for (const QString& path : component->paths) {
        if (!QFile::exists(path))
            return true;
    }
    return CompareVersion(withoutBlanks(record->version), withoutBlanks(component->version)) >= 1;
}

bool CReaderModuleManager::CheckMajorVersionUpgrade(QString version)
{
    CUP_Log::PrintLog(QString("CheckMajorVersionUpgrade; version: %1").arg(version));
    return majorNumber(version) > majorNumber(readerVersion());
}

bool CReaderModuleManager::CheckHasRejectForcedUpgrade(MODULEINFO* record,
                                                      QVector<_HasRejectForceUpdaterInfo*>& rejected)
{
    for (const _HasRejectForceUpdaterInfo* entry : rejected) {
        if (entry && entry->name == record->name)
            return CompareVersion(QString::fromStdString(record->version), QString::fromStdString(entry->version)) >= 0;
    }
    return false;
}

void CReaderModuleManager::ParseHasRejectForceUpdaterInfo(QVector<_HasRejectForceUpdaterInfo*>& rejected)
{
    qDeleteAll(rejected);
    rejected.clear();
}

void CReaderModuleManager::ParseHasRejectAutoUpdaterInfo(QVector<_HasRejectAutoUpdaterInfo*>&)
{
}

void CReaderModuleManager::DeleteHasRejectAutoUpdaterInfo(QVector<_HasRejectAutoUpdaterInfo*>&)
{
}

bool CReaderModuleManager::MajorUpdateChecked(MODULEINFO* record)
{
    const QString rejectedVersion = CRegister::regGetString(kUpdaterKey, "UpdateRejectVersion");
    const unsigned int checkedCount = CRegister::regGetDword(kUpdaterKey, "MajorUpdateChecked");
    const QString version = QString::fromStdString(record->version);
    CUP_Log::PrintLog(QString("MajorUpdateChecked: UpdateRejectVersion(%1), MajorUpdateChecked(%2), version(%3)")
                          .arg(rejectedVersion)
                          .arg(checkedCount)
                          .arg(version));
    return !(CompareVersion(version, rejectedVersion) < 1 && checkedCount >= 3);
}

bool CReaderModuleManager::CheckVersionUpdate()
{
    for (const MODULEINFO* record : qAsConst(m_vecAvailable)) {
        if (record && isUpdater(*record))
            return true;
    }
    return false;
}

bool CReaderModuleManager::isSilentUpdate()
{
    if (m_vecAvailable.isEmpty())
        return false;
    for (const MODULEINFO* record : qAsConst(m_vecAvailable)) {
        if (!record || !record->SilentInstall)
            return false;
    }
    return true;
}

bool CReaderModuleManager::DeletePatchUpdate()
{
    int lastUpdater = -1;
    int lastPatch = -1;
    for (int i = 0; i < m_vecAvailable.size(); ++i) {
        if (m_vecAvailable[i]->name.find("Updater") != std::string::npos)
            lastUpdater = i;
        if (m_vecAvailable[i]->name.find("Patch") != std::string::npos)
            lastPatch = i;
    }
    if (lastUpdater >= 0 && lastPatch >= 0)
        DeleteModule(m_vecAvailable[lastPatch]);
    return true;
}

bool CReaderModuleManager::DeleteKelvrinCloud()
{
    QSet<MODULEINFO*> cloudModules;
    for (MODULEINFO* record : qAsConst(m_vecAvailable)) {
        if (record->update_mode == 2 && record->isInternalService.rfind("TRUE", 0) == 0)
            cloudModules.insert(record);
    }
    DeleteModules(cloudModules);
    return true;
}

bool CReaderModuleManager::ParseRejectAutoUpdateInfo(std::string name, std::string version)
{
    const QString stored = CRegister::regGetString(kRejectPrefix + QString::fromStdString(name), QString());
    const QString recordedReader = CRegister::regGetString(kRejectReaderVersion, QString());
    if (recordedReader.isEmpty() || recordedReader != readerVersion())
        return false;
    return !version.empty() && stored == QString::fromStdString(version);
}

void CReaderModuleManager::WriteRejectAutoUpdateInfo(QVector<MODULEINFO*> modules, bool)
{
    for (const MODULEINFO* record : qAsConst(modules)) {
        if (record)
            CRegister::regSetString(kRejectPrefix + QString::fromStdString(record->name), QString(),
                                    QString::fromStdString(record->version));
    }
    CRegister::regSetString(kRejectReaderVersion, QString(), readerVersion());
}

void CReaderModuleManager::WriteRejectInfo()
{
}
