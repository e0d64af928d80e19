#include "HttpReplyHeaders.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>

namespace HttpReplyHeaders {
namespace {

QList<QByteArray> contentLengths(const QNetworkReply* reply)
{
    const QByteArray header = reply->rawHeader("Content-Length");
    return header.isEmpty() ? QList<QByteArray>() : header.split(',');
}

} // namespace

int contentLengthCount(const QNetworkReply* reply)
{
    return contentLengths(reply).size();
}

qint64 finalContentLength(const QNetworkReply* reply, int countBeforeFinal)
{
    const QList<QByteArray> values = contentLengths(reply);
    if (values.size() <= countBeforeFinal)
        return -1;
    bool numeric = false;
    const qint64 length = values.last().trimmed().toLongLong(&numeric);
    return numeric && length >= 0 ? length : -1;
}

} // namespace HttpReplyHeaders
