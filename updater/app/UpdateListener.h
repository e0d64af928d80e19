#pragma once

#include <QObject>

class QTcpServer;
class QTcpSocket;

// Lets other programs see that an updater runs: every connection to 127.0.0.1 port 8999 gets the
// word "UpdaterRuning" and is dropped.
class UpdateListener : public QObject
{
    Q_OBJECT

public:
    explicit UpdateListener(QObject* parent);

public slots:
    // A port held by another program leaves the updater without a listener; the run goes on.
    void startListener();
    void newLocalConnection();

private:
    QTcpServer* m_pServer;
    QTcpSocket* m_pCurrentConnection = nullptr;
};
