#include "CUpdateCertFile.h"

#include "CSetup_CommandLine.h"
#include "QHttpCheckExist.h"
#include "QHttpDownLoadS.h"
#include "UpdateRun.h"
#include "engine/CUP_Log.h"

#include <QDebug>
#include <QFile>
#include <QLockFile>
#include <QUrl>

#include <cstdio>

namespace {

constexpr int kDone = 0;
constexpr int kNotDone = 2;
constexpr int kEutlAttempted = 0x10000;
constexpr int kKatlAttempted = 0x1000000;
constexpr int kAutomaticRun = 0x10000000;
// A list is a file of certificates; a body beyond this is no list, however long the server sends.
constexpr qint64 kMaximumListSize = 64 * 1024 * 1024;

// Puts the new list in place in one step, so that a reader never sees half a list.
bool replaceFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

CUpdateCertFile::CUpdateCertFile() : QObject(nullptr)
{
}

void CUpdateCertFile::UpdateFile()
{
    // Without a run there is no list to fetch, as with a command line that names none.
    const UpdateRun* run = UpdateRun::current();
    if (!run || !run->commandLine())
        return;
    const CSetup_CommandLine& commandLine = *run->commandLine();
    QString katlUrl = commandLine.getkatlcerturl();
    QString katlFile = commandLine.getkatlfile();
    QString eutlUrl = commandLine.geteutlcerturl();
    QString eutlFile = commandLine.geteutlfile();
    qDebug() << "url:" << katlUrl;
    qDebug() << "url:" << eutlUrl;
    if (!katlUrl.isEmpty() && !eutlUrl.isEmpty()) {
        CUP_Log::PrintLog("eutlurl: " + eutlUrl);
        CUP_Log::PrintLog("url: " + katlUrl);
    }

    int word = 0;
    if (!eutlUrl.isEmpty())
        word |= UpdateFileEx(eutlUrl, eutlFile) | kEutlAttempted;
    if (!katlUrl.isEmpty())
        word |= (UpdateFileEx(katlUrl, katlFile) << 8) | kKatlAttempted;
    if (word == 0)
        return;
    if (commandLine.getdowntype() == "auto")
        word |= kAutomaticRun;
    std::printf("%d\n", word);
    std::fflush(stdout);
}

int CUpdateCertFile::UpdateFileEx(QString& url, QString& file)
{
    // Without a file name the lock and the download would land in the working folder.
    if (file.isEmpty())
        return kNotDone;
    QLockFile lock(file + ".tmp");
    if (!lock.tryLock(0))
        return kNotDone;

    QHttpCheckExist probe(nullptr, url);
    if (m_responseTimeoutMs >= 0)
        probe.setTimeoutInterval(m_responseTimeoutMs);
    probe.checkExit();
    if (probe.isNotAvailable())
        return kDone;

    // The old list stays in place until a complete new one has arrived.
    const QString downloadPath = file + ".download";
    if (!fetchInto(url, downloadPath)) {
        QFile::remove(downloadPath);
        return kNotDone;
    }
    return replaceFile(downloadPath, file) ? kDone : kNotDone;
}

bool CUpdateCertFile::fetchInto(const QString& url, const QString& downloadPath)
{
    QHttpDownLoadS downloader(nullptr, nullptr, nullptr, nullptr);
    downloader.bFollowRedirects = true;
    downloader.setMaximumSize(kMaximumListSize);
    if (m_responseTimeoutMs >= 0)
        downloader.setTimerIntervals(m_responseTimeoutMs, m_watchdogIntervalMs);
    if (!downloader.setUrlAndFilePath(QUrl(url, QUrl::TolerantMode), downloadPath))
        return false;
    m_completedFile.clear();
    connect(&downloader, SIGNAL(oneDownLoadFinish(QString)), this, SLOT(slotQueryModuleInfoFinish(QString)));
    return downloader.startDownLoads(true) && m_completedFile == downloadPath;
}

void CUpdateCertFile::slotQueryModuleInfoFinish(QString filePath)
{
    m_completedFile = filePath;
}
