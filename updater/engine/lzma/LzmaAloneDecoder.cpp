#include "engine/lzma/LzmaAloneDecoder.h"

#include "engine/StdioFile.h"
#include "engine/lzma/LzmaFileStreams.h"

#include <lzma/LzmaDec.h>

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kHeaderSize = LZMA_PROPS_SIZE + 8;
constexpr size_t kBufferSize = 65536;
constexpr std::uint64_t kUnknownSize = UINT64_MAX;

// Reads until `size` bytes arrived or the stream ends; returns how many arrived.
size_t readFully(ISeqInStream& stream, Byte* buffer, size_t size)
{
    size_t total = 0;
    while (total < size) {
        size_t chunk = size - total;
        if (stream.Read(&stream, buffer + total, &chunk) != SZ_OK || chunk == 0)
            break;
        total += chunk;
    }
    return total;
}

std::uint64_t littleEndian(const Byte* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

class DecoderSession
{
public:
    explicit DecoderSession(std::uint64_t outputLimit) : m_outputLimit(outputLimit) { LzmaDec_Construct(&m_decoder); }
    ~DecoderSession() { LzmaDec_Free(&m_decoder, lzmaSystemAllocator()); }
    DecoderSession(const DecoderSession&) = delete;
    DecoderSession& operator=(const DecoderSession&) = delete;

    bool run(ISeqInStream& input, ISeqOutStream& output)
    {
        Byte header[kHeaderSize];
        if (readFully(input, header, kHeaderSize) != kHeaderSize)
            return false;
        m_unpackSize = littleEndian(header + LZMA_PROPS_SIZE, 8);
        if (!acceptable(header))
            return false;
        if (LzmaDec_Allocate(&m_decoder, header, LZMA_PROPS_SIZE, lzmaSystemAllocator()) != SZ_OK)
            return false;
        LzmaDec_Init(&m_decoder);
        return decodeBody(input, output);
    }

private:
    bool sizeKnown() const { return m_unpackSize != kUnknownSize; }

    bool acceptable(const Byte* header) const
    {
        if (littleEndian(header + 1, 4) > kLzmaMaxDictionarySize)
            return false;
        return !sizeKnown() || m_unpackSize <= m_outputLimit;
    }

    bool decodeBody(ISeqInStream& input, ISeqOutStream& output)
    {
        std::vector<Byte> inBuffer(kBufferSize);
        std::vector<Byte> outBuffer(kBufferSize);
        size_t inPos = 0;
        size_t inSize = 0;
        std::uint64_t produced = 0;
        for (;;) {
            if (inPos == inSize) {
                inSize = kBufferSize;
                if (input.Read(&input, inBuffer.data(), &inSize) != SZ_OK)
                    return false;
                inPos = 0;
            }
            SizeT inProcessed = inSize - inPos;
            SizeT outProcessed = kBufferSize;
            ELzmaFinishMode finishMode = LZMA_FINISH_ANY;
            if (sizeKnown() && outProcessed > m_unpackSize - produced) {
                outProcessed = static_cast<SizeT>(m_unpackSize - produced);
                finishMode = LZMA_FINISH_END;
            }
            ELzmaStatus status;
            const SRes result = LzmaDec_DecodeToBuf(&m_decoder, outBuffer.data(), &outProcessed,
                                                    inBuffer.data() + inPos, &inProcessed, finishMode, &status);
            inPos += inProcessed;
            produced += outProcessed;
            if (produced > m_outputLimit)
                return false;
            if (output.Write(&output, outBuffer.data(), outProcessed) != outProcessed)
                return false;
            if (result != SZ_OK)
                return false;
            if (sizeKnown() && produced == m_unpackSize)
                return true;
            if (inProcessed == 0 && outProcessed == 0)
                return !sizeKnown() && status == LZMA_STATUS_FINISHED_WITH_MARK;
        }
    }

    CLzmaDec m_decoder;
    std::uint64_t m_outputLimit;
    std::uint64_t m_unpackSize = kUnknownSize;
};

} // namespace

bool decodeLzmaAloneFile(const char* inputPath, const char* outputPath, std::uint64_t outputLimit)
{
    StdioFile inputFile(std::fopen(inputPath, "rb"));
    if (!inputFile)
        return false;
    StdioFile outputFile(std::fopen(outputPath, "wb"));
    if (!outputFile)
        return false;
    LzmaFileInStream input = makeLzmaFileInStream(inputFile.get());
    LzmaFileOutStream output = makeLzmaFileOutStream(outputFile.get());
    const bool decoded = DecoderSession(outputLimit).run(input.vt, output.vt);
    const bool closed = std::fclose(outputFile.release()) == 0;
    return decoded && closed;
}
