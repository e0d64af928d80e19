#include "UpdateListener.h"

#include <QDebug>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

constexpr quint16 kPresencePort = 8999;
constexpr int kAnswerWaitMs = 60000;
const QByteArray kPresenceWord = QByteArrayLiteral("UpdaterRuning");

} // namespace

UpdateListener::UpdateListener(QObject* parent)
    : QObject(parent)
    , m_pServer(new QTcpServer(this))
{
    connect(m_pServer, SIGNAL(newConnection()), this, SLOT(newLocalConnection()));
}

void UpdateListener::startListener()
{
    m_pServer->listen(QHostAddress::LocalHost, kPresencePort);
}

void UpdateListener::newLocalConnection()
{
    qDebug() << "UpdateListener newLocalConnection()";
    m_pCurrentConnection = m_pServer->nextPendingConnection();
    if (!m_pCurrentConnection)
        return;
    m_pCurrentConnection->write(kPresenceWord);
    if (m_pCurrentConnection->waitForBytesWritten(kAnswerWaitMs))
        m_pCurrentConnection->abort();
    delete m_pCurrentConnection;
    m_pCurrentConnection = nullptr;
}
