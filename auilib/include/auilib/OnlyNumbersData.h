#pragma once

#include "PromptsPopup.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <string>

// Number-only input of an edit field: the rules, and the two pop-ups that tell the user when a
// character was refused or the value was held within its bounds.
struct OnlyNumbersData
{
    OnlyNumbersData();

    std::int32_t enabled = 0;
    int minInt = INT_MIN; // INT_MIN: no lower bound
    int maxInt = INT_MAX; // INT_MAX: no upper bound
    double minDouble = INT_MIN;
    double maxDouble = INT_MAX; // within 0.01 of INT_MAX: no upper bound
    bool allowNegative = true;
    bool integersOnly = true;
    int decimals = 2;
    // Every character seen after a decimal point by IsNumberText, over the record's life.
    int digitsAfterPoint = 0;
    // The default locale's signs, one byte each (0 for a character above U+00FF).
    char decimalPoint = 0;
    char negativeSign = 0;
    char positiveSign = 0;
    std::shared_ptr<AUILib::PromptsPopup> invalidPrompt;
    std::shared_ptr<AUILib::PromptsPopup> rangePrompt;
};

// Cuts `text` back to a number and holds it within the record's bounds. A lower bound of 0 or more
// is applied only when `final`, so that the first digits of a larger number can be typed.
void FilterNumberText(OnlyNumbersData& data, std::wstring& text, bool final);
bool IsNumberText(OnlyNumbersData& data, const std::wstring& text);
// Under right-to-left reading, Arabic-Indic digits and signs as their ASCII counterparts.
std::wstring NormalizeArabicDigits(const std::wstring& text);
void InitLocaleSigns(char& decimalPoint, char& negativeSign, char& positiveSign);
