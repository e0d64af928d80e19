#include "engine/CZR_Vzip.h"

#include "engine/StdioFile.h"
#include "engine/VzipChecksum.h"
#include "engine/VzipEntryTable.h"
#include "engine/VzipScratchFolder.h"
#include "engine/lzma/LzmaAloneDecoder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t kMagic = VzipChecksum::kPolynomial;
constexpr long kHeaderSize = 28;
constexpr size_t kBlockSize = 65536;

StdioFile openFile(const QString& path, const char* mode)
{
    return StdioFile(std::fopen(QFile::encodeName(path).constData(), mode));
}

std::uint32_t littleEndian32(const unsigned char* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16
        | std::uint32_t(bytes[3]) << 24;
}

bool closeWritten(StdioFile& file)
{
    return std::fclose(file.release()) == 0;
}

struct ScratchFiles {
    QString lzmaPart;
    QString decoded;
    QString table;

    explicit ScratchFiles(const QString& folder)
        : lzmaPart(folder + "jsinfile_tmp"), decoded(folder + "jsoutfile_tmp"), table(folder + "jsfileover_tmp")
    {
    }

    void remove() const
    {
        QFile::remove(lzmaPart);
        QFile::remove(decoded);
        QFile::remove(table);
    }
};

// Checks the body after the header against the header's checksum, reading to the file's end.
bool bodyMatchesChecksum(FILE* package, std::int64_t bodyLength, std::uint32_t expected)
{
    if (fseeko(package, kHeaderSize, SEEK_SET) != 0)
        return false;
    VzipChecksum checksum;
    std::vector<unsigned char> block(kBlockSize);
    while (bodyLength > 0) {
        const size_t got = std::fread(block.data(), 1, kBlockSize, package);
        if (got == 0)
            return false;
        checksum.update(block.data(), got);
        bodyLength -= static_cast<std::int64_t>(got);
    }
    return bodyLength == 0 && checksum.value() == expected;
}

// Copies the body after the header: its first `lzmaLength` bytes to `lzmaPart`, the rest to `table`.
bool splitBody(FILE* package, std::int64_t bodyLength, std::uint32_t lzmaLength, FILE* lzmaPart, FILE* table)
{
    std::vector<unsigned char> block(kBlockSize);
    std::int64_t position = 0;
    while (position < bodyLength) {
        const size_t got = std::fread(block.data(), 1, kBlockSize, package);
        if (got == 0)
            return false;
        const std::int64_t lzmaLeft = std::max<std::int64_t>(0, std::int64_t(lzmaLength) - position);
        const size_t toLzma = static_cast<size_t>(std::min<std::int64_t>(lzmaLeft, std::int64_t(got)));
        if (std::fwrite(block.data(), 1, toLzma, lzmaPart) != toLzma)
            return false;
        if (std::fwrite(block.data() + toLzma, 1, got - toLzma, table) != got - toLzma)
            return false;
        position += static_cast<std::int64_t>(got);
    }
    return true;
}

bool splitPackage(const QString& package, std::int64_t bodyLength, std::uint32_t lzmaLength, const ScratchFiles& scratch)
{
    StdioFile in = openFile(package, "rb");
    if (!in || fseeko(in.get(), kHeaderSize, SEEK_SET) != 0)
        return false;
    StdioFile lzmaPart = openFile(scratch.lzmaPart, "wb");
    StdioFile table = openFile(scratch.table, "wb");
    if (!lzmaPart || !table)
        return false;
    const bool split = splitBody(in.get(), bodyLength, lzmaLength, lzmaPart.get(), table.get());
    const bool lzmaClosed = closeWritten(lzmaPart);
    const bool tableClosed = closeWritten(table);
    return split && lzmaClosed && tableClosed;
}

// Where the entry lands, spelled the way the unpacker has always built it.
QString entryTarget(const QString& destinationRoot, const VzipEntry& entry)
{
    QString target = destinationRoot + entry.name;
    if (!target.endsWith('\\') || VzipEntryTable::isFolder(entry))
        target.replace('\\', '/');
    return target;
}

QString destinationRoot(const QString& destinationFolder)
{
    if (destinationFolder.endsWith('/') || destinationFolder.endsWith('\\'))
        return destinationFolder;
    return destinationFolder + "/";
}

// The last line of defence against a name that leaves the destination by some spelling the name
// checks missed: the cleaned target must lie strictly below the cleaned destination.
bool staysInside(const QString& root, const QString& target)
{
    const QString cleanRoot = QDir::cleanPath(root) + "/";
    return QDir::cleanPath(target).startsWith(cleanRoot);
}

bool isLink(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The unpacker makes only real folders and files, so a link at any level below the destination was
// put there by someone else, and following it could lead anywhere.
bool passesThroughLink(const QString& root, const QString& target)
{
    const QString cleanRoot = QDir::cleanPath(root);
    QString path = cleanRoot;
    for (const QString& level : QDir(cleanRoot).relativeFilePath(QDir::cleanPath(target)).split('/')) {
        path += '/' + level;
        if (isLink(path))
            return true;
        if (!QFileInfo::exists(path))
            return false;
    }
    return false;
}

bool allTargetsSafe(const QString& root, const VzipEntryTable& table)
{
    for (const VzipEntry& entry : table.entries()) {
        const QString target = entryTarget(root, entry);
        if (!staysInside(root, target) || passesThroughLink(root, target))
            return false;
    }
    return true;
}

bool makeFolderLevel(const QString& path)
{
    QDir().mkdir(path);
    return QFileInfo(path).isDir();
}

bool makeRealFolderLevel(const QString& path)
{
    return makeFolderLevel(path) && !isLink(path);
}

StdioFile createWithoutFollowing(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return StdioFile();
    FILE* file = ::fdopen(fd, "w+b");
    if (!file)
        ::close(fd);
    return StdioFile(file);
}

bool copyContents(FILE* decoded, FILE* target, std::uint32_t size, std::vector<unsigned char>& block)
{
    std::uint32_t left = size;
    while (left > 0) {
        const size_t wanted = std::min<size_t>(left, kBlockSize);
        const size_t got = std::fread(block.data(), 1, wanted, decoded);
        if (got == 0 || std::fwrite(block.data(), 1, got, target) != got)
            return false;
        left -= static_cast<std::uint32_t>(got);
    }
    return true;
}

bool writeEntries(const QString& root, const VzipEntryTable& table, FILE* decoded)
{
    std::vector<unsigned char> block(kBlockSize);
    for (const VzipEntry& entry : table.entries()) {
        if (!QFileInfo(root).isDir() && !makeFolderLevel(root))
            return false;
        const QString target = entryTarget(root, entry);
        if (VzipEntryTable::isFolder(entry)) {
            if (!makeRealFolderLevel(target.left(target.size() - 1)))
                return false;
            continue;
        }
        StdioFile file = createWithoutFollowing(target);
        if (!file)
            return false;
        const bool copied = copyContents(decoded, file.get(), entry.size, block);
        if (!closeWritten(file) || !copied)
            return false;
    }
    return true;
}

std::int64_t fileSize(FILE* file)
{
    if (fseeko(file, 0, SEEK_END) != 0)
        return -1;
    return ftello(file);
}

int unpackBody(const QString& package, std::int64_t bodyLength, std::uint32_t lzmaLength, const QString& destinationFolder)
{
    const VzipScratchFolder scratchFolder = VzipScratchFolder::prepare(QFileInfo(QDir::cleanPath(destinationFolder)).absolutePath());
    if (!scratchFolder.isValid())
        return CZR_Vzip::kUnpackFailed;
    const ScratchFiles scratch(scratchFolder.path());
    if (!splitPackage(package, bodyLength, lzmaLength, scratch))
        return CZR_Vzip::kUnpackFailed;

    const std::optional<VzipEntryTable> table = VzipEntryTable::readFile(scratch.table);
    const QString root = destinationRoot(destinationFolder);
    if (!table || !allTargetsSafe(root, *table))
        return CZR_Vzip::kUnpackFailed;
    if (!decodeLzmaAloneFile(QFile::encodeName(scratch.lzmaPart).constData(),
                             QFile::encodeName(scratch.decoded).constData(), table->totalSize()))
        return CZR_Vzip::kUnpackFailed;

    StdioFile decoded = openFile(scratch.decoded, "rb");
    if (!decoded || fileSize(decoded.get()) != std::int64_t(table->totalSize()) || fseeko(decoded.get(), 0, SEEK_SET) != 0)
        return CZR_Vzip::kUnpackFailed;
    if (!writeEntries(root, *table, decoded.get()))
        return CZR_Vzip::kUnpackFailed;
    decoded.reset();
    scratch.remove();
    scratchFolder.releaseIfPrivate();
    return CZR_Vzip::kUnpacked;
}

} // namespace

int CZR_Vzip::Unzip2(QString& package, QString& destinationFolder)
{
    StdioFile in = openFile(package, "rb");
    if (!in)
        return kCannotOpen;
    qDebug() << kHeaderSize;
    unsigned char header[kHeaderSize] = {};
    if (std::fread(header, 1, kHeaderSize, in.get()) < 4 || littleEndian32(header) != kMagic)
        return kNotAPackage;
    const std::int64_t bodyLength = fileSize(in.get()) - kHeaderSize;
    const std::uint32_t lzmaLength = littleEndian32(header + 16);
    if (bodyLength < 0 || bodyLength < std::int64_t(lzmaLength))
        return kDamaged;
    if (!bodyMatchesChecksum(in.get(), bodyLength, littleEndian32(header + 8)))
        return kDamaged;
    in.reset();
    return unpackBody(package, bodyLength, lzmaLength, destinationFolder);
}

bool CZR_Vzip::UnzipFileToFile(QString& lzmaFile, QString& outputFile)
{
    return decodeLzmaAloneFile(QFile::encodeName(lzmaFile).constData(), QFile::encodeName(outputFile).constData(),
                               kLzmaUnlimitedOutput);
}

void CZR_Vzip::BuildTable32(unsigned long polynomial, unsigned long table[256])
{
    for (unsigned long index = 0; index < 256; ++index) {
        unsigned long remainder = 0;
        unsigned long shifted = index << 24;
        for (int step = 0; step < 8; ++step) {
            remainder = ((shifted ^ remainder) & 0x80000000ul) ? (remainder << 1) ^ polynomial : remainder << 1;
            shifted <<= 1;
        }
        table[index] = remainder;
    }
}

void CZR_Vzip::BuildTable64(unsigned long polynomial, unsigned long table[256])
{
    for (unsigned index = 0; index < 256; ++index)
        table[index] = VzipChecksum::tableEntry(static_cast<std::uint32_t>(polynomial), index);
}

unsigned long CZR_Vzip::RunCRC32(const unsigned char* data, unsigned long length, unsigned long polynomial)
{
    unsigned long table[256];
    BuildTable64(polynomial, table);
    std::uint32_t crc = 0;
    for (unsigned long i = 0; i < length; ++i)
        crc = (crc << 8) ^ static_cast<std::uint32_t>(table[(crc >> 24) ^ data[i]]);
    return crc;
}

bool CZR_Vzip::MyReadFile(FILE* file, void* buffer, unsigned long n)
{
    return std::fread(buffer, 1, n, file) == n;
}
