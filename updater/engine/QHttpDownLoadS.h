#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QFile;
class QLabel;
class QNetworkAccessManager;
class QProgressBar;
class QTimer;
class QTimerEvent;

// Downloads one URL into one file. With a resume offset it appends to the partial file and asks
// for the rest with "Range"; it can be paused and continued, and at the end it tells by one signal
// whether the file is complete (oneDownLoadFinish) or not (errorfinish).
class QHttpDownLoadS : public QObject
{
    Q_OBJECT
public:
    QHttpDownLoadS(QObject* parent, QProgressBar* progressBar, QLabel* label, qint64* resumeOffset);
    ~QHttpDownLoadS() override;

    void setProgressBar(QProgressBar* progressBar);
    bool setUrlAndFilePath(QUrl url, QString filePath);
    // With `wait` the call returns only when this start has ended (or the downloader was deleted).
    bool startDownLoads(bool wait);
    void pauseDownloads();
    void continueDownload();
    void stopDownLoads();

    // A body that would make the file larger than `bytes` fails the transfer and the file is removed;
    // -1 (the default) sets no bound.
    void setMaximumSize(qint64 bytes);
    // Test seam: the bounds that are 90 seconds in a real run.
    void setTimerIntervals(int responseTimeoutMs, int watchdogIntervalMs);

    qint64 totalSize() const { return m_total; }
    qint64 receivedSize() const { return m_received; }
    // Why the last start failed, in words for the log: the system's error text for a file that
    // could not be written, the network error, a timeout, an answer that did not fit. The first
    // cause of a start is kept; what followed from it is not. Empty while nothing failed.
    QString failureCause() const { return m_failureCause; }

    bool bFollowRedirects = false;

signals:
    void oneDownLoadFinish(QString filePath);
    void errorfinish(QString filePath);
    void error_network();
    void signal_updateProgress(qint64 receiveSize, qint64 totalSize);

public slots:
    // The transfer's progress; called directly while no transfer runs, the owner's report of bytes
    // it already has, passed on in the same way.
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void slotError(QNetworkReply::NetworkError errorCode);
    void readyRead();
    void replyFinished();
    void slotsHasHttpReponse();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    enum class ReplyCheck { Pending, Accepted, Discarded, Refused };

    bool openTarget();
    void sendRequest();
    void startTimers();
    void waitForEnd();
    ReplyCheck checkReply(QNetworkReply* reply);
    bool acceptRange(const QByteArray& contentRange);
    bool takeBody(QNetworkReply* reply);
    void refuseQuietly();
    void dropReply();
    void giveUp(const QString& cause);
    void noteFailure(const QString& cause);
    QString fileError(const QString& what) const;
    QString incompleteCause() const;
    void emitFinal(bool complete);
    // False when the file could not take what it buffered.
    bool closeFile();
    bool reachedRangeEnd() const;
    void recordOffset();

    QNetworkAccessManager* m_manager;
    QPointer<QNetworkReply> m_reply;
    QString m_filePath;
    QFile* m_file = nullptr;
    QUrl m_url;
    qint64 m_total = 0;
    qint64 m_received = 0;
    qint64* m_resumeOffset;
    QTimer* m_responseTimer = nullptr;
    bool m_gotData = false;
    bool m_running = true;
    int m_progressCounter = -1;
    int m_watchdogTimerId = -1;

    // Per start: where the reply's body lands in the file, what was decided about the reply,
    // whether it failed, and whether its one final signal has gone out.
    qint64 m_bodyOffset = 0;
    ReplyCheck m_replyCheck = ReplyCheck::Pending;
    qint64 m_discarded = 0;
    int m_hopLengthCount = 0;
    qint64 m_replyLength = -1; // the accepted reply's own "Content-Length"; -1 when it sent none
    qint64 m_rangeEnd = -1;    // where an accepted ranged body must end the file; -1 when not ranged
    qint64 m_maximumSize = -1;
    bool m_overMaximum = false;
    bool m_failed = false;
    bool m_finalSent = false;
    QString m_failureCause;

    int m_responseTimeoutMs;
    int m_watchdogIntervalMs;
};
