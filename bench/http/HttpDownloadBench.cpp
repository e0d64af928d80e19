// One resumable download with the updater's downloader, for http-download-vs-curl.sh:
//   http_download_bench URL TARGET [AUTHORITY.pem]
// The authority, when given, is the only one trusted. Exits 0 when the file arrived complete.
#include "TestCertificates.h"
#include "engine/QHttpDownLoadS.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace {

void quietDebugLines(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: http_download_bench URL TARGET [AUTHORITY.pem]\n");
        return 2;
    }
    if (arguments.size() > 3 && !TestCertificates::trustAuthorityFile(arguments.at(3))) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments.at(3)));
        return 2;
    }
    qInstallMessageHandler(quietDebugLines);

    qint64 offset = 0;
    QHttpDownLoadS downloader(nullptr, nullptr, nullptr, &offset);
    if (!downloader.setUrlAndFilePath(QUrl(arguments.at(1)), arguments.at(2)))
        return 2;
    bool complete = false;
    QObject::connect(&downloader, &QHttpDownLoadS::oneDownLoadFinish, [&complete] { complete = true; });
    QElapsedTimer clock;
    clock.start();
    if (!downloader.startDownLoads(true))
        return 1;
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("%s %lld bytes in %.3f s\n", complete ? "complete" : "failed", offset, seconds);
    return complete ? 0 : 1;
}
