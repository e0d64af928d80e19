#include "VzipFixture.h"
#include "VzipPackageWriter.h"

#include "FileSizeLimit.h"
#include "FolderCallFault.h"
#include "IsolatedEnvironment.h"
#include "engine/CZR_Vzip.h"
#include "engine/VzipChecksum.h"
#include "engine/VzipScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <memory>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

class VzipTest : public IsolatedTest
{
protected:
    void SetUp() override { QDir().mkpath(env.root() + "/out/a/b"); }

    QString packagePath() const { return env.root() + "/in/package.vzip"; }
    QString destination() const { return env.root() + "/out/a/b/dest"; }
    QString scratch() const { return env.tempDir() + "/KelvrinPagewisp/uncompress/"; }

    int unpack(const QByteArray& package) { return unpackInto(package, destination()); }

    int unpackInto(const QByteArray& package, QString destinationFolder)
    {
        IsolatedEnvironment::writeFile(packagePath(), package);
        m_before = treeOf(env.root());
        QString path = packagePath();
        CZR_Vzip vzip;
        const int result = vzip.Unzip2(path, destinationFolder);
        m_lastCause = vzip.failureCause();
        m_lastForWantOfRoom = vzip.failedForWantOfRoom();
        m_lastForThePackage = vzip.failedForThePackage();
        expectNothingOutsideDestination();
        return result;
    }

    QMap<QString, QByteArray> unpacked() const { return treeOf(destination()); }
    // Why the last unpack failed, as the unpacker put it.
    QString lastCause() const { return m_lastCause; }
    bool lastFailedForWantOfRoom() const { return m_lastForWantOfRoom; }
    bool lastFailedForThePackage() const { return m_lastForThePackage; }

private:
    // Anything new must lie in the destination or in the unpacker's temporary folder.
    void expectNothingOutsideDestination() const
    {
        const QMap<QString, QByteArray> after = treeOf(env.root());
        for (auto it = after.begin(); it != after.end(); ++it) {
            const QString& path = it.key();
            if (m_before.contains(path) && m_before.value(path) == it.value())
                continue;
            const bool allowed = path == "out/a/b/dest" || path.startsWith("out/a/b/dest/") || path.startsWith("tmp/");
            EXPECT_TRUE(allowed) << "written outside the destination: " << path.toStdString();
        }
    }

    QMap<QString, QByteArray> m_before;
    QString m_lastCause;
    bool m_lastForWantOfRoom = false;
    bool m_lastForThePackage = false;
};

// --- checksum -------------------------------------------------------------------------------------

TEST(VzipChecksumTest, KnownValuesAndTablesAgree)
{
    CZR_Vzip vzip;
    EXPECT_EQ(vzip.RunCRC32(reinterpret_cast<const unsigned char*>("abc"), 3, 0x19780625), 0xF4AE1735ul);
    EXPECT_EQ(vzip.RunCRC32(nullptr, 0, 0x19780625), 0ul);

    unsigned long table32[256];
    unsigned long table64[256];
    vzip.BuildTable32(0x19780625, table32);
    vzip.BuildTable64(0x19780625, table64);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table32[i] & 0xFFFFFFFFul, table64[i]) << i;
        EXPECT_LE(table64[i], 0xFFFFFFFFul) << i;
    }
}

TEST(VzipChecksumTest, GroupedAndPiecewiseUpdatesMatchTheByteMethod)
{
    const QByteArray data = randomBytes(1000, 7);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    for (int length : {0, 1, 7, 8, 9, 15, 16, 17, 999, 1000}) {
        const unsigned long expected = CZR_Vzip().RunCRC32(bytes, static_cast<unsigned long>(length), 0x19780625);
        for (int split : {0, 1, 3, 8, length / 2}) {
            if (split > length)
                continue;
            VzipChecksum checksum;
            checksum.update(bytes, static_cast<std::size_t>(split));
            checksum.update(bytes + split, static_cast<std::size_t>(length - split));
            EXPECT_EQ(checksum.value(), expected) << "length " << length << " split " << split;
        }
    }
}

// --- packages from the package tool -----------------------------------------------------------------

void makeSampleTree(const QString& root)
{
    IsolatedEnvironment::writeFile(root + "/Setup.xml", "<Setup/>\n");
    IsolatedEnvironment::writeFile(root + "/docs/readme.txt", "Read me.\n");
    IsolatedEnvironment::writeFile(root + "/docs/deeper/data.bin", randomBytes(200000, 1));
    IsolatedEnvironment::writeFile(root + QString::fromUtf8("/naïve ✓.txt"), QByteArray(100000, 'z'));
    IsolatedEnvironment::writeFile(root + "/empty.txt", QByteArray());
    QDir().mkpath(root + "/empty-folder");
}

TEST_F(VzipTest, PackageFromTheWriterUnpacksByteForByteAndCleansUp)
{
    const QString source = env.root() + "/source";
    makeSampleTree(source);
    QString error;
    const auto entries = VzipPackageWriter::entriesOfFolder(source, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_TRUE(VzipPackageWriter::write(env.root() + "/built.vzip", entries, VzipFixture::smallDictionary(), &error));

    EXPECT_EQ(unpack(IsolatedEnvironment::readFile(env.root() + "/built.vzip")), 1);
    EXPECT_EQ(unpacked(), treeOf(source));
    EXPECT_TRUE(QDir(scratch()).isEmpty()) << "temporary files are removed after success";
}

TEST_F(VzipTest, PackageFromTheToolWithAnEndMarkUnpacksByteForByte)
{
    const QString source = env.root() + "/source";
    makeSampleTree(source);
    const QString built = env.root() + "/tool.vzip";
    QProcess tool;
    tool.start(VZIPPACK_EXECUTABLE, {"--level", "1", "--dictionary", "65536", "--end-mark", source, built});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QByteArray package = IsolatedEnvironment::readFile(built);
    ASSERT_EQ(package.mid(28 + 5, 8), QByteArray(8, '\xFF')) << "the size is left unknown";

    EXPECT_EQ(unpack(package), 1);
    EXPECT_EQ(unpacked(), treeOf(source));
}

// --- results from their causes ----------------------------------------------------------------------

QByteArray goodPackage()
{
    return VzipFixture().folder("docs/").file("docs/a.txt", "alpha").file("b.txt", QByteArray(3000, 'b')).package();
}

QByteArray withByte(QByteArray bytes, int index, char xorMask)
{
    bytes[index] = static_cast<char>(bytes[index] ^ xorMask);
    return bytes;
}

QByteArray withLength(QByteArray bytes, quint32 length)
{
    for (int i = 0; i < 4; ++i)
        bytes[16 + i] = static_cast<char>(length >> (8 * i));
    return bytes;
}

struct ResultCase {
    const char* cause;
    QByteArray package;
    int result;
};

TEST_F(VzipTest, EveryResultFromItsCause)
{
    const QByteArray good = goodPackage();
    const int lzmaByte = 28 + 15; // past the LZMA part's own header
    const VzipFixture fixture = VzipFixture().folder("docs/").file("docs/a.txt", "alpha");
    const QByteArray lzma = fixture.lzmaPart();
    QByteArray badProperties = lzma;
    badProperties[0] = static_cast<char>(9 * 5 * 5); // lc/lp/pb beyond their ranges
    const std::vector<ResultCase> cases = {
        {"good package", good, 1},
        {"empty file", QByteArray(), -1},
        {"shorter than the magic", good.left(3), -1},
        {"wrong magic", withByte(good, 0, 1), -1},
        {"magic but shorter than the header", good.left(20), -2},
        {"N larger than the body", withLength(good, static_cast<quint32>(good.size())), -2},
        {"flipped LZMA byte", withByte(good, lzmaByte, 0x10), -2},
        {"flipped table byte", withByte(good, good.size() - 1, 1), -2},
        {"flipped reserved byte 4", withByte(good, 4, 0x5A), 1},
        {"flipped reserved byte 12", withByte(good, 12, 0x5A), 1},
        {"flipped reserved byte 27", withByte(good, 27, 0x5A), 1},
        {"short entry table", VzipFixture::assemble(lzma, fixture.table().chopped(2)), -4},
        {"count larger than the entries", VzipFixture::assemble(lzma, fixture.table(3)), -4},
        {"no table at all", VzipFixture::assemble(lzma, QByteArray()), -4},
        {"invalid LZMA properties under a good checksum", VzipFixture::assemble(badProperties, fixture.table()), -4},
        {"truncated LZMA data under a good checksum", VzipFixture::assemble(lzma.chopped(4), fixture.table()), -4},
    };
    for (const ResultCase& c : cases) {
        QDir(destination()).removeRecursively();
        EXPECT_EQ(unpack(c.package), c.result) << c.cause;
        EXPECT_EQ(lastCause().isEmpty(), c.result == 1) << c.cause << ": " << lastCause().toStdString();
        EXPECT_FALSE(lastFailedForWantOfRoom()) << c.cause;
        EXPECT_EQ(lastFailedForThePackage(), c.result != 1) << c.cause;
        if (c.result == -1 || c.result == -2) {
            EXPECT_FALSE(QFileInfo::exists(destination())) << c.cause;
        }
    }
}

TEST_F(VzipTest, MissingPackageCannotBeOpened)
{
    QString missing = env.root() + "/no-such.vzip";
    QString folder = destination();
    CZR_Vzip vzip;
    EXPECT_EQ(vzip.Unzip2(missing, folder), -3);
    EXPECT_EQ(vzip.failureCause(), "cannot open the package " + missing + ": No such file or directory");
}

// A failed unpacking leaves nothing of itself: neither its temporary files, which hold the package
// twice over, nor what it had written of the package. What the destination held before stays.
TEST_F(VzipTest, AFailureLeavesNothingOfItselfBehind)
{
    const VzipFixture counted = VzipFixture().file("a.txt", "alpha");
    const QByteArray weight(400 * 1000, 'w'); // little compressed, much decoded
    const struct {
        const char* name;
        QByteArray package;
        rlim_t fileSizeLimit; // 0: none
        QString cause;
        bool forWantOfRoom;
    } cases[] = {
        {"a count beyond the entries", VzipFixture::assemble(counted.lzmaPart(), counted.table(2)), 0,
         "the entry table is damaged", false},
        {"a file in the way of a folder",
         VzipFixture().folder("docs/").file("docs/a.txt", "alpha").file("b", weight).folder("b/").package(), 0,
         "/dest/b: Not a directory", false},
        {"decoded contents beyond the room on the disk", VzipFixture().folder("docs/").file("docs/big", weight).package(),
         100 * 1000, "jsoutfile_tmp: File too large", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(destination()).removeRecursively();
        IsolatedEnvironment::writeFile(destination() + "/kept.txt", "there before");
        std::unique_ptr<FileSizeLimit> limit;
        if (c.fileSizeLimit > 0) {
            limit = std::make_unique<FileSizeLimit>(c.fileSizeLimit);
            ASSERT_TRUE(limit->isActive());
        }
        EXPECT_EQ(unpack(c.package), -4);
        limit.reset();
        EXPECT_TRUE(lastCause().contains(c.cause)) << lastCause().toStdString();
        EXPECT_EQ(lastFailedForWantOfRoom(), c.forWantOfRoom);
        EXPECT_EQ(lastFailedForThePackage(), !c.forWantOfRoom);
        EXPECT_EQ(unpacked(), (QMap<QString, QByteArray>{{"kept.txt", "there before"}}));
        EXPECT_TRUE(QDir(scratch()).isEmpty());
    }
}

// A package that is no good would fail again on every try; one that failed because of this system
// is worth keeping. A fresh destination holds nothing of its own, so a name the system refuses
// there is the package's doing; its scratch folder and the destination itself are the system's.
TEST_F(VzipTest, AFailureTellsThePackagesFaultFromThisSystems)
{
    const QByteArray good = VzipFixture().folder("docs/").file("docs/a.txt", "alpha").package();
    const QString scratchFolder = env.tempDir() + "/KelvrinPagewisp";
    const QString docsFolder = destination() + "/docs";
    const struct {
        const char* name;
        QByteArray package;
        QString faultAt; // folders made under it fail with faultError; empty: none
        int faultError;
        bool destinationIsAFile;
        QString cause;
        bool forWantOfRoom;
        bool forThePackage;
    } cases[] = {
        {"a file before its folder", VzipFixture().file("later/a.txt", "a").folder("later/").package(), {}, 0, false,
         "/later/a.txt: No such file or directory", false, true},
        {"a file in the place of a folder", VzipFixture().folder("b/").file("b", "b").package(), {}, 0, false,
         "/dest/b: Is a directory", false, true},
        {"a folder name the file system refuses", good, docsFolder, EILSEQ, false, "/dest/docs: ", false, true},
        {"no space for a folder of the package", good, docsFolder, ENOSPC, false, "No space left on device", true, false},
        {"no space for the scratch folder", good, scratchFolder, ENOSPC, false, "No space left on device", true, false},
        {"no quota for the scratch folder", good, scratchFolder, EDQUOT, false, "Disk quota exceeded", true, false},
        {"a scratch folder the system refuses", good, scratchFolder, EACCES, false, "Permission denied", false, false},
        {"a file in the place of the destination", good, {}, 0, true, "/dest: Not a directory", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(destination());
        QDir(destination()).removeRecursively();
        if (c.destinationIsAFile)
            IsolatedEnvironment::writeFile(destination(), "in the way");
        std::unique_ptr<FolderCallFault> fault;
        if (!c.faultAt.isEmpty())
            fault = std::make_unique<FolderCallFault>(c.faultAt, c.faultError);
        EXPECT_EQ(unpack(c.package), -4);
        if (c.faultAt == scratchFolder) {
            EXPECT_GE(fault->failures(), 2) << "both the shared and the private folder were tried";
        }
        EXPECT_TRUE(lastCause().contains(c.cause)) << lastCause().toStdString();
        EXPECT_EQ(lastFailedForWantOfRoom(), c.forWantOfRoom);
        EXPECT_EQ(lastFailedForThePackage(), c.forThePackage);
        EXPECT_FALSE(QFileInfo(destination()).isDir());
    }
}

// --- entries --------------------------------------------------------------------------------------

TEST_F(VzipTest, FolderEntriesWithEitherSeparator)
{
    const VzipFixture fixture = VzipFixture()
                                    .folder("docs\\")
                                    .file("docs\\readme.txt", "read me")
                                    .folder("docs\\inner/")
                                    .file("docs/inner\\x.bin", randomBytes(5000, 3))
                                    .folder("other/")
                                    .file("other/empty", QByteArray());
    ASSERT_EQ(unpack(fixture.package()), 1);
    const QMap<QString, QByteArray> expected = {
        {"docs", "<folder>"},
        {"docs/readme.txt", "read me"},
        {"docs/inner", "<folder>"},
        {"docs/inner/x.bin", randomBytes(5000, 3)},
        {"other", "<folder>"},
        {"other/empty", QByteArray()},
    };
    EXPECT_EQ(unpacked(), expected);
}

TEST_F(VzipTest, FileNameEndingInBackslashKeepsItsBackslashes)
{
    ASSERT_EQ(unpack(VzipFixture().folder("d/").file("d/odd\\name\\", "xyz").package()), 1);
    EXPECT_EQ(unpacked().value("d/odd\\name\\"), QByteArray("xyz"));
}

TEST_F(VzipTest, FileBeforeItsFolderFails)
{
    EXPECT_EQ(unpack(VzipFixture().file("later/a.txt", "a").folder("later/").package()), -4);
    EXPECT_TRUE(lastCause().contains("cannot create")) << lastCause().toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination())) << "the destination it made goes with the failure";
}

TEST_F(VzipTest, DestinationWithOrWithoutTrailingSeparator)
{
    const QByteArray package = VzipFixture().file("a.txt", "alpha").package();
    for (const QString& folder : {destination(), destination() + "/"}) {
        QDir(destination()).removeRecursively();
        EXPECT_EQ(unpackInto(package, folder), 1) << folder.toStdString();
        EXPECT_EQ(unpacked().value("a.txt"), QByteArray("alpha"));
    }
}

TEST_F(VzipTest, ExistingLongerFileKeepsNoStaleBytes)
{
    IsolatedEnvironment::writeFile(destination() + "/a.txt", QByteArray(10000, 'o'));
    ASSERT_EQ(unpack(VzipFixture().file("a.txt", "new").package()), 1);
    EXPECT_EQ(unpacked().value("a.txt"), QByteArray("new"));
}

// --- hostile packages -------------------------------------------------------------------------------

TEST_F(VzipTest, NamesLeavingTheDestinationAreRefusedBeforeAnythingIsWritten)
{
    const std::vector<QByteArray> names = {
        "../x", "../../x", "a/../../x", "a/../x", "..\\x", "a\\..\\..\\x", "..", "../", "..\\", "a/..",
        "/x", "\\x", "/", QByteArray("a\0b", 3), "", ".", "./",
    };
    for (const QByteArray& name : names) {
        QDir(destination()).removeRecursively();
        const QByteArray package = VzipFixture().folder("a/").file("first.txt", "written first?").file(name, "evil").package();
        EXPECT_EQ(unpack(package), -4) << name.toStdString();
        EXPECT_FALSE(QFileInfo::exists(destination())) << "nothing is written: " << name.toStdString();
    }
}

TEST_F(VzipTest, DestinationEndingInBackslashCannotBeLeft)
{
    QDir().mkpath(env.root() + "/out/a/b/dest");
    EXPECT_EQ(unpackInto(VzipFixture().file("x", "x").package(), env.root() + "/out/a/b/dest\\"), -4);
}

TEST_F(VzipTest, TableSizesMustAddUpToTheDecodedContents)
{
    const VzipFixture fixture = VzipFixture().file("a.txt", "alpha").file("b.txt", "beta");
    const QByteArray shortContents = encodeLzmaAlone("alphabet", VzipFixture::smallDictionary());
    const QByteArray longContents = encodeLzmaAlone("alphabeta and more", VzipFixture::smallDictionary());
    EXPECT_EQ(unpack(VzipFixture::assemble(shortContents, fixture.table())), -4);
    EXPECT_FALSE(QFileInfo::exists(destination()));
    EXPECT_EQ(unpack(VzipFixture::assemble(longContents, fixture.table())), -4);
    EXPECT_FALSE(QFileInfo::exists(destination()));
}

TEST_F(VzipTest, DecompressionBombStopsAtTheTableSizes)
{
    const VzipFixture fixture = VzipFixture().file("small.txt", QByteArray(1000, '\0'));
    LzmaEncodeOptions unknownSize = VzipFixture::smallDictionary();
    unknownSize.endMark = true;
    const QByteArray bomb = encodeLzmaAlone(QByteArray(8 << 20, '\0'), unknownSize);
    ASSERT_LT(bomb.size(), 100000);

    const QByteArray declaredHuge = encodeLzmaAlone(QByteArray(8 << 20, '\0'), VzipFixture::smallDictionary());
    for (const QByteArray& lzma : {bomb, declaredHuge}) {
        // A decoder that wrote on past the table's sizes would run into this limit instead.
        FileSizeLimit limit(1000 + 2 * 65536);
        ASSERT_TRUE(limit.isActive());
        EXPECT_EQ(unpack(VzipFixture::assemble(lzma, fixture.table())), -4);
        EXPECT_TRUE(lastCause().contains("larger than the entry table says")) << lastCause().toStdString();
        EXPECT_FALSE(QFileInfo::exists(destination()));
    }
}

QByteArray withDictionary(QByteArray lzma, quint32 size)
{
    for (int i = 0; i < 4; ++i)
        lzma[1 + i] = static_cast<char>(size >> (8 * i));
    return lzma;
}

TEST_F(VzipTest, DictionaryAbove256MiBIsRefused)
{
    const VzipFixture fixture = VzipFixture().file("a.txt", randomBytes(3000, 5));
    EXPECT_EQ(unpack(VzipFixture::assemble(withDictionary(fixture.lzmaPart(), (256u << 20) + 1), fixture.table())), -4);
    EXPECT_EQ(unpack(VzipFixture::assemble(withDictionary(fixture.lzmaPart(), 0xFFFFFFFFu), fixture.table())), -4);
    EXPECT_EQ(unpack(VzipFixture::assemble(withDictionary(fixture.lzmaPart(), 256u << 20), fixture.table())), 1);
    EXPECT_EQ(unpacked().value("a.txt"), randomBytes(3000, 5));
}

TEST_F(VzipTest, LinksAlreadyInTheDestinationAreNeverFollowed)
{
    const QString outside = env.root() + "/outside";
    struct LinkCase {
        const char* cause;
        QString link;
        QString linkTarget;
        VzipFixture package;
    };
    const std::vector<LinkCase> cases = {
        {"a file through a linked folder", "link", outside, VzipFixture().file("first.txt", "1").file("link/x.txt", "evil")},
        {"a folder entry on a linked folder", "link", outside, VzipFixture().folder("link/").file("link/x.txt", "evil")},
        {"a file onto a linked file", "kept.txt", outside + "/kept.txt", VzipFixture().file("kept.txt", "evil")},
        {"a linked level further down", "sub/deeper", outside,
         VzipFixture().folder("sub/").folder("sub/deeper/").file("sub/deeper/x.txt", "evil")},
    };
    for (const LinkCase& c : cases) {
        QDir(destination()).removeRecursively();
        QDir(outside).removeRecursively();
        IsolatedEnvironment::writeFile(outside + "/kept.txt", "outside");
        const QString link = destination() + "/" + c.link;
        QDir().mkpath(QFileInfo(link).path());
        ASSERT_TRUE(QFile::link(c.linkTarget, link)) << c.cause;

        EXPECT_EQ(unpack(c.package.package()), -4) << c.cause;
        EXPECT_EQ(treeOf(outside), (QMap<QString, QByteArray>{{"kept.txt", "outside"}})) << c.cause;
        EXPECT_FALSE(unpacked().contains("first.txt")) << "refused before anything is written: " << c.cause;
    }
}

// --- the temporary folder ---------------------------------------------------------------------------

TEST_F(VzipTest, MissingTemporaryFolderFallsBackBesideTheDestination)
{
    const bool rootFolderBefore = QFileInfo::exists("/KelvrinPagewisp");
    qputenv("TMPDIR", QFile::encodeName(env.root() + "/no-such-folder"));

    EXPECT_EQ(unpack(goodPackage()), 1);
    EXPECT_EQ(unpacked().value("docs/a.txt"), QByteArray("alpha"));
    if (!rootFolderBefore) {
        EXPECT_FALSE(QFileInfo::exists("/KelvrinPagewisp")) << "never at the root of the file system";
        ::rmdir("/KelvrinPagewisp/uncompress");
        ::rmdir("/KelvrinPagewisp");
    }
    EXPECT_EQ(QDir(env.root() + "/out/a/b").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"dest"})
        << "the private folder beside the destination is removed after success";

    QDir(destination()).removeRecursively();
    const VzipFixture fixture = VzipFixture().file("a.txt", "alpha");
    EXPECT_EQ(unpack(VzipFixture::assemble(fixture.lzmaPart(), fixture.table(2))), -4);
    EXPECT_TRUE(QDir(env.root() + "/out/a/b").isEmpty()) << "and after a failure";
}

TEST_F(VzipTest, TemporaryFolderIsPrivate)
{
    ASSERT_EQ(unpack(goodPackage()), 1);
    for (const QString& level : {env.tempDir() + "/KelvrinPagewisp", scratch()}) {
        struct stat info;
        ASSERT_EQ(lstat(QFile::encodeName(level).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << level.toStdString();
    }
}

TEST_F(VzipTest, PlantedLinkInTheSharedFolderIsNotFollowed)
{
    const QString elsewhere = env.root() + "/elsewhere";
    QDir().mkpath(elsewhere);
    ASSERT_TRUE(QFile::link(elsewhere, env.tempDir() + "/KelvrinPagewisp"));

    const VzipFixture fixture = VzipFixture().file("a.txt", "alpha");
    EXPECT_EQ(unpack(fixture.package()), 1);
    EXPECT_EQ(unpacked().value("a.txt"), QByteArray("alpha"));
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_EQ(QDir(env.tempDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1)
        << "the private folder made instead is removed after success";
}

TEST_F(VzipTest, SharedFolderOfAnotherUserIsNotUsed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs to hand a folder to another user";
    const QString shared = env.tempDir() + "/KelvrinPagewisp";
    QDir().mkpath(shared + "/uncompress");
    ASSERT_EQ(chown(QFile::encodeName(shared).constData(), 65534, 65534), 0);

    // Used, the folder would have this file replaced by the package's LZMA part, then removed.
    IsolatedEnvironment::writeFile(shared + "/uncompress/jsinfile_tmp", "planted");

    EXPECT_EQ(unpack(goodPackage()), 1);
    EXPECT_EQ(IsolatedEnvironment::readFile(shared + "/uncompress/jsinfile_tmp"), "planted");
    EXPECT_TRUE(QDir(env.tempDir()).entryList({"KelvrinPagewisp-*"}, QDir::Dirs).isEmpty())
        << "the private folder made instead is removed after success";
}

// What a killed unpacking left goes by its names only: nothing else in the scratch folders, nothing
// behind a link, nothing in a folder of another user or of a name the unpacker does not make.
TEST_F(VzipTest, LeftoversOfAKilledUnpackingGoByNameOnly)
{
    const QStringList names{"jsinfile_tmp", "jsoutfile_tmp", "jsfileover_tmp"};
    const QString temp = env.tempDir() + "/";
    const QString leftOver = temp + "KelvrinPagewisp-a1B2c3/";
    const QString holdingMore = temp + "KelvrinPagewisp-d4E5f6/";
    const QString ofAnotherUser = temp + "KelvrinPagewisp-j0K1l2/";
    const QString otherName = temp + "kelvrinpagewisp-m3N4o5/";
    const QString elsewhere = env.root() + "/elsewhere/";
    for (const QString& folder : {scratch(), leftOver, holdingMore, ofAnotherUser, otherName, elsewhere}) {
        for (const QString& name : names)
            IsolatedEnvironment::writeFile(folder + name, "left behind");
    }
    IsolatedEnvironment::writeFile(scratch() + "other", "kept");
    IsolatedEnvironment::writeFile(holdingMore + "other", "kept");
    ASSERT_TRUE(QFile::remove(scratch() + "jsoutfile_tmp"));
    ASSERT_TRUE(QFile::link(elsewhere + "jsoutfile_tmp", scratch() + "jsoutfile_tmp"));
    ASSERT_TRUE(QFile::link(elsewhere, temp + "KelvrinPagewisp-g7H8i9"));
    const bool anotherUser = geteuid() == 0;
    if (anotherUser) {
        ASSERT_EQ(chown(QFile::encodeName(ofAnotherUser).constData(), 65534, 65534), 0);
    }

    VzipScratchFolder::removeLeftovers();

    EXPECT_EQ(QDir(scratch()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList{"other"});
    EXPECT_FALSE(QFileInfo::exists(leftOver)) << "a private folder emptied of its scratch files goes too";
    EXPECT_EQ(QDir(holdingMore).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"other"});
    EXPECT_EQ(QDir(ofAnotherUser).entryList(QDir::Files).size(), anotherUser ? 3 : 0);
    EXPECT_EQ(QDir(otherName).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), (QStringList{"jsfileover_tmp", "jsinfile_tmp", "jsoutfile_tmp"}));

    // The shared folder as a link is not entered either.
    QDir(temp + "KelvrinPagewisp").removeRecursively();
    IsolatedEnvironment::writeFile(elsewhere + "uncompress/jsinfile_tmp", "not the unpacker's");
    ASSERT_TRUE(QFile::link(elsewhere, temp + "KelvrinPagewisp"));
    VzipScratchFolder::removeLeftovers();
    EXPECT_TRUE(QFileInfo::exists(elsewhere + "uncompress/jsinfile_tmp"));
}

// --- the decoder on its own -------------------------------------------------------------------------

TEST_F(VzipTest, UnzipFileToFileDecodesOrFails)
{
    const QByteArray contents = randomBytes(70000, 9) + QByteArray(70000, 'q');
    QString lzmaFile = env.root() + "/part.lzma";
    QString output = env.root() + "/part.out";
    for (bool endMark : {false, true}) {
        LzmaEncodeOptions options = VzipFixture::smallDictionary();
        options.endMark = endMark;
        const QByteArray encoded = encodeLzmaAlone(contents, options);
        IsolatedEnvironment::writeFile(lzmaFile, encoded);
        EXPECT_TRUE(CZR_Vzip().UnzipFileToFile(lzmaFile, output));
        EXPECT_EQ(IsolatedEnvironment::readFile(output), contents);
        for (int cut : {0, 12, 13, encoded.size() - 1}) {
            IsolatedEnvironment::writeFile(lzmaFile, encoded.left(cut));
            EXPECT_FALSE(CZR_Vzip().UnzipFileToFile(lzmaFile, output)) << "cut at " << cut << " end mark " << endMark;
        }
    }
}

} // namespace
