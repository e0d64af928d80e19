#include "CReaderModuleManager.h"

#include "engine/UpdateRun.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/DlgDownload.h"
#include "engine/LocaleTables.h"
#include "engine/QHttpDownLoadS.h"

#include <QSet>

#include <algorithm>

CReaderModuleManager::CReaderModuleManager(QString type, QObject* parent)
    : QObject(parent)
    , m_pDownloadDlg(new DlgDownload(nullptr))
    , m_strType(std::move(type))
    , m_strReaderPath(QString::fromStdString(commandLine().GetReaderPathFromcmd()))
{
    connect(m_pDownloadDlg, SIGNAL(SignalCurrentProgress(QString, double)), this,
            SLOT(getDownProgress(QString, double)));
    connect(m_pDownloadDlg, SIGNAL(SignalInstallProgress(QString, int)), this, SLOT(setInstallProgress(QString, int)));
    connect(m_pDownloadDlg, SIGNAL(SignalStartInstall(QString)), this, SLOT(startInstall(QString)));
    connect(m_pDownloadDlg, SIGNAL(SignalSetCurrentDownloadModule(QString)), this,
            SLOT(Slot_SetCurrentDownloadModule(QString)));
}

CReaderModuleManager::~CReaderModuleManager()
{
    // The window holds the records freed below: it goes with the engine, before its handlers can
    // run again, and reports to nobody meanwhile.
    m_pDownloadDlg->disconnect(this);
    m_pDownloadDlg->hide();
    m_pDownloadDlg->deleteLater();
    ReleaseQueryDownloader();
    ReleaseModuleInfo();
}

void CReaderModuleManager::setLangParm(int language, int country)
{
    m_nLanguage = language;
    m_nCountry = country;
}

QString CReaderModuleManager::GetLocalLangName() const
{
    return localeCodeFor(UpdateRun::GetPackageType(), m_nLanguage);
}

const CSetup_CommandLine& CReaderModuleManager::commandLine()
{
    static const CSetup_CommandLine noCommandLine;
    const UpdateRun* run = UpdateRun::current();
    return run && run->commandLine() ? *run->commandLine() : noCommandLine;
}

QString CReaderModuleManager::readerVersion() const
{
    return QString::fromStdString(commandLine().GetReaderVersion());
}

MODULEINFO* CReaderModuleManager::AddModule(QString type)
{
    auto* record = new MODULEINFO;
    record->addon = type.toStdString();
    m_vecAllModules.append(record);
    return record;
}

QueryResultInfo CReaderModuleManager::GetQueryResultInfo() const
{
    return m_result;
}

int CReaderModuleManager::CountAvailableModule() const
{
    return m_vecAvailable.size();
}

MODULEINFO* CReaderModuleManager::GetAvailabletModule(int i) const
{
    return i >= 0 && i < m_vecAvailable.size() ? m_vecAvailable[i] : nullptr;
}

void CReaderModuleManager::RemoveAvailableModule(int i)
{
    if (i >= 0 && i < m_vecAvailable.size())
        DeleteModule(m_vecAvailable[i]);
}

MODULEINFO* CReaderModuleManager::CloneAvailableModuleInfo(MODULEINFO* source)
{
    if (!source)
        return nullptr;
    auto* clone = new MODULEINFO;
    clone->addon = source->addon;
    clone->name = source->name;
    clone->version = source->version;
    clone->description = source->description;
    clone->size = source->size;
    clone->url = source->url;
    clone->level = source->level;
    clone->regkey = source->regkey;
    clone->result = source->result;
    clone->tempFile = source->tempFile;
    clone->selected = source->selected;
    clone->title = source->title;
    clone->module_type = source->module_type;
    clone->parent = source->parent;
    clone->extraInfo = source->extraInfo;
    clone->is_push = source->is_push;
    m_vecAvailable.append(clone);
    return clone;
}

int CReaderModuleManager::CountSelModules() const
{
    return m_vecSelected.size();
}

MODULEINFO* CReaderModuleManager::GetSelModule(int i) const
{
    return i >= 0 && i < m_vecSelected.size() ? m_vecSelected[i] : nullptr;
}

int CReaderModuleManager::GetModuleSelIndex(MODULEINFO const* record) const
{
    return record ? m_vecSelected.indexOf(const_cast<MODULEINFO*>(record)) : -1;
}

MODULEINFO* CReaderModuleManager::GetNextSelModule(MODULEINFO const* record) const
{
    return GetSelModule(GetModuleSelIndex(record) + 1);
}

void CReaderModuleManager::AddSelModule(QString text)
{
    const std::string wanted = text.trimmed().toStdString();
    for (MODULEINFO* record : qAsConst(m_vecAvailable)) {
        if (record->name.find(wanted) != std::string::npos) {
            m_vecSelected.append(record);
            return;
        }
    }
}

void CReaderModuleManager::AddSelModule(MODULEINFO* record)
{
    m_vecSelected.append(record);
}

void CReaderModuleManager::SetCurDownloadModuleInfo(MODULEINFO* record)
{
    m_pCurDownload = record;
}

MODULEINFO* CReaderModuleManager::GetCurDownloadModule() const
{
    return m_pCurDownload;
}

void CReaderModuleManager::DeleteModule(MODULEINFO* record)
{
    DeleteModules({record});
}

void CReaderModuleManager::DeleteModules(const QSet<MODULEINFO*>& records)
{
    if (records.isEmpty())
        return;
    const auto doomed = [&records](MODULEINFO* record) { return records.contains(record); };
    for (QVector<MODULEINFO*>* list : {&m_vecAllModules, &m_vecAvailable, &m_vecSelected, &m_vecSpare})
        list->erase(std::remove_if(list->begin(), list->end(), doomed), list->end());
    if (records.contains(m_pCurDownload))
        m_pCurDownload = nullptr;
    qDeleteAll(records);
}

void CReaderModuleManager::ReleaseModuleInfo()
{
    // A record may sit in several lists (a forced upgrade is available and selected, a clone is only
    // available): free the union once.
    QSet<MODULEINFO*> records;
    for (const QVector<MODULEINFO*>* list : {&m_vecAllModules, &m_vecAvailable, &m_vecSelected, &m_vecSpare}) {
        for (MODULEINFO* record : *list)
            records.insert(record);
    }
    qDeleteAll(records);
    m_vecAllModules.clear();
    m_vecAvailable.clear();
    m_vecSelected.clear();
    m_vecSpare.clear();
    m_pCurDownload = nullptr;
}

void CReaderModuleManager::ReleaseUpdaterInfoList(QVector<_UpdaterInfo*>& list)
{
    for (int i = list.size() - 1; i >= 0; --i)
        delete list[i];
    list.clear();
}

bool CReaderModuleManager::CanExitThred() const
{
    return bStopQuery;
}
