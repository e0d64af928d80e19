#include "Encrypter.h"

#include "EncipheredFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace AUILib;

namespace {

std::string Hex(const unsigned char* bytes, std::size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0xF]);
    }
    return text;
}

std::string Md5(const std::string& text)
{
    unsigned char digest[16];
    Encrypter::MD5Generate(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()),
                           digest);
    return Hex(digest, 16);
}

std::string Md5InChunks(const std::string& text, std::size_t chunk)
{
    Encrypter::MD5Context context;
    Encrypter::MD5Start(&context);
    for (std::size_t offset = 0; offset < text.size(); offset += chunk) {
        const std::size_t length = std::min(chunk, text.size() - offset);
        Encrypter::MD5Update(&context, reinterpret_cast<const unsigned char*>(text.data()) + offset,
                             static_cast<unsigned>(length));
    }
    unsigned char digest[16];
    Encrypter::MD5Finish(&context, digest);
    return Hex(digest, 16);
}

class EncrypterFileTest : public testing::Test
{
protected:
    QString Write(const char* name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static std::wstring Read(const QString& path) { return Encrypter::ReadAndDecryptFile(path.toStdWString()); }

    QTemporaryDir folder;
};

} // namespace

TEST(Encrypter, Md5GivesTheStandardDigestsAlsoStepwise)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : vectors) {
        EXPECT_EQ(Md5(text), digest) << text;
        for (std::size_t chunk : {1, 63, 64, 65})
            EXPECT_EQ(Md5InChunks(text, chunk), digest) << text << " in chunks of " << chunk;
    }
    const std::string large(1000, 'x');
    for (std::size_t chunk : {1, 63, 64, 65, 999})
        EXPECT_EQ(Md5InChunks(large, chunk), Md5(large)) << chunk;
}

TEST(Encrypter, Rc4KeyStreamUnderTheBuiltInKey)
{
    std::vector<unsigned char> zeros(32, 0);
    Encrypter::RC4CryptBlock(zeros);
    EXPECT_EQ(Hex(zeros.data(), zeros.size()), "c8cd1938120213b08378eea6a5fd334b79453c0c97ab8a2d17d90b3b44f0eb36");

    std::vector<unsigned char> text = {'s', 'e', 'c', 'r', 'e', 't'};
    const std::vector<unsigned char> original = text;
    Encrypter::RC4CryptBlock(text);
    EXPECT_NE(text, original);
    Encrypter::RC4CryptBlock(text);
    EXPECT_EQ(text, original) << "every call starts at the first key byte";

    std::vector<unsigned char> empty;
    Encrypter::RC4CryptBlock(empty);
    EXPECT_TRUE(empty.empty());
}

TEST_F(EncrypterFileTest, EncipheredFileReadsBackAsText)
{
    const QByteArray one = encipheredBytes("A");
    EXPECT_EQ(Hex(reinterpret_cast<const unsigned char*>(one.data()), one.size()),
              "89" "2854272fec044d0bdb16de12cb62d07e");
    EXPECT_EQ(Read(Write("a.zr", one)), L"A");

    EXPECT_EQ(Read(Write("text.zr", encipheredBytes("caf\xC3\xA9 \xE4\xB8\x80 \xF0\x9D\x84\x9E"))),
              L"caf\u00e9 \u4e00 \U0001D11E");
    EXPECT_EQ(Read(Write("bom.zr", encipheredBytes("\xEF\xBB\xBFhi"))), L"\uFEFFhi");
    EXPECT_EQ(Read(Write("nul.zr", encipheredBytes(QByteArray("a\0b", 3)))), std::wstring(L"a\0b", 3));

    const QString nonAscii = folder.filePath(QStringLiteral("f\u00f6rm \u4e00.ui.zr"));
    writeEnciphered(nonAscii, "form");
    EXPECT_EQ(Read(nonAscii), L"form");
}

TEST_F(EncrypterFileTest, DamagedOrWrongFilesGiveTheEmptyResult)
{
    const QByteArray good = encipheredBytes("<ui>text</ui>");
    for (int offset = 0; offset < good.size(); ++offset) {
        QByteArray damaged = good;
        damaged[offset] = static_cast<char>(damaged[offset] ^ 0x01);
        EXPECT_EQ(Read(Write("damaged.zr", damaged)), L"") << "byte " << offset;
    }

    unsigned char digestOfNothing[16];
    Encrypter::MD5Generate(nullptr, 0, digestOfNothing);
    EXPECT_EQ(Read(Write("sixteen.zr", QByteArray(reinterpret_cast<const char*>(digestOfNothing), 16))), L"");
    EXPECT_EQ(Read(Write("empty.zr", QByteArray())), L"");

    // The digest of the plain text instead of the enciphered one.
    QByteArray plainDigest = good.left(good.size() - 16);
    unsigned char digest[16];
    const QByteArray plain("<ui>text</ui>");
    Encrypter::MD5Generate(reinterpret_cast<const unsigned char*>(plain.data()), plain.size(), digest);
    plainDigest.append(reinterpret_cast<const char*>(digest), 16);
    EXPECT_EQ(Read(Write("plain-digest.zr", plainDigest)), L"");

    EXPECT_EQ(Read(Write("plain.ui", "<ui>not enciphered</ui>")), L"");
    EXPECT_EQ(Read(folder.filePath("missing.zr")), L"");
}

TEST_F(EncrypterFileTest, TextThatIsNotStrictUtf8GivesTheEmptyResult)
{
    const char* const invalid[] = {
        "\xC0\x80",         // overlong NUL
        "\xE0\x80\xAF",     // overlong slash
        "\xED\xA0\x80",     // surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "ok \xE4\xB8",      // cut short
        "\x80",             // stray continuation
        "\xFF",
    };
    for (const char* text : invalid)
        EXPECT_EQ(Read(Write("invalid.zr", encipheredBytes(text))), L"") << testing::PrintToString(text);
}

TEST_F(EncrypterFileTest, OnlyRegularFilesAreRead)
{
    EXPECT_EQ(Read(folder.path()), L"");
    const QString fifo = folder.filePath("pipe.zr");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(Read(fifo), L"") << "and does not wait for a writer";
    EXPECT_EQ(Encrypter::ReadAndDecryptFile(std::wstring(L"/tmp/") + wchar_t(0xD800)), L"");
}

TEST(Encrypter, FormEncipheredAtBuildTimeReadsBackAsItsSource)
{
    QFile source(AUILIB_TEST_DATA_DIR "/sample.ui");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const std::wstring text = Encrypter::ReadAndDecryptFile(QStringLiteral(AUILIB_BUILT_FORM).toStdWString());
    EXPECT_EQ(QString::fromStdWString(text), QString::fromUtf8(source.readAll()));
    EXPECT_NE(text.find(L"Gr\u00f6\u00dfe \u2013 \u4e00"), std::wstring::npos);
}
