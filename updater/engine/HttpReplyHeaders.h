#pragma once

#include <QtGlobal>

class QByteArray;
class QNetworkReply;

// While a reply follows redirects, Qt 5 joins the "Content-Length" of every hop with ", " into one
// header value, the final response's last. These read the final response's own length.
namespace HttpReplyHeaders {

// How many "Content-Length" values the reply holds so far (read at each redirect).
int contentLengthCount(const QNetworkReply* reply);

// The final response's "Content-Length" when it sent one (more values than `countBeforeFinal`),
// else -1.
qint64 finalContentLength(const QNetworkReply* reply, int countBeforeFinal);

// "Content-Range: bytes FIRST-LAST/SIZE"; SIZE is -1 for an unknown size ("*").
struct ContentRange
{
    qint64 first = -1;
    qint64 last = -1;
    qint64 size = -1;
};

// False unless the header is a well-formed satisfied range.
bool parseContentRange(const QByteArray& header, ContentRange& range);

} // namespace HttpReplyHeaders
