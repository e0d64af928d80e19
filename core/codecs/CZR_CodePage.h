#pragma once

#include "codecs/ZRCodePage.h"
#include "memory/CZR_Object.h"

// One built-in code page. Operations are declared in their table order.
class IZR_CodePage
{
public:
    virtual void Release() = 0;
    virtual uint16_t GetCodePageNumber() = 0;
    virtual uint32_t GetCharsetType() = 0;
    virtual bool HasLeadBytes() = 0;
    virtual bool IsLeadByte(uint8_t byte) = 0;
    virtual uint8_t GetMinCharBytes() = 0;
    virtual uint8_t GetMaxCharBytes() = 0;
    virtual uint32_t GetMinCharcode() = 0;
    virtual uint32_t GetMaxCharcode() = 0;
    virtual uint32_t GetDefaultCharcode() = 0;
    virtual uint32_t GetMinUnicode() = 0;
    virtual uint32_t GetMaxUnicode() = 0;
    virtual uint32_t GetDefaultUnicode() = 0;
    virtual bool IsValidCharcode(uint16_t code) = 0;
    virtual uint16_t GetUnicode(uint16_t code) = 0;
    virtual bool IsValidUnicode(wchar_t unicode) = 0;
    virtual uint16_t GetCharcode(wchar_t unicode) = 0;
    virtual ~IZR_CodePage() = default;

    // Null for a code page that is not built in (or when memory runs out).
    static IZR_CodePage* Create(uint16_t codepage);
};

class CZR_CodePage : public IZR_CodePage, public CZR_Object
{
public:
    explicit CZR_CodePage(const _ZR_CODEPAGE* page) : m_pCodePage(page) {}

    void Release() override { delete this; }
    uint16_t GetCodePageNumber() override { return m_pCodePage->header->codePage; }
    uint32_t GetCharsetType() override { return m_pCodePage->header->charsetType; }
    bool HasLeadBytes() override { return m_pCodePage->header->hasLeadBytes != 0; }
    bool IsLeadByte(uint8_t byte) override { return m_pCodePage->firstIndex[byte].count != 0; }
    uint8_t GetMinCharBytes() override { return m_pCodePage->header->minCharBytes; }
    uint8_t GetMaxCharBytes() override { return m_pCodePage->header->maxCharBytes; }
    uint32_t GetMinCharcode() override { return m_pCodePage->header->minCharcode; }
    uint32_t GetMaxCharcode() override { return m_pCodePage->header->maxCharcode; }
    uint32_t GetDefaultCharcode() override { return m_pCodePage->header->defaultCharcode; }
    uint32_t GetMinUnicode() override { return m_pCodePage->header->minUnicode; }
    uint32_t GetMaxUnicode() override { return m_pCodePage->header->maxUnicode; }
    uint32_t GetDefaultUnicode() override { return m_pCodePage->header->defaultUnicode; }
    bool IsValidCharcode(uint16_t code) override { return GetUnicode(code) != ZR_NOT_A_CHARACTER; }
    // A two-byte code whose high byte is not a lead byte answers that byte's character.
    uint16_t GetUnicode(uint16_t code) override { return ZR_CodePage_GetUnicode(m_pCodePage, code); }
    bool IsValidUnicode(wchar_t unicode) override
    {
        uint16_t code = GetCharcode(unicode);
        return code != 0xFFFF && code != ZR_NOT_A_CHARACTER;
    }
    uint16_t GetCharcode(wchar_t unicode) override { return ZR_CodePage_GetCharcode(m_pCodePage, unicode); }

private:
    const _ZR_CODEPAGE* m_pCodePage;
};

class IZR_CodePageMgr
{
public:
    virtual void Release() = 0;
    virtual uint16_t GetDefaultCodePage() = 0;
    virtual bool IsValidCodePage(uint16_t codepage) = 0;
    virtual IZR_CodePage* CreateCodePage(uint16_t codepage) = 0;
    virtual ~IZR_CodePageMgr() = default;

    static IZR_CodePageMgr* Create();
};

class CZR_CodePageMgr : public IZR_CodePageMgr, public CZR_Object
{
public:
    void Release() override { delete this; }
    uint16_t GetDefaultCodePage() override { return 1252; }
    bool IsValidCodePage(uint16_t codepage) override { return ZR_GetCodePage(codepage) != nullptr; }
    IZR_CodePage* CreateCodePage(uint16_t codepage) override { return IZR_CodePage::Create(codepage); }
};
