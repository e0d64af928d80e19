#include "CReaderModuleManager.h"

#include "engine/DlgDownload.h"
#include "engine/UpdateRun.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

void CReaderModuleManager::getDownProgress(QString name, double npos)
{
    emit sSendDownloadProgress(name, npos);
}

void CReaderModuleManager::setInstallProgress(QString name, int value)
{
    emit sSendInstallProgress(name, value);
}

void CReaderModuleManager::startInstall(QString path)
{
    emit sSendInstallPkg(path);
}

void CReaderModuleManager::Slot_SetCurrentDownloadModule(QString name)
{
    const std::string wanted = name.toStdString();
    for (MODULEINFO* record : qAsConst(m_vecSelected)) {
        if (record->name == wanted)
            m_pCurDownload = record;
    }
}

void CReaderModuleManager::startDownload()
{
    bStopDownload = false;
}

void CReaderModuleManager::Download(MODULEINFO const* first)
{
    if (bStopDownload || !first)
        return;
    stopDownload();
    m_pDownloadDlg->setSelectUpdates(m_vecSelected);
    m_pDownloadDlg->setWindowState(Qt::WindowMinimized);
    m_pDownloadDlg->hide();
    m_pDownloadDlg->startShowDownload();
    bQueryRunning = false;
}

bool CReaderModuleManager::stopDownload()
{
    m_pDownloadDlg->cancel();
    return true;
}

void CReaderModuleManager::OnDownloadPause()
{
    m_pDownloadDlg->pauseDown();
}

void CReaderModuleManager::OnDownloadResume()
{
    m_pDownloadDlg->new_continue_download();
}

DlgDownload* CReaderModuleManager::GetDownloadDlg() const
{
    return m_pDownloadDlg;
}

bool CReaderModuleManager::ModuleCallback(std::string title, CReaderModuleManager* engine, bool flag)
{
    if (UpdateRun* run = UpdateRun::current())
        run->ShowDownloadDlg(std::move(title), flag, false, false, false, engine);
    return true;
}

bool CReaderModuleManager::QueryStopDownload() const
{
    return true;
}

QString CReaderModuleManager::HMac(QByteArray key, QByteArray message) const
{
    return QString::fromLatin1(QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Md5).toHex());
}
