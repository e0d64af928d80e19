#pragma once

#include "LzmaAloneEncoder.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// One entry of a package being built: a folder ("name/", no source) or a file read from `sourcePath`.
struct VzipPackageEntry
{
    QByteArray name;
    QString sourcePath;
    std::uint32_t size = 0;
};

// Builds Vzip packages: the header, one LZMA-alone stream of every file's contents in table order,
// and the entry table. Streams the files, so a package may be far larger than memory.
class VzipPackageWriter
{
public:
    // Every folder and file below `folder`, sorted by name, each folder before its contents, with
    // "/" between levels. Empty with `error` set when something cannot go into a package.
    static std::vector<VzipPackageEntry> entriesOfFolder(const QString& folder, QString* error);

    static bool write(const QString& packagePath, const std::vector<VzipPackageEntry>& entries,
                      const LzmaEncodeOptions& options, QString* error);

    // The raw pieces, also for hand-made packages.
    static QByteArray header(std::uint32_t checksum, std::uint32_t lzmaLength);
    static QByteArray tableCount(std::uint16_t count);
    static QByteArray tableEntry(const QByteArray& name, std::uint32_t size);
};
