#include "CReaderModuleManager.h"

#include "CZR_Update_URLEncode.h"
#include "UpdateServiceEndpoints.h"
#include "engine/UpdateRun.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/QHttpDownLoadS.h"
#include "engine/CUP_Log.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>

#include <memory>

namespace {

const QString kReaderMachineKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvrin Software\\Kelvrin PDF Reader");
const QString kReaderInformationKey = kReaderMachineKey + QStringLiteral("\\Kelvrin Information");
// A reply is a short XML list; a body beyond this is no reply, however long the service sends.
constexpr qint64 kMaximumReplySize = 16 * 1024 * 1024;

// A value appended to the query as it is, except for the four characters that would end it or
// start a new parameter.
QString queryValue(const QString& value)
{
    QString escaped;
    for (const QChar character : value) {
        switch (character.unicode()) {
        case '#': escaped += "%23"; break;
        case '&': escaped += "%26"; break;
        case '+': escaped += "%2B"; break;
        case '=': escaped += "%3D"; break;
        default: escaped += character;
        }
    }
    return escaped;
}

QString queryValue(const std::string& value)
{
    return queryValue(QString::fromStdString(value));
}

// "12.0.1.1234" gives "12.0" and "1.1234"; with fewer than two dots both parts are the whole text.
std::pair<std::string, std::string> splitReaderVersion(const std::string& version)
{
    const size_t firstDot = version.find('.');
    const size_t secondDot = firstDot == std::string::npos ? std::string::npos : version.find('.', firstDot + 1);
    if (secondDot == std::string::npos)
        return {version, version};
    return {version.substr(0, secondDot), version.substr(secondDot + 1)};
}

int localUtcOffsetHours()
{
    return QDateTime::currentDateTime().offsetFromUtc() / 3600;
}

} // namespace

QString CReaderModuleManager::GetHttpURL(QString type)
{
    const CSetup_CommandLine& command = commandLine();
    const auto encoder = std::make_unique<CZR_Update_URLEncode>(nullptr);
    QString query = "addon=" + encoder->URLEncode(type);

    const bool enterprise =
        CRegister::regGetString(kReaderMachineKey, "Edition").compare("Enterprise", Qt::CaseInsensitive) == 0;
    query += "&product=" + queryValue(QString(enterprise ? "Enterprise Pagewisp4Mac" : "Pagewisp4Mac"));

    const std::string version = command.GetReaderVersion();
    if (!version.empty()) {
        const auto [left, build] = splitReaderVersion(version);
        query += "&version=" + queryValue(left) + "&build=" + queryValue(build);
    }
    query += "&platform=x64";
    if (!command.GetReaderLang().empty())
        query += "&EmbededLanguage=" + queryValue(command.GetReaderLang());
    if (!command.GetEdition().empty())
        query += "&edition=" + queryValue(command.GetEdition());
    const QString agentId = CRegister::regGetString(kReaderInformationKey, "AgentID");
    if (!agentId.isEmpty())
        query += "&AgentID=" + queryValue(agentId);
    query += "&PackageType=" + queryValue(command.GetPackageType());
    return query;
}

QString CReaderModuleManager::internalServiceQuery() const
{
    const CSetup_CommandLine& command = commandLine();
    QString query = localUtcOffsetHours() == 8 ? "&domain_area=cn" : "&domain_area=us";
    query += "&Mac=" + queryValue(UpdateRun::GetMacAddress());
    query += "&email=" + queryValue(command.GetUserEmail());
    query += command.GetUpdaterType() == "Auto Updater" ? "&updateType=0" : "&updateType=1";
    return query;
}

QString CReaderModuleManager::GetRequestURL()
{
    const QString internalUrl = QString::fromStdString(commandLine().GetInternalUpdateURL());
    const QString query = GetHttpURL(m_strType);
    if (!internalUrl.isEmpty()) {
        UpdateRun::current()->bInternalUpdate = true;
        return internalUrl + "?" + query + internalServiceQuery();
    }
    const char* endpoint = UpdateRun::GetPackageType() == "zh-CN" ? UpdateServiceEndpoints::kUpdateCheck
                                                                   : UpdateServiceEndpoints::kAddonList;
    return QString(endpoint) + "?" + query;
}

int CReaderModuleManager::QueryModuleInfo(QProgressBar* progress, bool wait)
{
    m_strReplyFile = UpdateRun::GetAppDateRootPath() + "updater/update_tmpfile.xml";
    const QString url = GetRequestURL();
    CUP_Log::PrintLog("QueryModuleInfo url: " + url);

    bQueryRunning = true;
    ReleaseQueryDownloader();
    m_pQueryDownloader = new QHttpDownLoadS(nullptr, progress, nullptr, nullptr);
    m_pQueryDownloader->setMaximumSize(kMaximumReplySize);
    if (m_queryTimerIntervals)
        m_pQueryDownloader->setTimerIntervals(m_queryTimerIntervals->first, m_queryTimerIntervals->second);
    CUP_Log::PrintLog("update_tmpfile.xml: " + m_strReplyFile);
    const bool accepted = m_pQueryDownloader->setUrlAndFilePath(QUrl(url, QUrl::TolerantMode), m_strReplyFile);

    const QString folder = m_strReplyFile.left(m_strReplyFile.lastIndexOf('/'));
    if (!QFile::exists(m_strReplyFile) && !QDir().mkpath(folder)) {
        qDebug() << "can not make path:" << folder;
        failCheck();
        return 1;
    }
    // No final signal follows a query that never started: its caller learns the end from the result.
    if (!accepted) {
        failCheck();
        return 1;
    }
    connect(m_pQueryDownloader, SIGNAL(oneDownLoadFinish(QString)), this, SLOT(slotQueryModuleInfoFinish(QString)));
    connect(m_pQueryDownloader, SIGNAL(errorfinish(QString)), this, SLOT(errorfinish(QString)));
    connect(m_pQueryDownloader, SIGNAL(error_network()), this, SLOT(error_network()));
    if (!m_pQueryDownloader->startDownLoads(wait)) {
        failCheck();
        return 1;
    }
    return 0;
}

// A query may start, and the engine may be released, from inside the downloader's own final signal:
// end its transfer and cut it off from this engine, but leave freeing it to the event loop.
void CReaderModuleManager::ReleaseQueryDownloader()
{
    if (!m_pQueryDownloader)
        return;
    m_pQueryDownloader->disconnect(this);
    m_pQueryDownloader->stopDownLoads();
    m_pQueryDownloader->deleteLater();
    m_pQueryDownloader = nullptr;
}

void CReaderModuleManager::setQueryTimerIntervals(int responseTimeoutMs, int stallTimeoutMs)
{
    m_queryTimerIntervals = std::make_pair(responseTimeoutMs, stallTimeoutMs);
}

void CReaderModuleManager::slotQueryModuleInfoFinish(QString filePath)
{
    qDebug() << "xml path:" << filePath;
    if (!m_strReplyFile.isEmpty())
        OnPaserModuleInfo(m_strReplyFile);
    emit sQueryModuleInfoFinish();
}

void CReaderModuleManager::errorfinish(QString)
{
    // The lists keep what the last reply gave, but this check has failed: whoever reads the result
    // must not take the earlier success for this check's.
    failCheck();
    // The engine may be released while the box is open.
    QPointer<CReaderModuleManager> self(this);
    QMessageBox::warning(nullptr, tr("Kelvrin PDF Reader"), m_result.strMessage, QMessageBox::Ok);
    if (self)
        emit sErrorFinish();
}

void CReaderModuleManager::error_network()
{
    emit sErrorNetwork();
}

QUrl CReaderModuleManager::GetPackageDownloadURL(const MODULEINFO* record)
{
    const QString stored = QString::fromStdString(record->url);
    const QUrl storedUrl(stored, QUrl::TolerantMode);
    const QString internal = QString::fromStdString(commandLine().GetInternalUpdateURL());
    const UpdateRun* run = UpdateRun::current();
    if (!run || !run->bInternalUpdate || internal.isEmpty() || !storedUrl.scheme().isEmpty() || !storedUrl.host().isEmpty())
        return storedUrl;
    QUrl url(internal, QUrl::TolerantMode);
    url.setPath(stored, QUrl::DecodedMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}
