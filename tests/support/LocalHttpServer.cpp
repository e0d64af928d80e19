#include "LocalHttpServer.h"

#include "TestCertificates.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>

namespace {

constexpr int kMaximumRequestHead = 64 * 1024;
constexpr qint64 kPiece = 64 * 1024;
constexpr qint64 kHighWater = 256 * 1024;
constexpr int kThrottleTickMs = 20;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 302: return "Found";
    case 404: return "Not Found";
    case 416: return "Range Not Satisfiable";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

struct ByteRange
{
    qint64 first = -1;
    qint64 last = -1; // -1: to the end
};

// "bytes=FIRST-" or "bytes=FIRST-LAST"; anything else is no range at all.
bool parseRange(const QByteArray& header, ByteRange& range)
{
    if (!header.startsWith("bytes="))
        return false;
    const QList<QByteArray> bounds = header.mid(6).split('-');
    if (bounds.size() != 2)
        return false;
    bool firstOk = false;
    range.first = bounds[0].trimmed().toLongLong(&firstOk);
    if (!firstOk || range.first < 0)
        return false;
    if (bounds[1].trimmed().isEmpty())
        return true;
    bool lastOk = false;
    range.last = bounds[1].trimmed().toLongLong(&lastOk);
    return lastOk && range.last >= range.first;
}

bool parseRequestHead(const QByteArray& head, HttpRequestRecord& request)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3)
        return false;
    request.method = requestLine[0];
    request.target = requestLine[1];
    const int query = request.target.indexOf('?');
    request.path = QUrl::fromPercentEncoding(query < 0 ? request.target : request.target.left(query)).toUtf8();
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    return true;
}

} // namespace

// One accepted connection: answers its requests one after another as their routes say. It stays
// open between answers, as HTTP/1.1 clients expect, and closes only where the route says so.
class HttpConnection : public QObject
{
public:
    HttpConnection(LocalHttpServer* server, QTcpSocket* socket)
        : QObject(server), m_server(server), m_socket(socket)
    {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this] { readRequest(); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this] { pump(); });
        connect(socket, &QTcpSocket::disconnected, this, [this] {
            if (m_busy)
                ++m_server->m_droppedByClient;
            deleteLater();
        });
        connect(&m_throttle, &QTimer::timeout, this, [this] {
            m_answer.allowance = m_answer.bytesPerTick;
            pump();
        });
    }

private:
    // What is being sent for the current request.
    struct Answer
    {
        QByteArray body;
        qint64 sent = 0;
        qint64 limit = 0;
        bool chunked = false;
        qint64 chunkLeft = 0;
        qint64 chunkStart = 0;
        bool stallAtLimit = false;
        int closeAfterStallMs = -1;
        bool closeAtEnd = false;
        qint64 bytesPerTick = 0;
        qint64 allowance = 0;
    };

    void readRequest()
    {
        m_received += m_socket->readAll();
        if (m_busy)
            return;
        const int end = m_received.indexOf("\r\n\r\n");
        if (end < 0) {
            if (m_received.size() > kMaximumRequestHead)
                m_socket->abort();
            return;
        }
        HttpRequestRecord request;
        const bool parsed = parseRequestHead(m_received.left(end), request);
        m_received.remove(0, end + 4);
        if (!parsed) {
            m_socket->abort();
            return;
        }
        m_busy = true;
        m_server->record(request);
        answer(request, m_server->routeFor(request));
    }

    void answer(const HttpRequestRecord& request, const HttpRoute& route)
    {
        if (route.neverAnswer)
            return;
        m_answer = Answer();
        int status = route.status;
        m_answer.body = route.body;
        QByteArray headers = route.extraHeaders;
        if (!route.redirectTo.isEmpty()) {
            status = 302;
            headers += "Location: " + route.redirectTo + "\r\n";
        }
        ByteRange range;
        if (status == 200 && !route.ignoreRange && parseRange(request.range(), range))
            status = applyRange(range, headers);

        m_answer.chunked = route.chunked;
        if (m_answer.chunked)
            headers += "Transfer-Encoding: chunked\r\n";
        else if (route.withoutLength)
            headers += "Connection: close\r\n";
        else
            headers += "Content-Length: " + QByteArray::number(m_answer.body.size()) + "\r\n";
        m_answer.closeAtEnd = route.withoutLength || route.truncateAfter >= 0;

        m_answer.limit = m_answer.body.size();
        if (route.truncateAfter >= 0)
            m_answer.limit = std::min(m_answer.limit, route.truncateAfter);
        if (route.stallAfter >= 0) {
            m_answer.limit = std::min(m_answer.limit, route.stallAfter);
            m_answer.stallAtLimit = true;
            m_answer.closeAfterStallMs = route.closeAfterStallMs;
        }
        if (route.bytesPerSecond > 0) {
            m_answer.bytesPerTick = std::max<qint64>(1, route.bytesPerSecond * kThrottleTickMs / 1000);
            m_answer.allowance = m_answer.bytesPerTick;
            m_throttle.start(kThrottleTickMs);
        }

        m_socket->write("HTTP/1.1 " + QByteArray::number(status) + " " + reasonPhrase(status) + "\r\n" + headers +
                        "Content-Type: " + route.contentType + "\r\n\r\n");
        pump();
    }

    int applyRange(const ByteRange& range, QByteArray& headers)
    {
        const qint64 size = m_answer.body.size();
        if (range.first >= size) {
            headers += "Content-Range: bytes */" + QByteArray::number(size) + "\r\n";
            m_answer.body.clear();
            return 416;
        }
        const qint64 last = range.last < 0 ? size - 1 : std::min(range.last, size - 1);
        headers += "Content-Range: bytes " + QByteArray::number(range.first) + "-" + QByteArray::number(last) + "/" +
                   QByteArray::number(size) + "\r\n";
        m_answer.body = m_answer.body.mid(range.first, last - range.first + 1);
        return 206;
    }

    void pump()
    {
        if (!m_busy)
            return;
        Answer& a = m_answer;
        while (a.sent < a.limit && m_socket->bytesToWrite() < kHighWater) {
            qint64 piece = std::min(kPiece, a.limit - a.sent);
            if (a.bytesPerTick > 0)
                piece = std::min(piece, a.allowance);
            if (piece <= 0)
                return;
            writeBody(a.body.mid(a.sent, piece));
            a.sent += piece;
            a.allowance -= piece;
        }
        if (a.sent == a.limit)
            finish();
    }

    // Chunks are cut from the whole body, so that a body cut short ends inside a chunk.
    void writeBody(QByteArray piece)
    {
        Answer& a = m_answer;
        if (!a.chunked) {
            m_socket->write(piece);
            return;
        }
        while (!piece.isEmpty()) {
            if (a.chunkLeft == 0) {
                a.chunkLeft = std::min(kPiece, qint64(a.body.size()) - a.chunkStart);
                m_socket->write(QByteArray::number(a.chunkLeft, 16) + "\r\n");
            }
            const qint64 part = std::min(a.chunkLeft, qint64(piece.size()));
            m_socket->write(piece.left(part));
            piece.remove(0, part);
            a.chunkLeft -= part;
            a.chunkStart += part;
            if (a.chunkLeft == 0)
                m_socket->write("\r\n");
        }
    }

    void finish()
    {
        m_throttle.stop();
        if (m_answer.stallAtLimit) {
            m_answer.limit = -1; // nothing more, ever
            if (m_answer.closeAfterStallMs >= 0)
                QTimer::singleShot(m_answer.closeAfterStallMs, this, [this] {
                    m_busy = false;
                    m_socket->disconnectFromHost();
                });
            return;
        }
        if (m_answer.closeAtEnd) {
            m_busy = false;
            m_socket->disconnectFromHost();
            return;
        }
        if (m_answer.chunked)
            m_socket->write("0\r\n\r\n");
        m_busy = false;
        if (!m_received.isEmpty())
            readRequest();
    }

    LocalHttpServer* m_server;
    QTcpSocket* m_socket;
    QByteArray m_received;
    bool m_busy = false;
    Answer m_answer;
    QTimer m_throttle;
};

HttpRoute HttpRoute::notAvailable()
{
    HttpRoute route;
    route.body = R"({"code":1000003,"msg":"not available"})";
    return route;
}

void HttpRoute::applyQuery(const QUrlQuery& query)
{
    auto number = [&](const char* key, qint64& field) {
        if (query.hasQueryItem(key))
            field = query.queryItemValue(key).toLongLong();
    };
    if (query.hasQueryItem("status"))
        status = query.queryItemValue("status").toInt();
    if (query.hasQueryItem("redirect"))
        redirectTo = query.queryItemValue("redirect", QUrl::FullyDecoded).toUtf8();
    number("truncate", truncateAfter);
    number("stall", stallAfter);
    number("throttle", bytesPerSecond);
    ignoreRange = ignoreRange || query.hasQueryItem("ignore-range");
    chunked = chunked || query.hasQueryItem("chunked");
    withoutLength = withoutLength || query.hasQueryItem("no-length");
    neverAnswer = neverAnswer || query.hasQueryItem("never-answer");
}

LocalHttpServer::LocalHttpServer(Security security, QObject* parent) : QTcpServer(parent), m_security(security)
{
}

bool LocalHttpServer::start()
{
    return listen(QHostAddress::LocalHost, 0);
}

QUrl LocalHttpServer::url(const QString& path) const
{
    return QUrl(QString("%1://127.0.0.1:%2%3").arg(scheme()).arg(serverPort()).arg(path));
}

void LocalHttpServer::setRoute(const QString& path, const HttpRoute& route)
{
    m_routes.insert(path, route);
}

void LocalHttpServer::setFile(const QString& path, const QByteArray& body)
{
    HttpRoute route;
    route.body = body;
    setRoute(path, route);
}

QVector<HttpRequestRecord> LocalHttpServer::requestsFor(const QString& path) const
{
    QVector<HttpRequestRecord> matching;
    for (const HttpRequestRecord& request : m_requests) {
        if (request.path == path.toUtf8())
            matching.append(request);
    }
    return matching;
}

bool LocalHttpServer::waitForRequests(int count, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_requests.size() < count && !deadline.hasExpired())
        QEventLoop().processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    return m_requests.size() >= count;
}

HttpRoute LocalHttpServer::routeFor(const HttpRequestRecord& request) const
{
    HttpRoute route;
    const QString path = QString::fromUtf8(request.path);
    if (m_routes.contains(path))
        route = m_routes.value(path);
    else if (!readDocument(request.path, route.body))
        route.status = 404;
    const int query = request.target.indexOf('?');
    if (query >= 0)
        route.applyQuery(QUrlQuery(QString::fromUtf8(request.target.mid(query + 1))));
    return route;
}

bool LocalHttpServer::readDocument(const QByteArray& path, QByteArray& body) const
{
    if (m_documentRoot.isEmpty())
        return false;
    const QString root = QDir::cleanPath(m_documentRoot);
    const QString file = QDir::cleanPath(root + "/" + QString::fromUtf8(path));
    if (!file.startsWith(root + "/") || !QFileInfo(file).isFile())
        return false;
    QFile document(file);
    if (!document.open(QIODevice::ReadOnly))
        return false;
    body = document.readAll();
    return true;
}

void LocalHttpServer::record(const HttpRequestRecord& request)
{
    m_requests.append(request);
    emit requestReceived(request);
}

void LocalHttpServer::incomingConnection(qintptr socketDescriptor)
{
    if (m_security == Security::Plain) {
        auto* socket = new QTcpSocket;
        socket->setSocketDescriptor(socketDescriptor);
        new HttpConnection(this, socket);
        return;
    }
    const bool trusted = m_security == Security::Tls;
    auto* socket = new QSslSocket;
    socket->setSocketDescriptor(socketDescriptor);
    socket->setLocalCertificate(TestCertificates::serverCertificate(trusted));
    socket->setPrivateKey(TestCertificates::serverKey(trusted));
    new HttpConnection(this, socket);
    socket->startServerEncryption();
}
