#include "LzmaAloneEncoder.h"

#include "engine/lzma/LzmaFileStreams.h"

#include <lzma/LzmaEnc.h>

#include <cstring>
#include <type_traits>

namespace {

struct SourceStream
{
    ISeqInStream vt;
    const LzmaSource* source;
};

struct SinkStream
{
    ISeqOutStream vt;
    const LzmaSink* sink;
};

static_assert(std::is_standard_layout<SourceStream>::value, "the SDK casts to the first member");
static_assert(std::is_standard_layout<SinkStream>::value, "the SDK casts to the first member");

SRes readSource(void* stream, void* buffer, size_t* size)
{
    const auto* self = static_cast<SourceStream*>(stream);
    return (*self->source)(static_cast<unsigned char*>(buffer), size) ? SZ_OK : SZ_ERROR_READ;
}

size_t writeSink(void* stream, const void* data, size_t size)
{
    const auto* self = static_cast<SinkStream*>(stream);
    return (*self->sink)(static_cast<const unsigned char*>(data), size) ? size : 0;
}

class Encoder
{
public:
    Encoder() : m_handle(LzmaEnc_Create(lzmaSystemAllocator())) {}
    ~Encoder()
    {
        if (m_handle)
            LzmaEnc_Destroy(m_handle, lzmaSystemAllocator(), lzmaSystemAllocator());
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool run(const LzmaSource& source, std::uint64_t size, const LzmaSink& sink, const LzmaEncodeOptions& options)
    {
        CLzmaEncProps props;
        LzmaEncProps_Init(&props);
        props.level = options.level;
        if (options.dictionarySize != 0)
            props.dictSize = options.dictionarySize;
        props.writeEndMark = options.endMark ? 1 : 0;
        if (!m_handle || LzmaEnc_SetProps(m_handle, &props) != SZ_OK)
            return false;

        Byte header[LZMA_PROPS_SIZE + 8];
        SizeT propsSize = LZMA_PROPS_SIZE;
        if (LzmaEnc_WriteProperties(m_handle, header, &propsSize) != SZ_OK)
            return false;
        const std::uint64_t declared = options.endMark ? UINT64_MAX : size;
        for (int i = 0; i < 8; ++i)
            header[LZMA_PROPS_SIZE + i] = static_cast<Byte>(declared >> (8 * i));
        if (!sink(header, sizeof header))
            return false;

        SourceStream in{{readSource}, &source};
        SinkStream out{{writeSink}, &sink};
        return LzmaEnc_Encode(m_handle, &out.vt, &in.vt, nullptr, lzmaSystemAllocator(), lzmaSystemAllocator()) == SZ_OK;
    }

private:
    CLzmaEncHandle m_handle;
};

} // namespace

bool encodeLzmaAlone(const LzmaSource& source, std::uint64_t size, const LzmaSink& sink, const LzmaEncodeOptions& options)
{
    return Encoder().run(source, size, sink, options);
}

QByteArray encodeLzmaAlone(const QByteArray& data, const LzmaEncodeOptions& options)
{
    int position = 0;
    const LzmaSource source = [&](unsigned char* buffer, std::size_t* size) {
        const std::size_t count = std::min<std::size_t>(*size, static_cast<std::size_t>(data.size() - position));
        std::memcpy(buffer, data.constData() + position, count);
        position += static_cast<int>(count);
        *size = count;
        return true;
    };
    QByteArray encoded;
    const LzmaSink sink = [&](const unsigned char* bytes, std::size_t size) {
        encoded.append(reinterpret_cast<const char*>(bytes), static_cast<int>(size));
        return true;
    };
    return encodeLzmaAlone(source, static_cast<std::uint64_t>(data.size()), sink, options) ? encoded : QByteArray();
}
