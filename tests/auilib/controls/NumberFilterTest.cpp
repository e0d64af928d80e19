#include "AUILibConfig.h"
#include "OnlyNumbersData.h"

#include <QLocale>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

enum class Prompt { Shown, Hidden, Unchanged };

struct Rules
{
    bool enabled = true;
    bool integers = true;
    double min = INT_MIN;
    double max = INT_MAX;
    int decimals = 2;
};

Rules Integers(int min, int max)
{
    return {true, true, double(min), double(max), 2};
}

Rules Decimals(double min, double max, int decimals = 2)
{
    return {true, false, min, max, decimals};
}

OnlyNumbersData MakeRecord(const Rules& rules)
{
    OnlyNumbersData data;
    data.enabled = rules.enabled ? 1 : 0;
    data.integersOnly = rules.integers;
    data.allowNegative = rules.min < 0;
    if (rules.integers) {
        data.minInt = static_cast<int>(rules.min);
        data.maxInt = static_cast<int>(rules.max);
    } else {
        data.minDouble = rules.min;
        data.maxDouble = rules.max;
        data.decimals = rules.decimals;
    }
    return data;
}

struct Case
{
    const char* name;
    Rules rules;
    bool final;
    std::wstring input;
    std::wstring output;
    Prompt invalid;
    Prompt range;
};

// Runs a case with real prompts on a real anchor, once with the prompts hidden beforehand and
// once with them shown, so that "left unchanged" differs from both.
void Check(const Case& c)
{
    QWidget anchor;
    anchor.resize(100, 20);
    for (const bool shownBefore : {false, true}) {
        OnlyNumbersData data = MakeRecord(c.rules);
        data.invalidPrompt = std::make_shared<AUILib::PromptsPopup>();
        data.rangePrompt = std::make_shared<AUILib::PromptsPopup>();
        data.invalidPrompt->Create(&anchor, L"digits only", 0, -1, false);
        data.rangePrompt->Create(&anchor, L"out of range", 0, -1, false);
        data.invalidPrompt->Show(shownBefore, -1, -1);
        data.rangePrompt->Show(shownBefore, -1, -1);

        std::wstring text = c.input;
        FilterNumberText(data, text, c.final);

        auto expected = [shownBefore](Prompt prompt) {
            return prompt == Prompt::Unchanged ? shownBefore : prompt == Prompt::Shown;
        };
        const std::string context = std::string(c.name) + (shownBefore ? " (prompts shown before)" : "");
        EXPECT_EQ(text, c.output) << context;
        EXPECT_EQ(data.invalidPrompt->IsDisplayed(), expected(c.invalid)) << context << ": invalid prompt";
        EXPECT_EQ(data.rangePrompt->IsDisplayed(), expected(c.range)) << context << ": range prompt";
    }
}

using P = Prompt;

} // namespace

TEST(NumberFilterTest, FiltersClampsAndPrompts)
{
    const Rules off{false, true, -10, 50, 2};
    const Case cases[] = {
        {"off", off, false, L"5a", L"5a", P::Unchanged, P::Unchanged},
        {"empty", Integers(-10, 50), false, L"", L"", P::Unchanged, P::Unchanged},
        {"letter cut", Integers(-10, 50), false, L"5a", L"5", P::Shown, P::Hidden},
        {"above maximum", Integers(-10, 50), false, L"60", L"50", P::Hidden, P::Shown},
        {"below negative minimum", Integers(-10, 50), false, L"-20", L"-10", P::Hidden, P::Shown},
        {"lone minus", Integers(-10, 50), false, L"-", L"-", P::Hidden, P::Hidden},
        {"within", Integers(-10, 50), false, L"12", L"12", P::Hidden, P::Hidden},
        {"cut from the end", Integers(-10, 50), false, L"1-2", L"1", P::Shown, P::Hidden},
        {"positive minimum while typing", Integers(10, 50), false, L"3", L"3", P::Hidden, P::Hidden},
        {"positive minimum when final", Integers(10, 50), true, L"3", L"10", P::Hidden, P::Shown},
        {"sign refused", Integers(0, 50), false, L"-5", L"", P::Shown, P::Unchanged},
        {"beyond int, above the maximum", Integers(-10, 50), false, L"99999999999", L"50", P::Hidden, P::Shown},
        {"beyond int, below the minimum", Integers(-10, 50), false, L"-99999999999", L"-10", P::Hidden, P::Shown},
        {"beyond int, below a negative range", Integers(-100, -10), false, L"-99999999999", L"-100", P::Hidden,
         P::Shown},
        {"beyond int without bounds", Integers(INT_MIN, INT_MAX), false, L"99999999999", L"99999999999", P::Hidden,
         P::Hidden},
        {"beyond int without a maximum", Integers(0, INT_MAX), true, L"99999999999", L"99999999999", P::Hidden,
         P::Hidden},
        {"surplus decimals", Decimals(-100, 100), false, L"3.14159", L"3.14", P::Hidden, P::Hidden},
        {"second point", Decimals(-100, 100), false, L"1.2.3", L"1.2", P::Shown, P::Hidden},
        {"lone point", Decimals(-100, 100), false, L".", L".", P::Hidden, P::Unchanged},
        {"decimal maximum", Decimals(0, 10), false, L"12", L"10.0", P::Hidden, P::Shown},
        {"decimal negative minimum", Decimals(-5, 10), false, L"-7", L"-5.0", P::Hidden, P::Shown},
        {"minimum without maximum", Decimals(-5, INT_MAX), false, L"-7", L"-5.0", P::Hidden, P::Shown},
        {"positive minimum without maximum", Decimals(2, INT_MAX), true, L"1", L"2.0", P::Hidden, P::Shown},
        {"bound kept whole", Decimals(0.25, INT_MAX), true, L"0.1", L"0.25", P::Hidden, P::Shown},
        {"negative bound kept whole", Decimals(-100, -0.25), false, L"-0.1", L"-0.25", P::Hidden, P::Shown},
        {"beyond double, above the maximum", Decimals(0, 10), false, std::wstring(400, L'9'), L"10.0", P::Hidden,
         P::Shown},
        {"beyond double, below the minimum", Decimals(-10, 10), false, L"-" + std::wstring(400, L'9'), L"-10.0",
         P::Hidden, P::Shown},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(NumberFilterTest, ArabicIndicDigitsPassOnlyUnderRightToLeft)
{
    const std::wstring arabic = L"\u0661\u0662";
    const std::wstring extended = L"\u06F3\u066B\u06F5";
    {
        OnlyNumbersData data = MakeRecord(Integers(-10, 50));
        std::wstring text = arabic;
        FilterNumberText(data, text, false);
        EXPECT_EQ(text, L"") << "left to right: not digits";
    }
    AUILib::SetReadingDirection(AUILib::ReadingDirection::RightToLeft);
    OnlyNumbersData data = MakeRecord(Decimals(-10, 50));
    std::wstring text = arabic;
    FilterNumberText(data, text, false);
    EXPECT_EQ(text, arabic) << "kept as typed";
    text = extended;
    FilterNumberText(data, text, false);
    EXPECT_EQ(text, extended);
    EXPECT_EQ(NormalizeArabicDigits(L"\u2212\u0661\u066C\u0662\u061C\u066B\u06F9"), L"-12.9");
    AUILib::SetReadingDirection(AUILib::ReadingDirection::LeftToRight);
    EXPECT_EQ(NormalizeArabicDigits(extended), extended);
}

TEST(NumberFilterTest, DecimalCommaFollowsQtNotTheCLibrary)
{
    ASSERT_EQ(std::to_string(0.5).find(','), std::string::npos) << "the C library writes a point here";
    const QLocale previous;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    OnlyNumbersData data = MakeRecord(Decimals(0, 12.4));
    QLocale::setDefault(previous);
    ASSERT_EQ(data.decimalPoint, ',');

    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"12,5", L"12,4"},
        {L"12,345", L"12,34"},
        {L"3,14159", L"3,14"},
        {L"12.5", L"12"},
    };
    for (const auto& [input, output] : cases) {
        std::wstring text = input;
        FilterNumberText(data, text, false);
        EXPECT_EQ(text, output);
    }
}

TEST(NumberFilterTest, LocaleSignsAreBytesOrZero)
{
    const QLocale previous;
    const std::pair<const char*, std::array<char, 3>> locales[] = {
        {"en_US", {'.', '-', '+'}},
        {"de_DE", {',', '-', '+'}},
    };
    for (const auto& [name, signs] : locales) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        char point = 1;
        char minus = 1;
        char plus = 1;
        InitLocaleSigns(point, minus, plus);
        EXPECT_EQ((std::array<char, 3>{point, minus, plus}), signs) << name;
    }
    QLocale::setDefault(QLocale(QStringLiteral("fa_IR")));
    char point = 1;
    char minus = 1;
    char plus = 1;
    InitLocaleSigns(point, minus, plus);
    EXPECT_EQ(point, 0) << "U+066B has no byte";
    QLocale::setDefault(previous);
}
