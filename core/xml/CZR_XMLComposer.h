#pragma once

#include "strings/CZR_TextBuf.h"

class CZR_XMLElement;
class CZR_ByteStringL;
class IZR_FileWrite;

// Writes elements as UTF-8 markup; with a file, the bytes go out element by element. The first
// append that cannot grow the buffer or write that the file refuses stops the composer: nothing
// more is written and Compose answers false.
class CZR_XMLComposer : public CZR_ByteTextBuf
{
public:
    CZR_XMLComposer(_IZR_Allocator* allocator, bool rawText, bool compact)
        : CZR_ByteTextBuf(allocator), m_bRawText(rawText), m_bCompact(compact), m_bFailed(false)
    {
    }

    void ComposeElement(const CZR_XMLElement* element, IZR_FileWrite* file);
    // Without a file `out` receives the bytes, or is left empty on failure.
    bool Compose(const CZR_XMLElement* element, IZR_FileWrite* file, CZR_ByteStringL& out);
    bool Failed() const { return m_bFailed; }

private:
    void FlushTo(IZR_FileWrite* file);
    void Append(const CZR_ByteStringC& bytes);
    void AppendName(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name);
    void AppendUTF8(wchar_t c);
    void AppendAttrValue(const CZR_WideStringC& value);
    void AppendText(const CZR_WideStringC& text);
    void AppendCData(const CZR_WideStringC& text);
    void AppendLineBreakUnlessCompact();

    bool m_bRawText;
    bool m_bCompact;
    bool m_bFailed;
};
