#include "VzipFixture.h"

#include "VzipPackageWriter.h"
#include "engine/VzipChecksum.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

VzipFixture& VzipFixture::file(const QByteArray& name, const QByteArray& contents)
{
    m_entries.push_back({name, contents});
    return *this;
}

VzipFixture& VzipFixture::folder(const QByteArray& name)
{
    m_entries.push_back({name, QByteArray()});
    return *this;
}

QByteArray VzipFixture::contents() const
{
    QByteArray all;
    for (const VzipFixtureEntry& entry : m_entries)
        all += entry.contents;
    return all;
}

QByteArray VzipFixture::lzmaPart(const LzmaEncodeOptions& options) const
{
    return encodeLzmaAlone(contents(), options);
}

QByteArray VzipFixture::table() const
{
    return table(static_cast<std::uint16_t>(m_entries.size()));
}

QByteArray VzipFixture::table(std::uint16_t count) const
{
    QByteArray bytes = VzipPackageWriter::tableCount(count);
    for (const VzipFixtureEntry& entry : m_entries)
        bytes += VzipPackageWriter::tableEntry(entry.name, static_cast<std::uint32_t>(entry.contents.size()));
    return bytes;
}

QByteArray VzipFixture::package(const LzmaEncodeOptions& options) const
{
    return assemble(lzmaPart(options), table());
}

QByteArray VzipFixture::packageOfSize(int size) const
{
    QRandomGenerator generator(static_cast<quint32>(size));
    QByteArray noise(size, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(generator.bounded(256));
    // Compressed noise grows about byte for byte with its length, so a few corrections meet the size.
    int paddingSize = 0;
    for (int attempt = 0; attempt < 32 && paddingSize >= 0; ++attempt) {
        const QByteArray padded = VzipFixture(*this).file("padding.bin", noise.left(paddingSize)).package();
        if (padded.size() == size)
            return padded;
        paddingSize += size - padded.size();
    }
    return QByteArray();
}

QByteArray VzipFixture::assemble(const QByteArray& lzmaPart, const QByteArray& table)
{
    const QByteArray body = lzmaPart + table;
    VzipChecksum checksum;
    checksum.update(reinterpret_cast<const unsigned char*>(body.constData()), static_cast<std::size_t>(body.size()));
    return VzipPackageWriter::header(checksum.value(), static_cast<std::uint32_t>(lzmaPart.size())) + body;
}

LzmaEncodeOptions VzipFixture::smallDictionary()
{
    LzmaEncodeOptions options;
    options.dictionarySize = 1 << 16;
    return options;
}

QMap<QString, QByteArray> treeOf(const QString& root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const bool isFolder = QFileInfo(path).isDir();
        tree.insert(base.relativeFilePath(path), isFolder || !file.open(QIODevice::ReadOnly) ? QByteArray("<folder>") : file.readAll());
    }
    return tree;
}
