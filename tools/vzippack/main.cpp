#include "VzipPackageWriter.h"

#include <QStringList>

#include <cstdio>

namespace {

const char kUsage[] =
    "usage: vzippack [--level 0-9] [--dictionary BYTES] [--end-mark] FOLDER PACKAGE\n"
    "Packs every folder and file below FOLDER into the Vzip package PACKAGE.\n";

bool parseArguments(const QStringList& arguments, LzmaEncodeOptions* options, QStringList* paths)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool ok = true;
        if (argument == "--level" && i + 1 < arguments.size()) {
            options->level = arguments[++i].toInt(&ok);
            ok = ok && options->level >= 0 && options->level <= 9;
        } else if (argument == "--dictionary" && i + 1 < arguments.size()) {
            options->dictionarySize = arguments[++i].toUInt(&ok);
        } else if (argument == "--end-mark") {
            options->endMark = true;
        } else if (argument.startsWith("--")) {
            ok = false;
        } else {
            paths->append(argument);
        }
        if (!ok)
            return false;
    }
    return paths->size() == 2;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    LzmaEncodeOptions options;
    QStringList paths;
    if (!parseArguments(arguments, &options, &paths)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QString error;
    const std::vector<VzipPackageEntry> entries = VzipPackageWriter::entriesOfFolder(paths[0], &error);
    if (!error.isEmpty() || !VzipPackageWriter::write(paths[1], entries, options, &error)) {
        std::fprintf(stderr, "vzippack: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
