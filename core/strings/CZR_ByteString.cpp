#include "strings/CZR_ByteString.h"

#include "codecs/CZR_CharMap.h"
#include "codecs/ZRUTF8.h"
#include "strings/CZR_BinaryBuf.h"
#include "strings/CZR_WideString.h"

#include <cstdio>
#include <utility>

namespace {

const char kWhiteSpace[] = "\t\n\v\f\r ";

char foldLower(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

} // namespace

unsigned CZR_ByteStringC::GetID(int start) const
{
    if (start < 0 || start >= m_Length)
        return 0;
    unsigned id = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned byte = start + i < m_Length ? static_cast<unsigned char>(m_pStr[start + i]) : 0;
        id |= byte << (24 - 8 * i);
    }
    return id;
}

CZR_ByteString::CZR_ByteString(const char* s, int len) { InitStr(s, len); }
CZR_ByteString::CZR_ByteString(const unsigned char* s, int len) { AssignCopy(len, reinterpret_cast<const char*>(s)); }
CZR_ByteString::CZR_ByteString(char c) { AssignCopy(1, &c); }
CZR_ByteString::CZR_ByteString(const CZR_ByteStringC& view) { AssignCopy(view.GetLength(), view.GetPtr()); }

CZR_ByteString::CZR_ByteString(const CZR_ByteStringC& a, const CZR_ByteStringC& b)
{
    if (a.GetLength() + int64_t(b.GetLength()) == 0)
        return;
    if (a.IsEmpty()) {
        AssignCopy(b.GetLength(), b.GetPtr());
        return;
    }
    AssignCopy(a.GetLength(), a.GetPtr());
    *this += b;
}

CZR_ByteString& CZR_ByteString::operator=(const CZR_ByteString& other)
{
    AssignString(other);
    return *this;
}

CZR_ByteString& CZR_ByteString::operator=(const char* s)
{
    if (!s || !*s)
        Empty();
    else
        AssignCopy(int(strnlen(s, INT32_MAX)), s);
    return *this;
}

CZR_ByteString& CZR_ByteString::operator=(const CZR_ByteStringC& view)
{
    AssignCopy(view.GetLength(), view.GetPtr());
    return *this;
}

CZR_ByteString& CZR_ByteString::operator=(const CZR_BinaryBuf& buffer)
{
    Empty();
    AssignCopy(buffer.GetSize(), reinterpret_cast<const char*>(buffer.GetBuffer()));
    return *this;
}

void CZR_ByteString::Load(const unsigned char* p, int len)
{
    // The copy is taken before the old buffer goes, since p may point into it.
    CZR_ByteString fresh(p, len);
    std::swap(m_pData, fresh.m_pData);
}

CZR_ByteString& CZR_ByteString::operator+=(const char* s)
{
    if (s)
        ConcatInPlace(int(strnlen(s, INT32_MAX)), s);
    return *this;
}

CZR_ByteString& CZR_ByteString::operator+=(char c)
{
    ConcatInPlace(1, &c);
    return *this;
}

CZR_ByteString& CZR_ByteString::operator+=(const CZR_ByteString& other)
{
    // Shares the buffer while appending, so appending a string to itself reads intact text.
    CZR_ByteString keep(other);
    ConcatInPlace(keep.GetLength(), keep.c_str());
    return *this;
}

CZR_ByteString& CZR_ByteString::operator+=(const CZR_ByteStringC& view)
{
    ConcatInPlace(view.GetLength(), view.GetPtr());
    return *this;
}

int64_t CZR_ByteString::ConcatCapacity(int len1, int len2) const
{
    int64_t base = GetLength();
    int64_t capacity = base + (base / 2 > len2 ? base / 2 : len2);
    int64_t total = int64_t(len1) + len2;
    return capacity > total ? capacity : total;
}

void CZR_ByteString::ConcatCopy(int len1, const char* text1, int len2, const char* text2)
{
    if (len2 > 0)
        BuildConcat(ConcatCapacity(len1, len2), len1, text1, len2, text2);
}

bool CZR_ByteString::Equal(const CZR_ByteStringC& view) const
{
    int length = GetLength();
    return length == view.GetLength() && ZRSYS_memcmp32(c_str(), view.GetPtr(), length) == 0;
}

bool CZR_ByteString::EqualNoCase(const CZR_ByteStringC& view) const
{
    int length = GetLength();
    if (length != view.GetLength())
        return false;
    const char* chars = c_str();
    for (int i = 0; i < length; ++i) {
        if (foldLower(chars[i]) != foldLower(view[i]))
            return false;
    }
    return true;
}

int CZR_ByteString::Compare(const CZR_ByteStringC& view) const
{
    int length = GetLength();
    int shorter = length < view.GetLength() ? length : view.GetLength();
    int order = ZRSYS_memcmp32(c_str(), view.GetPtr(), shorter);
    if (order == 0)
        order = length - view.GetLength();
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void CZR_ByteString::Reserve(int n)
{
    GetBuffer(n);
    ReleaseBuffer(GetLength());
}

int CZR_ByteString::Replace(const CZR_ByteStringC& oldText, const CZR_ByteStringC& newText)
{
    int length = GetLength();
    int oldLength = oldText.GetLength();
    if (length == 0 || oldLength == 0)
        return 0;
    const char* chars = c_str();
    int count = 0;
    for (const char* at = chars; (at = ZR_strstr(at, int(chars + length - at), oldText.GetPtr(), oldLength));
         at += oldLength)
        ++count;
    if (count == 0)
        return 0;
    int64_t newLength = length + int64_t(newText.GetLength() - oldLength) * count;
    if (newLength == 0) {
        Empty();
        return count;
    }
    Data* fresh = AllocData(newLength);
    if (fresh) {
        char* out = fresh->chars();
        const char* from = chars;
        for (const char* at; (at = ZR_strstr(from, int(chars + length - from), oldText.GetPtr(), oldLength));
             from = at + oldLength) {
            memcpy(out, from, at - from);
            out += at - from;
            if (newText.GetLength())
                memcpy(out, newText.GetPtr(), newText.GetLength());
            out += newText.GetLength();
        }
        memcpy(out, from, chars + length - from);
        fresh->chars()[newLength] = 0;
    }
    Release(m_pData);
    m_pData = fresh;
    return fresh ? count : 0;
}

void CZR_ByteString::TrimRight(const CZR_ByteStringC& set)
{
    if (!set.IsEmpty())
        TrimRightIf([&set](char c) { return memchr(set.GetPtr(), c, set.GetLength()) != nullptr; });
}

void CZR_ByteString::TrimLeft(const CZR_ByteStringC& set)
{
    if (!set.IsEmpty())
        TrimLeftIf([&set](char c) { return memchr(set.GetPtr(), c, set.GetLength()) != nullptr; });
}

void CZR_ByteString::TrimRight(char c) { TrimRight(CZR_ByteStringC(&c, 1)); }
void CZR_ByteString::TrimLeft(char c) { TrimLeft(CZR_ByteStringC(&c, 1)); }
void CZR_ByteString::TrimRight() { TrimRight(CZR_ByteStringC(kWhiteSpace)); }
void CZR_ByteString::TrimLeft() { TrimLeft(CZR_ByteStringC(kWhiteSpace)); }

int CZR_ByteString::Find(const CZR_ByteStringC& sub, int start) const
{
    int length = GetLength();
    if (length == 0 || start < 0 || start > length)
        return -1;
    const char* found = ZR_strstr(c_str() + start, length - start, sub.GetPtr(), sub.GetLength());
    return found ? int(found - c_str()) : -1;
}

int CZR_ByteString::ReverseFind(char c) const
{
    const char* chars = c_str();
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (chars[i] == c)
            return i;
    }
    return -1;
}

CZR_WideString CZR_ByteString::UTF8Decode() const { return ZR_UTF8Decode(c_str(), GetLength()); }

CZR_ByteString CZR_ByteString::FromUnicode(const wchar_t* p, int len)
{
    if (len < 0)
        len = p ? int(wcslen(p)) : 0;
    return FromUnicode(CZR_WideString(p, len));
}

CZR_ByteString CZR_ByteString::FromUnicode(const CZR_WideString& s)
{
    CZR_ByteString result;
    result.ConvertFrom(s);
    return result;
}

void CZR_ByteString::ConvertFrom(const CZR_WideString& s, const CZR_CharMap* map)
{
    if (!map)
        map = CZR_CharMap::GetDefaultMapper(0);
    *this = map->GetByteString(map, s);
}

CZR_ByteString CZR_ByteString::LoadFromFile(const CZR_ByteStringC& path)
{
    CZR_ByteString result;
    CZR_ByteString terminatedPath(path);
    FILE* file = fopen(terminatedPath.c_str(), "rb");
    if (!file)
        return result;
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    if (size > 0 && size <= INT32_MAX && fseek(file, 0, SEEK_SET) == 0) {
        char* buffer = result.GetBuffer(int(size));
        size_t got = buffer ? fread(buffer, 1, size_t(size), file) : 0;
        result.ReleaseBuffer(int(got));
    }
    fclose(file);
    return result;
}

const char* ZR_strstr(const char* hay, int hayLen, const char* needle, int needleLen)
{
    if (needleLen <= 0 || needleLen > hayLen)
        return nullptr;
    const char* last = hay + (hayLen - needleLen);
    for (const char* at = hay; at <= last; ++at) {
        at = static_cast<const char*>(memchr(at, needle[0], last - at + 1));
        if (!at)
            return nullptr;
        if (memcmp(at, needle, needleLen) == 0)
            return at;
    }
    return nullptr;
}
