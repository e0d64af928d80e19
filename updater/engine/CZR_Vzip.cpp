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
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>
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

QString systemErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool isWantOfRoom(int code)
{
    return code == ENOSPC || code == EDQUOT || code == EFBIG;
}

// What a call on a path that the package names says when the package's own entries are at odds
// (a file before its folder, a folder in the place of a file, a name too long, or one the file
// system does not accept as a name) in a fresh folder.
bool refusesTheName(int code)
{
    return code == ENOENT || code == ENOTDIR || code == EISDIR || code == EEXIST || code == ENAMETOOLONG ||
           code == ELOOP || code == EINVAL || code == EILSEQ;
}

// The first cause of a failed unpacking, in words for the log, and who is to blame for it: a
// package that is no good goes, a good one stays for the next try.
class FailureCause
{
public:
    bool failed() const { return !m_text.isEmpty(); }
    const QString& text() const { return m_text; }

    // The package's contents are at fault.
    bool fail(const QString& cause) { return record(cause, Blame::Package); }
    // `what` and the system's text for errno as the failing call left it. A call of the unpacker's
    // own (its scratch files, the unpack folder, a write) fails because of this system.
    bool failWithErrno(const QString& what) { return failWithSystemError(what, errno); }
    bool failWithSystemError(const QString& what, int code)
    {
        return record(what + ": " + systemErrorText(code), isWantOfRoom(code) ? Blame::WantOfRoom : Blame::System);
    }
    // The same for a call on a path that the package names.
    bool failForEntry(const QString& what, int code)
    {
        if (!refusesTheName(code))
            return failWithSystemError(what, code);
        return record(what + ": " + systemErrorText(code), Blame::Package);
    }
    // The first cause was a full disk or a size limit, not the package.
    bool forWantOfRoom() const { return m_blame == Blame::WantOfRoom; }
    bool forThePackage() const { return m_blame == Blame::Package; }

private:
    enum class Blame { Package, WantOfRoom, System };

    bool record(const QString& cause, Blame blame)
    {
        if (m_text.isEmpty()) {
            m_text = cause;
            m_blame = blame;
        }
        return false;
    }

    QString m_text;
    Blame m_blame = Blame::Package;
};

bool closeWritten(StdioFile& file)
{
    return std::fclose(file.release()) == 0;
}

// The three scratch files of one unpacking. They hold the whole package twice over, so they go
// however the unpacking ends, and with them the private folder made for them.
class ScratchFiles
{
    VzipScratchFolder m_folder; // first: the paths below are made from it

public:
    explicit ScratchFiles(VzipScratchFolder folder)
        : m_folder(std::move(folder))
        , lzmaPart(m_folder.path() + VzipScratchFolder::kLzmaPartFile)
        , decoded(m_folder.path() + VzipScratchFolder::kDecodedFile)
        , table(m_folder.path() + VzipScratchFolder::kTableFile)
    {
    }
    ~ScratchFiles()
    {
        if (!m_folder.isValid())
            return;
        QFile::remove(lzmaPart);
        QFile::remove(decoded);
        QFile::remove(table);
        m_folder.releaseIfPrivate();
    }
    ScratchFiles(const ScratchFiles&) = delete;
    ScratchFiles& operator=(const ScratchFiles&) = delete;

    bool isValid() const { return m_folder.isValid(); }
    int error() const { return m_folder.error(); }

    const QString lzmaPart;
    const QString decoded;
    const QString table;
};

// What an unpacking made in the destination, so that a failed one takes it back: a half-written
// package is of no use, and on a full disk it is what keeps the disk full.
class WrittenEntries
{
public:
    void made(const QString& path) { m_paths.push_back(path); }

    // Newest first, so that folders are empty by the time they are reached; a folder that still
    // holds something of someone else's stays.
    void takeBack() const
    {
        for (auto it = m_paths.rbegin(); it != m_paths.rend(); ++it) {
            const QByteArray native = QFile::encodeName(*it);
            if (::unlink(native.constData()) != 0)
                ::rmdir(native.constData());
        }
    }

private:
    std::vector<QString> m_paths;
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

// Copies the body after the header: its first `lzmaLength` bytes to the LZMA part, the rest to
// the table.
bool splitBody(FILE* package, std::int64_t bodyLength, std::uint32_t lzmaLength, FILE* lzmaPart, FILE* table,
               const ScratchFiles& scratch, FailureCause& cause)
{
    std::vector<unsigned char> block(kBlockSize);
    std::int64_t position = 0;
    while (position < bodyLength) {
        const size_t got = std::fread(block.data(), 1, kBlockSize, package);
        if (got == 0)
            return cause.fail("the package ends before its length");
        const std::int64_t lzmaLeft = std::max<std::int64_t>(0, std::int64_t(lzmaLength) - position);
        const size_t toLzma = static_cast<size_t>(std::min<std::int64_t>(lzmaLeft, std::int64_t(got)));
        if (std::fwrite(block.data(), 1, toLzma, lzmaPart) != toLzma)
            return cause.failWithErrno("cannot write " + scratch.lzmaPart);
        if (std::fwrite(block.data() + toLzma, 1, got - toLzma, table) != got - toLzma)
            return cause.failWithErrno("cannot write " + scratch.table);
        position += static_cast<std::int64_t>(got);
    }
    return true;
}

bool splitPackage(const QString& package, std::int64_t bodyLength, std::uint32_t lzmaLength, const ScratchFiles& scratch,
                  FailureCause& cause)
{
    StdioFile in = openFile(package, "rb");
    if (!in || fseeko(in.get(), kHeaderSize, SEEK_SET) != 0)
        return cause.failWithErrno("cannot read the package again");
    StdioFile lzmaPart = openFile(scratch.lzmaPart, "wb");
    if (!lzmaPart)
        return cause.failWithErrno("cannot create " + scratch.lzmaPart);
    StdioFile table = openFile(scratch.table, "wb");
    if (!table)
        return cause.failWithErrno("cannot create " + scratch.table);
    const bool split = splitBody(in.get(), bodyLength, lzmaLength, lzmaPart.get(), table.get(), scratch, cause);
    if (!closeWritten(lzmaPart))
        cause.failWithErrno("cannot write " + scratch.lzmaPart);
    if (!closeWritten(table))
        cause.failWithErrno("cannot write " + scratch.table);
    return split && !cause.failed();
}

bool decodeContents(const ScratchFiles& scratch, std::uint64_t expectedSize, FailureCause& cause)
{
    const LzmaDecodeOutcome outcome = decodeLzmaAloneFile(QFile::encodeName(scratch.lzmaPart).constData(),
                                                          QFile::encodeName(scratch.decoded).constData(), expectedSize);
    switch (outcome.result) {
    case LzmaDecodeOutcome::Decoded:
        return true;
    case LzmaDecodeOutcome::InputUnreadable:
        return cause.failWithSystemError("cannot read " + scratch.lzmaPart, outcome.systemError);
    case LzmaDecodeOutcome::OutputUnwritable:
        return cause.failWithSystemError("cannot write " + scratch.decoded, outcome.systemError);
    case LzmaDecodeOutcome::DictionaryTooLarge:
        return cause.fail("the compressed contents ask for a dictionary above the largest one accepted");
    case LzmaDecodeOutcome::TooLarge:
        return cause.fail("the compressed contents are larger than the entry table says");
    case LzmaDecodeOutcome::Damaged:
        break;
    }
    return cause.fail("the compressed contents cannot be decoded");
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

bool allTargetsSafe(const QString& root, const VzipEntryTable& table, FailureCause& cause)
{
    for (const VzipEntry& entry : table.entries()) {
        const QString target = entryTarget(root, entry);
        if (!staysInside(root, target))
            return cause.fail("the entry " + entry.name + " would leave the unpack folder");
        if (passesThroughLink(root, target))
            return cause.fail("the entry " + entry.name + " would be written through a link");
    }
    return true;
}

// Whose folder a level is: the caller's unpack folder, or one that an entry of the package names.
enum class FolderLevel { UnpackFolder, Entry };

// One level of a folder, made unless it is there; a link in its place is no folder of ours.
bool makeRealFolderLevel(const QString& path, FolderLevel level, WrittenEntries& written, FailureCause& cause)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0) {
        written.made(path);
        return true;
    }
    int code = errno;
    if (code == EEXIST) {
        if (!isLink(path) && QFileInfo(path).isDir())
            return true;
        code = ENOTDIR;
    }
    const QString what = "cannot make the folder " + path;
    return level == FolderLevel::Entry ? cause.failForEntry(what, code) : cause.failWithSystemError(what, code);
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

bool copyContents(FILE* decoded, FILE* target, std::uint32_t size, std::vector<unsigned char>& block,
                  const QString& targetPath, FailureCause& cause)
{
    std::uint32_t left = size;
    while (left > 0) {
        const size_t wanted = std::min<size_t>(left, kBlockSize);
        const size_t got = std::fread(block.data(), 1, wanted, decoded);
        if (got == 0)
            return cause.fail("the decoded contents end before the entry table does");
        if (std::fwrite(block.data(), 1, got, target) != got)
            return cause.failWithErrno("cannot write " + targetPath);
        left -= static_cast<std::uint32_t>(got);
    }
    return true;
}

bool writeFileEntry(const QString& target, std::uint32_t size, FILE* decoded, std::vector<unsigned char>& block,
                    WrittenEntries& written, FailureCause& cause)
{
    StdioFile file = createWithoutFollowing(target);
    if (!file)
        return cause.failForEntry("cannot create " + target, errno);
    written.made(target);
    const bool copied = copyContents(decoded, file.get(), size, block, target, cause);
    if (!closeWritten(file))
        return cause.failWithErrno("cannot write " + target);
    return copied;
}

bool writeEntries(const QString& root, const VzipEntryTable& table, FILE* decoded, WrittenEntries& written,
                  FailureCause& cause)
{
    std::vector<unsigned char> block(kBlockSize);
    const QString rootLevel = QDir::cleanPath(root);
    for (const VzipEntry& entry : table.entries()) {
        if (!QFileInfo(rootLevel).isDir() && !makeRealFolderLevel(rootLevel, FolderLevel::UnpackFolder, written, cause))
            return false;
        const QString target = entryTarget(root, entry);
        const bool made = VzipEntryTable::isFolder(entry)
                              ? makeRealFolderLevel(target.left(target.size() - 1), FolderLevel::Entry, written, cause)
                              : writeFileEntry(target, entry.size, decoded, block, written, cause);
        if (!made)
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

bool unpackBody(const QString& package, std::int64_t bodyLength, std::uint32_t lzmaLength,
                const QString& destinationFolder, FailureCause& cause)
{
    const QString fallbackParent = QFileInfo(QDir::cleanPath(destinationFolder)).absolutePath();
    const ScratchFiles scratch(VzipScratchFolder::prepare(fallbackParent));
    if (!scratch.isValid())
        return cause.failWithSystemError("no folder for the temporary files can be made, neither in " +
                                             QDir::tempPath() + " nor in " + fallbackParent,
                                         scratch.error());
    if (!splitPackage(package, bodyLength, lzmaLength, scratch, cause))
        return false;

    const std::optional<VzipEntryTable> table = VzipEntryTable::readFile(scratch.table);
    if (!table)
        return cause.fail("the entry table is damaged");
    const QString root = destinationRoot(destinationFolder);
    if (!allTargetsSafe(root, *table, cause) || !decodeContents(scratch, table->totalSize(), cause))
        return false;

    StdioFile decoded = openFile(scratch.decoded, "rb");
    if (!decoded)
        return cause.failWithErrno("cannot read " + scratch.decoded);
    if (fileSize(decoded.get()) != std::int64_t(table->totalSize()) || fseeko(decoded.get(), 0, SEEK_SET) != 0)
        return cause.fail("the decoded contents do not add up to the sizes in the entry table");
    WrittenEntries written;
    if (!writeEntries(root, *table, decoded.get(), written, cause)) {
        written.takeBack();
        return false;
    }
    return true;
}

} // namespace

int CZR_Vzip::Unzip2(QString& package, QString& destinationFolder)
{
    m_strFailure.clear();
    m_bFailedForWantOfRoom = false;
    m_bFailedForThePackage = false;
    StdioFile in = openFile(package, "rb");
    if (!in)
        return failed(kCannotOpen, "cannot open the package " + package + ": " + systemErrorText(errno));
    qDebug() << kHeaderSize;
    unsigned char header[kHeaderSize] = {};
    if (std::fread(header, 1, kHeaderSize, in.get()) < 4 || littleEndian32(header) != kMagic)
        return failed(kNotAPackage, "not a Vzip package: it does not begin with the magic number");
    const std::int64_t bodyLength = fileSize(in.get()) - kHeaderSize;
    const std::uint32_t lzmaLength = littleEndian32(header + 16);
    if (bodyLength < 0)
        return failed(kDamaged, "the package is damaged: it is shorter than its header");
    if (bodyLength < std::int64_t(lzmaLength))
        return failed(kDamaged, "the package is damaged: its LZMA part is longer than the package");
    if (!bodyMatchesChecksum(in.get(), bodyLength, littleEndian32(header + 8)))
        return failed(kDamaged, "the package is damaged: its checksum does not match its contents");
    in.reset();
    FailureCause cause;
    if (!unpackBody(package, bodyLength, lzmaLength, destinationFolder, cause))
        return failed(kUnpackFailed, cause.text(), cause.forWantOfRoom(), cause.forThePackage());
    return kUnpacked;
}

int CZR_Vzip::failed(int result, const QString& cause, bool forWantOfRoom, bool forThePackage)
{
    m_strFailure = cause;
    m_bFailedForWantOfRoom = forWantOfRoom;
    m_bFailedForThePackage = forThePackage;
    return result;
}

bool CZR_Vzip::UnzipFileToFile(QString& lzmaFile, QString& outputFile)
{
    return decodeLzmaAloneFile(QFile::encodeName(lzmaFile).constData(), QFile::encodeName(outputFile).constData(),
                               kLzmaUnlimitedOutput)
        .decoded();
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
