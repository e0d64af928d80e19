#include "MultiLineEdit.h"

#include "AgnosticUIException.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AUILib;

namespace {

class MultiLineEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        edit = std::make_unique<MultiLineEdit>();
        edit->Create(&window);
        edit->onTextEdited.Add([this] { notifications.push_back("edited"); });
        edit->onTextChanged.Add([this] { notifications.push_back("changed"); });
        edit->onFocusLost.Add([this] { notifications.push_back("focus lost"); });
        widget()->setGeometry(0, 0, 300, 120);
        window.resize(320, 140);
        window.show();
    }

    QPlainTextEdit* widget() const { return static_cast<QPlainTextEdit*>(edit->GetPlatformHandle()); }

    void paste(const QString& text)
    {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(widget(), QKeySequence::Paste);
    }

    QWidget window;
    std::unique_ptr<MultiLineEdit> edit;
    std::vector<std::string> notifications;
};

using Notifications = std::vector<std::string>;

} // namespace

TEST_F(MultiLineEditTest, ProgramChangesAreNotEdits)
{
    EXPECT_EQ(edit->GetControlType(), ControlType::MultiLineEdit);
    edit->SetText(L"first");
    EXPECT_EQ(notifications, Notifications{"changed"});
    EXPECT_EQ(edit->GetText(), L"first");

    notifications.clear();
    QTest::keyClicks(widget(), "ab");
    EXPECT_EQ(notifications, (Notifications{"edited", "changed", "edited", "changed"}));

    notifications.clear();
    edit->SetText(edit->GetText());
    EXPECT_TRUE(notifications.empty()) << "the same text again is no change";

    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(widget(), &out);
    EXPECT_EQ(notifications, Notifications{"focus lost"});

    edit->SetText(std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(edit->GetText(), L"ab") << "a text ends at its NUL";
}

TEST_F(MultiLineEditTest, TheLimitRemovesWhatIsTypedOrPastedBeyondIt)
{
    edit->SetLimitText(5);
    QTest::keyClicks(widget(), "abcde");
    notifications.clear();
    QTest::keyClicks(widget(), "f");
    EXPECT_EQ(edit->GetText(), L"abcde");
    EXPECT_TRUE(notifications.empty()) << "the text ended as it was";

    widget()->moveCursor(QTextCursor::Start);
    widget()->moveCursor(QTextCursor::Right);
    QTest::keyClicks(widget(), "X");
    EXPECT_EQ(edit->GetText(), L"abcde") << "the character before the cursor goes, wherever it is typed";

    edit->SetLimitText(0);
    edit->SetLimitText(-3);
    edit->SetText(L"");
    notifications.clear();
    paste("0123456789");
    EXPECT_EQ(edit->GetText(), L"01234") << "a limit cannot be removed";
    EXPECT_EQ(notifications, (Notifications{"edited", "changed"})) << "one edit, however much went over";

    edit->SetText(L"far too long");
    EXPECT_EQ(edit->GetText(), L"far too long") << "nothing stands before the cursor at the start";
}

TEST_F(MultiLineEditTest, AHugeInsertionIntoALimitedFieldKeepsItsStart)
{
    edit->SetLimitText(5);
    const QString huge = QString("abcde") + QString(100000 - 5, 'x');
    for (const bool pasted : {true, false}) {
        edit->SetText(L"");
        notifications.clear();
        if (pasted)
            paste(huge);
        else
            widget()->insertPlainText(huge); // not a paste: the text rule removes the surplus
        EXPECT_EQ(edit->GetText(), L"abcde") << pasted;
        EXPECT_EQ(notifications, (Notifications{"edited", "changed"})) << pasted;
    }

    edit->SetLimitText(50000);
    edit->SetText(L"");
    paste(huge);
    EXPECT_EQ(widget()->toPlainText(), huge.left(50000));
}

TEST_F(MultiLineEditTest, APasteEndsAsTheTextRuleWouldLeaveIt)
{
    // The same insertion pasted into one field and inserted by the program into another.
    struct Case
    {
        const char* name;
        QString text;
        int selectionStart;
        int selectionEnd;
        QString inserted;
    };
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const Case cases[] = {
        {"into an empty field", "", 0, 0, "0123456789"},
        {"in the middle", "abc", 1, 1, "0123456789"},
        {"over a selection", "abcdef", 1, 4, "0123456789"},
        {"exactly filling", "abc", 3, 3, "012"},
        {"into a full field", "abcdefgh", 8, 8, "01"},
        {"into a field already over", "abcdefghijkl", 12, 12, "01"},
        {"cut inside a surrogate pair", "abcdef", 6, 6, "0" + emoji + "1"},
        {"cut after a surrogate pair", "abcde", 5, 5, "0" + emoji + "1"},
    };
    MultiLineEdit reference;
    auto* referenceWidget = static_cast<QPlainTextEdit*>(reference.GetPlatformHandle());
    for (MultiLineEdit* field : {edit.get(), &reference})
        field->SetLimitText(8);
    for (const Case& c : cases) {
        for (MultiLineEdit* field : {edit.get(), &reference}) {
            field->SetText(c.text.toStdWString());
            field->SetSel({c.selectionStart, c.selectionEnd});
        }
        paste(c.inserted);
        referenceWidget->insertPlainText(c.inserted);
        EXPECT_EQ(edit->GetText(), reference.GetText()) << c.name;
        EXPECT_EQ(widget()->textCursor().position(), referenceWidget->textCursor().position()) << c.name;
        EXPECT_LE(widget()->toPlainText().size(), std::max(8, c.text.size())) << c.name;
        const QString result = widget()->toPlainText();
        EXPECT_FALSE(result.at(result.size() - 1).isHighSurrogate()) << c.name;
    }
}

TEST_F(MultiLineEditTest, SelectionsInCharacterPositions)
{
    edit->SetText(L"abcdefgh");
    struct Case
    {
        MultiLineEdit::Selection given;
        std::int64_t start;
        std::int64_t end;
        int cursor;
    };
    const Case cases[] = {
        {{2, -1}, 2, 8, 8},  // -1: to the end
        {{1, 4}, 1, 4, 4},
        {{3, 3}, 3, 3, 3},   // only the cursor
        {{5, 2}, 5, 5, 5},   // a reversed range places the cursor at its start
        {{6, 20}, 6, 8, 8},  // past the end stops there
        {{20, -1}, 8, 8, 8},
    };
    for (const Case& c : cases) {
        edit->SetSel(c.given);
        const MultiLineEdit::Selection read = edit->GetSel();
        EXPECT_EQ(read.start, c.start) << c.given.start << ", " << c.given.end;
        EXPECT_EQ(read.end, c.end) << c.given.start << ", " << c.given.end;
        EXPECT_EQ(widget()->textCursor().position(), c.cursor) << c.given.start << ", " << c.given.end;
    }

    edit->SetSel({1, 4});
    for (const MultiLineEdit::Selection refused : {MultiLineEdit::Selection{-1, 3}, MultiLineEdit::Selection{2, -2}}) {
        edit->SetSel(refused);
        EXPECT_EQ(widget()->textCursor().selectedText(), "bcd") << "the widget's cursor is left as it was";
    }
}

TEST_F(MultiLineEditTest, StyleBitsAreAddedThenRemoved)
{
    EXPECT_EQ(widget()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    edit->SetStyle(MultiLineEdit::WordWrap, MultiLineEdit::WordWrap);
    EXPECT_EQ(widget()->lineWrapMode(), QPlainTextEdit::NoWrap) << "a bit in both ends removed";

    edit->SetStyle(MultiLineEdit::flag(0), MultiLineEdit::ReadOnly | MultiLineEdit::Border | MultiLineEdit::WordWrap);
    EXPECT_TRUE(widget()->isReadOnly());
    EXPECT_EQ(widget()->frameStyle(), int(QFrame::StyledPanel));
    EXPECT_EQ(widget()->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    edit->SetStyle(MultiLineEdit::ReadOnly | MultiLineEdit::Border | MultiLineEdit::Visible, MultiLineEdit::flag(0));
    EXPECT_FALSE(widget()->isReadOnly());
    EXPECT_EQ(widget()->frameStyle(), int(QFrame::NoFrame));
    EXPECT_TRUE(widget()->isHidden());
    edit->SetStyle(MultiLineEdit::flag(0), MultiLineEdit::Visible);
    EXPECT_TRUE(widget()->isVisible());
}

TEST_F(MultiLineEditTest, ScrollBarPolicies)
{
    const std::pair<MultiLineEdit::ScrollBarPolicy, Qt::ScrollBarPolicy> cases[] = {
        {MultiLineEdit::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
        {MultiLineEdit::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOn},
        {MultiLineEdit::ScrollBarPolicy(7), Qt::ScrollBarAsNeeded},
    };
    for (const auto& [given, expected] : cases) {
        edit->SetScrollBarPolicy(given);
        EXPECT_EQ(widget()->verticalScrollBarPolicy(), expected) << given;
    }
}

TEST_F(MultiLineEditTest, AdaptiveHeightGrowsByOneLineSpacingPerLine)
{
    edit->SetText(L"one");
    edit->SetAdaptiveHeight(true);
    const int oneLine = widget()->height();
    const QMargins margins = widget()->contentsMargins();
    EXPECT_EQ(oneLine, int(margins.top() + margins.bottom()
                           + 2 * (widget()->document()->documentMargin() + widget()->frameWidth())
                           + QFontMetrics(widget()->font()).lineSpacing()));
    edit->SetText(L"one\ntwo");
    EXPECT_EQ(widget()->height(), oneLine + QFontMetrics(widget()->font()).lineSpacing());
    EXPECT_EQ(widget()->minimumHeight(), widget()->maximumHeight()) << "a fixed height";
}

TEST_F(MultiLineEditTest, OnceTheWidgetIsGoneNothingReachesIt)
{
    QPointer<QPlainTextEdit> orphanCheck = widget();
    delete widget();
    ASSERT_TRUE(orphanCheck.isNull());
    edit->SetText(L"x");
    edit->SetSel({0, 1});
    edit->SetStyle(MultiLineEdit::flag(0), MultiLineEdit::ReadOnly);
    edit->SetScrollBarPolicy(MultiLineEdit::ScrollBarAlwaysOn);
    edit->SetAdaptiveHeight(true);
    EXPECT_EQ(edit->GetText(), L"");
    EXPECT_EQ(edit->GetSel().end, 0);
    EXPECT_THROW(edit->IdealSize(), AgnosticUIException);
}

TEST_F(MultiLineEditTest, WidgetOutlivingItsControlIsAPlainTextEdit)
{
    edit->SetLimitText(2);
    QPointer<QPlainTextEdit> orphan = widget();
    edit.reset();
    ASSERT_TRUE(orphan);
    QTest::keyClicks(orphan, "abc");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(orphan, &out);
    EXPECT_EQ(orphan->toPlainText(), "abc");
    EXPECT_TRUE(notifications.empty());
}
