#include "VzipPackageWriter.h"

#include "engine/StdioFile.h"

#include "engine/VzipChecksum.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kHeaderSize = 28;
constexpr int kMaxEntries = 65535;
constexpr int kMaxNameLength = 255;

void appendLittleEndian(QByteArray& bytes, std::uint64_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool collect(const QString& folder, const QString& prefix, std::vector<VzipPackageEntry>& entries, QString* error)
{
    const QFileInfoList children = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& child : children) {
        const QString relative = prefix + child.fileName();
        QByteArray name = relative.toUtf8();
        if (child.isDir() && !child.isSymLink())
            name += '/';
        if (name.contains('\\') || name.size() > kMaxNameLength) {
            *error = QString("cannot name \"%1\" in a package").arg(relative);
            return false;
        }
        if (child.isSymLink() || !(child.isDir() || child.isFile()) || child.size() > UINT32_MAX) {
            *error = QString("\"%1\" is not a folder or a file below 4 GiB").arg(relative);
            return false;
        }
        entries.push_back(VzipPackageEntry{name, child.isDir() ? QString() : child.filePath(),
                                           static_cast<std::uint32_t>(child.isDir() ? 0 : child.size())});
        if (child.isDir() && !collect(child.filePath(), relative + "/", entries, error))
            return false;
    }
    if (entries.size() > kMaxEntries) {
        *error = "more than 65535 entries";
        return false;
    }
    return true;
}

// Hands the files' contents to the encoder one after another, each exactly its table size.
class ContentsReader
{
public:
    explicit ContentsReader(const std::vector<VzipPackageEntry>& entries) : m_entries(entries) {}

    bool read(unsigned char* buffer, std::size_t* size)
    {
        std::size_t filled = 0;
        while (filled < *size && openNext()) {
            const std::size_t wanted = std::min<std::uint64_t>(*size - filled, m_left);
            const std::size_t got = std::fread(buffer + filled, 1, wanted, m_file.get());
            if (got == 0) {
                m_failed = true;
                return false;
            }
            filled += got;
            m_left -= got;
        }
        *size = filled;
        return !m_failed;
    }

    bool failed() const { return m_failed; }
    std::uint64_t total() const
    {
        std::uint64_t sum = 0;
        for (const VzipPackageEntry& entry : m_entries)
            sum += entry.size;
        return sum;
    }

private:
    // Moves to the next file with bytes left; false at the end or when a file will not open.
    bool openNext()
    {
        while (m_left == 0) {
            m_file.reset();
            if (m_next == m_entries.size())
                return false;
            const VzipPackageEntry& entry = m_entries[m_next++];
            if (entry.sourcePath.isEmpty() || entry.size == 0)
                continue;
            m_file.reset(std::fopen(QFile::encodeName(entry.sourcePath).constData(), "rb"));
            if (!m_file) {
                m_failed = true;
                return false;
            }
            m_left = entry.size;
        }
        return true;
    }

    const std::vector<VzipPackageEntry>& m_entries;
    std::size_t m_next = 0;
    std::uint64_t m_left = 0;
    StdioFile m_file;
    bool m_failed = false;
};

bool checksumFrom(FILE* file, long offset, std::uint32_t* checksum)
{
    if (std::fseek(file, offset, SEEK_SET) != 0)
        return false;
    VzipChecksum crc;
    std::vector<unsigned char> block(65536);
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), file)) > 0)
        crc.update(block.data(), got);
    *checksum = crc.value();
    return !std::ferror(file);
}

bool writeAll(FILE* file, const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file) == static_cast<std::size_t>(bytes.size());
}

} // namespace

std::vector<VzipPackageEntry> VzipPackageWriter::entriesOfFolder(const QString& folder, QString* error)
{
    std::vector<VzipPackageEntry> entries;
    if (!QFileInfo(folder).isDir()) {
        *error = QString("\"%1\" is not a folder").arg(folder);
        return {};
    }
    if (!collect(folder, QString(), entries, error))
        return {};
    return entries;
}

bool VzipPackageWriter::write(const QString& packagePath, const std::vector<VzipPackageEntry>& entries,
                              const LzmaEncodeOptions& options, QString* error)
{
    StdioFile package(std::fopen(QFile::encodeName(packagePath).constData(), "w+b"));
    if (!package || !writeAll(package.get(), QByteArray(kHeaderSize, '\0'))) {
        *error = QString("cannot write \"%1\"").arg(packagePath);
        return false;
    }
    ContentsReader contents(entries);
    const LzmaSource source = [&](unsigned char* buffer, std::size_t* size) { return contents.read(buffer, size); };
    const LzmaSink sink = [&](const unsigned char* data, std::size_t size) {
        return std::fwrite(data, 1, size, package.get()) == size;
    };
    if (!encodeLzmaAlone(source, contents.total(), sink, options) || contents.failed()) {
        *error = "cannot compress the files";
        return false;
    }
    const long lzmaEnd = std::ftell(package.get());
    QByteArray table = tableCount(static_cast<std::uint16_t>(entries.size()));
    for (const VzipPackageEntry& entry : entries)
        table += tableEntry(entry.name, entry.size);
    std::uint32_t checksum = 0;
    if (lzmaEnd < 0 || lzmaEnd - kHeaderSize > long(UINT32_MAX) || !writeAll(package.get(), table)
        || !checksumFrom(package.get(), kHeaderSize, &checksum) || std::fseek(package.get(), 0, SEEK_SET) != 0
        || !writeAll(package.get(), header(checksum, static_cast<std::uint32_t>(lzmaEnd - kHeaderSize)))
        || std::fclose(package.release()) != 0) {
        *error = QString("cannot write \"%1\"").arg(packagePath);
        return false;
    }
    return true;
}

QByteArray VzipPackageWriter::header(std::uint32_t checksum, std::uint32_t lzmaLength)
{
    QByteArray bytes;
    appendLittleEndian(bytes, VzipChecksum::kPolynomial, 4);
    appendLittleEndian(bytes, 0, 4);
    appendLittleEndian(bytes, checksum, 4);
    appendLittleEndian(bytes, 0, 4);
    appendLittleEndian(bytes, lzmaLength, 4);
    appendLittleEndian(bytes, 0, 8);
    return bytes;
}

QByteArray VzipPackageWriter::tableCount(std::uint16_t count)
{
    QByteArray bytes;
    appendLittleEndian(bytes, count, 2);
    return bytes;
}

QByteArray VzipPackageWriter::tableEntry(const QByteArray& name, std::uint32_t size)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(name.size()));
    bytes.append('\0');
    bytes.append(name);
    appendLittleEndian(bytes, size, 4);
    return bytes;
}
