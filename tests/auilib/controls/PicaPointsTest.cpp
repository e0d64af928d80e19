#include "PicaPoints.h"

#include <gtest/gtest.h>

using namespace AUILib;

// These hold whatever the process locale: the second run of these tests is under a decimal comma.

TEST(PicaPoints, ValueInPicasFoldsPointsOfTwelveAndMore)
{
    struct Case
    {
        PicaPoint length;
        double picas;
    };
    const Case cases[] = {
        {{3, 6}, 3.5},
        {{1, 14}, 2.0 + 2.0 / 12},
        {{-1, 14}, -(2.0 + 2.0 / 12)},
        {{0, 12}, 1.0},
        {{10, 6}, 10.5},
        {{0, -6}, -0.5},
        {{2, -6}, -2.5}, // negative points make the whole length negative
        {{0, 0}, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(PicaToValue(c.length), c.picas) << c.length.picas << "p" << c.length.points;
}

TEST(PicaPoints, FoldingMovesPicasAwayFromZeroByMagnitude)
{
    struct Case
    {
        PicaPoint length;
        PicaPoint folded;
    };
    const Case cases[] = {
        {{1, 14}, {2, 2}},
        {{-1, 14}, {-2, 2}},
        {{0, 14}, {1, 2}},
        {{0, -14}, {-1, 2}}, // a negative length folds as its positive one, the sign kept
        {{1, -14}, {-2, 2}},
        {{-1, -14}, {-2, 2}},
        {{0, -22.5}, {-1, 10.5}},
        {{2, -6}, {-2, 6}},
        {{0, -10}, {0, -10}}, // no picas: the points keep the sign
        {{-1, 10}, {-1, 10}},
        {{3, 6}, {3, 6}},
    };
    for (const Case& c : cases) {
        const PicaPoint folded = FoldedPicaPoint(c.length);
        EXPECT_EQ(folded.picas, c.folded.picas) << c.length.picas << "p" << c.length.points;
        EXPECT_DOUBLE_EQ(folded.points, c.folded.points) << c.length.picas << "p" << c.length.points;
        EXPECT_DOUBLE_EQ(PicaToValue(folded), PicaToValue(c.length)) << c.length.picas << "p" << c.length.points;
    }
    const PicaPoint huge = FoldedPicaPoint({0, 1e300});
    EXPECT_GT(huge.picas, 0) << "points beyond 32 bits saturate instead of overflowing";
}

TEST(PicaPoints, TextIsPicasPAndPointsWithTheGivenDecimals)
{
    struct Case
    {
        PicaPoint length;
        int decimals;
        char decimalChar;
        const char* text;
    };
    const Case cases[] = {
        {{3, 6}, 2, '.', "3p6.00"},
        {{1, 14}, 2, '.', "2p2.00"},
        {{-1, 14}, 2, '.', "-2p2.00"},
        {{0, -6}, 2, '.', "-0p6.00"},
        {{0, -14}, 2, '.', "-1p2.00"},
        {{2, -6}, 2, '.', "-2p6.00"},
        {{0, -10.5}, 2, '.', "-0p10.50"},
        {{0, 11.999}, 2, '.', "1p0.00"}, // points that round to 12 are a pica
        {{1, -11.999}, 2, '.', "-2p0.00"},
        {{0, 11.994}, 2, '.', "0p11.99"},
        {{0, -0.001}, 2, '.', "0p0.00"},
        {{3, 6.5}, 1, ',', "3p6,5"},
        {{3, 6}, 0, '.', "3p6"},
        {{5000000000LL, 0}, 1, '.', "5000000000p0.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PicaText(c.length, c.decimals, QLatin1Char(c.decimalChar)), QString::fromLatin1(c.text)) << c.text;
}

TEST(PicaPoints, ParsingReadsPicaTextAndPlainDecimalPicas)
{
    struct Case
    {
        const char* text;
        char separator;
        char decimalPoint;
        QStringList entries;
    };
    const Case cases[] = {
        {"3p6", 'p', '.', {"3p6", "3", "6", ""}},
        {"-1p6.00", 'p', '.', {"-1p6.00", "-1", "6", ".00"}},
        {"-0p6", 'p', '.', {"-0p6", "-0", "6", ""}},
        {"p6", 'p', '.', {"0p6", "0", "6", ""}},
        {"3p", 'p', '.', {"3p", "3", "", ""}},
        {"3p6.25", 'p', '.', {"3p6.25", "3", "6", ".25"}},
        {"3p6,25", 'p', ',', {"3p6,25", "3", "6", ",25"}},
        {"3p6,25", 'p', '.', {"3p6", "3", "6", ""}},
        {"x3p10", 'p', '.', {"3p10", "3", "10", ""}},
        {"2.5", 'p', '.', {"2.5", "2", "6", ""}},
        {"2.25", 'p', '.', {"2.25", "2", "3", ""}},
        {"2.3", 'p', '.', {"2.3", "2", "3", ".6"}},
        {"-2.3", 'p', '.', {"-2.3", "-2", "-3", ".6"}},
        {"-0.5", 'p', '.', {"-0.5", "-0", "-6", ""}},
        {"2.3333333", 'p', '.', {"2.3333333", "2", "4", ""}}, // 3.9999996 points are 4
        {"2.99999999", 'p', '.', {"2.99999999", "3", "0", ""}},
        {"2.000001", 'p', '.', {"2.000001", "2", "0", ".000012"}}, // never an exponent
        {"2.0000008", 'p', '.', {"2.0000008", "2", "0", ".00001"}},
        {"12", 'p', '.', {"12", "12", "0", ""}},
        {"3,6", ',', '.', {"3,6", "3", "6", ""}},
        {"3,6.5", ',', '.', {"3,6.5", "3", "6", ".5"}},
        {"3.6", '.', ',', {"3.6", "3", "6", ""}},
        {"3.6,5", '.', ',', {"3.6,5", "3", "6", ",5"}},
        // The separator is a character, never a pattern: "." matches nothing else, "+" repeats nothing.
        {"12x.5", '.', ',', {}},
        {"3+6", '+', '.', {"3+6", "3", "6", ""}},
        {"", 'p', '.', {}},
        {"p", 'p', '.', {"0p", "0", "", ""}},
        {"99999999999", 'p', '.', {"99999999999", "99999999999", "0", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PicaParse(QString::fromLatin1(c.text), QLatin1Char(c.separator), QLatin1Char(c.decimalPoint)),
                  c.entries)
            << '"' << c.text << "\" with " << c.separator << " and " << c.decimalPoint;
    }
    const QStringList tooLongForDouble = PicaParse(QString(400, QLatin1Char('9')), QLatin1Char('p'), QLatin1Char('.'));
    ASSERT_FALSE(tooLongForDouble.isEmpty()) << "a number too long for a double is still a length";
    EXPECT_EQ(PicaPointFromEntries(tooLongForDouble).picas, 2147483647);
}

TEST(PicaPoints, EntriesGiveTheLengthWhateverTheDecimalPointOfTheFraction)
{
    struct Case
    {
        QStringList entries;
        std::int64_t picas;
        double points;
    };
    const Case cases[] = {
        {{"3p6", "3", "6", ""}, 3, 6.0},
        {{"3p6.25", "3", "6", ".25"}, 3, 6.25},
        {{"3p6,25", "3", "6", ",25"}, 3, 6.25},
        {{"-2.3", "-2", "-3", ".6"}, -2, -3.6},
        {{"-1p6", "-1", "6", ""}, -1, 6.0},
        {{"-0p6.5", "-0", "6", ".5"}, 0, -6.5}, // no picas: the sign goes to the points
        {{"-0.5", "-0", "-6", ""}, 0, -6.0},
        {{"3p", "3", "", ""}, 3, 0.0},
        {{"99999999999p1", "99999999999", "1", ""}, 2147483647, 1.0}, // beyond 32 bits: the end of them
        {{"-99999999999p1", "-99999999999", "1", ""}, -2147483648LL, 1.0},
        {{"99999999999", "99999999999", "0", ""}, 2147483647, 0.0},
    };
    for (const Case& c : cases) {
        const PicaPoint length = PicaPointFromEntries(c.entries);
        EXPECT_EQ(length.picas, c.picas) << c.entries.first().toStdString();
        EXPECT_DOUBLE_EQ(length.points, c.points) << c.entries.first().toStdString();
    }
}
