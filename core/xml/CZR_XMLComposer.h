#pragma once

#include "strings/CZR_TextBuf.h"

class CZR_XMLElement;
class CZR_ByteStringL;
class IZR_FileWrite;

// Writes elements as UTF-8 markup; with a file, the bytes go out element by element.
class CZR_XMLComposer : public CZR_ByteTextBuf
{
public:
    CZR_XMLComposer(_IZR_Allocator* allocator, bool rawText, bool compact)
        : CZR_ByteTextBuf(allocator), m_bRawText(rawText), m_bCompact(compact)
    {
    }

    void ComposeElement(const CZR_XMLElement* element, IZR_FileWrite* file);
    void Compose(const CZR_XMLElement* element, IZR_FileWrite* file, CZR_ByteStringL& out);

private:
    void FlushTo(IZR_FileWrite* file);
    void AppendName(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name);
    void AppendUTF8(wchar_t c);
    void AppendAttrValue(const CZR_WideStringC& value);
    void AppendText(const CZR_WideStringC& text);
    void AppendCData(const CZR_WideStringC& text);
    void AppendLineBreakUnlessCompact();

    bool m_bRawText;
    bool m_bCompact;
};
