#pragma once
#include "WaitBound.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTcpServer>
#include <QUrl>
#include <QVector>

class QUrlQuery;

// What the server does when one path is asked for. A default route answers 200 with its body and
// honours "Range"; every other field bends that answer into one of the faults a client must survive.
struct HttpRoute
{
    QByteArray body;
    int status = 200;
    QByteArray redirectTo;     // answer 302 with this "Location" instead of the body
    bool ignoreRange = false;  // 200 with the whole body whatever "Range" asks for
    qint64 truncateAfter = -1; // close after this many body bytes; the full length is still announced
    bool chunked = false;      // "Transfer-Encoding: chunked" instead of "Content-Length"
    bool withoutLength = false; // neither a length nor chunks: the body ends when the connection closes
    qint64 stallAfter = -1;    // send this many body bytes, then nothing more, the connection left open
    int closeAfterStallMs = -1; // with stallAfter: close the connection this long after stalling
    bool neverAnswer = false;  // read the request and never answer
    qint64 bytesPerSecond = 0; // throttle the body; 0 sends as fast as the socket takes it
    QByteArray extraHeaders;   // raw header lines, each ending in "\r\n"
    QByteArray contentType = "application/octet-stream"; // the "Content-Type" of the answer

    // The update service's short answer that the item asked for is not available.
    static HttpRoute notAvailable();

    // Lets a child-process server be bent per request: "?status=404&truncate=100&chunked" and so on.
    void applyQuery(const QUrlQuery& query);
};

struct HttpRequestRecord
{
    QByteArray method;
    QByteArray target; // as sent: path and query
    QByteArray path;   // decoded, without the query
    QMap<QByteArray, QByteArray> headers; // names in lower case

    QByteArray header(const QByteArray& lowerCaseName) const { return headers.value(lowerCaseName); }
    QByteArray range() const { return header("range"); }
};

// A small HTTP/1.1 server on 127.0.0.1 with an ephemeral port, plain or over TLS with the test
// authority's certificate (or with one that no test trusts). Every answer closes its connection.
class LocalHttpServer : public QTcpServer
{
    Q_OBJECT
public:
    enum class Security { Plain, Tls, UntrustedTls };

    explicit LocalHttpServer(Security security = Security::Plain, QObject* parent = nullptr);

    bool start();
    QUrl url(const QString& path) const;
    QString scheme() const { return m_security == Security::Plain ? "http" : "https"; }

    void setRoute(const QString& path, const HttpRoute& route);
    void setFile(const QString& path, const QByteArray& body);
    // Paths without a route are served from this folder, never from outside it.
    void setDocumentRoot(const QString& folder) { m_documentRoot = folder; }

    QVector<HttpRequestRecord> requests() const { return m_requests; }
    QVector<HttpRequestRecord> requestsFor(const QString& path) const;
    // Connections that the client closed before the server was done with them.
    int connectionsDroppedByClient() const { return m_droppedByClient; }
    // Runs the event loop until `count` requests have arrived or `timeoutMs` has passed.
    bool waitForRequests(int count, int timeoutMs = kWaitBoundMs);

    // The route that answers `request`; a path nobody knows answers 404.
    HttpRoute routeFor(const HttpRequestRecord& request) const;

signals:
    void requestReceived(const HttpRequestRecord& request);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    friend class HttpConnection;
    void record(const HttpRequestRecord& request);
    bool readDocument(const QByteArray& path, QByteArray& body) const;

    Security m_security;
    QMap<QString, HttpRoute> m_routes;
    QString m_documentRoot;
    QVector<HttpRequestRecord> m_requests;
    int m_droppedByClient = 0;
};
