#include "FakeReader.h"
#include "WaitBound.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSemaphore>
#include <QThread>

namespace {

constexpr int kWaitMs = kWaitBoundMs;

QByteArray readUntilClosed(QLocalSocket& connection)
{
    QByteArray bytes;
    if (connection.waitForReadyRead(kWaitMs))
        bytes += connection.readAll();
    connection.write("ok");
    connection.waitForBytesWritten(kWaitMs);
    if (connection.state() != QLocalSocket::UnconnectedState)
        connection.waitForDisconnected(kWaitMs);
    return bytes + connection.readAll();
}

// Waits in short slices, so that stop() ends the wait soon.
bool waitForConnection(QLocalServer& server, const std::atomic<bool>& stopped)
{
    QElapsedTimer waited;
    waited.start();
    while (!stopped && waited.elapsed() < kWaitMs) {
        if (server.waitForNewConnection(20))
            return true;
    }
    return server.hasPendingConnections();
}

} // namespace

FakeReader::FakeReader(int connections, const QString& serverName)
    : m_connections(connections)
{
    QSemaphore started;
    m_thread.reset(QThread::create([this, connections, serverName, &started] {
        QLocalServer server;
        m_listening = server.listen(serverName);
        started.release();
        for (int i = 0; m_listening && i < connections && waitForConnection(server, m_stopped); ++i) {
            std::unique_ptr<QLocalSocket> connection(server.nextPendingConnection());
            m_received.append(readUntilClosed(*connection));
        }
    }));
    m_thread->start();
    started.acquire();
}

FakeReader::~FakeReader()
{
    received();
}

QList<QByteArray> FakeReader::received()
{
    // Each connection waits at most four times kWaitMs, and the accept once more.
    m_thread->wait(m_connections * 5 * kWaitMs);
    return m_received;
}

QList<QByteArray> FakeReader::stop()
{
    m_stopped = true;
    return received();
}
