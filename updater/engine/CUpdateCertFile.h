#pragma once

#include <QObject>
#include <QString>

// The "-downloadTrustCertfile" mode: fetches the KATL and EUTL trust-certificate lists named on the
// command line and prints one result word for the reader. The command line is the current run's.
class CUpdateCertFile : public QObject
{
    Q_OBJECT
public:
    CUpdateCertFile();

    // Test seam: the probe's and the download's bounds that are 90 seconds in a real run.
    void setTimerIntervals(int responseTimeoutMs, int watchdogIntervalMs)
    {
        m_responseTimeoutMs = responseTimeoutMs;
        m_watchdogIntervalMs = watchdogIntervalMs;
    }

    void UpdateFile();
    // 0: the list was fetched, or the service has none; 2: not done.
    int UpdateFileEx(QString& url, QString& file);

public slots:
    void slotQueryModuleInfoFinish(QString filePath);

private:
    bool fetchInto(const QString& url, const QString& downloadPath);

    QString m_completedFile;
    int m_responseTimeoutMs = -1; // -1: the probe's and the download's own bounds
    int m_watchdogIntervalMs = -1;
};
