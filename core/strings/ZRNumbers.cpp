#include "strings/ZRNumbers.h"

#include "system/ZRCLocale.h"
#include "system/ZRSYS_Runtime.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstring>
#include <limits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

int g_iPrecision = 0;

namespace {

constexpr unsigned kFractionWeights[9] = {429496730, 42949673, 4294967, 429497, 42950, 4295, 429, 43, 4};

bool isDigit(int c) { return c >= '0' && c <= '9'; }

// Multiplies by ten and adds a digit unless the result would leave the signed range.
template <class Integer> bool accumulate(Integer& value, int digit)
{
    if (value > (std::numeric_limits<Integer>::max() - digit) / 10)
        return false;
    value = value * 10 + digit;
    return true;
}

int writeDecimal(long long value, char* out)
{
    ZRSYS_i64toa(value, out, 10);
    return int(strlen(out));
}

// The fixed form selected by g_iPrecision >= 1.
int writeFixed(float d, char* buf)
{
    int places = g_iPrecision < 8 ? g_iPrecision : 8;
    float a = fabsf(d);
    long long integer = a < 9.2e18f ? static_cast<long long>(a) : LLONG_MAX;
    long long power = 1;
    for (int i = 0; i < places; ++i)
        power *= 10;
    int fraction = ZRSYS_round((a - float(integer)) * float(power));
    if (integer == 0 && fraction == 0) {
        strcpy(buf, "0");
        return 1;
    }
    char* out = buf;
    if (d < 0)
        *out++ = '-';
    out += writeDecimal(integer, out);
    *out++ = '.';
    if (fraction == 0) {
        *out++ = '0';
    } else {
        long long digitScale = power / 10;
        long long remainder = fraction;
        if (remainder % digitScale == 0)
            --remainder;
        while (remainder > 0 && digitScale > 0) {
            *out++ = char('0' + (remainder / digitScale) % 10);
            remainder %= digitScale;
            digitScale /= 10;
        }
    }
    *out = 0;
    return int(out - buf);
}

struct Scaled
{
    int value;
    int scale;
};

Scaled scaleForSixDigits(float a)
{
    int scaled = ZRSYS_round(a);
    if (scaled < 0)
        scaled = INT_MAX;
    int scale = 1;
    int multiplications = 0;
    while (scaled <= 99999 && scale < 1000000 && !(a > 10 && multiplications == 3)) {
        scale *= 10;
        scaled = ZRSYS_round(float(scale) * a);
        ++multiplications;
    }
    return {scaled, scale};
}

int writeScaled(float d, Scaled s, int flag, char* buf)
{
    char* out = buf;
    if (d < 0)
        *out++ = '-';
    out += writeDecimal(s.value / s.scale, out);
    int remainder = s.value % s.scale;
    if (remainder != 0) {
        *out++ = '.';
        for (int scale = s.scale; remainder != 0;) {
            scale /= 10;
            *out++ = char('0' + remainder / scale);
            remainder %= scale;
        }
    } else if (flag > 0) {
        *out++ = '.';
        *out++ = '0';
    }
    return int(out - buf);
}

// Six significant digits for magnitudes below about 0.1, up to 28 decimal places.
int writeSmall(float d, float a, char* buf)
{
    float power = 1;
    for (int i = 0; i < 6; ++i)
        power *= 10;
    int k = 6;
    while (k <= 28 && ZRSYS_round(a * power) < 1) {
        power *= 10;
        ++k;
    }
    if (k > 28) {
        strcpy(buf, "0");
        return 1;
    }
    float t = a * power;
    int integerDigits = 1;
    for (float copy = t * 0.1f; copy >= 1; copy *= 0.1f)
        ++integerDigits;
    int extra = 6 - integerDigits > 0 ? 6 - integerDigits : 0;
    if (k + extra > 28)
        extra = 28 - k;
    float extraPower = 1;
    for (int i = 0; i < extra; ++i)
        extraPower *= 10;
    int v = ZRSYS_round(t * extraPower);
    int places = k + extra;
    while (v != 0 && v % 10 == 0) {
        v /= 10;
        --places;
    }
    char digits[16];
    int digitCount = writeDecimal(v, digits);
    char* out = buf;
    if (d < 0)
        *out++ = '-';
    *out++ = '0';
    *out++ = '.';
    for (int i = digitCount; i < places; ++i)
        *out++ = '0';
    memcpy(out, digits, size_t(digitCount));
    out += digitCount;
    *out = 0;
    return int(out - buf);
}

int writeFloat(float d, char* buf, int flag, bool moreDigitsWhenSmall)
{
    if (g_iPrecision > 0)
        return writeFixed(d, buf);
    strcpy(buf, "0");
    if (d == 0)
        return 1;
    float a = fabsf(d);
    Scaled s = scaleForSixDigits(a);
    if (moreDigitsWhenSmall && s.scale == 1000000 && s.value <= 99999)
        return writeSmall(d, a, buf);
    if (s.value == 0)
        return 1;
    return writeScaled(d, s, flag, buf);
}

} // namespace

void ZR_atofix32(const CZR_ByteStringC& s, int& integer, unsigned& fraction)
{
    integer = 0;
    fraction = 0;
    int length = s.GetLength();
    if (length == 0)
        return;
    int pos = 0;
    bool negative = s[0] == '-';
    if (s[0] == '-' || s[0] == '+')
        ++pos;
    for (; pos < length && isDigit(s[pos]); ++pos) {
        if (!accumulate(integer, s[pos] - '0')) {
            integer = negative ? -16777215 : 16777215;
            return;
        }
    }
    if (negative)
        integer = -integer;
    if (pos < length && s[pos] == '.' && pos + 1 < length) {
        ++pos;
        for (int k = 0; k < 9 && pos < length && isDigit(s[pos]); ++k, ++pos)
            fraction += unsigned(s[pos] - '0') * kFractionWeights[k];
    }
    if (negative && fraction != 0) {
        integer -= 1;
        fraction = 0u - fraction;
    }
}

void ZR_atonum(const CZR_ByteStringC& s, bool& isInteger, void* out, int outSize)
{
    int length = s.GetLength();
    if (length > 0 && memchr(s.GetPtr(), '.', size_t(length))) {
        isInteger = false;
        float value = ZR_atof(s);
        if (outSize == 4 || outSize == 8)
            memcpy(out, &value, sizeof(value));
        return;
    }
    isInteger = true;
    int pos = 0;
    bool negative = length > 0 && s[0] == '-';
    if (length > 0 && (s[0] == '-' || s[0] == '+'))
        ++pos;
    long long value = 0;
    for (; pos < length && isDigit(s[pos]); ++pos) {
        if (!accumulate(value, s[pos] - '0')) {
            value = 0;
            break;
        }
    }
    if (negative)
        value = -value;
    if (outSize == 8) {
        memcpy(out, &value, sizeof(value));
    } else if (outSize == 4) {
        int narrow = static_cast<int>(static_cast<uint32_t>(value));
        memcpy(out, &narrow, sizeof(narrow));
    }
}

float ZR_atof(const CZR_ByteStringC& s)
{
    int length = s.GetLength();
    if (length == 0)
        return 0;
    int pos = 0;
    bool negative = s[0] == '-';
    while (pos < length && (s[pos] == '-' || s[pos] == '+'))
        ++pos;
    if (pos == length)
        return 0;
    int numberStart = pos;
    float value = 0;
    for (; pos < length && s[pos] != '.'; ++pos)
        value = value * 10 + float(s[pos] - '0');
    if (length - pos >= 12) {
        std::string terminated(s.GetPtr() + numberStart, size_t(length - numberStart));
        value = strtof_l(terminated.c_str(), nullptr, ZR_GetCLocale());
    } else if (pos < length) {
        float scale = 0.1f;
        for (++pos; pos < length; ++pos) {
            value += float(s[pos] - '0') * scale;
            scale *= 0.1f;
        }
    }
    return negative ? -value : value;
}

float ZR_wtof(const wchar_t* p, int len)
{
    if (!p || len <= 0)
        return 0;
    int pos = 0;
    bool negative = p[0] == '-';
    if (p[0] == '-' || p[0] == '+')
        ++pos;
    // Accumulated in double precision so that a long integer part keeps its magnitude; the text
    // decides every step, digits or not.
    double integer = 0;
    for (; pos < len && p[pos] != '.'; ++pos)
        integer = integer * 10 + double(p[pos] - '0');
    float fraction = 0;
    if (pos < len && pos + 1 < len) {
        float scale = 0.1f;
        for (++pos; pos < len; ++pos) {
            fraction += float(p[pos] - '0') * scale;
            scale *= 0.1f;
        }
    }
    float value = float(std::clamp(integer, double(-FLT_MAX), double(FLT_MAX))) + fraction;
    return negative ? -value : value;
}

int ZR_ftoa(float d, char* buf, int flag) { return writeFloat(d, buf, flag, false); }
int ZR_ftoa_s(float d, char* buf, int flag) { return writeFloat(d, buf, flag, true); }
