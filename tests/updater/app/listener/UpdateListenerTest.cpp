#include "app/UpdateListener.h"
#include "app/UpdaterApp.h"
#include "WaitBound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace {

constexpr quint16 kPresencePort = 8999;

// Connects to the presence port and collects what arrives until the other side closes (bounded).
struct PresenceAnswer {
    bool connected = false;
    bool closedByListener = false;
    QByteArray bytes;
};

PresenceAnswer askPresence()
{
    PresenceAnswer answer;
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, kPresencePort);
    answer.connected = client.waitForConnected(kWaitBoundMs);
    QElapsedTimer clock;
    clock.start();
    while (answer.connected && client.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        answer.bytes += client.readAll();
    }
    answer.closedByListener = client.state() == QAbstractSocket::UnconnectedState;
    answer.bytes += client.readAll();
    return answer;
}

TEST(UpdateListener, AnswersUpdaterRuningAndDropsTheConnection)
{
    UpdateListener listener(nullptr);
    listener.startListener();

    for (int round = 0; round < 2; ++round) {
        const PresenceAnswer answer = askPresence();
        EXPECT_TRUE(answer.connected);
        EXPECT_TRUE(answer.closedByListener);
        EXPECT_EQ(answer.bytes, QByteArray("UpdaterRuning"));
    }
}

TEST(UpdateListener, PortTakenByAnotherProgramIsNoError)
{
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, kPresencePort));
    UpdateListener listener(nullptr);
    listener.startListener();

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, kPresencePort);
    ASSERT_TRUE(other.waitForNewConnection(kWaitBoundMs));
    QCoreApplication::processEvents();
    EXPECT_FALSE(client.waitForReadyRead(200));
}

TEST(UpdateListener, ConductorCreatesItWithoutListening)
{
    UpdaterApp app(nullptr, nullptr);
    const PresenceAnswer answer = askPresence();
    EXPECT_FALSE(answer.connected);
    EXPECT_TRUE(answer.bytes.isEmpty());
}

} // namespace
