#include "CReaderModuleManager.h"

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

bool CReaderModuleManager::QueryStopDownload() const
{
    return true;
}

QString CReaderModuleManager::HMac(QByteArray key, QByteArray message) const
{
    return QString::fromLatin1(QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Md5).toHex());
}
