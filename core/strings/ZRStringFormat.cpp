#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"
#include "strings/ZRNumbers.h"
#include "system/ZRCLocale.h"

#include <cstdio>
#include <algorithm>
#include <cwchar>

namespace {

constexpr unsigned kLargestWidth = 0x20000;

struct FormatEstimate
{
    int64_t length;
    bool badWidth;
    bool badPrecision;
};

template <class CharT> size_t textLength(const CharT* s);
template <> size_t textLength(const char* s) { return strlen(s); }
template <> size_t textLength(const wchar_t* s) { return wcslen(s); }

template <class CharT> int readNumber(const CharT*& p)
{
    unsigned value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + unsigned(*p - '0');
    return int(value);
}

// Holds its own copy of an argument list so that helpers can consume from it in turn.
struct ArgCursor
{
    explicit ArgCursor(va_list source) { va_copy(args, source); }
    ~ArgCursor() { va_end(args); }
    ArgCursor(const ArgCursor&) = delete;
    ArgCursor& operator=(const ArgCursor&) = delete;
    va_list args;
};

int64_t stringItemLength(bool wide, ArgCursor& cursor)
{
    if (wide) {
        const wchar_t* s = va_arg(cursor.args, const wchar_t*);
        return s ? std::max<int64_t>(1, int64_t(wcslen(s))) : 6;
    }
    const char* s = va_arg(cursor.args, const char*);
    return s ? std::max<int64_t>(1, int64_t(strlen(s))) : 6;
}

int64_t fixedItemLength(int width, int precision, int scratchLimit, ArgCursor& cursor)
{
    double value = va_arg(cursor.args, double);
    if (int64_t(width) + precision >= 101)
        return int64_t(width) + precision + 128;
    char scratch[256];
    int length = snprintf(scratch, size_t(scratchLimit), "%*.*f", width, precision + 6, value);
    return length < 0 ? 0 : std::min(length, scratchLimit - 1);
}

// Sizes the buffer for one expansion of `format`, consuming `args` as the expansion would.
template <class CharT> FormatEstimate estimateFormat(const CharT* format, va_list source, int floatScratch)
{
    ArgCursor cursor(source);
    FormatEstimate estimate{0, false, false};
    const int64_t total = int64_t(textLength(format));
    for (const CharT* p = format; *p;) {
        if (*p != '%' || p[1] == '%') {
            p += *p == '%' ? 1 : 0;
            estimate.length += total - (p - format);
            ++p;
            continue;
        }
        ++p;
        for (; *p == '-' || *p == '+' || *p == '0' || *p == ' ' || *p == '#'; ++p)
            estimate.length += *p == '#' ? 2 : 0;
        int width = 0;
        if (*p == '*') {
            width = va_arg(cursor.args, int);
            ++p;
        }
        if (width == 0)
            width = readNumber(p);
        if (unsigned(width) > kLargestWidth) {
            estimate = {10, true, false};
            return estimate;
        }
        int precision = 0;
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                precision = va_arg(cursor.args, int);
                ++p;
            } else {
                precision = readNumber(p);
            }
            if (unsigned(precision) > kLargestWidth) {
                estimate = {14, false, true};
                return estimate;
            }
        }
        bool is64 = false, isShort = false, isLong = false;
        for (;;) {
            if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
                is64 = true;
                p += 3;
            } else if (*p == 'h') {
                isShort = true;
                ++p;
            } else if (*p == 'l') {
                isLong = true;
                ++p;
            } else if (*p == 'F' || *p == 'L' || *p == 'N') {
                ++p;
            } else {
                break;
            }
        }
        CharT conversion = *p;
        if (conversion == 0)
            break;
        ++p;
        int64_t item = -1;
        switch (conversion) {
        case 'c':
        case 'C':
            if (is64)
                break;
            va_arg(cursor.args, int);
            item = 2;
            break;
        case 's':
        case 'S':
            if (is64)
                break;
            item = stringItemLength(isLong || (conversion == 'S' && !isShort), cursor);
            break;
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
        case 'p':
            if (is64 || isLong || conversion == 'p')
                va_arg(cursor.args, long long);
            else
                va_arg(cursor.args, int);
            estimate.length += std::max<int64_t>(32, int64_t(width) + precision);
            break;
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            va_arg(cursor.args, double);
            estimate.length += std::max<int64_t>(128, int64_t(width) + precision);
            break;
        case 'f':
            estimate.length += fixedItemLength(width, precision, floatScratch, cursor);
            break;
        case 'n':
            va_arg(cursor.args, void*);
            break;
        default:
            break;
        }
        if (item >= 0)
            estimate.length += std::max<int64_t>(width, precision != 0 ? std::min<int64_t>(precision, item) : item);
    }
    return estimate;
}

// Switches the calling thread to the "C" locale for the lifetime of the object.
class CLocaleScope
{
public:
    CLocaleScope() : m_previous(ZR_GetCLocale() ? uselocale(ZR_GetCLocale()) : locale_t(0)) {}
    ~CLocaleScope()
    {
        if (m_previous)
            uselocale(m_previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};

void expandInto(CZR_ByteString& out, const char* format, va_list args)
{
    FormatEstimate estimate = estimateFormat(format, args, 255);
    if (estimate.badWidth)
        format = "Bad width";
    else if (estimate.badPrecision)
        format = "Bad precision";

    int64_t capacity = estimate.length + 32;
    if (capacity > INT32_MAX) {
        out.Empty();
        return;
    }
    out.AllocBeforeWrite(int(capacity));
    char* buffer = out.GetBuffer(int(capacity));
    if (!buffer)
        return;
    memset(buffer, 0, size_t(capacity));

    CLocaleScope cLocale;
    va_list retry;
    va_copy(retry, args);
    int written = vsnprintf(buffer, size_t(capacity - 1), format, args);
    if (written >= capacity - 1) {
        // The estimate fell short: size the buffer from what the expansion needs and run it again.
        buffer = written < INT32_MAX ? out.GetBuffer(written + 1) : nullptr;
        if (buffer)
            vsnprintf(buffer, size_t(written) + 1, format, retry);
    }
    va_end(retry);
    if (buffer)
        out.ReleaseBuffer(-1);
    else
        out.Empty();
}

void expandInto(CZR_WideString& out, const wchar_t* format, va_list args)
{
    FormatEstimate estimate = estimateFormat(format, args, 256);
    if (estimate.badWidth)
        format = L"Bad width";
    else if (estimate.badPrecision)
        format = L"Bad precision";

    int64_t capacity = estimate.length;
    if (capacity <= 0 || capacity >= INT32_MAX / int64_t(sizeof(wchar_t))) {
        out.Empty();
        return;
    }
    for (;;) {
        out.AllocBeforeWrite(int(capacity));
        wchar_t* buffer = out.GetBuffer(int(capacity));
        if (!buffer)
            return;
        wmemset(buffer, 0, size_t(capacity) + 1);
        va_list attempt;
        va_copy(attempt, args);
        int written = vswprintf(buffer, size_t(capacity) + 1, format, attempt);
        va_end(attempt);
        // vswprintf tells only that the text did not fit; a stop before the end is a conversion error.
        bool cutShort = written < 0 && int64_t(wcslen(buffer)) >= capacity;
        if (!cutShort || capacity * 2 >= INT32_MAX / int64_t(sizeof(wchar_t)))
            break;
        capacity *= 2;
    }
    out.ReleaseBuffer(-1);
}

// The arguments may point into the target's own buffer: expand into a fresh string, then take it.
template <class StringT, class CharT> void formatFresh(StringT& target, const CharT* format, va_list args)
{
    StringT formatted;
    expandInto(formatted, format, args);
    target = formatted;
}

} // namespace

void CZR_ByteString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CZR_ByteString::FormatV(const char* format, va_list args)
{
    formatFresh(*this, format, args);
}

void CZR_WideString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CZR_WideString::FormatV(const wchar_t* format, va_list args)
{
    formatFresh(*this, format, args);
}

CZR_ByteString CZR_ByteString::FormatInteger(int value, unsigned flags)
{
    const char* digits = (flags & 6) == 6 ? "0123456789ABCDEF" : "0123456789abcdef";
    unsigned radix = (flags & 2) ? 16 : 10;
    bool negative = (flags & 1) && value < 0;
    unsigned magnitude = negative ? 0u - unsigned(value) : unsigned(value);
    char scratch[16];
    char* end = scratch + sizeof(scratch);
    char* out = end;
    do {
        *--out = digits[magnitude % radix];
        magnitude /= radix;
    } while (magnitude);
    if (negative)
        *--out = '-';
    return CZR_ByteString(out, int(end - out));
}

CZR_ByteString CZR_ByteString::FormatInteger64(long long value)
{
    char digits[24];
    return CZR_ByteString(ZRSYS_i64toa(value, digits, 10));
}

CZR_ByteString CZR_ByteString::FormatFloat(float value, int flag)
{
    char digits[64];
    int length = ZR_ftoa_s(value, digits, flag);
    return CZR_ByteString(digits, length);
}
