#include "DlgDownload.h"

#include <QByteArray>
#include <QDebug>

#include <cstdio>
#include <cstring>

namespace {

// The name inside the pipeline's single quotes: a quote in it must not end the quoting.
QString shellQuoted(QString text)
{
    return "'" + text.replace("'", "'\\''") + "'";
}

} // namespace

bool CheckMacProcessRunning(const QString& processName)
{
    const QByteArray command =
        ("ps -ef|grep " + shellQuoted(processName) + " |grep -v grep|grep -v .pkg").toLocal8Bit();
    FILE* pipe = popen(command.constData(), "r");
    if (!pipe)
        return false;
    const QByteArray wanted = processName.toLocal8Bit();
    char line[512];
    bool running = false;
    while (!running && std::fgets(line, sizeof line, pipe)) {
        const size_t length = std::strlen(line);
        // A longer line arrives in pieces; only the piece that ends it is looked at.
        if (length == 0 || line[length - 1] != '\n')
            continue;
        line[length - 1] = '\0';
        qDebug() << "id:" << line;
        running = QByteArray(line).endsWith(wanted);
    }
    pclose(pipe);
    return running;
}
