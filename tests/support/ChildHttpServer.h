#pragma once
#include "WaitBound.h"

#include <QProcess>
#include <QStringList>
#include <QUrl>

// Runs the loopback test server as a child process serving `root`, for tests whose subject is a
// child process too. The server is killed when this goes away.
class ChildHttpServer
{
public:
    explicit ChildHttpServer(const QString& root, const QStringList& options = {});
    ~ChildHttpServer();
    ChildHttpServer(const ChildHttpServer&) = delete;
    ChildHttpServer& operator=(const ChildHttpServer&) = delete;

    // Starts the child and reads its port; false when it does not report one within `timeoutMs`.
    bool start(int timeoutMs = kWaitBoundMs);
    quint16 port() const { return m_port; }
    QUrl url(const QString& path) const;
    // The request lines printed so far ("request GET /path bytes=0-").
    QStringList requestLines();

private:
    QString m_root;
    QStringList m_options;
    QProcess m_process;
    quint16 m_port = 0;
    QStringList m_lines;
};
