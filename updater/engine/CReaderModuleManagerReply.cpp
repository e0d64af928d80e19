#include "CReaderModuleManager.h"

#include "engine/CUP_Log.h"
#include "engine/UpdateRun.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/XmlTree.h"
#include "xml/CZR_XMLElement.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

const QString kUpdaterKey = QStringLiteral("Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");

using XmlTree::Tree;
using XmlTree::text;

std::string utf8(const CZR_WideString& value)
{
    return text(value).toStdString();
}

bool isTrueIgnoringCase(const CZR_WideString& value)
{
    return value.CompareNoCase(L"true") == 0;
}

const std::pair<const char*, std::string MODULEINFO::*> kTextAttributes[] = {
    {"name", &MODULEINFO::name},
    {"title", &MODULEINFO::title},
    {"version", &MODULEINFO::version},
    {"size", &MODULEINFO::size},
    {"description", &MODULEINFO::description},
    {"regkey", &MODULEINFO::regkey},
    {"level", &MODULEINFO::level},
    {"module_type", &MODULEINFO::module_type},
    {"parent", &MODULEINFO::parent},
    {"isInternalService", &MODULEINFO::isInternalService},
    {"releaseDate", &MODULEINFO::releaseDate},
    {"md5", &MODULEINFO::md5},
    {"upgTipBtn", &MODULEINFO::upgTipBtn},
    {"upgTipTitle", &MODULEINFO::upgTipTitle},
    {"upgTipContent", &MODULEINFO::upgTipContent},
};

// Assigned on every occurrence.
const std::pair<const char*, bool MODULEINFO::*> kAssignedFlags[] = {
    {"result", &MODULEINFO::result},
    {"plugin", &MODULEINFO::plugin},
    {"isnew", &MODULEINFO::isnew},
    {"iscommon", &MODULEINFO::iscommon},
};

// Only ever raised by the reply, never cleared.
const std::pair<const char*, bool MODULEINFO::*> kRaisedFlags[] = {
    {"forcedUpgrade", &MODULEINFO::forcedUpgrade},
    {"SilentInstall", &MODULEINFO::SilentInstall},
    {"autoCheck", &MODULEINFO::autoCheck},
    {"pushUpdateTip", &MODULEINFO::pushUpdateTip},
};

// The decoded path of a package address sent by an internal update service.
std::string internalPackagePath(const QString& value)
{
    const QUrl url(value, QUrl::TolerantMode);
    qDebug() << "origin url:" << value;
    qDebug() << "decode url:" << url.toString(QUrl::FullyEncoded);
    return url.path(QUrl::FullyDecoded).toStdString();
}

void applyAttribute(const CZR_ByteString& name, const CZR_WideString& value, MODULEINFO& record, bool internal)
{
    for (const auto& [attribute, field] : kTextAttributes) {
        if (name == attribute) {
            record.*field = utf8(value);
            return;
        }
    }
    for (const auto& [attribute, flag] : kAssignedFlags) {
        if (name == attribute) {
            record.*flag = isTrueIgnoringCase(value);
            return;
        }
    }
    for (const auto& [attribute, flag] : kRaisedFlags) {
        if (name == attribute) {
            if (isTrueIgnoringCase(value))
                record.*flag = true;
            return;
        }
    }
    if (name == "url") {
        record.url = internal ? internalPackagePath(text(value)) : utf8(value);
        qDebug() << "CReaderModuleManager::ParseModuleInfo url:" << QString::fromStdString(record.url);
    } else if (name == "is_push") {
        if (isTrueIgnoringCase(value) || value == L"1")
            record.is_push = true;
    } else if (name == "update_mode") {
        bool isNumber = false;
        const int mode = text(value).toInt(&isNumber, 10);
        record.update_mode = isNumber ? mode : 0;
    } else if (name == "DurnisPDFStandard") {
        record.DurnisPDFStandardFlag = "TRUE";
        record.DurnisPDFStandard = utf8(value);
    }
}

} // namespace

void CReaderModuleManager::failCheck()
{
    m_result.bSuccess = false;
    m_result.strMessage = tr("Cannot connect to the server. Please check your network connection.");
}

void CReaderModuleManager::OnPaserModuleInfo(QString replyFile)
{
    m_result.bSuccess = true;
    m_result.strMessage.clear();
    m_result.bUpdateFound = false;
    ReleaseModuleInfo();

    QFile file(replyFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug() << "Open Reply Xml File failed.";
        failCheck();
        return;
    }
    QByteArray bytes = file.readAll();
    file.close();
    qDebug() << "inerfile: " << bytes;
    if (bytes.isEmpty()) {
        UpdateRun::current()->bQueryReplied = false;
        failCheck();
        return;
    }

    // A reply cut short or broken is a failed check, never a shorter reply.
    Tree root = XmlTree::parseWellFormed(bytes, replyFile);
    bytes.clear();
    bool scheduled = true;
    if (UpdateRun::current()->bInternalUpdate) {
        scheduled = CheckUpdateTime(root.get());
        if (root && isTrueIgnoringCase(root->GetAttrValue("rollback")))
            UpdateRun::current()->bRollback = true;
    }
    if (!root)
        failCheck();
    else if (scheduled && !ParseModules(root.get()))
        return;
    root.reset();

    DeletePatchUpdate();
    DeleteKelvrinCloud();
    if (!CanExitThred())
        UpdateRun::current()->bQueryReplied = true;
}

bool CReaderModuleManager::ParseModules(CZR_XMLElement* root)
{
    const CZR_WideString majorUpdate = root->GetAttrValue("majorUpdate");
    if ((majorUpdate == L"true" || majorUpdate == L"TRUE") && bAutoUpgrade) {
        CUP_Log::PrintLog("set m_bRgesterMajorUpgrade true: bAutoUpgrade majorUpdate");
        UpdateRun::current()->bMajorUpdate = true;
    }

    QVector<_UpdaterInfo*> installed;
    ParseUpdaterInfo(installed);
    for (unsigned i = 0; i < root->CountChildren(); ++i) {
        if (CanExitThred()) {
            ReleaseUpdaterInfoList(installed);
            ReleaseModuleInfo();
            return false;
        }
        CZR_XMLElement* element = root->GetElement(i);
        if (!element)
            continue;
        MODULEINFO* record = AddModule(m_strType);
        ParseModuleInfo(element, record);
        if (record->module_type == "updater") {
            record->bMajorUpgrade = CheckMajorVersionUpgrade(QString::fromStdString(record->version));
            CUP_Log::PrintLog(QString("CheckMajorVersionUpgrade; bMajorUpgrade: %1;")
                                  .arg(record->bMajorUpgrade ? "true" : "false"));
        }
        record->tempFile = GetDownloadTempFileName(QString::fromStdString(record->url)).toStdString();
        const bool present = IsModulePresent(record, installed);
        if (record->name.find("OCR_") != std::string::npos)
            record->bOcrPack = true;
        if (!KeepModule(record, present)) {
            DeleteModule(record);
            continue;
        }
        OfferModule(record, installed);
    }
    ReleaseUpdaterInfoList(installed);
    return true;
}

bool CReaderModuleManager::IsModulePresent(MODULEINFO* record, QVector<_UpdaterInfo*>& installed)
{
    const bool automatic = m_strType == "Auto Updater";
    if (m_strType == "Update List" || (automatic && record->autoCheck))
        return bCheckInstalled && CheckModuleAvailable(record, installed);
    if (automatic && record->module_type != "updater")
        return bCheckInstalled && CheckAutoupdateModuleAvailable(record, installed);
    return false;
}

bool CReaderModuleManager::KeepModule(MODULEINFO* record, bool present)
{
    const bool offered = (record->result && !present) || record->bForcedNotRejected ||
                         (record->module_type == "updater" && UpdateRun::current()->bRollback);
    if (!offered)
        return false;
    const QString installedVersion = CRegister::regGetString(kUpdaterKey, QString::fromStdString(record->name));
    if (installedVersion == QString::fromStdString(record->version) && record->module_type != "updater")
        return false;
    return !(commandLine().GetUpdaterType() == "Auto Updater" &&
             ParseRejectAutoUpdateInfo(record->name, record->version));
}

void CReaderModuleManager::OfferModule(MODULEINFO* record, QVector<_UpdaterInfo*>& installed)
{
    m_vecAvailable.append(record);
    if (m_strType == "Update List") {
        m_result.bUpdateFound = true;
    } else if (QString::fromStdString(record->name) == m_strType) {
        record->selected = true;
    } else if (m_strType == "Auto Updater" || record->bForcedNotRejected) {
        m_result.bUpdateFound = true;
        if (!CheckModuleAvailable(record, installed))
            record->selected = true;
    }

    if (record->forcedUpgrade && bAutoUpgrade && CheckForcedUpgradeVersion(record, installed)) {
        QVector<_HasRejectForceUpdaterInfo*> declined;
        ParseHasRejectForceUpdaterInfo(declined);
        if (!CheckHasRejectForcedUpgrade(record, declined)) {
            UpdateRun::current()->bForcedOnly = true;
            record->bForcedNotRejected = true;
            m_vecSelected.append(record);
        } else {
            record->bForcedNotRejected = false;
        }
        ParseHasRejectForceUpdaterInfo(declined);
    }
    if (record->update_mode == 2)
        m_result.bCloudModeModule = true;
}

void CReaderModuleManager::ParseModuleInfo(CZR_XMLElement* element, MODULEINFO* record)
{
    if (!element)
        return;
    record->SilentInstall = false;
    record->bMajorUpgrade = false;
    const bool internal = UpdateRun::current()->bInternalUpdate;
    CZR_ByteString prefix;
    CZR_ByteString name;
    CZR_WideString value;
    for (int i = 0; i < element->CountAttrs(); ++i) {
        if (CanExitThred())
            return;
        element->GetAttrByIndex(i, prefix, name, value);
        applyAttribute(name, value, *record, internal);
    }
}

void CReaderModuleManager::ParseUpdaterInfo(QVector<_UpdaterInfo*>& list)
{
    ReleaseUpdaterInfoList(list);
    QFile file(m_strReaderPath + "/../Resources/" + "UpdaterInfo.xml");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() == 0)
        return;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || !bytes.contains("updater_info"))
        return;
    // A list cut short would leave the components after the cut as if they were not installed.
    const Tree root = XmlTree::parseWellFormed(bytes, file.fileName());
    if (!root)
        return;
    CZR_ByteString prefix;
    CZR_ByteString name;
    CZR_WideString value;
    for (unsigned i = 0; i < root->CountChildren(); ++i) {
        const CZR_XMLElement* element = root->GetElement(i);
        if (!element)
            continue;
        auto* component = new _UpdaterInfo;
        component->name = utf8(element->GetAttrValue("name"));
        if (element->HasAttr("version")) {
            component->version = utf8(element->GetAttrValue("version"));
            m_strInfoVersion = QString::fromStdString(component->version);
        }
        for (unsigned j = 0; j < element->CountChildren(); ++j) {
            const CZR_XMLElement* file = element->GetElement(j);
            for (int k = 0; file && k < file->CountAttrs(); ++k) {
                file->GetAttrByIndex(k, prefix, name, value);
                if (name == "path")
                    component->paths.append(text(value));
            }
        }
        list.append(component);
    }
}

bool CReaderModuleManager::CheckUpdateTime(CZR_XMLElement* root)
{
    const QString schedulePath = GetScheduleTimePath();
    QFile schedule(schedulePath);
    QString stored;
    if (schedule.open(QIODevice::ReadOnly)) {
        stored = QString::fromUtf8(schedule.readAll());
        schedule.close();
    }
    if (!root)
        return false;
    const QString value = text(root->GetAttrValue("scheduleTime"));
    if (value.isEmpty()) {
        QFile::remove(schedulePath);
        return true;
    }
    if (value.compare(stored, Qt::CaseInsensitive) == 0)
        return true;
    QFile::remove(schedulePath);
    if (!schedule.open(QIODevice::ReadWrite))
        return false;
    schedule.write(value.toUtf8());
    schedule.close();
    return false;
}

QString CReaderModuleManager::GetScheduleTimePath()
{
    const QString path =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../../..") + "/scheduleTime.txt";
    CUP_Log::PrintLog("GetScheduleTimePath: " + path);
    return path;
}

QString CReaderModuleManager::GetDownloadTempFileName(QString url)
{
    return "e:/Kelvrin Software/Install/" + url.mid(url.lastIndexOf('/') + 1);
}
