#include "CUP_Log.h"

#include "UpdateRun.h"
#include "platform/PlistSettings.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>

QFile* CUP_Log::m_pFile = nullptr;

namespace {

bool debugModeOn()
{
    const auto settings = openApplicationSettings("Kelvrin Software", "Kelvrin.PDF.Reader");
    return settings->value("Preferences/General/bDebugMode", 0).toInt() == 1;
}

} // namespace

void CUP_Log::CreateLog()
{
    const QString folder = UpdateRun::GetAppDatePath() + "Log" + "/UpdaterApp";
    qDebug().noquote() << "qsAppDataPath:" << folder;

    delete m_pFile;
    m_pFile = nullptr;
    QDir().mkpath(folder);
    if (!QDir(folder).exists())
        return;
    const QString path = folder + "/" + "Update.log";
    qDebug().noquote() << "update.log: " << path;
    m_pFile = new QFile(path);
}

void CUP_Log::PrintLog(QString message)
{
    if (!debugModeOn() || !m_pFile)
        return;
    if (!m_pFile->isOpen() && !m_pFile->open(QIODevice::ReadWrite | QIODevice::Append))
        qDebug().noquote() << "[CUP_Log::PrintLog] open file error:" << m_pFile->errorString();
    if (!m_pFile->isOpen())
        return;
    const QString line =
        QString("[CUP_Log][%1]%2\n").arg(QDateTime::currentDateTime().toString(Qt::TextDate), message);
    m_pFile->write(line.toUtf8());
    m_pFile->flush();
    m_pFile->close();
}
