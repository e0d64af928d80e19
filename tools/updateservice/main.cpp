// The update service as a local stand-in, for the end-to-end tests and the demo:
//   kelvrin_update_service --manifest FILE [--status N | --stall | --refuse | --no-update | --unparsable
//                          | --broken-reply | --cut-reply] [--throttle BYTES_PER_SECOND] [--lifetime SECONDS]
// Listens on 127.0.0.1 with an ephemeral port and prints the port on the first line; the updater
// reaches it with "-InternalUpdateURL http://127.0.0.1:PORT/check". "/check" answers the reply of
// the manifest's modules and "/packages/NAME" serves each package with Range. Every request is
// printed as "request METHOD TARGET RANGE". The switches bend the check's answer: a status, no
// answer at all, a refused connection, a reply without modules, one that is not XML, one whose
// root never ends, or half the reply with no length to tell it is cut; --throttle slows the
// packages down. The service ends by itself after its lifetime (600 s unless given).
#include "LocalHttpServer.h"
#include "ServerConsole.h"
#include "UpdateServiceManifest.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

HttpRoute checkRoute(const QCommandLineParser& parser, const UpdateServiceManifest& manifest)
{
    HttpRoute route;
    route.body = manifest.reply();
    route.contentType = "text/xml";
    if (parser.isSet("status"))
        route.status = parser.value("status").toInt();
    route.neverAnswer = parser.isSet("stall");
    if (parser.isSet("no-update"))
        route.body = "<modules></modules>";
    if (parser.isSet("unparsable"))
        route.body = "this is not a reply of modules";
    if (parser.isSet("broken-reply"))
        route.body = QByteArray("<addons><addon name=\"x\" title=<<<") + '\0' + "\xff not xml";
    if (parser.isSet("cut-reply")) {
        route.withoutLength = true;
        route.truncateAfter = route.body.size() / 2;
    }
    return route;
}

bool servePackages(LocalHttpServer& server, const UpdateServiceManifest& manifest, qint64 bytesPerSecond)
{
    for (const OfferedModule& module : manifest.modules) {
        QFile package(manifest.packagePath(module));
        if (!package.open(QIODevice::ReadOnly))
            return false;
        HttpRoute route;
        route.body = package.readAll();
        route.bytesPerSecond = bytesPerSecond;
        server.setRoute(UpdateServiceManifest::packageUrlPath(module), route);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({
        {"manifest", "the modules to offer (JSON)", "file"},
        {"status", "answer the check with this HTTP status", "code"},
        {"stall", "never answer the check"},
        {"refuse", "refuse every connection"},
        {"no-update", "answer the check with no module"},
        {"unparsable", "answer the check with text that is not XML"},
        {"broken-reply", "answer the check with a document whose root never ends"},
        {"cut-reply", "send half of the check's reply without a length and close the connection"},
        {"throttle", "serve the packages at this many bytes per second", "bytes", "0"},
        {"lifetime", "seconds before the service ends", "seconds", "600"},
    });
    parser.addHelpOption();
    parser.process(application);

    UpdateServiceManifest manifest;
    QString error;
    if (!manifest.load(parser.value("manifest"), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    LocalHttpServer server;
    if (!server.start()) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    server.setRoute("/check", checkRoute(parser, manifest));
    if (!servePackages(server, manifest, parser.value("throttle").toLongLong())) {
        std::fprintf(stderr, "cannot read the packages\n");
        return 2;
    }
    reportOnStandardOutput(server);
    // The port stays taken by nobody: a connection to it is refused.
    if (parser.isSet("refuse"))
        server.close();
    QTimer::singleShot(parser.value("lifetime").toInt() * 1000, &application, &QCoreApplication::quit);
    return application.exec();
}
