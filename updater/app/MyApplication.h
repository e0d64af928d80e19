#pragma once

#include <QApplication>

class QLocalServer;
class QLocalSocket;

// The updater's application object. Only one updater runs at a time: a second one hands its last
// argument to the first through the local server "Kelvrin PDF Reader Update" and reports isRunning().
class MyApplication : public QApplication
{
    Q_OBJECT

public:
    MyApplication(int& argc, char** argv);

    bool isRunning() const { return m_bRunning; }
    // This process serves the instance name, so no other updater of the same temporary folder runs.
    bool holdsInstanceName() const;

private slots:
    void newLocalConnection();

private:
    void handOverToRunningInstance(QLocalSocket& socket);
    void serveInstanceName();

    QLocalServer* m_pLocalServer = nullptr;
    bool m_bRunning = false;
};
