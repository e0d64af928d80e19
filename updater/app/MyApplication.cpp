#include "MyApplication.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringList>
#include <QTextStream>

namespace {

const QString kProductName = QStringLiteral("Kelvrin PDF Reader");
constexpr int kProbeWaitMs = 500;
constexpr int kHandOverWaitMs = 30000;
constexpr int kReadWaitMs = 1000;

QString instanceServerName()
{
    return QString("%1 Update").arg(kProductName);
}

// Where the local server keeps its socket file.
QString serverFilePath(const QString& name)
{
    return QDir::cleanPath(QDir::tempPath()) + "/" + name;
}

} // namespace

MyApplication::MyApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    QLocalSocket probe;
    probe.connectToServer(instanceServerName(), QIODevice::ReadWrite);
    if (probe.waitForConnected(kProbeWaitMs))
        handOverToRunningInstance(probe);
    else
        serveInstanceName();
}

bool MyApplication::holdsInstanceName() const
{
    return m_pLocalServer && m_pLocalServer->isListening();
}

void MyApplication::handOverToRunningInstance(QLocalSocket& socket)
{
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream stream(&socket);
    stream << (arguments.size() < 2 ? QString() : arguments.last());
    stream.flush();
    qDebug().noquote() << QString("%1 Updater is already running ,quit!").arg(kProductName);
    socket.waitForBytesWritten(kHandOverWaitMs);
    m_bRunning = true;
}

void MyApplication::serveInstanceName()
{
    qDebug().noquote() << QString("%1 Updater is not running ,start One!").arg(kProductName);
    m_pLocalServer = new QLocalServer(this);
    connect(m_pLocalServer, SIGNAL(newConnection()), this, SLOT(newLocalConnection()));
    const QString name = instanceServerName();
    if (m_pLocalServer->listen(name))
        return;
    // A previous updater that died leaves its socket file behind, and nobody answers on it any more.
    if (m_pLocalServer->serverError() == QAbstractSocket::AddressInUseError && QFile::exists(serverFilePath(name))) {
        QLocalServer::removeServer(name);
        m_pLocalServer->listen(name);
    }
}

void MyApplication::newLocalConnection()
{
    QLocalSocket* connection = m_pLocalServer->nextPendingConnection();
    if (!connection)
        return;
    connection->waitForReadyRead(kReadWaitMs);
    QTextStream stream(connection);
    QString word;
    stream >> word;
    qDebug().noquote() << "The value is: " + word;
    delete connection;
}
