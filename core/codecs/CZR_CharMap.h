#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

// A fixed conversion between byte and wide strings. Map 0 converts in the system locale and
// answers no code page; the others convert through a built-in code page.
struct CZR_CharMap
{
    CZR_WideString (*GetWideString)(const CZR_CharMap* map, const CZR_ByteString& bytes);
    CZR_ByteString (*GetByteString)(const CZR_CharMap* map, const CZR_WideString& text);
    int (*GetCodePage)();

    // 0 gives the system map; 874, 932, 936, 949, 950 and 1250 to 1258 their code page's map;
    // anything else null.
    static const CZR_CharMap* GetDefaultMapper(int codepage);
};
