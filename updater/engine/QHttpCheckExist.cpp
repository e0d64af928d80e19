#include "QHttpCheckExist.h"

#include "HttpReplyHeaders.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

namespace {

constexpr int kNinetySeconds = 90000;
constexpr qint64 kReadBufferSize = 1024 * 1024;
// Only an answer shorter than this is looked into.
constexpr qint64 kShortReply = 150;

} // namespace

QHttpCheckExist::QHttpCheckExist(QObject* parent, QString url)
    : QObject(parent),
      m_url(QUrl(url, QUrl::TolerantMode)),
      m_manager(new QNetworkAccessManager(this)),
      m_timeoutMs(kNinetySeconds)
{
}

bool QHttpCheckExist::checkExit()
{
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_manager->get(request);
    m_reply = reply;
    reply->setReadBufferSize(kReadBufferSize);
    connect(reply, SIGNAL(readyRead()), this, SLOT(readyRead()));
    connect(reply, &QNetworkReply::redirected, this,
            [this, reply] { m_hopLengthCount = HttpReplyHeaders::contentLengthCount(reply); });

    // A service that never finishes counts as one that has the list; the download then meets its own bound.
    QTimer bound;
    bound.setSingleShot(true);
    QEventLoop loop;
    connect(reply, SIGNAL(finished()), &loop, SLOT(quit()));
    connect(&bound, SIGNAL(timeout()), &loop, SLOT(quit()));
    connect(this, SIGNAL(destroyed()), &loop, SLOT(quit()));
    bound.start(m_timeoutMs);
    QPointer<QHttpCheckExist> self(this);
    loop.exec();
    if (!self)
        return true;
    if (!m_reply)
        return true;
    if (m_reply->isFinished())
        m_bNotAvailable = m_bSawNotAvailable && isShortReply(m_reply);
    disconnect(m_reply, nullptr, this, nullptr);
    m_reply->abort();
    m_reply->deleteLater();
    return true;
}

void QHttpCheckExist::readyRead()
{
    if (m_reply && m_reply->readAll().contains("\"code\":1000003"))
        m_bSawNotAvailable = true;
}

// Decided on the finished reply, as the data of a followed redirect can arrive before its headers.
// A missing or unreadable length counts as 0.
bool QHttpCheckExist::isShortReply(QNetworkReply* reply) const
{
    return HttpReplyHeaders::finalContentLength(reply, m_hopLengthCount) < kShortReply;
}
