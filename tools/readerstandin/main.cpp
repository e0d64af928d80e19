// Stands in for the reader's "updater_check_state" server:
//   kelvrin_reader_standin [--lifetime SECONDS]
// Prints "listening" once it serves, then "reader heard: WORD" for every word an updater sends, and
// answers each with "ok". It ends by itself after its lifetime (600 s unless given).
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"lifetime", "seconds before the reader stand-in ends", "seconds", "600"});
    parser.addHelpOption();
    parser.process(application);

    QLocalServer server;
    QLocalServer::removeServer("updater_check_state");
    if (!server.listen("updater_check_state")) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    QObject::connect(&server, &QLocalServer::newConnection, [&server] {
        while (QLocalSocket* connection = server.nextPendingConnection()) {
            QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
            QObject::connect(connection, &QLocalSocket::readyRead, connection, [connection] {
                std::printf("reader heard: %s\n", connection->readAll().constData());
                std::fflush(stdout);
                connection->write("ok");
            });
        }
    });
    std::printf("listening\n");
    std::fflush(stdout);
    QTimer::singleShot(parser.value("lifetime").toInt() * 1000, &application, &QCoreApplication::quit);
    return application.exec();
}
