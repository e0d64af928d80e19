#include "ControlTestSupport.h"

#include "SpinEdit.h"
#include "SpinEditQt.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>

using namespace AUILib;

namespace {

using Values = std::vector<std::tuple<long long>>;
using Arrows = std::vector<std::tuple<long long, long long>>;

class SpinEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        spin.Create(&window);
        widget()->setGeometry(10, 10, 160, 30);
        other.setGeometry(10, 50, 160, 30);
        window.show();
        QApplication::setActiveWindow(&window);
        widget()->setFocus();
        ASSERT_TRUE(widget()->hasFocus());
    }
    SpinEditQt* widget() { return qobject_cast<SpinEditQt*>(spin.GetPlatformHandle()); }
    QLineEdit* edit() { return widget()->findChild<QLineEdit*>(); }
    QString text() { return edit()->text(); }
    // What the user types into the field, replacing what was selected.
    void Type(const char* keys)
    {
        QTest::keyClicks(widget(), QString::fromLatin1(keys));
    }
    void ReplaceWith(const char* keys)
    {
        edit()->selectAll();
        Type(keys);
    }
    QPoint ArrowCentre(QStyle::SubControl arrow) { return SpinBoxPart(widget(), arrow).center(); }

    QWidget window;
    QLineEdit other{&window};
    SpinEdit spin;
    FiringRecorder<long long> values{spin.OnValueChanged};
    FiringRecorder<long long, long long> arrows{spin.OnArrowValueChanged};
};

} // namespace

TEST_F(SpinEditTest, NewControlShowsZeroAndSettersBringTheValueIntoRange)
{
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(spin.GetValue(), 0);
    spin.SetRange(50, 10);
    EXPECT_EQ(text(), QStringLiteral("10"));
    EXPECT_EQ(values.calls, (Values{10}));
    spin.SetRange(0, 100);
    spin.SetValue(500);
    spin.SetValue(500);
    EXPECT_EQ(text(), QStringLiteral("100"));
    EXPECT_EQ(values.calls, (Values{10, 100})) << "an unchanged value is not reported";
    spin.SetValue(-3);
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(spin.GetValue(), 0);
}

TEST_F(SpinEditTest, ValidationAcceptsPartialEntriesAndRefusesTheRest)
{
    const auto Invalid = QValidator::Invalid;
    const auto Acceptable = QValidator::Acceptable;
    struct Case
    {
        long long min;
        long long max;
        bool correction;
        const char* suffix;
        const char* input;
        int pos;
        QValidator::State state;
        const char* after;
        int posAfter;
        long long typed;
    };
    const Case cases[] = {
        {0, 100, true, "", "", 0, Acceptable, "", 0, 0},
        {0, 100, true, "", "42", 2, Acceptable, "42", 2, 42},
        {0, 100, true, "", "-", 1, Invalid, "-", 1, -1},
        {0, 100, true, "", "500", 3, Invalid, "500", 3, -1},
        {0, 100, true, "", "4x", 2, Invalid, "4x", 2, -1},
        {0, 100, false, "", "500", 3, Acceptable, "100", 3, 100},
        {10, 100, true, "", "5", 1, Acceptable, "5", 1, 5},
        {10, 100, true, "", "0", 1, Acceptable, "0", 1, 0},
        {10, 100, false, "", "5", 1, Acceptable, "5", 1, 5},
        {-100, -10, true, "", "-", 1, Acceptable, "-", 1, 0},
        {-100, -10, true, "", "-5", 2, Acceptable, "-5", 2, -5},
        {-100, -10, true, "", "0", 1, Invalid, "0", 1, -1},
        {-100, -10, true, "", "-500", 4, Invalid, "-500", 4, -1},
        {-100, -10, false, "", "-500", 4, Acceptable, "-100", 4, -100},
        {LLONG_MIN, LLONG_MAX, true, "", "9223372036854775807", 19, Acceptable, "9223372036854775807", 19, LLONG_MAX},
        {LLONG_MIN, LLONG_MAX, true, "", "92233720368547758070", 20, Invalid, "92233720368547758070", 20, -1},
        {LLONG_MIN, LLONG_MAX, true, "", "-92233720368547758080", 21, Invalid, "-92233720368547758080", 21, -1},
        // Beyond 64 bits is beyond the bound on its side.
        {LLONG_MIN, LLONG_MAX, false, "", "-92233720368547758080", 21, Acceptable, "-9223372036854775808", 21, LLONG_MIN},
        {LLONG_MIN, LLONG_MAX, false, "", "92233720368547758070", 20, Acceptable, "9223372036854775807", 20, LLONG_MAX},
        {0, 100, false, "", "99999999999999999999", 20, Acceptable, "100", 20, 100},
        {-100, 100, false, "", "-99999999999999999999", 21, Acceptable, "-100", 21, -100},
        {0, 100, false, " kg", "99999999999999999999 kg", 20, Acceptable, "100 kg", 20, 100},
        {10, 100, false, "", "-99999999999999999999", 21, Acceptable, "10", 21, 10},
        {0, 100, true, " kg", "7 kg", 1, Acceptable, "7 kg", 1, 7},
        {0, 100, true, " kg", "75 kg", 1, Acceptable, "75 kg", 1, 75},
        {0, 100, true, " kg", "7 k", 3, Acceptable, "7 kg", 1, 7},
        {0, 100, true, " kg", "7", 1, Acceptable, "7 kg", 1, 7},
        {0, 100, true, " kg", "", 0, Acceptable, " kg", 0, 0},
        {0, 100, false, " kg", "500 kg", 3, Acceptable, "100 kg", 3, 100},
        {0, 100, true, " kg", "500 kg", 3, Invalid, "500", 3, -1},
    };
    for (const Case& c : cases) {
        spin.SetRange(c.min, c.max);
        spin.LastValidValueCorrection(c.correction);
        spin.SetSuffix(QString::fromLatin1(c.suffix).toStdWString());
        const long long typedBefore = widget()->GetValue();
        QString input = QString::fromLatin1(c.input);
        int pos = c.pos;
        const std::string label = std::string(c.input) + " in " + std::to_string(c.min) + ".." + std::to_string(c.max);
        EXPECT_EQ(widget()->validate(input, pos), c.state) << label;
        EXPECT_EQ(input, QString::fromLatin1(c.after)) << label;
        EXPECT_EQ(pos, c.posAfter) << label;
        EXPECT_EQ(widget()->GetValue(), c.state == Acceptable ? c.typed : typedBefore) << label;
    }
}

TEST_F(SpinEditTest, ReturnAndFocusLossCommitTheTypedNumber)
{
    ReplaceWith("42");
    EXPECT_EQ(spin.GetValue(), 42);
    EXPECT_TRUE(values.calls.empty()) << "typing commits nothing";
    QTest::keyClick(widget(), Qt::Key_Return);
    EXPECT_EQ(values.calls, (Values{42}));

    ReplaceWith("57");
    other.setFocus();
    EXPECT_EQ(values.calls, (Values{42, 57}));
    EXPECT_EQ(text(), QStringLiteral("57"));
}

TEST_F(SpinEditTest, WithCorrectionLeavingAPartialEntryShowsTheLastValidValue)
{
    spin.SetRange(10, 100);
    spin.SetValue(20);
    values.calls.clear();
    ReplaceWith("5");
    EXPECT_EQ(text(), QStringLiteral("5"));
    EXPECT_EQ(spin.GetValue(), 5);
    Type("0");
    Type("0");
    EXPECT_EQ(text(), QStringLiteral("50")) << "500 is refused";
    edit()->selectAll();
    Type("5");
    other.setFocus();
    EXPECT_EQ(text(), QStringLiteral("20"));
    EXPECT_EQ(spin.GetValue(), 20);
    EXPECT_TRUE(values.calls.empty());
}

TEST_F(SpinEditTest, WithoutCorrectionAnEntryBeyondTheBoundSnapsToIt)
{
    spin.LastValidValueCorrection(false);
    ReplaceWith("50");
    EXPECT_EQ(text(), QStringLiteral("50"));
    Type("0");
    EXPECT_EQ(text(), QStringLiteral("100"));
    other.setFocus();
    EXPECT_EQ(values.calls, (Values{100}));
}

TEST_F(SpinEditTest, ArrowsAndKeysAtTheBoundsReportAZeroChange)
{
    spin.SetValue(99);
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, ArrowCentre(QStyle::SC_SpinBoxUp));
    EXPECT_EQ(arrows.calls, (Arrows{{100, 1}}));
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, ArrowCentre(QStyle::SC_SpinBoxUp));
    EXPECT_EQ(arrows.calls, (Arrows{{100, 1}, {100, 0}})) << "the value stayed since the last press";
    QTest::keyClick(widget(), Qt::Key_Up);
    EXPECT_EQ(arrows.calls.back(), std::make_tuple(100LL, 0LL));
    EXPECT_EQ(spin.GetValue(), 100);

    spin.SetValue(0);
    arrows.calls.clear();
    QTest::keyClick(widget(), Qt::Key_Down);
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, ArrowCentre(QStyle::SC_SpinBoxDown));
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, ArrowCentre(QStyle::SC_SpinBoxDown));
    EXPECT_EQ(arrows.calls, (Arrows{{0, 0}, {0, 0}})) << "the first press follows a changed value";
    EXPECT_EQ(values.calls.back(), std::make_tuple(0LL));
}

TEST_F(SpinEditTest, WrappingGoesToTheOtherEndOnlyFromABound)
{
    struct Case
    {
        long long from;
        int steps;
        long long to;
    };
    const Case cases[] = {{100, 1, 0}, {95, 1, 100}, {0, -1, 100}, {5, -1, 0}, {50, 2, 70}};
    widget()->setWrapping(true);
    spin.SetStep(10);
    for (const Case& c : cases) {
        spin.SetValue(c.from);
        arrows.calls.clear();
        widget()->stepBy(c.steps);
        EXPECT_EQ(spin.GetValue(), c.to) << c.from;
        EXPECT_EQ(arrows.calls, (Arrows{{c.to, c.steps * 10}})) << c.from;
        EXPECT_EQ(edit()->selectedText(), text()) << "the number is selected";
    }
}

TEST_F(SpinEditTest, ValuesBeyond32BitsAreHeldShownAndSteppedExactly)
{
    spin.SetRange(0, 10000000000LL);
    spin.SetValue(5000000000LL);
    EXPECT_EQ(text(), QStringLiteral("5000000000"));
    EXPECT_EQ(spin.GetValue(), 5000000000LL);
    spin.SetStep(3000000001LL);
    widget()->stepBy(1);
    EXPECT_EQ(spin.GetValue(), 8000000001LL);
    EXPECT_EQ(values.calls, (Values{5000000000LL, 8000000001LL}));
    EXPECT_EQ(arrows.calls, (Arrows{{8000000001LL, 3000000001LL}}));
}

TEST_F(SpinEditTest, StepsNearTheEndsOf64BitsSaturateBeforeClampOrWrap)
{
    struct Case
    {
        long long min;
        long long max;
        bool wrapping;
        long long from;
        long long step;
        int steps;
        long long to;
        long long change;
    };
    const Case cases[] = {
        {LLONG_MIN, LLONG_MAX, false, LLONG_MAX - 5, LLONG_MAX, 2, LLONG_MAX, LLONG_MAX},
        {LLONG_MIN, LLONG_MAX, false, LLONG_MIN + 5, LLONG_MAX, -2, LLONG_MIN, LLONG_MIN},
        {LLONG_MIN, LLONG_MAX, false, 0, LLONG_MIN, -1, LLONG_MAX, LLONG_MAX},
        // Not yet at the maximum: the step ends on it, not at the far end.
        {-10, LLONG_MAX - 1, true, LLONG_MAX - 6, 10, 1, LLONG_MAX - 1, 10},
        {-10, LLONG_MAX - 1, true, LLONG_MAX - 1, 10, 1, -10, 10},
        {LLONG_MIN + 1, 10, true, LLONG_MIN + 6, 10, -1, LLONG_MIN + 1, -10},
        {LLONG_MIN + 1, 10, true, LLONG_MIN + 1, LLONG_MAX, -3, 10, LLONG_MIN},
    };
    for (const Case& c : cases) {
        widget()->setWrapping(c.wrapping);
        spin.SetRange(c.min, c.max);
        spin.SetStep(c.step);
        spin.SetValue(c.from);
        arrows.calls.clear();
        widget()->stepBy(c.steps);
        EXPECT_EQ(spin.GetValue(), c.to) << c.from << " by " << c.steps << " x " << c.step;
        EXPECT_EQ(arrows.calls, (Arrows{{c.to, c.change}})) << c.from;
    }
}

TEST_F(SpinEditTest, SuffixStaysWholeAndTheCursorInFrontOfIt)
{
    spin.SetSuffix(L" kg");
    EXPECT_EQ(spin.GetSuffix(), L" kg");
    EXPECT_EQ(text(), QStringLiteral("0 kg"));
    spin.SetValue(7);
    EXPECT_EQ(text(), QStringLiteral("7 kg"));

    edit()->setCursorPosition(4);
    QTest::keyClick(widget(), Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("7 kg"));
    EXPECT_EQ(edit()->cursorPosition(), 1);

    edit()->setCursorPosition(4);
    QTest::keyClick(widget(), Qt::Key_Left);
    EXPECT_EQ(edit()->cursorPosition(), 1);
    edit()->setCursorPosition(2);
    QTest::keyClick(widget(), Qt::Key_Right);
    EXPECT_EQ(edit()->cursorPosition(), 4);

    edit()->setCursorPosition(1);
    Type("3");
    QTest::keyClick(widget(), Qt::Key_Return);
    EXPECT_EQ(text(), QStringLiteral("73 kg"));
    EXPECT_EQ(values.calls.back(), std::make_tuple(73LL));
}

TEST_F(SpinEditTest, IdealSizeShowsTheWidestBoundWithItsSuffix)
{
    spin.SetRange(LLONG_MIN, 0);
    spin.SetSuffix(L" kg");
    const Size ideal = spin.IdealSize();
    widget()->resize(ideal.width, ideal.height);
    const QRect field = SpinBoxPart(widget(), QStyle::SC_SpinBoxEditField);
    EXPECT_GE(field.width(), widget()->fontMetrics().horizontalAdvance(QStringLiteral("-9223372036854775808 kg")));
}

TEST_F(SpinEditTest, ReadOnlyBoxNeitherStepsNorOffersTo)
{
    widget()->setReadOnly(true);
    widget()->stepBy(1);
    EXPECT_EQ(spin.GetValue(), 0);
    EXPECT_TRUE(arrows.calls.empty());
    QTest::keyClick(widget(), Qt::Key_Up);
    EXPECT_EQ(spin.GetValue(), 0);
}

TEST(SpinEdit, GoneWidgetAnswersNeutrally)
{
    SpinEdit spin;
    delete spin.GetPlatformHandle();
    spin.SetRange(1, 2);
    spin.SetValue(2);
    spin.SetStep(5);
    spin.SetSuffix(L"x");
    spin.SetBalloonNaNtext(L"t", L"x");
    spin.LastValidValueCorrection(false);
    EXPECT_EQ(spin.GetValue(), 0);
    EXPECT_EQ(spin.GetSuffix(), L"");
}
