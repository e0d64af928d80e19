#include "xml/CZR_XMLComposer.h"

#include "streams/IZR_Streams.h"
#include "strings/CZR_StringL.h"
#include "xml/CZR_XMLElement.h"

#include <cstdio>

void CZR_XMLComposer::FlushTo(IZR_FileWrite* file)
{
    if (!file || GetSize() == 0 || m_bFailed)
        return;
    if (!file->WriteBlock(GetBuffer(), size_t(GetSize())))
        m_bFailed = true;
    Clear();
}

void CZR_XMLComposer::Append(const CZR_ByteStringC& bytes)
{
    if (!m_bFailed && !AppendBlock(bytes.GetPtr(), bytes.GetLength()))
        m_bFailed = true;
}

void CZR_XMLComposer::AppendName(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name)
{
    if (!prefix.IsEmpty()) {
        Append(prefix);
        Append(":");
    }
    Append(name);
}

void CZR_XMLComposer::AppendUTF8(wchar_t c)
{
    if (c < 0)
        return;
    auto value = static_cast<unsigned>(c);
    unsigned char bytes[6];
    if (value <= 0x7F) {
        bytes[0] = static_cast<unsigned char>(value);
        Append(CZR_ByteStringC(bytes, 1));
        return;
    }
    int count = value < 0x800 ? 2 : value < 0x10000 ? 3 : value < 0x200000 ? 4 : value < 0x4000000 ? 5 : 6;
    static const unsigned char lead[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    bytes[0] = static_cast<unsigned char>((value >> (6 * (count - 1))) | lead[count]);
    for (int i = 1; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(0x80 | ((value >> (6 * (count - 1 - i))) & 0x3F));
    Append(CZR_ByteStringC(bytes, count));
}

void CZR_XMLComposer::AppendAttrValue(const CZR_WideStringC& value)
{
    for (int i = 0; i < value.GetLength(); ++i) {
        wchar_t c = value[i];
        if (c == L'<')
            Append("&lt;");
        else if (c == L'&')
            Append("&amp;");
        else if (c == L'"')
            Append("&quot;");
        else
            AppendUTF8(c);
    }
}

void CZR_XMLComposer::AppendText(const CZR_WideStringC& text)
{
    int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        wchar_t c = text[i];
        if (m_bRawText) {
            AppendUTF8(c);
            continue;
        }
        switch (c) {
        case L' ':
            Append(i == 0 || i == length - 1 ? "&#x20;" : " ");
            break;
        case L'"':
            Append("&quot;");
            break;
        case L'&':
            Append("&amp;");
            break;
        case L'\'':
            Append("&apos;");
            break;
        case L'<':
            Append("&lt;");
            break;
        case L'>':
            Append("&gt;");
            break;
        default:
            if (c >= 0 && c < 0x20) {
                char reference[8];
                snprintf(reference, sizeof reference, "&#x%02X;", unsigned(c));
                Append(reference);
            } else {
                AppendUTF8(c);
            }
        }
    }
}

// A "]]>" inside the text would end the section early, so it is split across two sections.
void CZR_XMLComposer::AppendCData(const CZR_WideStringC& text)
{
    Append("<![CDATA[");
    int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        if (text[i] == L']' && i + 2 < length && text[i + 1] == L']' && text[i + 2] == L'>') {
            Append("]]]]><![CDATA[>");
            i += 2;
            continue;
        }
        AppendUTF8(text[i]);
    }
    Append("]]>");
}

void CZR_XMLComposer::AppendLineBreakUnlessCompact()
{
    if (!m_bCompact)
        Append("\r\n");
}

void CZR_XMLComposer::ComposeElement(const CZR_XMLElement* element, IZR_FileWrite* file)
{
    FlushTo(file);
    if (m_bFailed)
        return;
    Append("<");
    AppendName(element->GetPrefixL(), element->GetTagNameL());
    const CZR_XMLAttrMap& attrs = element->GetAttrMap();
    for (int i = 0; i < attrs.GetSize(); ++i) {
        const CZR_XMLAttrItem* item = attrs.GetAt(i);
        Append(" ");
        AppendName(item->prefix, item->name);
        Append("=\"");
        AppendAttrValue(item->value);
        Append("\"");
    }
    unsigned count = element->CountChildren();
    AppendLineBreakUnlessCompact();
    if (count == 0) {
        Append("/>");
        return;
    }
    Append(">");
    for (unsigned i = 0; i < count && !m_bFailed; ++i) {
        if (const CZR_XMLElement* child = element->GetElement(i)) {
            ComposeElement(child, file);
            continue;
        }
        const CZR_XMLContent* content = element->GetContentRecord(i);
        if (content && content->cdata)
            AppendCData(content->text);
        else if (content)
            AppendText(content->text);
    }
    Append("</");
    AppendName(element->GetPrefixL(), element->GetTagNameL());
    AppendLineBreakUnlessCompact();
    Append(">");
}

bool CZR_XMLComposer::Compose(const CZR_XMLElement* element, IZR_FileWrite* file, CZR_ByteStringL& out)
{
    ComposeElement(element, file);
    if (file) {
        FlushTo(file);
    } else if (m_bFailed || !GetByteStringL(out)) {
        m_bFailed = true;
        out.Empty(m_pAllocator);
    }
    return !m_bFailed;
}
