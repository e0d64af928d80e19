#include "Encrypter.h"

#include "RegularFile.h"
#include "Utf8Codec.h"

#include <algorithm>
#include <cstring>

namespace AUILib {

namespace {

const char kKey[] = "Quorle Sealed Phrase Bundle";
constexpr std::size_t kKeyLength = sizeof(kKey) - 1;
constexpr std::size_t kDigestLength = 16;

const std::uint32_t kSineTable[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

const int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

std::uint32_t RotateLeft(std::uint32_t value, int count)
{
    return (value << count) | (value >> (32 - count));
}

std::uint32_t LoadLittleEndian(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
        | static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void StoreLittleEndian(std::uint32_t value, unsigned char* bytes)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

const unsigned char Encrypter::md5_padding_[64] = {0x80};

std::wstring Encrypter::ReadAndDecryptFile(const std::wstring& path)
{
    try {
        const std::optional<std::string> utf8Path = Utf8Codec::Encode(path);
        if (!utf8Path)
            return {};
        std::optional<std::vector<unsigned char>> read = RegularFile::Read(*utf8Path);
        if (!read || read->size() <= kDigestLength)
            return {};
        std::vector<unsigned char>& contents = *read;
        const std::size_t cipherLength = contents.size() - kDigestLength;
        unsigned char digest[kDigestLength];
        MD5Generate(contents.data(), static_cast<unsigned int>(cipherLength), digest);
        if (!std::equal(digest, digest + kDigestLength, contents.begin() + static_cast<std::ptrdiff_t>(cipherLength)))
            return {};
        contents.resize(cipherLength);
        RC4CryptBlock(contents);
        return Utf8Codec::Decode(reinterpret_cast<const char*>(contents.data()), contents.size())
            .value_or(std::wstring());
    } catch (const std::exception&) {
        return {};
    }
}

void Encrypter::RC4CryptBlock(std::vector<unsigned char>& data)
{
    if (data.empty())
        return;
    unsigned char box[256];
    for (int i = 0; i < 256; ++i)
        box[i] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (unsigned i = 0; i < 256; ++i) {
        j = (j + box[i] + static_cast<unsigned char>(kKey[i % kKeyLength])) & 0xFFu;
        std::swap(box[i], box[j]);
    }
    unsigned i = 0;
    j = 0;
    for (unsigned char& byte : data) {
        i = (i + 1) & 0xFFu;
        j = (j + box[i]) & 0xFFu;
        std::swap(box[i], box[j]);
        byte ^= box[(box[i] + box[j]) & 0xFFu];
    }
}

void Encrypter::MD5Generate(const unsigned char* input, unsigned int length, unsigned char* digest)
{
    MD5Context context;
    MD5Start(&context);
    MD5Update(&context, input, length);
    MD5Finish(&context, digest);
}

void Encrypter::MD5Start(MD5Context* context)
{
    context->bitCount[0] = 0;
    context->bitCount[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    std::memset(context->buffer, 0, sizeof(context->buffer));
}

void Encrypter::MD5Update(MD5Context* context, const unsigned char* input, unsigned int length)
{
    if (length == 0)
        return;
    unsigned int used = (context->bitCount[0] >> 3) & 0x3Fu;
    const std::uint32_t addedBits = length << 3;
    context->bitCount[0] += addedBits;
    if (context->bitCount[0] < addedBits)
        ++context->bitCount[1];
    context->bitCount[1] += length >> 29;

    const unsigned int room = 64 - used;
    unsigned int offset = 0;
    if (length >= room) {
        std::memcpy(context->buffer + used, input, room);
        MD5Process(context, context->buffer);
        for (offset = room; offset + 63 < length; offset += 64)
            MD5Process(context, input + offset);
        used = 0;
    }
    std::memcpy(context->buffer + used, input + offset, length - offset);
}

void Encrypter::MD5Process(MD5Context* context, const unsigned char* block)
{
    std::uint32_t words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = LoadLittleEndian(block + 4 * i);
    std::uint32_t a = context->state[0];
    std::uint32_t b = context->state[1];
    std::uint32_t c = context->state[2];
    std::uint32_t d = context->state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        std::uint32_t mixed;
        int word;
        switch (round) {
        case 0:
            mixed = (b & c) | (~b & d);
            word = i;
            break;
        case 1:
            mixed = (d & b) | (~d & c);
            word = (5 * i + 1) % 16;
            break;
        case 2:
            mixed = b ^ c ^ d;
            word = (3 * i + 5) % 16;
            break;
        default:
            mixed = c ^ (b | ~d);
            word = (7 * i) % 16;
            break;
        }
        const std::uint32_t next = b + RotateLeft(a + mixed + kSineTable[i] + words[word], kShifts[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    context->state[0] += a;
    context->state[1] += b;
    context->state[2] += c;
    context->state[3] += d;
}

void Encrypter::MD5Finish(MD5Context* context, unsigned char* digest)
{
    unsigned char length[8];
    StoreLittleEndian(context->bitCount[0], length);
    StoreLittleEndian(context->bitCount[1], length + 4);
    const unsigned int used = (context->bitCount[0] >> 3) & 0x3Fu;
    const unsigned int padding = used < 56 ? 56 - used : 120 - used;
    MD5Update(context, md5_padding_, padding);
    MD5Update(context, length, 8);
    for (int i = 0; i < 4; ++i)
        StoreLittleEndian(context->state[i], digest + 4 * i);
}

} // namespace AUILib
