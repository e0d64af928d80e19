#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// The reader's "updater_check_state" server, on a thread of its own so that the updater may block in
// its waits: it takes up to `connections` connections one after another, answers each at once and
// records every byte each of them sent.
class FakeReader
{
public:
    explicit FakeReader(int connections, const QString& serverName = "updater_check_state");
    ~FakeReader();

    bool listening() const { return m_listening; }

    // Waits (bounded) for the reader to finish and gives what each connection sent.
    QList<QByteArray> received();
    // Takes no further connection once the ones under way are read, and gives what each sent: for
    // a test that has nothing more to wait for.
    QList<QByteArray> stop();

private:
    std::unique_ptr<QThread> m_thread;
    int m_connections;
    bool m_listening = false;
    std::atomic<bool> m_stopped{false};
    QList<QByteArray> m_received;
};
