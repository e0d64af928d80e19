#include "QHttpDownLoadS.h"

#include "HttpReplyHeaders.h"
#include "engine/CUP_Log.h"

#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>
#include <QTimerEvent>

namespace {

constexpr int kNinetySeconds = 90000;
// The reply holds at most this much unread; the network waits until the file has taken it.
constexpr qint64 kReadBufferSize = 1024 * 1024;
// An error page is read and dropped up to this size, so that Qt can still report its error;
// a longer one is cut off.
constexpr qint64 kMaximumDiscarded = 1024 * 1024;

QString httpStatusCause(int status)
{
    return QString("the server answered with HTTP status %1").arg(status);
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

QHttpDownLoadS::QHttpDownLoadS(QObject* parent, QProgressBar*, QLabel*, qint64* resumeOffset)
    : QObject(parent),
      m_manager(new QNetworkAccessManager(this)),
      m_resumeOffset(resumeOffset),
      m_responseTimeoutMs(kNinetySeconds),
      m_watchdogIntervalMs(kNinetySeconds)
{
    qRegisterMetaType<QNetworkReply::NetworkError>("QNetworkReply::NetworkError");
}

QHttpDownLoadS::~QHttpDownLoadS()
{
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
    }
    closeFile();
    delete m_file;
    delete m_responseTimer;
    if (m_watchdogTimerId >= 0)
        killTimer(m_watchdogTimerId);
}

void QHttpDownLoadS::setProgressBar(QProgressBar*)
{
}

void QHttpDownLoadS::setMaximumSize(qint64 bytes)
{
    m_maximumSize = bytes;
}

void QHttpDownLoadS::setTimerIntervals(int responseTimeoutMs, int watchdogIntervalMs)
{
    m_responseTimeoutMs = responseTimeoutMs;
    m_watchdogIntervalMs = watchdogIntervalMs;
}

bool QHttpDownLoadS::setUrlAndFilePath(QUrl url, QString filePath)
{
    if (!url.isValid() || url.path(QUrl::FullyDecoded).isEmpty() || filePath.isEmpty())
        return false;
    m_url = url;
    m_filePath = filePath;
    if (QFile::exists(m_filePath))
        QFile::remove(m_filePath);
    return true;
}

bool QHttpDownLoadS::startDownLoads(bool wait)
{
    if (!openTarget())
        return false;
    sendRequest();
    startTimers();
    if (wait)
        waitForEnd();
    return true;
}

bool QHttpDownLoadS::openTarget()
{
    closeFile();
    delete m_file;
    m_failureCause.clear();
    m_file = new QFile(m_filePath);
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Append)) {
        qDebug() << "Error:Cannot open file: " + m_filePath;
        noteFailure(fileError("cannot open"));
        return false;
    }
    // The file on disk, not the remembered offset, says where the rest begins.
    if (m_resumeOffset && *m_resumeOffset != m_file->size())
        *m_resumeOffset = m_file->size();
    m_bodyOffset = m_resumeOffset ? *m_resumeOffset : 0;
    return true;
}

void QHttpDownLoadS::sendRequest()
{
    QNetworkRequest request(m_url);
    qDebug() << "url:" << m_url;
    if (bFollowRedirects)
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    if (m_resumeOffset) {
        request.setRawHeader("Range", QString("bytes=%1-").arg(*m_resumeOffset).toLatin1());
        // A compressed body would not line up with the byte positions of the file.
        request.setRawHeader("Accept-Encoding", "identity");
    }

    m_replyCheck = ReplyCheck::Pending;
    m_replyLength = -1;
    m_rangeEnd = -1;
    m_overMaximum = false;
    m_discarded = 0;
    m_failed = false;
    m_finalSent = false;
    m_gotData = false;

    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(kReadBufferSize);
    connect(m_reply, SIGNAL(readyRead()), this, SLOT(readyRead()));
    connect(m_reply, SIGNAL(downloadProgress(qint64, qint64)), this, SLOT(downloadProgress(qint64, qint64)));
    connect(m_reply, SIGNAL(error(QNetworkReply::NetworkError)), this, SLOT(slotError(QNetworkReply::NetworkError)));
    connect(m_reply, SIGNAL(finished()), this, SLOT(replyFinished()));
    QNetworkReply* reply = m_reply;
    m_hopLengthCount = 0;
    connect(reply, &QNetworkReply::redirected, this,
            [this, reply] { m_hopLengthCount = HttpReplyHeaders::contentLengthCount(reply); });
}

void QHttpDownLoadS::startTimers()
{
    if (m_watchdogTimerId >= 0)
        killTimer(m_watchdogTimerId);
    m_watchdogTimerId = startTimer(m_watchdogIntervalMs, Qt::CoarseTimer);

    delete m_responseTimer;
    m_responseTimer = new QTimer;
    m_responseTimer->setSingleShot(true);
    connect(m_responseTimer, SIGNAL(timeout()), this, SLOT(slotsHasHttpReponse()));
    m_progressCounter = 0;
    m_responseTimer->start(m_responseTimeoutMs);
}

void QHttpDownLoadS::waitForEnd()
{
    if (m_finalSent || !m_reply)
        return;
    // The loop also ends when the downloader is deleted under it; nothing here touches it afterwards.
    QEventLoop loop;
    connect(m_reply, SIGNAL(finished()), &loop, SLOT(quit()));
    connect(this, SIGNAL(oneDownLoadFinish(QString)), &loop, SLOT(quit()));
    connect(this, SIGNAL(errorfinish(QString)), &loop, SLOT(quit()));
    connect(this, SIGNAL(destroyed()), &loop, SLOT(quit()));
    loop.exec();
}

void QHttpDownLoadS::readyRead()
{
    // Progress reports are held back for the first 100 ms of a reply, so data that arrives and then
    // stops within that time would leave the watchdog idle for good: arriving data counts as progress.
    ++m_progressCounter;
    m_gotData = true;
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    switch (checkReply(reply)) {
    case ReplyCheck::Accepted:
        if (!takeBody(reply))
            refuseQuietly();
        break;
    case ReplyCheck::Discarded:
        m_discarded += reply->readAll().size();
        if (m_discarded > kMaximumDiscarded)
            refuseQuietly();
        break;
    case ReplyCheck::Refused:
    case ReplyCheck::Pending:
        break;
    }
}

bool QHttpDownLoadS::takeBody(QNetworkReply* reply)
{
    const QByteArray data = reply->readAll();
    if (!m_file->isOpen())
        return false;
    // The file was opened for appending, so its position is its size, buffered bytes included.
    if (m_maximumSize >= 0 && m_file->pos() + data.size() > m_maximumSize) {
        m_overMaximum = true;
        noteFailure(QString("the answer is larger than the %1 bytes allowed").arg(m_maximumSize));
        return false;
    }
    // A write the disk cuts short reports no error; the next one for the rest says why.
    for (qint64 written = 0; written < data.size();) {
        const qint64 count = m_file->write(data.constData() + written, data.size() - written);
        if (count <= 0) {
            noteFailure(fileError("cannot write"));
            return false;
        }
        written += count;
    }
    return true;
}

// Decides once per reply whether its body belongs in the file, and where.
QHttpDownLoadS::ReplyCheck QHttpDownLoadS::checkReply(QNetworkReply* reply)
{
    if (m_replyCheck != ReplyCheck::Pending)
        return m_replyCheck;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A hop that Qt follows says nothing about the body yet.
    if (bFollowRedirects && isRedirect(status))
        return ReplyCheck::Pending;
    if (status < 200 || status > 299) {
        m_replyCheck = ReplyCheck::Discarded;
        noteFailure(httpStatusCause(status));
        return m_replyCheck;
    }
    bool usable = true;
    if (status == 206) {
        usable = acceptRange(reply->rawHeader("Content-Range"));
    } else if (m_bodyOffset > 0 && status == 200) {
        // The server ignored "Range": the body is the whole file.
        m_bodyOffset = 0;
        *m_resumeOffset = 0;
    } else if (m_bodyOffset > 0) {
        usable = false;
    }
    if (!usable) {
        noteFailure(QString("the answer (HTTP status %1, Content-Range \"%2\") does not continue the file at byte %3")
                        .arg(status)
                        .arg(QString::fromLatin1(reply->rawHeader("Content-Range")))
                        .arg(m_bodyOffset));
    } else if (m_file->size() != m_bodyOffset && !m_file->resize(m_bodyOffset)) {
        noteFailure(fileError(QString("cannot cut back to %1 bytes").arg(m_bodyOffset)));
        usable = false;
    }
    if (!usable) {
        refuseQuietly();
        return m_replyCheck;
    }
    m_replyCheck = ReplyCheck::Accepted;
    m_replyLength = HttpReplyHeaders::finalContentLength(reply, m_hopLengthCount);
    return m_replyCheck;
}

// A ranged answer must start where the file ends and run to the end of the resource; when it gives
// no size, its body must end where the range does. Only an asked-for range is taken.
bool QHttpDownLoadS::acceptRange(const QByteArray& contentRange)
{
    HttpReplyHeaders::ContentRange range;
    if (!m_resumeOffset || !HttpReplyHeaders::parseContentRange(contentRange, range) || range.first != m_bodyOffset)
        return false;
    if (range.size >= 0 && range.last != range.size - 1)
        return false;
    m_rangeEnd = range.last + 1;
    return true;
}

// Ends the reply without writing more; its finished() then reports the failure.
void QHttpDownLoadS::refuseQuietly()
{
    m_replyCheck = ReplyCheck::Refused;
    m_failed = true;
    if (!m_reply)
        return;
    disconnect(m_reply, SIGNAL(error(QNetworkReply::NetworkError)), this,
               SLOT(slotError(QNetworkReply::NetworkError)));
    disconnect(m_reply, SIGNAL(readyRead()), this, SLOT(readyRead()));
    m_reply->abort();
}

void QHttpDownLoadS::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    CUP_Log::PrintLog(QString("downloadProgress bytesReceived:%1, bytesTotal:%2").arg(bytesReceived).arg(bytesTotal));
    ++m_progressCounter;
    m_gotData = true;
    // Called with no transfer under way, the report is the owner's, for bytes it has already (a
    // package complete on disk): it goes out like one of the transfer's own.
    if (!m_reply && !sender() && bytesTotal > 0) {
        m_total = bytesTotal;
        m_received = bytesReceived;
        emit signal_updateProgress(m_received, m_total);
        return;
    }
    if (!m_reply || checkReply(m_reply) != ReplyCheck::Accepted)
        return;
    // After a followed redirect Qt can report the length of a hop; the final response's own header
    // is the one to trust.
    const qint64 length = m_replyLength >= 0 ? m_replyLength : bytesTotal;
    if (length <= 0)
        return;
    // A first reply that starts inside the file still gives the size of the whole file.
    if (m_total == 0)
        m_total = m_bodyOffset + length;
    m_received = m_bodyOffset + bytesReceived;
    CUP_Log::PrintLog("Downloading " + m_filePath.mid(m_filePath.lastIndexOf('/') + 1) + ":" +
                      QString("%1 of %2 = %3%").arg(m_received).arg(m_total).arg(double(m_received) / m_total * 100));
    emit signal_updateProgress(m_received, m_total);
}

void QHttpDownLoadS::replyFinished()
{
    qDebug() << "replyFinished()";
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    m_gotData = true;
    const bool bodyTaken = !m_failed && reply->error() == QNetworkReply::NoError &&
                           checkReply(reply) == ReplyCheck::Accepted && takeBody(reply);
    // Decided only after the flush: the last piece may fail on its way from the buffer to the disk.
    const bool written = closeFile();
    const bool complete = bodyTaken && written && m_received == m_total && reachedRangeEnd();
    if (m_overMaximum)
        QFile::remove(m_filePath);
    recordOffset();
    if (!complete) {
        CUP_Log::PrintLog(QString("replyFinished bytesReceived:%1, bytesTotal:%2").arg(m_received).arg(m_total));
        noteFailure(incompleteCause());
    }
    emitFinal(complete);
}

QString QHttpDownLoadS::incompleteCause() const
{
    if (m_received != m_total)
        return QString("received %1 of %2 bytes").arg(m_received).arg(m_total);
    if (!reachedRangeEnd())
        return QString("the file holds %1 bytes where the answered range ends at %2")
            .arg(QFileInfo(m_filePath).size())
            .arg(m_rangeEnd);
    return QStringLiteral("the answer brought no usable body");
}

// The reply stays until its own finished(): deleting it here could lose that signal.
void QHttpDownLoadS::slotError(QNetworkReply::NetworkError errorCode)
{
    const char* name = QMetaEnum::fromType<QNetworkReply::NetworkError>().valueToKey(errorCode);
    qDebug() << "error:" << name;
    const auto* reply = qobject_cast<QNetworkReply*>(sender());
    const int status = reply ? reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
    if (status >= 400)
        noteFailure(httpStatusCause(status));
    else
        noteFailure(QString("network error %1: %2").arg(QString::fromLatin1(name), reply ? reply->errorString() : QString()));
    closeFile();
    emit error_network();
}

void QHttpDownLoadS::slotsHasHttpReponse()
{
    qDebug() << "slotsHasHttpReponse:" << (m_gotData ? "true" : "false");
    if (m_responseTimer)
        m_responseTimer->stop();
    if (!m_gotData)
        giveUp(QString("timed out: no answer within %1 s").arg(m_responseTimeoutMs / 1000.0));
}

void QHttpDownLoadS::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_watchdogTimerId) {
        QObject::timerEvent(event);
        return;
    }
    if (m_progressCounter < 0)
        return;
    if (m_progressCounter > 3)
        m_progressCounter = 2;
    --m_progressCounter;
    if (m_progressCounter == 0)
        giveUp(QString("timed out: the transfer stalled, no data for %1 s").arg(m_watchdogIntervalMs / 1000.0));
}

// A transfer that has stopped answering: cut it off and report its end once.
void QHttpDownLoadS::giveUp(const QString& cause)
{
    if (m_finalSent)
        return;
    noteFailure(cause);
    dropReply();
    closeFile();
    recordOffset();
    emitFinal(false);
}

void QHttpDownLoadS::dropReply()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void QHttpDownLoadS::emitFinal(bool complete)
{
    if (m_finalSent)
        return;
    m_finalSent = true;
    m_progressCounter = -1;
    if (m_responseTimer)
        m_responseTimer->stop();
    if (complete)
        emit oneDownLoadFinish(m_filePath);
    else
        emit errorfinish(m_filePath);
}

void QHttpDownLoadS::pauseDownloads()
{
    if (!m_reply)
        return;
    dropReply();
    closeFile();
    if (m_resumeOffset)
        *m_resumeOffset = QFileInfo(m_filePath).exists() ? QFileInfo(m_filePath).size() : 0;
    m_running = false;
    // A paused transfer is not a stalled one.
    m_progressCounter = -1;
    if (m_responseTimer)
        m_responseTimer->stop();
}

void QHttpDownLoadS::continueDownload()
{
    if (!m_running)
        startDownLoads(false);
    m_running = true;
}

void QHttpDownLoadS::stopDownLoads()
{
    if (m_reply)
        m_reply->abort();
}

bool QHttpDownLoadS::closeFile()
{
    if (!m_file || !m_file->isOpen())
        return true;
    const bool flushed = m_file->flush();
    m_file->close();
    if (flushed && m_file->error() == QFileDevice::NoError)
        return true;
    noteFailure(fileError("cannot write"));
    return false;
}

void QHttpDownLoadS::noteFailure(const QString& cause)
{
    m_failed = true;
    if (m_failureCause.isEmpty())
        m_failureCause = cause;
}

QString QHttpDownLoadS::fileError(const QString& what) const
{
    return what + " " + m_filePath + ": " + m_file->errorString();
}

bool QHttpDownLoadS::reachedRangeEnd() const
{
    return m_rangeEnd < 0 || QFileInfo(m_filePath).size() == m_rangeEnd;
}

void QHttpDownLoadS::recordOffset()
{
    if (m_resumeOffset)
        *m_resumeOffset = m_received;
}
