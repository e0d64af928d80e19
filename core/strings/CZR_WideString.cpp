#include "strings/CZR_WideString.h"

#include "codecs/CZR_CharMap.h"
#include "codecs/ZRUTF8.h"
#include "strings/CZR_ByteString.h"
#include "strings/ZRNumbers.h"

namespace {

const wchar_t kWhiteSpace[] = L"\t\n\v\f\r ";

int sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// First occurrence of the needle in [from, end), or null; an empty needle is found at `from`.
const wchar_t* findIn(const wchar_t* from, const wchar_t* end, const wchar_t* needle, int needleLength)
{
    if (needleLength == 0)
        return from;
    for (const wchar_t* at = from; end - at >= needleLength; ++at) {
        at = wmemchr(at, needle[0], size_t(end - at - needleLength + 1));
        if (!at)
            return nullptr;
        if (wmemcmp(at, needle, size_t(needleLength)) == 0)
            return at;
    }
    return nullptr;
}

// End of the part a C-string search sees: the first 0 character, or the length.
const wchar_t* searchEnd(const wchar_t* text, int length) { return text + wcsnlen(text, size_t(length)); }

// Copies `text` with every occurrence of `oldText` replaced into `out`; `out` may lie at or below
// `text` in the same buffer.
void replaceInto(wchar_t* out, const wchar_t* text, int length, const wchar_t* oldText, int oldLength,
                 const wchar_t* newText, int newLength)
{
    const wchar_t* from = text;
    const wchar_t* end = searchEnd(text, length);
    for (const wchar_t* at; (at = findIn(from, end, oldText, oldLength)); from = at + oldLength) {
        memmove(out, from, (at - from) * sizeof(wchar_t));
        out += at - from;
        memmove(out, newText, newLength * sizeof(wchar_t));
        out += newLength;
    }
    memmove(out, from, (text + length - from + 1) * sizeof(wchar_t));
}

} // namespace

CZR_WideString::CZR_WideString(const wchar_t* p, int len) { InitStr(p, len); }
CZR_WideString::CZR_WideString(wchar_t c) { AssignCopy(1, &c); }
CZR_WideString::CZR_WideString(const CZR_WideStringC& view) { AssignCopy(view.GetLength(), view.GetPtr()); }

CZR_WideString::CZR_WideString(const CZR_WideStringC& a, const CZR_WideStringC& b)
{
    if (a.IsEmpty()) {
        AssignCopy(b.GetLength(), b.GetPtr());
        return;
    }
    AssignCopy(a.GetLength(), a.GetPtr());
    *this += b;
}

CZR_WideString& CZR_WideString::operator=(const CZR_WideString& other)
{
    AssignString(other);
    return *this;
}

CZR_WideString& CZR_WideString::operator=(const wchar_t* s)
{
    if (!s || !*s)
        Empty();
    else
        AssignCopy(int(wcsnlen(s, INT32_MAX)), s);
    return *this;
}

CZR_WideString& CZR_WideString::operator=(const CZR_WideStringC& view)
{
    AssignCopy(view.GetLength(), view.GetPtr());
    return *this;
}

CZR_WideString& CZR_WideString::operator+=(wchar_t c)
{
    ConcatInPlace(1, &c);
    return *this;
}

CZR_WideString& CZR_WideString::operator+=(const wchar_t* s)
{
    if (s)
        ConcatInPlace(int(wcsnlen(s, INT32_MAX)), s);
    return *this;
}

CZR_WideString& CZR_WideString::operator+=(const CZR_WideString& other)
{
    CZR_WideString keep(other);
    ConcatInPlace(keep.GetLength(), keep.c_str());
    return *this;
}

CZR_WideString& CZR_WideString::operator+=(const CZR_WideStringC& view)
{
    ConcatInPlace(view.GetLength(), view.GetPtr());
    return *this;
}

int64_t CZR_WideString::ConcatCapacity(int len1, int len2) const
{
    int64_t total = int64_t(len1) + len2;
    double capacity = m_pData && m_pData->nAllocLength > 2 ? m_pData->nAllocLength : 2;
    do
        capacity = static_cast<double>(static_cast<int64_t>(capacity * 1.5));
    while (capacity < double(total));
    return capacity > double(INT32_MAX) ? int64_t(INT32_MAX) + 1 : int64_t(capacity);
}

void CZR_WideString::ConcatCopy(int len1, const wchar_t* text1, int len2, const wchar_t* text2)
{
    if (len2 > 0)
        BuildConcat(ConcatCapacity(len1, len2), len1, text1, len2, text2);
}

bool CZR_WideString::Equal(const CZR_WideStringC& view) const
{
    int length = GetLength();
    return length == view.GetLength() && ZRSYS_memcmp32(c_str(), view.GetPtr(), length * sizeof(wchar_t)) == 0;
}

bool operator<(const CZR_WideString& a, const CZR_WideString& b)
{
    if (!b.m_pData)
        return false;
    if (!a.m_pData)
        return true;
    int shorter = a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength();
    for (int i = 0; i < shorter; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i];
    }
    return a.GetLength() < b.GetLength();
}

int CZR_WideString::Compare(const CZR_WideString& other) const
{
    if (!m_pData || !other.m_pData)
        return (m_pData ? 1 : 0) - (other.m_pData ? 1 : 0);
    if (*this < other)
        return -1;
    return other < *this ? 1 : 0;
}

int CZR_WideString::Compare(const wchar_t* s) const
{
    if (IsEmpty())
        return !s || !*s ? 0 : -1;
    return sign(wcscmp(c_str(), s ? s : L""));
}

int CZR_WideString::CompareNoCase(const wchar_t* s) const
{
    if (IsEmpty())
        return !s || !*s ? 0 : -1;
    return ZRSYS_wcsicmp(c_str(), s ? s : L"");
}

void CZR_WideString::Reserve(int n)
{
    if (m_pData && IsUnique() && m_pData->nAllocLength >= n)
        return;
    if (IsEmpty() && n <= 0)
        return;
    GetBuffer(n);
}

int CZR_WideString::Replace(const wchar_t* oldText, const wchar_t* newText)
{
    if (IsEmpty() || !oldText || !*oldText)
        return 0;
    if (!newText)
        newText = L"";
    int oldLength = int(wcslen(oldText));
    int newLength = int(wcslen(newText));
    int length = GetLength();
    int count = 0;
    const wchar_t* end = searchEnd(c_str(), length);
    for (const wchar_t* at = c_str(); (at = findIn(at, end, oldText, oldLength)); at += oldLength)
        ++count;
    if (count == 0)
        return 0;
    int64_t resultLength = length + int64_t(newLength - oldLength) * count;
    if (resultLength == 0) {
        Empty();
        return count;
    }
    // Texts inside this buffer would be overwritten while still being read: those take a fresh buffer.
    bool selfReferencing = PointsIntoBuffer(oldText) || PointsIntoBuffer(newText);
    if (!selfReferencing && resultLength <= m_pData->nAllocLength && CopyBeforeWrite() &&
        resultLength <= m_pData->nAllocLength) {
        wchar_t* chars = m_pData->chars();
        // Growing in place: move the text to the end first so that writing never overtakes reading.
        int offset = resultLength > length ? m_pData->nAllocLength - length : 0;
        memmove(chars + offset, chars, (length + 1) * sizeof(wchar_t));
        replaceInto(chars, chars + offset, length, oldText, oldLength, newText, newLength);
        m_pData->nDataLength = int(resultLength);
        m_pData->chars()[resultLength] = 0;
        return count;
    }
    Data* fresh = m_pData ? AllocData(resultLength) : nullptr;
    if (fresh)
        replaceInto(fresh->chars(), c_str(), length, oldText, oldLength, newText, newLength);
    Release(m_pData);
    m_pData = fresh;
    return fresh ? count : 0;
}

void CZR_WideString::TrimRight(const wchar_t* set)
{
    if (set && *set)
        TrimRightIf([set](wchar_t c) { return wcschr(set, c) != nullptr; });
}

void CZR_WideString::TrimLeft(const wchar_t* set)
{
    if (set && *set)
        TrimLeftIf([set](wchar_t c) { return wcschr(set, c) != nullptr; });
}

void CZR_WideString::TrimRight(wchar_t c)
{
    const wchar_t set[2] = {c, 0};
    TrimRight(set);
}

void CZR_WideString::TrimLeft(wchar_t c)
{
    const wchar_t set[2] = {c, 0};
    TrimLeft(set);
}

void CZR_WideString::TrimRight() { TrimRight(kWhiteSpace); }
void CZR_WideString::TrimLeft() { TrimLeft(kWhiteSpace); }

int CZR_WideString::Find(const wchar_t* sub, int start) const
{
    int length = GetLength();
    if (length == 0 || start < 0 || start > length)
        return -1;
    const wchar_t* from = c_str() + start;
    const wchar_t* found = findIn(from, searchEnd(from, length - start), sub ? sub : L"", sub ? int(wcslen(sub)) : 0);
    return found ? int(found - c_str()) : -1;
}

CZR_ByteString CZR_WideString::UTF8Encode() const
{
    if (IsEmpty())
        return CZR_ByteString();
    return ZR_UTF8Encode(c_str(), GetLength());
}

CZR_ByteString CZR_WideString::UTF16LE_Encode(bool terminate) const
{
    CZR_ByteString result;
    int64_t units = int64_t(GetLength()) + (terminate ? 1 : 0);
    if (units == 0 || units * 2 > INT32_MAX)
        return result;
    char* out = result.GetBuffer(int(units * 2));
    if (!out)
        return result;
    const wchar_t* chars = c_str();
    for (int i = 0; i < GetLength(); ++i) {
        out[2 * i] = char(chars[i] & 0xFF);
        out[2 * i + 1] = char((chars[i] >> 8) & 0xFF);
    }
    if (terminate)
        out[units * 2 - 2] = out[units * 2 - 1] = 0;
    result.ReleaseBuffer(int(units * 2));
    return result;
}

void CZR_WideString::ConvertFrom(const CZR_ByteString& s, const CZR_CharMap* map)
{
    if (!map)
        map = CZR_CharMap::GetDefaultMapper(0);
    *this = map->GetWideString(map, s);
}

CZR_WideString CZR_WideString::FromLocal(const char* p, int len)
{
    CZR_WideString result;
    result.ConvertFrom(CZR_ByteString(p, len));
    return result;
}

CZR_WideString CZR_WideString::FromUTF8(const char* p, int len)
{
    if (!p || len == 0)
        return CZR_WideString();
    if (len < 0)
        len = int(strnlen(p, INT32_MAX));
    return ZR_UTF8Decode(p, len);
}

CZR_WideString CZR_WideString::FromUTF16LE(const unsigned short* p, int len)
{
    if (!p || len == 0)
        return CZR_WideString();
    if (len < 0)
        len = WStringLength(p);
    CZR_WideString result;
    wchar_t* out = result.GetBuffer(len);
    if (!out)
        return result;
    for (int i = 0; i < len; ++i)
        out[i] = wchar_t(p[i]);
    result.ReleaseBuffer(len);
    return result;
}

CZR_WideString CZR_WideString::FromUTF16BE(const unsigned short* p, int len)
{
    CZR_WideString result = FromUTF16LE(p, len);
    wchar_t* chars = result.GetBuffer(0);
    for (int i = 0; i < result.GetLength(); ++i)
        chars[i] = wchar_t(((chars[i] & 0xFF) << 8) | ((chars[i] >> 8) & 0xFF));
    return result;
}

int CZR_WideString::WStringLength(const unsigned short* p)
{
    int length = 0;
    while (p && p[length] && length < INT32_MAX)
        ++length;
    return length;
}

int CZR_WideString::GetInteger() const { return IsEmpty() ? 0 : ZRSYS_wtoi(c_str()); }
float CZR_WideString::GetFloat() const { return IsEmpty() ? 0 : ZR_wtof(c_str(), GetLength()); }

bool operator==(const CZR_WideString& a, const CZR_WideString& b) { return a.Equal(b); }
bool operator==(const CZR_WideString& a, const wchar_t* b) { return a.Equal(CZR_WideStringC(b)); }
bool operator==(const wchar_t* a, const CZR_WideString& b) { return b.Equal(CZR_WideStringC(a)); }
bool operator==(const CZR_WideString& a, const CZR_WideStringC& b) { return a.Equal(b); }
bool operator==(const CZR_WideStringC& a, const CZR_WideString& b) { return b.Equal(a); }
bool operator!=(const CZR_WideString& a, const CZR_WideString& b) { return !a.Equal(b); }
bool operator!=(const CZR_WideString& a, const wchar_t* b) { return !(a == b); }
bool operator!=(const wchar_t* a, const CZR_WideString& b) { return !(a == b); }
bool operator!=(const CZR_WideString& a, const CZR_WideStringC& b) { return !a.Equal(b); }
bool operator!=(const CZR_WideStringC& a, const CZR_WideString& b) { return !b.Equal(a); }
