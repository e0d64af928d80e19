#include "ServerConsole.h"

#include "LocalHttpServer.h"

#include <cstdio>

void reportOnStandardOutput(LocalHttpServer& server)
{
    QObject::connect(&server, &LocalHttpServer::requestReceived, [](const HttpRequestRecord& request) {
        std::printf("request %s %s %s\n", request.method.constData(), request.target.constData(),
                    request.range().constData());
        std::fflush(stdout);
    });
    std::printf("%u\n", unsigned(server.serverPort()));
    std::fflush(stdout);
}
