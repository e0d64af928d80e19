#include "codecs/CZR_CharMap.h"

#include "codecs/ZRCodePage.h"
#include "system/ZRSYS_Runtime.h"

namespace {

CZR_WideString systemWideString(const CZR_CharMap*, const CZR_ByteString& bytes)
{
    CZR_WideString result;
    int length = ZRSYS_MultiByteToWideChar(0, 0, bytes.c_str(), bytes.GetLength(), nullptr, 0);
    if (length <= 0)
        return result;
    wchar_t* out = result.GetBuffer(length);
    if (!out)
        return result;
    int written = ZRSYS_MultiByteToWideChar(0, 0, bytes.c_str(), bytes.GetLength(), out, length);
    result.ReleaseBuffer(written);
    return result;
}

CZR_ByteString systemByteString(const CZR_CharMap*, const CZR_WideString& text)
{
    CZR_ByteString result;
    int length = ZRSYS_WideCharToMultiByte(0, 0, text.c_str(), text.GetLength(), nullptr, 0);
    if (length <= 0)
        return result;
    char* out = result.GetBuffer(length);
    if (!out)
        return result;
    int written = ZRSYS_WideCharToMultiByte(0, 0, text.c_str(), text.GetLength(), out, length);
    result.ReleaseBuffer(written);
    return result;
}

const CZR_CharMap s_systemMap = {systemWideString, systemByteString, nullptr};

// The code-page maps measure first, then convert; anything but a whole conversion gives an empty string.
template <class Result, class Source, class Convert>
Result convertWhole(const CZR_CharMap* map, const Source& source, Convert convert)
{
    auto codepage = uint16_t(map->GetCodePage());
    int length = source.GetLength();
    int count = 0;
    if (convert(codepage, source.c_str(), &length, nullptr, &count, false) != 1 || count <= 0)
        return Result();
    Result result;
    auto* out = result.GetBuffer(count);
    if (!out)
        return Result();
    length = source.GetLength();
    int written = count;
    if (convert(codepage, source.c_str(), &length, out, &written, false) != 1) {
        result.ReleaseBuffer(0);
        return Result();
    }
    result.ReleaseBuffer(written);
    return result;
}

CZR_WideString codePageWideString(const CZR_CharMap* map, const CZR_ByteString& bytes)
{
    return convertWhole<CZR_WideString>(map, bytes, ZR_DecodeString);
}

CZR_ByteString codePageByteString(const CZR_CharMap* map, const CZR_WideString& text)
{
    return convertWhole<CZR_ByteString>(map, text, ZR_EncodeString);
}

template <int Number> int codePageNumber() { return Number; }

template <int Number> constexpr CZR_CharMap codePageMap()
{
    return CZR_CharMap{codePageWideString, codePageByteString, codePageNumber<Number>};
}

const CZR_CharMap s_codePageMaps[] = {
    codePageMap<874>(),  codePageMap<932>(),  codePageMap<936>(),  codePageMap<949>(),  codePageMap<950>(),
    codePageMap<1250>(), codePageMap<1251>(), codePageMap<1252>(), codePageMap<1253>(), codePageMap<1254>(),
    codePageMap<1255>(), codePageMap<1256>(), codePageMap<1257>(), codePageMap<1258>(),
};

} // namespace

const CZR_CharMap* CZR_CharMap::GetDefaultMapper(int codepage)
{
    if (codepage == 0)
        return &s_systemMap;
    for (const CZR_CharMap& map : s_codePageMaps) {
        if (map.GetCodePage() == codepage)
            return &map;
    }
    return nullptr;
}
