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

bool parseContentRange(const QByteArray& header, ContentRange& range)
{
    if (!header.startsWith("bytes "))
        return false;
    const QByteArray spec = header.mid(6).trimmed();
    const int dash = spec.indexOf('-');
    const int slash = spec.indexOf('/');
    if (dash <= 0 || slash <= dash + 1)
        return false;
    bool firstOk = false;
    bool lastOk = false;
    range.first = spec.left(dash).toLongLong(&firstOk);
    range.last = spec.mid(dash + 1, slash - dash - 1).toLongLong(&lastOk);
    if (!firstOk || !lastOk || range.first < 0 || range.last < range.first)
        return false;
    const QByteArray size = spec.mid(slash + 1);
    if (size == "*") {
        range.size = -1;
        return true;
    }
    bool sizeOk = false;
    range.size = size.toLongLong(&sizeOk);
    return sizeOk && range.size > range.last;
}

} // namespace HttpReplyHeaders
