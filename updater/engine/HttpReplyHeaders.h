#pragma once

#include <QtGlobal>

class QNetworkReply;

// While a reply follows redirects, Qt 5 joins the "Content-Length" of every hop with ", " into one
// header value, the final response's last. These read the final response's own length.
namespace HttpReplyHeaders {

// How many "Content-Length" values the reply holds so far (read at each redirect).
int contentLengthCount(const QNetworkReply* reply);

// The final response's "Content-Length" when it sent one (more values than `countBeforeFinal`),
// else -1.
qint64 finalContentLength(const QNetworkReply* reply, int countBeforeFinal);

} // namespace HttpReplyHeaders
