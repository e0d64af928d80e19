#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <functional>

struct LzmaEncodeOptions
{
    int level = 5;                    // 0 (fastest) to 9
    std::uint32_t dictionarySize = 0; // 0: the level's own
    // Leaves the size out of the header ("unknown") and ends the data with the end mark instead.
    bool endMark = false;
};

// Fills up to *size bytes and sets *size to what it gave (0 at the end); false on a read error.
using LzmaSource = std::function<bool(unsigned char* buffer, std::size_t* size)>;
// Takes all `size` bytes or returns false.
using LzmaSink = std::function<bool(const unsigned char* data, std::size_t size)>;

// Writes one LZMA-alone stream (13-byte header, then the compressed data) of the `size` bytes that
// `source` delivers.
bool encodeLzmaAlone(const LzmaSource& source, std::uint64_t size, const LzmaSink& sink, const LzmaEncodeOptions& options);
QByteArray encodeLzmaAlone(const QByteArray& data, const LzmaEncodeOptions& options = LzmaEncodeOptions());
