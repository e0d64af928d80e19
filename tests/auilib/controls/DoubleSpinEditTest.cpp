#include "ControlTestSupport.h"

#include "AUILibConfig.h"
#include "DoubleSpinEdit.h"
#include "DoubleSpinEditQt.h"
#include "PicaPoints.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QLocale>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace AUILib {

bool operator==(const PicaPoint& a, const PicaPoint& b)
{
    return a.picas == b.picas && a.points == b.points;
}

void PrintTo(const PicaPoint& value, std::ostream* out)
{
    *out << value.picas << "p" << value.points;
}

} // namespace AUILib

using namespace AUILib;

// These run a second time under a decimal comma. The library's configured decimal character is
// taken to be the system's, as the language and the system agree on a real machine.

namespace {

using Lengths = std::vector<std::tuple<PicaPoint>>;

QString DecimalPoint()
{
    return QLocale::system().decimalPoint();
}

// A pica text as the field shows it, written with "." for the decimal point.
std::string Shown(const char* text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), DecimalPoint()).toStdString();
}

class DoubleSpinEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_configured = GetDecimalChar();
        SetForcedDecimalChar(DecimalPoint().at(0).toLatin1());
        window = std::make_unique<QWidget>();
        other = new QLineEdit(window.get());
        other->setGeometry(10, 50, 160, 30);
        window->show();
        QApplication::setActiveWindow(window.get());
        NewControl();
        ASSERT_TRUE(widget()->hasFocus());
    }
    void TearDown() override { SetForcedDecimalChar(m_configured); }

    // A control in plain mode whose pica mode was never switched, with the focus.
    void NewControl()
    {
        spin.reset();
        spin = std::make_unique<DoubleSpinEdit>();
        spin->Create(window.get());
        widget()->setGeometry(10, 10, 160, 30);
        widget()->show();
        widget()->setFocus();
    }

    DoubleSpinEditQt* widget() { return qobject_cast<DoubleSpinEditQt*>(spin->GetPlatformHandle()); }
    QLineEdit* edit() { return widget()->findChild<QLineEdit*>(); }
    QString text() { return edit()->text(); }
    void ReplaceWith(const std::string& keys)
    {
        edit()->selectAll();
        QTest::keyClicks(widget(), QString::fromStdString(keys));
    }
    void Leave()
    {
        other->setFocus();
        widget()->setFocus();
    }
    void PressArrow(QStyle::SubControl arrow)
    {
        QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, SpinBoxPart(widget(), arrow).center());
    }
    void PicaMode()
    {
        spin->SupportPicaPoints(true);
        spin->SetRange(PicaPoint{0, 0}, PicaPoint{20, 0});
        widget()->setFocus();
    }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<DoubleSpinEdit> spin;
    QLineEdit* other = nullptr;

private:
    char m_configured = '.';
};

} // namespace

TEST_F(DoubleSpinEditTest, OutsidePicaModeThePicaFormsDoNothing)
{
    spin->SetValue(2.5);
    spin->SetValue(PicaPoint{3, 6});
    spin->SetRange(PicaPoint{0, 0}, PicaPoint{1, 0});
    spin->SetStep(PicaPoint{5, 0});
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{0, 0}));
    EXPECT_EQ(spin->GetValue(), 2.5);
    EXPECT_EQ(widget()->maximum(), 99.99);
    widget()->stepBy(1);
    EXPECT_EQ(spin->GetValue(), 3.5);
}

TEST_F(DoubleSpinEditTest, DecimalCharacterReplacesThePointAndADigitIsRefused)
{
    spin->SetValue(2.5);
    const QString before = text();
    spin->SetDecimalChar('5');
    EXPECT_EQ(text(), before);
    spin->SetDecimalChar(',');
    EXPECT_EQ(text(), QStringLiteral("2,50"));
    EXPECT_EQ(widget()->valueFromText(QStringLiteral("3,75")), 3.75);
    spin->SetDecimalChar('#');
    EXPECT_EQ(text(), QStringLiteral("2#50"));
    EXPECT_EQ(widget()->textFromValue(-1.25), QStringLiteral("-1#25"));
}

TEST_F(DoubleSpinEditTest, TypingWithTheDecimalCharacterCommitsTheNumber)
{
    widget()->setLocale(QLocale::system());
    spin->SetDecimalChar('#');
    FiringRecorder<double> values(spin->OnValueChanged);
    ReplaceWith("3#75");
    QTest::keyClick(widget(), Qt::Key_Return);
    EXPECT_EQ(spin->GetValue(), 3.75);
    EXPECT_EQ(text(), QStringLiteral("3#75"));
    ASSERT_FALSE(values.calls.empty());
    EXPECT_EQ(values.calls.back(), std::make_tuple(3.75));
}

TEST_F(DoubleSpinEditTest, WithoutCorrectionAnEntryBeyondABoundSnapsToItAsTheValueIsShown)
{
    widget()->setLocale(QLocale::system());
    spin->LastValidValueCorrection(false);
    struct Case
    {
        double min;
        double max;
        char decimalChar;
        std::string input; // "." for the decimal point
        const char* after;
    };
    const std::string tooLongForDouble(400, '9');
    const Case cases[] = {
        {-10, 10, 0, "50", "10.00"},
        {-10, 10, 0, "-50", "-10.00"},
        {-10, 10, 0, "5", "5"},
        {0, 12345.67, 0, "20000", "12345.67"}, // not 12345.7, which lies beyond the bound
        {-12345.67, 0, 0, "-20000", "-12345.67"},
        {0, 2e6, 0, "3000000", "2000000.00"},
        {-2e6, 0, 0, "-3000000", "-2000000.00"},
        {0, 12345.67, '#', "20000", "12345#67"},
        {0, 2e6, '#', "3000000", "2000000#00"},
        {0, 100, 0, tooLongForDouble, "100.00"},
        {-100, 0, 0, "-" + tooLongForDouble, "-100.00"},
    };
    for (const Case& c : cases) {
        spin->SetRange(c.min, c.max);
        spin->SetDecimalChar(c.decimalChar);
        QString input = QString::fromStdString(c.input).replace(QLatin1Char('.'), DecimalPoint());
        const QString after = QString::fromLatin1(c.after).replace(QLatin1Char('.'), DecimalPoint());
        int pos = input.size();
        const std::string name = c.input.substr(0, 12) + " in " + std::to_string(c.max);
        EXPECT_EQ(widget()->validate(input, pos), QValidator::Acceptable) << name;
        EXPECT_EQ(input.toStdString(), after.toStdString()) << name;
    }

    spin->SetDecimalChar(0);
    spin->SetRange(0, 12345.67);
    spin->SetSuffix(L" pt");
    ReplaceWith("20000");
    EXPECT_EQ(text(), QStringLiteral("12345") + DecimalPoint() + QStringLiteral("67 pt")) << "the keystroke is taken";
    QTest::keyClick(widget(), Qt::Key_Return);
    EXPECT_EQ(spin->GetValue(), 12345.67);
}

TEST_F(DoubleSpinEditTest, PicaRangeAndValueFoldPoints)
{
    PicaMode();
    spin->SetRange(PicaPoint{0, 0}, PicaPoint{10, 6});
    spin->SetValue(PicaPoint{10, 7});
    EXPECT_EQ(text().toStdString(), Shown("10p6.00")) << "the maximum is 10.5 picas";
    spin->SetValue(PicaPoint{1, 14});
    EXPECT_EQ(text(), QStringLiteral("2p2") + DecimalPoint() + QStringLiteral("00"));
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{2, 2}));
    EXPECT_EQ(spin->GetValue(), 2.2) << "the value carries the text";
}

TEST_F(DoubleSpinEditTest, PicaLengthsReadBackAsShown)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    struct Case
    {
        PicaPoint given;
        const char* shown; // "." for the decimal point
        PicaPoint read;
    };
    const Case cases[] = {
        {{3, 6}, "3p6.00", {3, 6}},
        {{1, 10}, "1p10.00", {1, 10}}, // a trailing zero of the points is a digit of its own
        {{-1, 10}, "-1p10.00", {-1, 10}},
        {{0, 10}, "0p10.00", {0, 10}},
        {{0, -10}, "-0p10.00", {0, -10}}, // no picas: the points carry the sign
        {{2, 10.5}, "2p10.50", {2, 10.5}},
        {{-2, 10.25}, "-2p10.25", {-2, 10.25}},
        {{0, -0.5}, "-0p0.50", {0, -0.5}},
        {{-1, 6}, "-1p6.00", {-1, 6}},
        {{0, -6}, "-0p6.00", {0, -6}},
        {{0, 14}, "1p2.00", {1, 2}},
        {{0, -14}, "-1p2.00", {-1, 2}}, // folded by magnitude, the sign kept
        {{-2, 14}, "-3p2.00", {-3, 2}},
        {{1, -14}, "-2p2.00", {-2, 2}},
        {{2, -6}, "-2p6.00", {-2, 6}}, // negative points make the whole length negative
        {{0, -22.5}, "-1p10.50", {-1, 10.5}},
    };
    for (const Case& c : cases) {
        const QString shown = QString::fromLatin1(c.shown).replace(QLatin1Char('.'), DecimalPoint());
        spin->SetValue(c.given);
        EXPECT_EQ(text().toStdString(), shown.toStdString());
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.shown;
        ASSERT_FALSE(lengths.calls.empty());
        EXPECT_EQ(lengths.calls.back(), std::make_tuple(c.read)) << c.shown;

        other->setFocus();
        EXPECT_EQ(text().toStdString(), shown.toStdString()) << "leaving the field keeps the text";
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.shown;
        widget()->setFocus();
    }
}

TEST_F(DoubleSpinEditTest, PicaPrecisionIsThatOfThePointsShown)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 6});
    struct Case
    {
        int decimals;
        PicaPoint given;
        const char* shown; // "." for the decimal point
        PicaPoint read;
    };
    const Case cases[] = {
        {0, {3, 6}, "3p6", {3, 6}},
        {0, {1, 10.25}, "1p10", {1, 10}},
        {0, {0, -10}, "-0p10", {0, -10}},
        {1, {1, 10.25}, "1p10.3", {1, 10.3}},
        {3, {1, 10.25}, "1p10.250", {1, 10.25}},
        {3, {-3, 6}, "-3p6.000", {-3, 6}},
    };
    for (const Case& c : cases) {
        spin->SetPrecision(c.decimals);
        spin->SetValue(PicaPoint{10, 7});
        EXPECT_EQ(text().toStdString().substr(0, 4), "10p6") << "a range in picas keeps its points";
        const QString shown = QString::fromLatin1(c.shown).replace(QLatin1Char('.'), DecimalPoint());
        spin->SetValue(c.given);
        EXPECT_EQ(text().toStdString(), shown.toStdString());
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.shown;
    }
}

TEST_F(DoubleSpinEditTest, PicaStepsStartFromTheLengthShown)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    struct Case
    {
        PicaPoint from;
        PicaPoint step;
        int steps;
        const char* shown; // "." for the decimal point
        PicaPoint to;
    };
    const Case cases[] = {
        {{1, 10}, {1, 0}, 1, "2p10.00", {2, 10}},
        {{1, 6}, {1, 0}, 1, "2p6.00", {2, 6}},
        {{2, 10.5}, {1, 0}, -1, "1p10.50", {1, 10.5}},
        {{-1, 10}, {1, 0}, 1, "-0p10.00", {0, -10}},
        {{0, -10}, {1, 0}, -1, "-1p10.00", {-1, 10}},
        {{-1, 6}, {1, 0}, 1, "-0p6.00", {0, -6}},
        {{0, 11}, {0, 1}, 1, "1p0.00", {1, 0}}, // a whole pica, not 0p12
        {{0, -11}, {0, 1}, -1, "-1p0.00", {-1, 0}},
        {{1, 11}, {0, 1}, 1, "2p0.00", {2, 0}},
    };
    for (const Case& c : cases) {
        const QString shown = QString::fromLatin1(c.shown).replace(QLatin1Char('.'), DecimalPoint());
        spin->SetStep(c.step);
        spin->SetValue(c.from);
        widget()->stepBy(c.steps);
        EXPECT_EQ(text().toStdString(), shown.toStdString());
        EXPECT_EQ(spin->GetPicaPointValue(), c.to) << c.shown;
    }
}

TEST_F(DoubleSpinEditTest, TypingPicaTextReportsEveryKeystroke)
{
    PicaMode();
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    ReplaceWith("3p6");
    EXPECT_EQ(lengths.calls, (Lengths{PicaPoint{3, 0}, PicaPoint{3, 0}, PicaPoint{3, 6}}));
    EXPECT_EQ(spin->GetValue(), 0.0) << "typing leaves the value";

    lengths.calls.clear();
    ReplaceWith("p6");
    EXPECT_EQ(lengths.calls.back(), std::make_tuple(PicaPoint{0, 6}));
    ReplaceWith("2.5");
    EXPECT_EQ(lengths.calls.back(), std::make_tuple(PicaPoint{2, 6}));
    ReplaceWith("2.3333333");
    EXPECT_EQ(lengths.calls.back(), std::make_tuple(PicaPoint{2, 4})) << "a third of a pica is 4 points";

    lengths.calls.clear();
    edit()->selectAll();
    QTest::keyClick(widget(), Qt::Key_Backspace);
    EXPECT_TRUE(lengths.calls.empty()) << "no text, no length";
    EXPECT_EQ(spin->GetValue(), 0.0);
    QTest::keyClicks(widget(), QStringLiteral("3x"));
    EXPECT_EQ(text(), QStringLiteral("3")) << "the pica field refuses other characters";
}

TEST_F(DoubleSpinEditTest, AFractionOfPointsIsTypedWithTheDecimalPointTheFieldShows)
{
    PicaMode();
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    ReplaceWith(Shown("3p6.25"));
    EXPECT_EQ(text().toStdString(), Shown("3p6.25"));
    EXPECT_EQ(lengths.calls.back(), std::make_tuple(PicaPoint{3, 6.25}));
    Leave();
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{3, 6.25}));
    EXPECT_EQ(text().toStdString(), Shown("3p6.25"));

    ReplaceWith("2.5");
    EXPECT_EQ(lengths.calls.back(), std::make_tuple(PicaPoint{2, 6})) << "a plain number of picas keeps its full stop";
}

TEST_F(DoubleSpinEditTest, LeavingThePicaFieldRewritesItWithoutReportingAgain)
{
    PicaMode();
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    ReplaceWith("3p6");
    lengths.calls.clear();
    other->setFocus();
    EXPECT_EQ(text(), QStringLiteral("3p6") + DecimalPoint() + QStringLiteral("00"));
    EXPECT_TRUE(lengths.calls.empty());
    EXPECT_FALSE(spin->OnPicaValueChanged.IsSuppressed());
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{3, 6}));

    spin->SetValue(PicaPoint{4, 0});
    EXPECT_EQ(lengths.calls.back(), std::make_tuple(PicaPoint{4, 0})) << "a value set is reported";
}

TEST_F(DoubleSpinEditTest, TypedPicaTextIsTakenWhenSteppedFrom)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    spin->SetStep(PicaPoint{1, 0});
    struct Case
    {
        PicaPoint taken;
        const char* typed;
        const char* stepped;
        PicaPoint after;
    };
    const Case cases[] = {
        {{1, 5}, "1p10", "2p10.00", {2, 10}}, // more point digits typed than taken
        {{0, -6.5}, "3p6", "4p6.00", {4, 6}}, // a sign and a fraction taken, neither typed
        {{2, 10.5}, "p3", "1p3.00", {1, 3}},
        {{-1, 10}, "2.5", "3p6.00", {3, 6}},
    };
    for (const Case& c : cases) {
        spin->SetValue(c.taken);
        const double carrier = spin->GetValue();
        ReplaceWith(c.typed);
        EXPECT_EQ(spin->GetPicaPointValue(), c.taken) << c.typed << " is not taken yet";
        EXPECT_EQ(spin->GetValue(), carrier) << c.typed;

        PressArrow(QStyle::SC_SpinBoxUp);
        EXPECT_EQ(text().toStdString(), Shown(c.stepped));
        EXPECT_EQ(spin->GetPicaPointValue(), c.after) << c.stepped;
    }
}

TEST_F(DoubleSpinEditTest, ReturnTakesTheTypedLengthAsLeavingTheFieldDoes)
{
    PicaMode(); // from 0 to 20 picas
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    struct Case
    {
        PicaPoint taken;
        const char* typed;
        const char* shown;
        Lengths reported; // by taking it: the typing reported the length typed
    };
    const Case cases[] = {
        {{1, 5}, "2p3", "2p3.00", {}},
        {{1, 5}, "1p10", "1p10.00", {}}, // shares its digit with the one taken
        {{1, 10}, "1p1", "1p1.00", {}}, // and its carrier
        {{0, 6.5}, "3p6", "3p6.00", {}},
        {{1, 5}, "2.5", "2p6.00", {}},
        {{1, 5}, "1p5", "1p5.00", {}}, // nothing changed
        {{1, 5}, "25", "20p0.00", {PicaPoint{20, 0}}}, // not the length typed
        {{20, 0}, "25", "20p0.00", {PicaPoint{20, 0}}}, // nor the one taken before
        {{1, 5}, "1.001", "1p0.01", {PicaPoint{1, 0.01}}}, // 0.012 points, to two decimals
    };
    const std::pair<const char*, std::function<void()>> finishes[] = {
        {"Return", [&] { QTest::keyClick(widget(), Qt::Key_Return); }},
        {"keypad Enter", [&] { QTest::keyClick(widget(), Qt::Key_Enter, Qt::KeypadModifier); }},
        {"leaving", [&] { other->setFocus(); }},
    };
    for (const auto& [finish, finishTyping] : finishes) {
        for (const Case& c : cases) {
            widget()->setFocus();
            spin->SetValue(c.taken);
            ReplaceWith(c.typed);
            lengths.calls.clear();
            finishTyping();
            const std::string name = c.typed + std::string(", ") + finish;
            EXPECT_EQ(text().toStdString(), Shown(c.shown)) << name;
            const PicaPoint read = PicaPointFromEntries(widget()->ParsePica(text()));
            EXPECT_EQ(spin->GetPicaPointValue(), read) << name;
            EXPECT_EQ(lengths.calls, c.reported) << name;
            Leave();
            EXPECT_EQ(spin->GetPicaPointValue(), read) << name << ", then left";
            EXPECT_EQ(lengths.calls, c.reported) << name << ", then left";
        }
    }

    spin->SetValue(PicaPoint{1, 5});
    edit()->selectAll();
    QTest::keyClick(widget(), Qt::Key_Backspace);
    lengths.calls.clear();
    QTest::keyClick(widget(), Qt::Key_Return);
    EXPECT_EQ(text().toStdString(), Shown("1p5.00")) << "an empty field shows the length taken again";
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{1, 5}));
    EXPECT_EQ(lengths.calls, (Lengths{PicaPoint{1, 5}})) << "the empty field reported none";

    spin->SetStep(PicaPoint{1, 0});
    ReplaceWith("2p3");
    QTest::keyClick(widget(), Qt::Key_Up);
    lengths.calls.clear();
    QTest::keyClick(widget(), Qt::Key_Return);
    EXPECT_EQ(text().toStdString(), Shown("3p3.00")) << "Return after a step";
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{3, 3}));
    EXPECT_TRUE(lengths.calls.empty());
}

TEST_F(DoubleSpinEditTest, ALengthBeingTypedIsTakenWhenPicaModeIsTurnedOnAgain)
{
    // A program switching units from a shortcut or a button that takes no focus: the field never loses it.
    PicaMode(); // from 0 to 20 picas
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    struct Case
    {
        const char* typed;
        PicaPoint taken;
        double plain; // the number pica mode leaves
        Lengths reported; // by taking it: the typing reported the length typed
    };
    const Case cases[] = {
        {"2p3", {2, 3}, 2.3, {}},
        {"1p10", {1, 10}, 1.1, {}},
        {"25", {20, 0}, 20, {PicaPoint{20, 0}}},
    };
    for (const Case& c : cases) {
        spin->SetValue(PicaPoint{1, 5});
        ReplaceWith(c.typed);
        lengths.calls.clear();
        spin->SupportPicaPoints(false);
        EXPECT_EQ(spin->GetValue(), c.plain) << c.typed;
        spin->SupportPicaPoints(true);
        EXPECT_EQ(spin->GetPicaPointValue(), c.taken) << c.typed << ", off and on";
        EXPECT_EQ(lengths.calls, c.reported) << c.typed << ", off and on";

        widget()->setFocus();
        spin->SetValue(PicaPoint{1, 5});
        ReplaceWith(c.typed);
        lengths.calls.clear();
        spin->SupportPicaPoints(true);
        EXPECT_EQ(spin->GetPicaPointValue(), c.taken) << c.typed << ", pica mode turned on again";
        EXPECT_EQ(lengths.calls, c.reported) << c.typed << ", pica mode turned on again";
        widget()->setFocus();
    }
}

TEST_F(DoubleSpinEditTest, AHandlerSwitchesPicaModeWhileTheFieldHandlesTheInput)
{
    // A program that switches units as it hears a change: the switch comes while the field, or the box,
    // is still handling the key, the wheel or the leaving that made the change.
    struct Input
    {
        const char* name;
        std::function<void()> prepare; // before the handler listens
        std::function<void()> act;
    };
    const Input inputs[] = {
        {"typing", [&] { edit()->selectAll(); }, [&] { QTest::keyClick(widget(), Qt::Key_2); }},
        // After pica mode was on, the plain box writes 2.5 as 2p5 too: the text reads the same in both modes.
        {"typing what both modes read",
         [&] {
             widget()->setLocale(QLocale::system()); // whose decimal point the decimal character stands for
             ReplaceWith("2p");
         },
         [&] { QTest::keyClick(widget(), Qt::Key_5); }},
        {"Return", [&] { ReplaceWith("25"); }, [&] { QTest::keyClick(widget(), Qt::Key_Return); }},
        {"Up", [] {}, [&] { QTest::keyClick(widget(), Qt::Key_Up); }},
        {"wheel", [] {},
         [&] {
             const QPoint at = widget()->rect().center();
             QWheelEvent wheel(at, widget()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                               Qt::NoModifier, Qt::NoScrollPhase, false);
             QApplication::sendEvent(widget(), &wheel);
         }},
        // Not tracking the keyboard, the plain box takes the number only when the field is left; the
        // pica field takes 25 as the 20 picas of its maximum then.
        {"leaving the field",
         [&] {
             widget()->setKeyboardTracking(false);
             ReplaceWith(widget()->IsPica() ? "25" : "7");
         },
         [&] {
             other->setFocus();
             widget()->setKeyboardTracking(true);
         }},
    };
    enum class Mode { NeverSwitched, Off, On };
    struct Switch
    {
        const char* from;
        Mode mode;
        bool to;
    };
    const Switch switches[] = {
        {"pica mode", Mode::On, false},          {"pica mode", Mode::On, true},
        {"plain mode", Mode::Off, true},         {"plain mode", Mode::Off, false},
        {"a new box", Mode::NeverSwitched, true}, {"a new box", Mode::NeverSwitched, false},
    };
    for (const Input& input : inputs) {
        for (const Switch& s : switches) {
            const std::string name = input.name + std::string(", ") + s.from + (s.to ? " on" : " off");
            NewControl();
            if (s.mode != Mode::NeverSwitched) {
                PicaMode(); // from 0 to 20 picas
                spin->SetStep(PicaPoint{1, 0});
                spin->SupportPicaPoints(s.mode == Mode::On);
            }
            spin->SetValue(1.5);
            bool listening = false;
            const auto switchOnce = [&] {
                if (std::exchange(listening, false))
                    spin->SupportPicaPoints(s.to);
            };
            spin->OnPicaValueChanged.Add([&](PicaPoint) { switchOnce(); });
            spin->OnValueChanged.Add([&](double) { switchOnce(); });
            FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
            FiringRecorder<double> numbers(spin->OnValueChanged);
            input.prepare();
            lengths.calls.clear();
            numbers.calls.clear();
            listening = true;
            input.act();
            EXPECT_FALSE(listening) << name << ": the handler heard no change";
            EXPECT_EQ(lengths.calls.size() + numbers.calls.size(), 1u) << name << ": one change, one report";
            EXPECT_EQ(widget()->IsPica(), s.to) << name;
            EXPECT_EQ(widget()->findChildren<QLineEdit*>().size(), 1) << name;

            // The field goes on in the mode the handler chose.
            widget()->setFocus();
            lengths.calls.clear();
            numbers.calls.clear();
            ReplaceWith(s.to ? "3p6" : "3");
            if (s.to) {
                EXPECT_EQ(lengths.calls, (Lengths{PicaPoint{3, 0}, PicaPoint{3, 0}, PicaPoint{3, 6}})) << name;
                EXPECT_TRUE(numbers.calls.empty()) << name;
            } else {
                EXPECT_EQ(numbers.calls, (std::vector<std::tuple<double>>{3.0})) << name;
                EXPECT_TRUE(lengths.calls.empty()) << name;
            }
            Leave();
            EXPECT_EQ(text(), widget()->textFromValue(widget()->value())) << name;
            EXPECT_EQ(spin->GetPicaPointValue(), (s.to ? PicaPoint{3, 6} : PicaPoint{0, 0})) << name;
        }
    }
}

TEST_F(DoubleSpinEditTest, APlainChangeIsReportedOnceHoweverOftenPicaModeWasSwitched)
{
    struct Change
    {
        const char* name;
        std::function<void()> make;
        std::vector<std::tuple<double>> reported;
    };
    const Change changes[] = {
        {"typing", [&] { ReplaceWith("2p5"); }, {2.0, 2.5}}, // the decimal character stays 'p'
        {"Up", [&] { QTest::keyClick(widget(), Qt::Key_Up); }, {2.5}},
        {"a number set", [&] { spin->SetValue(4.25); }, {4.25}},
    };
    for (int rounds = 1; rounds <= 3; ++rounds) {
        for (const Change& change : changes) {
            NewControl();
            widget()->setLocale(QLocale::system()); // whose decimal point the decimal character stands for
            for (int round = 0; round < rounds; ++round) {
                spin->SupportPicaPoints(true);
                spin->SupportPicaPoints(false);
            }
            spin->SetValue(1.5);
            FiringRecorder<double> numbers(spin->OnValueChanged);
            change.make();
            EXPECT_EQ(numbers.calls, change.reported) << change.name << " after " << rounds << " rounds";
        }
    }
}

TEST(DoubleSpinEditInADialog, TheDefaultButtonPressedByReturnReadsTheTypedLength)
{
    QDialog dialog;
    DoubleSpinEdit spin;
    spin.Create(&dialog);
    spin.SupportPicaPoints(true);
    spin.SetRange(PicaPoint{0, 0}, PicaPoint{20, 0});
    spin.SetValue(PicaPoint{1, 5});
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    std::vector<PicaPoint> read;
    QObject::connect(ok, &QPushButton::clicked, [&] { read.push_back(spin.GetPicaPointValue()); });
    auto* box = qobject_cast<DoubleSpinEditQt*>(spin.GetPlatformHandle());
    box->move(0, 40);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    box->setFocus();
    ASSERT_TRUE(box->hasFocus());
    box->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(box, QStringLiteral("2p3"));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(read.size(), 1u) << "Return presses the default button";
    EXPECT_EQ(read.front(), (PicaPoint{2, 3}));
}

TEST_F(DoubleSpinEditTest, ArrowsStepFromTheLengthBeingTyped)
{
    PicaMode();
    spin->SetRange(PicaPoint{0, 0}, PicaPoint{1, 6});
    using Arrows = std::vector<std::tuple<PicaPoint, double>>;
    FiringRecorder<PicaPoint, double> arrows(spin->OnPicaArrowValueChanged);
    struct Case
    {
        PicaPoint taken;
        PicaPoint step; // a step unlike the last one is applied at the press
        const char* typed;
        Qt::Key key;
        const char* shown;
        Arrows reported;
    };
    const Case cases[] = {
        {{0, 3}, {0, 4}, "1p0", Qt::Key_Up, "1p4.00", {{{1, 4}, 1.0 / 3}}},
        {{0, 3}, {0, 3}, "1p0", Qt::Key_Down, "0p9.00", {{{0, 9}, -0.25}}},
        // the length taken lies at the bound, the one typed does not
        {{1, 6}, {0, 1}, "1p0", Qt::Key_Up, "1p1.00", {{{1, 1}, 1.0 / 12}}},
        {{0, 0}, {0, 1}, "0p6", Qt::Key_Down, "0p5.00", {{{0, 5}, -1.0 / 12}}},
        // the length typed lies at the bound or beyond it, the one taken does not
        {{1, 0}, {0, 1}, "1p6", Qt::Key_Up, "1p6.00", {{{1, 6}, 0.0}}},
        {{1, 0}, {0, 1}, "1p10", Qt::Key_Up, "1p6.00", {{{1, 6}, 0.0}}},
        {{1, 0}, {0, 1}, "0p0", Qt::Key_Down, "0p0.00", {{{0, 0}, 0.0}}},
    };
    for (const Case& c : cases) {
        spin->SetValue(c.taken);
        spin->SetStep(c.step);
        ReplaceWith(c.typed);
        arrows.calls.clear();
        QTest::keyClick(widget(), c.key);
        EXPECT_EQ(text().toStdString(), Shown(c.shown)) << c.typed;
        EXPECT_EQ(arrows.calls, c.reported) << c.typed;
    }

    spin->SetValue(PicaPoint{1, 6});
    PressArrow(QStyle::SC_SpinBoxUp);
    ReplaceWith("1p2");
    PressArrow(QStyle::SC_SpinBoxUp);
    EXPECT_EQ(text().toStdString(), Shown("1p3.00")) << "the up arrow, pressed at the bound taken before";
}

TEST_F(DoubleSpinEditTest, PicaBoundsWithPointsHoldTheLengthWhileTheValueCarriesTheText)
{
    PicaMode();
    struct Case
    {
        PicaPoint min;
        PicaPoint max;
        PicaPoint given;
        const char* shown;
        double carrier;
    };
    const Case cases[] = {
        {{0, 0}, {1, 6}, {1, 6}, "1p6.00", 1.6},
        {{0, 0}, {1, 6}, {1, 7}, "1p6.00", 1.6},
        {{0, 0}, {1, 6}, {1, 10}, "1p6.00", 1.6}, // carried as 1.10, yet beyond 1p6
        {{0, 0}, {1, 6}, {1, 5}, "1p5.00", 1.5},
        {{0, 0}, {1, 6}, {0, 9}, "0p9.00", 0.9},
        {{0, 0}, {1, 6}, {0, -6}, "0p0.00", 0.0}, // the bound, without the sign of the length
        {{0, 0}, {1, 6}, {-3, 0}, "0p0.00", 0.0},
        {{-1, 6}, {0, 0}, {-1, 10}, "-1p6.00", -1.6},
        {{-1, 6}, {0, 0}, {0, -11}, "-0p11.00", -0.11},
        {{0, 3}, {1, 1}, {0, 2}, "0p3.00", 0.3},
        {{0, 3}, {1, 1}, {1, 1.5}, "1p1.00", 1.1},
    };
    for (const Case& c : cases) {
        spin->SetRange(c.min, c.max);
        spin->SetValue(c.given);
        EXPECT_EQ(text().toStdString(), Shown(c.shown));
        EXPECT_EQ(spin->GetValue(), c.carrier) << c.shown;
    }

    spin->SetRange(PicaPoint{0, 0}, PicaPoint{1, 6});
    ReplaceWith("1p10");
    Leave();
    EXPECT_EQ(text().toStdString(), Shown("1p6.00")) << "a typed length beyond the bound";
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{1, 6}));

    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    spin->SetValue(5.0);
    EXPECT_EQ(text().toStdString(), Shown("1p6.00")) << "a carrier set for a length beyond the bound";
    EXPECT_EQ(spin->GetValue(), 1.6);
    EXPECT_TRUE(lengths.calls.empty()) << "the length stayed 1p6";

    spin->SetRange(0.0, 1.1); // 1p1.2, in picas
    EXPECT_EQ(text().toStdString(), Shown("1p1.20")) << "a narrower range holds the length set before";
    EXPECT_EQ(widget()->stepEnabled(), QAbstractSpinBox::StepDownEnabled);

    spin->SetRange(PicaPoint{0, 0}, PicaPoint{20, 0});
    spin->SetValue(PicaPoint{5, 0});
    lengths.calls.clear();
    spin->SetRange(PicaPoint{0, 0}, PicaPoint{1, 6});
    EXPECT_EQ(lengths.calls, (Lengths{PicaPoint{1, 6}})) << "a narrower range reports the length it holds, once";
}

TEST_F(DoubleSpinEditTest, ANumberSetInPicaModeIsReadWithItsOwnDigits)
{
    PicaMode();
    struct Case
    {
        PicaPoint before; // its point digits, fraction and sign are not the number's
        double number;
        const char* shown;
        PicaPoint read;
    };
    const Case cases[] = {
        {{1, 10.5}, 2.3, "2p3", {2, 3}},
        {{0, 10}, 1.6, "1p6", {1, 6}},
        {{1, 6}, 2.25, "2p25", {2, 25}},
        {{0, -0.5}, 0.5, "0p5", {0, 5}},
        {{1, 10}, 1.1, "1p10.00", {1, 10}}, // the number carried already keeps its length
    };
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    for (const Case& c : cases) {
        spin->SetValue(c.before);
        spin->SetValue(c.number);
        EXPECT_EQ(text().toStdString(), Shown(c.shown));
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.shown;
        EXPECT_EQ(spin->GetValue(), c.number) << c.shown;
    }

    spin->SetRange(PicaPoint{0, 0}, PicaPoint{1, 6});
    spin->SetValue(PicaPoint{0, 10});
    spin->SetValue(1.5);
    EXPECT_EQ(text().toStdString(), Shown("1p5")) << "1p5 lies within the bounds";

    spin->SetValue(PicaPoint{0, 10});
    spin->SupportPicaPoints(false);
    spin->SetValue(1.5);
    spin->SupportPicaPoints(true);
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{1, 5})) << "pica mode again reads the number afresh";
}

TEST_F(DoubleSpinEditTest, ANumberIsTakenAsTheBoxHoldsIt)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    spin->SetValue(PicaPoint{1, 10});
    lengths.calls.clear();
    spin->SetValue(1.1000001); // the box holds it as 1.1, the carrier of 1p10
    EXPECT_EQ(text().toStdString(), Shown("1p10.00"));
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{1, 10}));
    EXPECT_TRUE(lengths.calls.empty()) << "the length stayed";

    spin->SetRange(PicaPoint{5, 0}, PicaPoint{10, 0});
    spin->SetValue(3.25); // 3p25, that is 5p1, is carried below the box's range
    EXPECT_EQ(text().toStdString(), Shown("5p1.00"));
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{5, 1}));
}

TEST_F(DoubleSpinEditTest, PicaModeReadsTheNumberHeldAsOneSetThen)
{
    struct Case
    {
        double max; // of the plain range, in picas once pica mode is on
        double held;
        const char* shown;
        PicaPoint read;
    };
    const Case cases[] = {
        {10, 2.25, "2p25", {2, 25}},
        {10, 1.5, "1p5", {1, 5}},
        {3, 2.25, "3p0.00", {3, 0}}, // 2p25 lies beyond 3 picas
    };
    for (const Case& c : cases) {
        spin->SupportPicaPoints(false);
        spin->SetRange(0, c.max);
        spin->SetValue(c.held);
        spin->SupportPicaPoints(true);
        EXPECT_EQ(text().toStdString(), Shown(c.shown));
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.shown;
        spin->SetValue(spin->GetValue());
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.shown << ", set again";
    }
}

TEST_F(DoubleSpinEditTest, ALengthNobodyChangedComesBackWhenPicaModeDoes)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    struct Case
    {
        PicaPoint given;
        const char* shown;
    };
    const Case cases[] = {
        {{1, 10}, "1p10.00"}, // carried as 1.1, which read afresh is 1p1
        {{-1, 10}, "-1p10.00"},
        {{3, 6.5}, "3p6.50"},
        {{0, -0.5}, "-0p0.50"}, // carried as a zero, which holds no sign
        {{2, 11}, "2p11.00"},
    };
    for (const Case& c : cases) {
        spin->SetValue(c.given);
        lengths.calls.clear();
        for (int round = 1; round <= 2; ++round) {
            spin->SupportPicaPoints(false);
            spin->SupportPicaPoints(true);
            EXPECT_EQ(text().toStdString(), Shown(c.shown)) << "round " << round;
            EXPECT_EQ(spin->GetPicaPointValue(), c.given) << c.shown << ", round " << round;
        }
        EXPECT_TRUE(lengths.calls.empty()) << c.shown << " did not change";
    }

    // The plain box holds its number within the range, so the carrier of a length at a bound moves.
    struct AtBound
    {
        PicaPoint min;
        PicaPoint max;
        PicaPoint given;
        double plain;
    };
    const AtBound bounds[] = {
        {{0, 0}, {1, 6}, {1, 6}, 1.5}, // carried as 1.6
        {{-1, 6}, {0, 0}, {-1, 6}, -1.5},
        {{0, 10}, {2, 0}, {0, 10}, 0.83}, // carried as 0.1
    };
    for (const AtBound& b : bounds) {
        spin->SetRange(b.min, b.max);
        spin->SetValue(b.given);
        const std::string shown = text().toStdString();
        lengths.calls.clear();
        spin->SupportPicaPoints(false);
        EXPECT_EQ(spin->GetValue(), b.plain) << shown;
        spin->SupportPicaPoints(true);
        EXPECT_EQ(text().toStdString(), shown);
        EXPECT_EQ(spin->GetPicaPointValue(), b.given) << shown;
        EXPECT_TRUE(lengths.calls.empty()) << shown << " did not change";
    }
}

TEST_F(DoubleSpinEditTest, WhatHappensWhilePicaModeIsOffDecidesTheLengthThatComesBack)
{
    PicaMode();
    struct Case
    {
        const char* name;
        std::function<void()> whileOff;
        const char* shown;
        PicaPoint read;
    };
    const Case cases[] = {
        {"nothing", [] {}, "1p10.00", {1, 10}},
        {"a number set", [&] { spin->SetValue(2.3); }, "2p3", {2, 3}},
        {"the same number set", [&] { spin->SetValue(1.1); }, "1p1", {1, 1}},
        {"a step", [&] { widget()->stepBy(1); }, "2p1", {2, 1}},
        {"a wider range", [&] { spin->SetRange(-5.0, 30.0); }, "1p10.00", {1, 10}},
        {"a range that holds the number, not the length", [&] { spin->SetRange(0.0, 1.5); }, "1p6.00", {1, 6}},
        {"a range that moves the number", [&] { spin->SetRange(0.0, 1.0); }, "1p0.00", {1, 0}},
        // As in pica mode, a range widened again does not bring back the length it moved.
        {"a range that holds the number, not the length, widened again",
         [&] {
             spin->SetRange(0.0, 1.5);
             spin->SetRange(0.0, 20.0);
         },
         "1p6.00", {1, 6}},
        {"a range that moves the number, widened again",
         [&] {
             spin->SetRange(0.0, 1.0);
             spin->SetRange(0.0, 20.0);
         },
         "1p0.00", {1, 0}},
        {"a precision", [&] { spin->SetPrecision(0); }, "1p10.00", {1, 10}},
    };
    for (const Case& c : cases) {
        spin->SetPrecision(2);
        spin->SetRange(PicaPoint{0, 0}, PicaPoint{20, 0});
        spin->SetValue(PicaPoint{1, 10});
        spin->SupportPicaPoints(false);
        c.whileOff();
        spin->SupportPicaPoints(true);
        EXPECT_EQ(text().toStdString(), Shown(c.shown)) << c.name;
        EXPECT_EQ(spin->GetPicaPointValue(), c.read) << c.name;
    }

    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    spin->SetPrecision(2);
    for (const double widenedTo : {5.5, 20.0}) {
        spin->SetRange(PicaPoint{0, 0}, PicaPoint{20, 0});
        spin->SetValue(PicaPoint{5, 10});
        spin->SupportPicaPoints(false);
        spin->SetRange(0.0, 5.5);
        spin->SetRange(0.0, widenedTo);
        lengths.calls.clear();
        spin->SupportPicaPoints(true);
        EXPECT_EQ(lengths.calls, (Lengths{PicaPoint{5, 6}}))
            << "a length held within a narrower range is a change, under a range up to " << widenedTo;
    }
}

TEST_F(DoubleSpinEditTest, ALengthThatSharesItsCarrierIsReportedAsAChange)
{
    PicaMode();
    spin->SetRange(PicaPoint{-10, 0}, PicaPoint{10, 0});
    FiringRecorder<PicaPoint> lengths(spin->OnPicaValueChanged);
    const std::pair<PicaPoint, PicaPoint> cases[] = {
        {{1, 1}, {1, 10}},
        {{1, 10}, {1, 1}},
        {{3, 6.25}, {3, 6.5}},
        {{0, 0.5}, {0, -0.5}},
    };
    for (const auto& [before, after] : cases) {
        spin->SetValue(before);
        lengths.calls.clear();
        spin->SetValue(after);
        EXPECT_EQ(lengths.calls, (Lengths{after})) << after.picas << "p" << after.points;
        spin->SetValue(after);
        EXPECT_EQ(lengths.calls.size(), 1u) << "the same length again is no change";
    }

    spin->SetStep(PicaPoint{0, 0.5});
    spin->SetValue(PicaPoint{3, 6});
    lengths.calls.clear();
    widget()->stepBy(1);
    EXPECT_EQ(lengths.calls, (Lengths{PicaPoint{3, 6.5}})) << "a step by half a point";
}

TEST_F(DoubleSpinEditTest, RangeGivenBeforePicaModeBoundsTheLength)
{
    widget()->setRange(0, 1.5); // as a form sets it
    spin->SupportPicaPoints(true);
    spin->SetValue(PicaPoint{1, 7});
    EXPECT_EQ(text().toStdString(), Shown("1p6.00"));
    spin->SetValue(PicaPoint{0, -1});
    EXPECT_EQ(text().toStdString(), Shown("0p0.00"));

    spin->SupportPicaPoints(false);
    EXPECT_EQ(widget()->minimum(), 0.0);
    EXPECT_EQ(widget()->maximum(), 1.5) << "a plain number has the range again";
}

TEST_F(DoubleSpinEditTest, PicaStepsReachABoundWithPointsAndStopThere)
{
    PicaMode();
    spin->SetRange(PicaPoint{0, 0}, PicaPoint{1, 6});
    spin->SetStep(PicaPoint{0, 5});
    spin->SetValue(PicaPoint{0, 10});
    FiringRecorder<PicaPoint, double> arrows(spin->OnPicaArrowValueChanged);
    using Arrows = std::vector<std::tuple<PicaPoint, double>>;

    PressArrow(QStyle::SC_SpinBoxUp);
    EXPECT_EQ(text().toStdString(), Shown("1p3.00"));
    PressArrow(QStyle::SC_SpinBoxUp);
    EXPECT_EQ(text().toStdString(), Shown("1p6.00")) << "1p8 is beyond the bound";
    EXPECT_EQ(widget()->stepEnabled(), QAbstractSpinBox::StepDownEnabled);
    arrows.calls.clear();
    PressArrow(QStyle::SC_SpinBoxUp);
    QTest::keyClick(widget(), Qt::Key_Up);
    EXPECT_EQ(arrows.calls, (Arrows{{PicaPoint{1, 6}, 0.0}, {PicaPoint{1, 6}, 0.0}})) << "the arrow at the bound";
    EXPECT_EQ(text().toStdString(), Shown("1p6.00"));

    spin->SetValue(PicaPoint{0, 3});
    widget()->stepBy(-1);
    EXPECT_EQ(text().toStdString(), Shown("0p0.00"));
    EXPECT_EQ(widget()->stepEnabled(), QAbstractSpinBox::StepUpEnabled);
    arrows.calls.clear();
    QTest::keyClick(widget(), Qt::Key_Down);
    EXPECT_TRUE(arrows.calls.empty()) << "the length changed since the last press";
    QTest::keyClick(widget(), Qt::Key_Down);
    EXPECT_EQ(arrows.calls, (Arrows{{PicaPoint{0, 0}, 0.0}}));
}

TEST_F(DoubleSpinEditTest, AnOverlongPicaCountStandsAtTheMaximum)
{
    PicaMode(); // up to 20 picas
    for (const std::string& typed : {std::string("99999999999p0"), std::string("99999999999"),
                                     std::string(400, '9'), std::string(400, '9') + "p6", std::string("25p0")}) {
        ReplaceWith(typed);
        Leave();
        EXPECT_EQ(text().toStdString(), Shown("20p0.00")) << typed.substr(0, 14);
        EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{20, 0})) << typed.substr(0, 14);
    }
}

TEST_F(DoubleSpinEditTest, LeavingThePicaFieldWithoutCorrectionKeepsTheLength)
{
    PicaMode(); // from 0 to 20 picas
    spin->LastValidValueCorrection(false);
    struct Case
    {
        PicaPoint taken;
        const char* typed; // nothing: the field is only passed through
        const char* shown;
    };
    const Case cases[] = {
        {{3, 6}, nullptr, "3p6.00"},
        {{3, 6.5}, nullptr, "3p6.50"},
        {{20, 0}, nullptr, "20p0.00"},
        {{0, 0}, nullptr, "0p0.00"},
        {{3, 6}, "4p3", "4p3.00"},
        {{3, 6}, "p6", "0p6.00"},
        {{3, 6}, "25", "20p0.00"},
        {{3, 6}, "0p0", "0p0.00"},
    };
    for (const Case& c : cases) {
        spin->SetValue(c.taken);
        if (c.typed)
            ReplaceWith(c.typed);
        Leave();
        EXPECT_EQ(text().toStdString(), Shown(c.shown)) << (c.typed ? c.typed : "passed through");
    }
}

TEST_F(DoubleSpinEditTest, PicaStepsGoInPicaUnits)
{
    PicaMode();
    spin->SetStep(PicaPoint{0, 6});
    spin->SetValue(PicaPoint{3, 6});
    FiringRecorder<PicaPoint, double> arrows(spin->OnPicaArrowValueChanged);
    widget()->stepBy(1);
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{4, 0}));
    widget()->stepBy(-3);
    EXPECT_EQ(spin->GetPicaPointValue(), (PicaPoint{2, 6}));
    EXPECT_EQ(text(), QStringLiteral("2p6") + DecimalPoint() + QStringLiteral("00"));
    using Arrows = std::vector<std::tuple<PicaPoint, double>>;
    EXPECT_EQ(arrows.calls, (Arrows{{PicaPoint{4, 0}, 0.5}, {PicaPoint{2, 6}, -1.5}}));
}

TEST_F(DoubleSpinEditTest, ArrowAtTheMaximumReportsAZeroChangeInBothModes)
{
    FiringRecorder<double, double> arrows(spin->OnArrowValueChanged);
    spin->SetRange(0, 10);
    spin->SetValue(10);
    PressArrow(QStyle::SC_SpinBoxUp);
    EXPECT_TRUE(arrows.calls.empty()) << "the value changed since the last press";
    PressArrow(QStyle::SC_SpinBoxUp);
    QTest::keyClick(widget(), Qt::Key_Up);
    using Plain = std::vector<std::tuple<double, double>>;
    EXPECT_EQ(arrows.calls, (Plain{{10.0, 0.0}, {10.0, 0.0}}));

    PicaMode();
    spin->SetValue(PicaPoint{20, 0});
    FiringRecorder<PicaPoint, double> picaArrows(spin->OnPicaArrowValueChanged);
    PressArrow(QStyle::SC_SpinBoxUp);
    PressArrow(QStyle::SC_SpinBoxUp);
    using Pica = std::vector<std::tuple<PicaPoint, double>>;
    EXPECT_EQ(picaArrows.calls, (Pica{{PicaPoint{20, 0}, 0.0}}));
    EXPECT_EQ(arrows.calls.size(), 2u) << "pica mode reports through its own list";
}

TEST_F(DoubleSpinEditTest, SuffixIsTheBoxsAndBackspaceStopsInFrontOfIt)
{
    spin->SetSuffix(L" pt");
    EXPECT_EQ(spin->GetSuffix(), L" pt");
    spin->SetValue(2.5);
    EXPECT_TRUE(text().endsWith(QStringLiteral(" pt")));
    edit()->setCursorPosition(text().size());
    QTest::keyClick(widget(), Qt::Key_Backspace);
    EXPECT_TRUE(text().endsWith(QStringLiteral(" pt")));
    EXPECT_EQ(edit()->cursorPosition(), text().size() - 3);
}

TEST_F(DoubleSpinEditTest, WidgetOutlivesItsControlInPicaMode)
{
    PicaMode();
    QPointer<DoubleSpinEditQt> box = widget();
    spin.reset();
    ASSERT_TRUE(box);
    QLineEdit* field = box->findChild<QLineEdit*>();
    box->setFocus();
    field->selectAll();
    QTest::keyClicks(box, QStringLiteral("3p6"));
    other->setFocus();
    EXPECT_TRUE(field->text().startsWith(QStringLiteral("3p6")));
    box->stepBy(1);
    EXPECT_TRUE(field->text().startsWith(QStringLiteral("4p6")));
}

TEST(DoubleSpinEdit, GoneWidgetAnswersNeutrally)
{
    DoubleSpinEdit spin;
    delete spin.GetPlatformHandle();
    spin.SupportPicaPoints(true);
    spin.SetRange(1.0, 2.0);
    spin.SetValue(1.5);
    spin.SetValue(PicaPoint{1, 1});
    spin.SetStep(0.5);
    spin.SetPrecision(3);
    spin.SetSuffix(L"x");
    spin.SetDecimalChar(',');
    spin.SetBalloonNaNtext(L"t", L"x");
    spin.LastValidValueCorrection(false);
    EXPECT_EQ(spin.GetValue(), 0.0);
    EXPECT_EQ(spin.GetPicaPointValue(), (PicaPoint{0, 0}));
    EXPECT_EQ(spin.GetSuffix(), L"");
}
