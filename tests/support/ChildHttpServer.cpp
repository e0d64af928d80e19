#include "ChildHttpServer.h"

#include <QDeadlineTimer>

ChildHttpServer::ChildHttpServer(const QString& root, const QStringList& options) : m_root(root), m_options(options)
{
}

ChildHttpServer::~ChildHttpServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ChildHttpServer::start(int timeoutMs)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KELVRIN_HTTP_SERVER_EXECUTABLE), QStringList{"--root", m_root} + m_options);
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    bool ok = false;
    m_port = quint16(m_process.readLine().trimmed().toUInt(&ok));
    return ok && m_port != 0;
}

QUrl ChildHttpServer::url(const QString& path) const
{
    const bool tls = m_options.contains("--https") || m_options.contains("--untrusted-https");
    const QString scheme = tls ? "https" : "http";
    return QUrl(QString("%1://127.0.0.1:%2%3").arg(scheme).arg(m_port).arg(path));
}

QStringList ChildHttpServer::requestLines()
{
    m_process.waitForReadyRead(0);
    while (m_process.canReadLine())
        m_lines.append(QString::fromUtf8(m_process.readLine().trimmed()));
    return m_lines;
}
