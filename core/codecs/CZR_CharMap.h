#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

// A fixed conversion between byte and wide strings. Map 0 converts in the system locale.
struct CZR_CharMap
{
    CZR_WideString (*GetWideString)(const CZR_CharMap* map, const CZR_ByteString& bytes);
    CZR_ByteString (*GetByteString)(const CZR_CharMap* map, const CZR_WideString& text);
    int (*GetCodePage)();

    // 0 gives the system map; the code-page maps are not built in this library yet.
    static const CZR_CharMap* GetDefaultMapper(int codepage);
};
