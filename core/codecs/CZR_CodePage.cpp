#include "codecs/CZR_CodePage.h"

IZR_CodePage* IZR_CodePage::Create(uint16_t codepage)
{
    const _ZR_CODEPAGE* page = ZR_GetCodePage(codepage);
    return page ? new CZR_CodePage(page) : nullptr;
}

IZR_CodePageMgr* IZR_CodePageMgr::Create() { return new CZR_CodePageMgr; }
