#pragma once

#include <cstdint>

// A package names its own dictionary size; anything above this is refused before the decoder
// allocates it, so a hostile header cannot make the unpacker reserve gigabytes.
constexpr std::uint32_t kLzmaMaxDictionarySize = 256u << 20;
constexpr std::uint64_t kLzmaUnlimitedOutput = UINT64_MAX;

// How a decoding ended; a file that could not be opened, read or written adds the system's error number.
struct LzmaDecodeOutcome
{
    enum Result { Decoded, InputUnreadable, OutputUnwritable, Damaged, DictionaryTooLarge, TooLarge };

    Result result = Decoded;
    int systemError = 0;

    bool decoded() const { return result == Decoded; }
};

// Decodes the LZMA-alone file at `inputPath` (13-byte header, then the compressed data) into
// `outputPath`, created or truncated. Fails on a short header, a dictionary above
// kLzmaMaxDictionarySize, corrupt or truncated data, a failed write, or as soon as the output
// would exceed `outputLimit` bytes.
LzmaDecodeOutcome decodeLzmaAloneFile(const char* inputPath, const char* outputPath, std::uint64_t outputLimit);
