// Enciphers a form or language file for the widget library: the UTF-8 text under the library's
// cipher, followed by the digest of the enciphered bytes.
#include "Encrypter.h"
#include "Utf8Codec.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool ReadAll(const char* path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes beside the target first, so that a failed run never leaves half a file in its place.
bool WriteAtomically(const std::string& path, const std::vector<unsigned char>& bytes)
{
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zrcipher <input> <output>\n");
        return 2;
    }
    std::string text;
    if (!ReadAll(argv[1], text)) {
        std::fprintf(stderr, "zrcipher: cannot read %s\n", argv[1]);
        return 1;
    }
    if (text.empty() || !AUILib::Utf8Codec::Decode(text)) {
        std::fprintf(stderr, "zrcipher: %s is empty or not UTF-8; the library could not read it\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> bytes(text.begin(), text.end());
    AUILib::Encrypter::RC4CryptBlock(bytes);
    unsigned char digest[16];
    AUILib::Encrypter::MD5Generate(bytes.data(), static_cast<unsigned int>(bytes.size()), digest);
    bytes.insert(bytes.end(), digest, digest + 16);
    if (!WriteAtomically(argv[2], bytes)) {
        std::fprintf(stderr, "zrcipher: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
