#include "UpdateChecking.h"

#include "engine/CReaderModuleManager.h"

#include <QDebug>
#include <QTimer>

namespace {

constexpr int kCheckTimeoutMs = 60000;

} // namespace

UpdateChecking::UpdateChecking(QString title)
    : m_nTimeoutMs(kCheckTimeoutMs)
    , m_strTitle(std::move(title))
{
}

void UpdateChecking::setModuleManager(CReaderModuleManager* engine)
{
    m_pModuleManager = engine;
}

void UpdateChecking::startUpdateCheck()
{
    if (!m_pModuleManager)
        return;
    m_pTimer = new QTimer(this);
    connect(m_pTimer, SIGNAL(timeout()), this, SLOT(timeOut()));
    m_pTimer->start(m_nTimeoutMs);
    connect(m_pModuleManager, SIGNAL(sQueryModuleInfoFinish()), this, SLOT(checkFinsh()));
    connect(m_pModuleManager, SIGNAL(sErrorFinish()), this, SLOT(ErrorFinished()));
    m_pModuleManager->QueryModuleInfo(nullptr, bWait);
}

void UpdateChecking::checkFinsh()
{
    qDebug() << "检查完成";
    nResult = 1;
    deleteTimer();
    nFinished = 1;
}

void UpdateChecking::ErrorFinished()
{
    nFinished = 1;
}

void UpdateChecking::timeOut()
{
    qDebug() << "Update Time out";
    if (nResult != -1)
        return;
    deleteTimer();
    if (bWait) {
        qDebug() << "更新失败 网络链接有问题";
        nFinished = 1;
    }
}

// The timer may be the sender of the running slot: it goes once that slot has returned.
void UpdateChecking::deleteTimer()
{
    if (!m_pTimer)
        return;
    m_pTimer->stop();
    m_pTimer->deleteLater();
    m_pTimer = nullptr;
}
