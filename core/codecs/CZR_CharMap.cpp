#include "codecs/CZR_CharMap.h"

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

} // namespace

const CZR_CharMap* CZR_CharMap::GetDefaultMapper(int codepage) { return codepage == 0 ? &s_systemMap : nullptr; }
