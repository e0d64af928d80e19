#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class CReaderModuleManager;
class QTimer;

// The checking dialog's windowless twin: the same query and timer, and no decision after the result.
class UpdateChecking : public QObject
{
    Q_OBJECT

public:
    explicit UpdateChecking(QString title);

    void setModuleManager(CReaderModuleManager* engine);
    void startUpdateCheck();
    // Test seam: the bound of the check, 60 s in a run; taken by the next startUpdateCheck().
    void setTimeoutInterval(int ms) { m_nTimeoutMs = ms; }

    // -1 until the query finished, then 1.
    int nResult = -1;
    // With it set, the query returns only once its transfer has ended, and a timeout ends the check.
    bool bWait = false;
    // 1 once the check has ended, in whichever way.
    int nFinished = 0;

public slots:
    void checkFinsh();
    void ErrorFinished();
    void timeOut();

private:
    void deleteTimer();

    QTimer* m_pTimer = nullptr;
    int m_nTimeoutMs;
    QString m_strTitle;
    QPointer<CReaderModuleManager> m_pModuleManager;
};
