// The loopback test server as a process of its own, for tests that run the updater as a child:
//   kelvrin_http_server [--https | --untrusted-https] [--root FOLDER] [--lifetime SECONDS]
// Prints the port on the first line, then one line per request: "request METHOD TARGET RANGE".
// Paths are served from the root folder and bent per request by the query ("?status=500&chunked").
// It ends by itself after its lifetime (600 s unless given) so that a lost child never lingers.
#include "LocalHttpServer.h"
#include "ServerConsole.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption https("https", "TLS with the test authority's certificate");
    const QCommandLineOption untrusted("untrusted-https", "TLS with a certificate nobody trusts");
    const QCommandLineOption root("root", "folder to serve", "folder");
    const QCommandLineOption lifetime("lifetime", "seconds before the server ends", "seconds", "600");
    parser.addOptions({https, untrusted, root, lifetime});
    parser.addHelpOption();
    parser.process(application);

    LocalHttpServer::Security security = LocalHttpServer::Security::Plain;
    if (parser.isSet(https))
        security = LocalHttpServer::Security::Tls;
    if (parser.isSet(untrusted))
        security = LocalHttpServer::Security::UntrustedTls;
    LocalHttpServer server(security);
    server.setDocumentRoot(parser.value(root));
    if (!server.start()) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    reportOnStandardOutput(server);
    QTimer::singleShot(parser.value(lifetime).toInt() * 1000, &application, &QCoreApplication::quit);
    return application.exec();
}
