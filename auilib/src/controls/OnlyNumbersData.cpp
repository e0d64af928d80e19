#include "OnlyNumbersData.h"

#include "AUILibConfig.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <iomanip>
#include <limits>
#include <optional>
#include <sstream>
#include <type_traits>

namespace {

// A stored sign byte as the character it matches; a byte above 127 widens to a negative value,
// which matches no character.
wchar_t SignChar(char sign)
{
    return static_cast<wchar_t>(static_cast<signed char>(sign));
}

char LocaleByte(QChar character)
{
    return character.unicode() > 0xFF ? 0 : static_cast<char>(character.unicode());
}

bool IsAsciiDigit(wchar_t character)
{
    return character >= L'0' && character <= L'9';
}

// The text as the "C" locale writes numbers: the record's signs become "." and "-". Nothing for a
// character that no number has.
std::optional<std::string> ToCNumber(const std::wstring& text, const OnlyNumbersData& data)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (const wchar_t character : text) {
        if (character == SignChar(data.decimalPoint))
            narrow += '.';
        else if (character == SignChar(data.negativeSign))
            narrow += '-';
        else if (IsAsciiDigit(character))
            narrow += static_cast<char>(character);
        else
            return std::nullopt;
    }
    return narrow;
}

// A number too long for its type lies past the type's end on its own side of zero, so that the
// bound on that side still holds it; a decimal too close to zero for a double is zero.
template <typename Number>
Number BeyondRange(const std::string& number)
{
    const bool negative = number.front() == '-';
    if constexpr (std::is_floating_point_v<Number>) {
        const std::string wholePart = number.substr(0, number.find('.'));
        if (wholePart.find_first_of("123456789") == std::string::npos)
            return negative ? -0.0 : 0.0;
    }
    return negative ? std::numeric_limits<Number>::lowest() : std::numeric_limits<Number>::max();
}

// Parsing and formatting go through the "C" locale whatever the process locale says, since the
// record's decimal point follows QLocale, not the C library.
template <typename Number>
std::optional<Number> ParseNumber(const std::wstring& text, const OnlyNumbersData& data)
{
    const std::optional<std::string> narrow = ToCNumber(text, data);
    if (!narrow)
        return std::nullopt;
    Number value{};
    const char* end = narrow->data() + narrow->size();
    const auto [stop, error] = std::from_chars(narrow->data(), end, value);
    if (stop == narrow->data())
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        return BeyondRange<Number>(*narrow);
    if (error != std::errc())
        return std::nullopt;
    return value;
}

// Six decimals, as "%f" writes them, with the record's signs.
std::wstring FormatDecimal(double value, const OnlyNumbersData& data)
{
    std::wostringstream stream;
    stream.imbue(std::locale::classic());
    stream << std::fixed << std::setprecision(6) << value;
    std::wstring text = stream.str();
    for (wchar_t& character : text) {
        if (character == L'.')
            character = SignChar(data.decimalPoint);
        else if (character == L'-')
            character = SignChar(data.negativeSign);
    }
    return text;
}

// A bound written with one decimal place fewer than the field keeps ("10.0" for 10 with two
// decimals), or with all of them where the shorter text would fall outside the bound itself.
std::wstring BoundText(double bound, bool isUpper, const OnlyNumbersData& data)
{
    const wchar_t point = SignChar(data.decimalPoint);
    const std::wstring full = FormatDecimal(bound, data);
    const std::size_t position = full.find(point);
    if (position == std::wstring::npos)
        return full;
    const std::wstring shorter = full.substr(0, position + data.decimals);
    const std::optional<double> shown = ParseNumber<double>(shorter, data);
    const bool outside = !shown || (isUpper ? *shown > bound : *shown < bound);
    return outside ? full.substr(0, position + 1 + data.decimals) : shorter;
}

// Returns whether the text was replaced by a bound; nothing when the text is no number.
std::optional<bool> ClampInteger(const OnlyNumbersData& data, std::wstring& text, bool final)
{
    const std::optional<int> value = ParseNumber<int>(text, data);
    if (!value)
        return std::nullopt;
    bool clamped = data.maxInt != INT_MAX && *value > data.maxInt;
    if (clamped)
        text = std::to_wstring(data.maxInt);
    if (data.minInt != INT_MIN && *value < data.minInt && (data.minInt < 0 || final)) {
        text = std::to_wstring(data.minInt);
        clamped = true;
    }
    return clamped;
}

std::optional<bool> ClampDecimal(const OnlyNumbersData& data, std::wstring& text, bool final)
{
    const std::optional<double> value = ParseNumber<double>(text, data);
    if (!value)
        return std::nullopt;
    const bool hasUpperBound = std::fabs(data.maxDouble - INT_MAX) >= 0.01;
    bool clamped = hasUpperBound && *value > data.maxDouble;
    if (clamped)
        text = BoundText(data.maxDouble, true, data);
    if ((data.minDouble < 0 || final) && *value < data.minDouble) {
        text = BoundText(data.minDouble, false, data);
        clamped = true;
    }
    return clamped;
}

void ShowPrompt(const std::shared_ptr<AUILib::PromptsPopup>& prompt, bool show)
{
    if (prompt)
        prompt->Show(show, -1, -1);
}

} // namespace

OnlyNumbersData::OnlyNumbersData()
{
    InitLocaleSigns(decimalPoint, negativeSign, positiveSign);
}

void InitLocaleSigns(char& decimalPoint, char& negativeSign, char& positiveSign)
{
    const QLocale locale;
    decimalPoint = LocaleByte(locale.decimalPoint());
    negativeSign = LocaleByte(locale.negativeSign());
    positiveSign = LocaleByte(locale.positiveSign());
}

std::wstring NormalizeArabicDigits(const std::wstring& text)
{
    if (AUILib::GetReadingDirection() == AUILib::ReadingDirection::LeftToRight)
        return text;
    char decimalPoint = 0;
    char negativeSign = 0;
    char positiveSign = 0;
    InitLocaleSigns(decimalPoint, negativeSign, positiveSign);
    std::wstring normalized;
    normalized.reserve(text.size());
    for (const wchar_t character : text) {
        if (character >= 0x0660 && character <= 0x0669)
            normalized += static_cast<wchar_t>(L'0' + (character - 0x0660));
        else if (character >= 0x06F0 && character <= 0x06F9)
            normalized += static_cast<wchar_t>(L'0' + (character - 0x06F0));
        else if (character == 0x066B)
            normalized += SignChar(decimalPoint);
        else if (character == 0x2212)
            normalized += SignChar(negativeSign);
        else if (character != 0x061C && character != 0x066C)
            normalized += character;
    }
    return normalized;
}

bool IsNumberText(OnlyNumbersData& data, const std::wstring& text)
{
    if (text.empty())
        return false;
    std::wstring normalized = NormalizeArabicDigits(text);
    if (data.allowNegative && !normalized.empty() && normalized.front() == SignChar(data.negativeSign))
        normalized.erase(0, 1);
    const wchar_t point = SignChar(data.decimalPoint);
    bool afterPoint = false;
    for (const wchar_t character : normalized) {
        if (afterPoint)
            ++data.digitsAfterPoint;
        if (IsAsciiDigit(character))
            continue;
        if (data.integersOnly || character != point || afterPoint)
            return false;
        afterPoint = true;
    }
    return true;
}

void FilterNumberText(OnlyNumbersData& data, std::wstring& text, bool final)
{
    if (data.enabled == 0 || text.empty())
        return;
    bool rejected = false;
    while (!IsNumberText(data, text)) {
        rejected = true;
        text.pop_back();
        if (text.empty())
            break;
    }
    if (!data.integersOnly) {
        const std::size_t position = text.find(SignChar(data.decimalPoint));
        if (position != std::wstring::npos)
            text.erase(std::min(text.size(), position + 1 + data.decimals));
    }
    ShowPrompt(data.invalidPrompt, rejected);
    if (text.empty())
        return;
    if (text.size() == 1 && text.front() == SignChar(data.negativeSign)) {
        ShowPrompt(data.rangePrompt, false);
        return;
    }
    const std::optional<bool> clamped
        = data.integersOnly ? ClampInteger(data, text, final) : ClampDecimal(data, text, final);
    if (clamped)
        ShowPrompt(data.rangePrompt, *clamped);
}
