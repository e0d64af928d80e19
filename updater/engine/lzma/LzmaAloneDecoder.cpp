#include "engine/lzma/LzmaAloneDecoder.h"

#include "engine/StdioFile.h"
#include "engine/lzma/LzmaFileStreams.h"

#include <lzma/LzmaDec.h>

#include <cerrno>
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

    LzmaDecodeOutcome run(ISeqInStream& input, ISeqOutStream& output)
    {
        Byte header[kHeaderSize];
        if (readFully(input, header, kHeaderSize) != kHeaderSize)
            return {LzmaDecodeOutcome::Damaged};
        m_unpackSize = littleEndian(header + LZMA_PROPS_SIZE, 8);
        if (littleEndian(header + 1, 4) > kLzmaMaxDictionarySize)
            return {LzmaDecodeOutcome::DictionaryTooLarge};
        if (sizeKnown() && m_unpackSize > m_outputLimit)
            return {LzmaDecodeOutcome::TooLarge};
        if (LzmaDec_Allocate(&m_decoder, header, LZMA_PROPS_SIZE, lzmaSystemAllocator()) != SZ_OK)
            return {LzmaDecodeOutcome::Damaged};
        LzmaDec_Init(&m_decoder);
        return decodeBody(input, output);
    }

private:
    bool sizeKnown() const { return m_unpackSize != kUnknownSize; }

    LzmaDecodeOutcome decodeBody(ISeqInStream& input, ISeqOutStream& output)
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
                    return {LzmaDecodeOutcome::InputUnreadable, errno};
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
                return {LzmaDecodeOutcome::TooLarge};
            if (output.Write(&output, outBuffer.data(), outProcessed) != outProcessed)
                return {LzmaDecodeOutcome::OutputUnwritable, errno};
            if (result != SZ_OK)
                return {LzmaDecodeOutcome::Damaged};
            if (sizeKnown() && produced == m_unpackSize)
                return {LzmaDecodeOutcome::Decoded};
            if (inProcessed == 0 && outProcessed == 0) {
                const bool ended = !sizeKnown() && status == LZMA_STATUS_FINISHED_WITH_MARK;
                return {ended ? LzmaDecodeOutcome::Decoded : LzmaDecodeOutcome::Damaged};
            }
        }
    }

    CLzmaDec m_decoder;
    std::uint64_t m_outputLimit;
    std::uint64_t m_unpackSize = kUnknownSize;
};

} // namespace

LzmaDecodeOutcome decodeLzmaAloneFile(const char* inputPath, const char* outputPath, std::uint64_t outputLimit)
{
    StdioFile inputFile(std::fopen(inputPath, "rb"));
    if (!inputFile)
        return {LzmaDecodeOutcome::InputUnreadable, errno};
    StdioFile outputFile(std::fopen(outputPath, "wb"));
    if (!outputFile)
        return {LzmaDecodeOutcome::OutputUnwritable, errno};
    LzmaFileInStream input = makeLzmaFileInStream(inputFile.get());
    LzmaFileOutStream output = makeLzmaFileOutStream(outputFile.get());
    const LzmaDecodeOutcome outcome = DecoderSession(outputLimit).run(input.vt, output.vt);
    // What the stream still buffers reaches the disk only now, and may not fit.
    if (std::fclose(outputFile.release()) != 0 && outcome.decoded())
        return {LzmaDecodeOutcome::OutputUnwritable, errno};
    return outcome;
}
