#include "system/ZRSYS_Runtime.h"

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <type_traits>

namespace {

template <class CharT> CharT foldLower(CharT c) { return c >= 'A' && c <= 'Z' ? CharT(c + ('a' - 'A')) : c; }
template <class CharT> CharT foldUpper(CharT c) { return c >= 'a' && c <= 'z' ? CharT(c - ('a' - 'A')) : c; }

// Decimal digits after one optional sign; the value wraps modulo 2^bits.
template <class Unsigned, class CharT> Unsigned parseWrapping(const CharT* s)
{
    if (!s)
        return 0;
    bool negative = *s == '-';
    if (*s == '-' || *s == '+')
        ++s;
    Unsigned value = 0;
    for (; *s >= '0' && *s <= '9'; ++s)
        value = value * 10 + Unsigned(*s - '0');
    return negative ? Unsigned(0) - value : value;
}

template <class CharT> CharT* printDecimal(long long value, CharT* buf)
{
    char digits[24];
    int count = 0;
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    CharT* out = buf;
    if (value < 0)
        *out++ = '-';
    while (count)
        *out++ = CharT(digits[--count]);
    *out = 0;
    return buf;
}

template <class CharT> CharT* convertCase(CharT* s, CharT (*fold)(CharT))
{
    if (!s)
        return nullptr;
    for (CharT* p = s; *p; ++p)
        *p = fold(*p);
    return s;
}

template <class Unsigned, class CharT> int compareFolded(const CharT* a, const CharT* b)
{
    for (;; ++a, ++b) {
        Unsigned ca = Unsigned(foldLower(*a));
        Unsigned cb = Unsigned(foldLower(*b));
        if (ca == 0 || ca != cb)
            return int(ca) - int(cb);
    }
}

template <class CharT> unsigned hashText(const CharT* s, int len, bool ignoreCase, unsigned multiplier)
{
    unsigned h = 0;
    for (int i = 0; i < len; ++i) {
        CharT c = ignoreCase ? foldLower(s[i]) : s[i];
        h = h * multiplier + unsigned(static_cast<std::make_signed_t<CharT>>(c));
    }
    return h;
}

} // namespace

extern "C" {

int ZRSYS_atoi(const char* s) { return int(parseWrapping<unsigned>(s)); }
int ZRSYS_wtoi(const wchar_t* s) { return int(parseWrapping<unsigned>(s)); }
long long ZRSYS_atoi64(const char* s) { return (long long)(parseWrapping<unsigned long long>(s)); }
long long ZRSYS_wtoi64(const wchar_t* s) { return (long long)(parseWrapping<unsigned long long>(s)); }

char* ZRSYS_itoa(int value, char* buf, int) { return printDecimal(value, buf); }
char* ZRSYS_i64toa(long long value, char* buf, int) { return printDecimal(value, buf); }
wchar_t* ZRSYS_i64tow(long long value, wchar_t* buf) { return printDecimal(value, buf); }

char* ZRSYS_strlwr(char* s) { return convertCase(s, foldLower<char>); }
char* ZRSYS_strupr(char* s) { return convertCase(s, foldUpper<char>); }
wchar_t* ZRSYS_wcslwr(wchar_t* s) { return convertCase(s, foldLower<wchar_t>); }
wchar_t* ZRSYS_wcsupr(wchar_t* s) { return convertCase(s, foldUpper<wchar_t>); }

int ZRSYS_stricmp(const char* a, const char* b) { return compareFolded<unsigned char>(a, b); }

int ZRSYS_wcsicmp(const wchar_t* a, const wchar_t* b)
{
    for (;; ++a, ++b) {
        wchar_t ca = foldLower(*a);
        wchar_t cb = foldLower(*b);
        if (ca == 0 || ca != cb)
            return int(unsigned(ca) - unsigned(cb));
    }
}

int ZRSYS_strnicmp(const char* a, const char* b, size_t n)
{
    int difference = 0;
    for (size_t i = 0; i < n; ++i) {
        signed char ca = static_cast<signed char>(foldLower(a[i]));
        signed char cb = static_cast<signed char>(foldLower(b[i]));
        difference = ca - cb;
        if (difference != 0 || ca == 0)
            break;
    }
    return difference;
}

int ZRSYS_wcsnicmp(const wchar_t* a, const wchar_t* b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        wchar_t ca = foldLower(a[i]);
        wchar_t cb = foldLower(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            break;
    }
    return 0;
}

void* ZRSYS_memcpy32(void* dst, const void* src, size_t n)
{
    if (dst && src && n)
        memcpy(dst, src, n);
    return dst;
}

int ZRSYS_memcmp32(const void* a, const void* b, size_t n) { return n ? memcmp(a, b, n) : 0; }
void* ZRSYS_memset32(void* dst, int c, size_t n) { return memset(dst, c, n); }
void* ZRSYS_memset8(void* dst, int c, size_t n) { return memset(dst, c, n); }
void* ZRSYS_memmove32(void* dst, const void* src, size_t n) { return n ? memmove(dst, src, n) : dst; }

wchar_t* ZRSYS_wcsncpy(wchar_t* dst, const wchar_t* src, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        dst[i] = src[i];
        if (src[i] == 0)
            break;
    }
    return dst;
}

int ZRSYS_GetFullPathName(const char* path, int bufLen, char* buf)
{
    size_t length = strlen(path);
    if (!buf || bufLen < 0 || length >= size_t(bufLen))
        return int(length + 1);
    memcpy(buf, path, length + 1);
    return int(length);
}

int ZRSYS_GetModuleFileName(void*, char*, int) { return -1; }

FILE* ZRSYS_wfopen(const wchar_t* name, const wchar_t* mode)
{
    CZR_ByteString byteName = CZR_ByteString::FromUnicode(name, -1);
    CZR_ByteString byteMode = CZR_ByteString::FromUnicode(mode, -1);
    return fopen(byteName.c_str(), byteMode.c_str());
}

// Converts exactly srcLen characters (embedded zeros included) in the current locale; dst null
// only measures. A character that cannot be converted fails the whole call with 0.
int ZRSYS_WideCharToMultiByte(unsigned, unsigned, const wchar_t* src, int srcLen, char* dst, int dstLen)
{
    if (!src || srcLen <= 0)
        return 0;
    mbstate_t state{};
    char bytes[MB_LEN_MAX];
    long long written = 0;
    for (int i = 0; i < srcLen; ++i) {
        size_t count = wcrtomb(bytes, src[i], &state);
        if (count == size_t(-1))
            return 0;
        if (dst) {
            if (written + (long long)count > dstLen)
                break;
            memcpy(dst + written, bytes, count);
        }
        written += count;
        if (written > INT_MAX)
            return 0;
    }
    return int(written);
}

int ZRSYS_MultiByteToWideChar(unsigned, unsigned, const char* src, int srcLen, wchar_t* dst, int dstLen)
{
    if (!src || srcLen <= 0)
        return 0;
    mbstate_t state{};
    int written = 0;
    for (int i = 0; i < srcLen;) {
        if (dst && written >= dstLen)
            break;
        wchar_t c;
        size_t used = mbrtowc(&c, src + i, size_t(srcLen - i), &state);
        if (used == size_t(-1) || used == size_t(-2))
            return 0;
        if (dst)
            dst[written] = c;
        ++written;
        i += used ? int(used) : 1;
    }
    return written;
}

int _vsnprintf(char* buf, size_t size, const char* format, va_list args) { return vsnprintf(buf, size, format, args); }

float ZRSYS_tan(float x) { return tanf(x); }
float ZRSYS_logb(float base, float x) { return logf(x) / logf(base); }

int ZRSYS_round(float x)
{
    if (std::isnan(x))
        return 0;
    if (x <= -2147483648.0f)
        return INT_MIN;
    if (x >= 2147483648.0f)
        return INT_MAX;
    return int(x >= 0 ? x + 0.5f : x - 0.5f);
}

float ZRSYS_wcstof(const wchar_t* s, int len, int* used)
{
    if (len < 0)
        len = int(wcslen(s));
    if (len == 0)
        return 0;
    int pos = 0;
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        pos = 1;
    }
    float value = 0;
    for (; pos < len && s[pos] >= '0' && s[pos] <= '9'; ++pos)
        value = value * 10 + float(s[pos] - '0');
    if (pos < len && s[pos] == '.') {
        ++pos;
        float scale = 0.1f;
        for (; pos < len && s[pos] >= '0' && s[pos] <= '9'; ++pos) {
            value += float(s[pos] - '0') * scale;
            scale *= 0.1f;
        }
    }
    if (used)
        *used = pos;
    return negative ? -value : value;
}

float ZRSYS_strtof(const char* s, int len, int* used)
{
    if (len < 0)
        len = int(strlen(s));
    CZR_WideString wide = CZR_WideString::FromLocal(s, len);
    return ZRSYS_wcstof(wide.c_str(), std::min(len, wide.GetLength()), used);
}

unsigned ZR_HashCode_String_GetA(const char* s, int len, bool ignoreCase)
{
    if (len < 0)
        len = int(strlen(s));
    return hashText(s, len, ignoreCase, 31);
}

unsigned ZR_HashCode_String_GetW(const wchar_t* s, int len, bool ignoreCase)
{
    if (len < 0)
        len = int(wcslen(s));
    return hashText(s, len, ignoreCase, 1313);
}

} // extern "C"
