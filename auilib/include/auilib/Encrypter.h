#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace AUILib {

// Reader of enciphered form and language files: the text as UTF-8 enciphered with RC4 under the
// built-in key, followed by the 16-byte MD5 digest of the enciphered bytes. The digest and cipher
// building blocks are public so that a tool can write such files.
class Encrypter
{
public:
    struct MD5Context
    {
        std::uint32_t bitCount[2]; // low word first
        std::uint32_t state[4];
        unsigned char buffer[64];
    };

    static const unsigned char md5_padding_[64];

    // The deciphered text, or empty on any failure: not a regular file, too short, a digest that
    // does not match, a text that is not valid UTF-8. Never throws.
    static std::wstring ReadAndDecryptFile(const std::wstring& path);

    // Enciphers or deciphers in place; every call starts at the first byte of the key stream.
    static void RC4CryptBlock(std::vector<unsigned char>& data);

    static void MD5Generate(const unsigned char* input, unsigned int length, unsigned char* digest);
    static void MD5Start(MD5Context* context);
    static void MD5Update(MD5Context* context, const unsigned char* input, unsigned int length);
    static void MD5Process(MD5Context* context, const unsigned char* block);
    static void MD5Finish(MD5Context* context, unsigned char* digest);
};

} // namespace AUILib
