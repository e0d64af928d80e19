#include "VzipFixture.h"

#include "VzipPackageWriter.h"
#include "engine/VzipChecksum.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

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
