#include "RichEdit.h"

#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AUILib;

namespace {

class RichEditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        edit = std::make_unique<RichEdit>();
        edit->Create(&window);
        edit->onTextEdited.Add([this] { notifications.push_back("edited"); });
        edit->onTextChanged.Add([this] { notifications.push_back("changed"); });
        widget()->setGeometry(0, 0, 300, 120);
        window.resize(320, 140);
        window.show();
    }

    QTextEdit* widget() const { return static_cast<QTextEdit*>(edit->GetPlatformHandle()); }

    QWidget window;
    std::unique_ptr<RichEdit> edit;
    std::vector<std::string> notifications;
};

using Format = RichEdit::CharFormat_;
using Selection = RichEdit::Selection;

} // namespace

TEST_F(RichEditTest, StartsAsPlainInputWithoutWrap)
{
    EXPECT_EQ(edit->GetControlType(), ControlType::RichEdit);
    EXPECT_FALSE(edit->acceptRichText());
    EXPECT_EQ(widget()->lineWrapMode(), QTextEdit::NoWrap);
    edit->SetStyle(RichEdit::flag(0), RichEdit::WordWrap | RichEdit::ReadOnly);
    EXPECT_EQ(widget()->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_TRUE(widget()->isReadOnly());
    edit->setAcceptRichText(true);
    EXPECT_TRUE(edit->acceptRichText());
}

TEST_F(RichEditTest, EveryChangeNotifiesAndOnlyTheUsersAreEdits)
{
    edit->SetText(L"abc");
    EXPECT_EQ(notifications, std::vector<std::string>{"changed"});
    notifications.clear();
    QTest::keyClicks(widget(), "d");
    EXPECT_EQ(notifications, (std::vector<std::string>{"edited", "changed"}));
    notifications.clear();
    edit->SetText(L"abcd");
    EXPECT_EQ(notifications, std::vector<std::string>{"changed"}) << "no comparison with the last text";
    EXPECT_EQ(edit->GetText(), L"abcd");
    edit->SetText(std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(edit->GetText(), L"ab") << "a text ends at its NUL";
}

TEST_F(RichEditTest, SelectionFormatReplacesTheWholeFormat)
{
    struct Case
    {
        const char* name;
        Format given;
        Format read;
    };
    const Case cases[] = {
        {"everything", {14, 0xFF0000, 1 | 2 | 4 | 8, L"Serif"}, {14, 0xFF0000, 1 | 2 | 4 | 8, L"Serif"}},
        {"nothing set reads size 0 and black", {-1, -1, 0, L""}, {0, 0x000000, 0, L""}},
        {"a colour alone removes bold", {-1, 0x00AA00, 0, L""}, {0, 0x00AA00, 0, L""}},
        {"bold only", {-1, -1, 1, L""}, {0, 0x000000, 1, L""}},
        {"strike-out keeps no underline", {9, -1, 8, L""}, {9, 0x000000, 8, L""}},
    };
    edit->SetText(L"some formatted text");
    for (const Case& c : cases) {
        edit->SetSel({5, 14});
        edit->SetSelectionCharFormat({12, 0x123456, 1, L"Sans"});
        edit->SetSelectionCharFormat(c.given);
        edit->SetSel({6, 8});
        const Format read = edit->GetSelectionCharFormat();
        EXPECT_EQ(read.size, c.read.size) << c.name;
        EXPECT_EQ(read.colour, c.read.colour) << c.name;
        EXPECT_EQ(read.effects, c.read.effects) << c.name;
        EXPECT_EQ(read.face, c.read.face) << c.name;
    }
}

TEST_F(RichEditTest, APlainTextStartsFromTheDefaultFormat)
{
    for (const Selection& lastSelection : {Selection{0, 5}, Selection{5, 5}, Selection{2, 4}}) {
        edit->SetText(L"hello");
        edit->SetSel({0, 5});
        edit->SetSelectionCharFormat({20, 0xFF0000, Format::Bold | Format::Underline, L"Serif"});
        edit->SetSel(lastSelection);
        edit->SetText(L"world");
        edit->SetSel({0, 5});
        const Format read = edit->GetSelectionCharFormat();
        EXPECT_EQ(read.size, 0) << lastSelection.start << "-" << lastSelection.end;
        EXPECT_EQ(read.colour, 0x000000);
        EXPECT_EQ(read.effects, 0u);
        EXPECT_EQ(read.face, L"");
        EXPECT_EQ(edit->GetText(), L"world");
    }
    edit->SetSel({5, 5});
    QTest::keyClicks(widget(), "!");
    edit->SetSel({5, 6});
    EXPECT_EQ(edit->GetSelectionCharFormat().effects, 0u) << "typing goes on in the default format";
}

TEST_F(RichEditTest, NoSelectionNoFormat)
{
    edit->SetText(L"text");
    edit->SetSel({2, 2});
    edit->SetSelectionCharFormat({20, 0xFF0000, 1, L"Serif"});
    edit->SetSel({0, 4});
    const Format read = edit->GetSelectionCharFormat();
    EXPECT_EQ(read.size, 0);
    EXPECT_EQ(read.effects, 0u);
    EXPECT_EQ(edit->GetSel().start, 0);
    EXPECT_EQ(edit->GetSel().end, 4);
}

TEST_F(RichEditTest, WidgetOutlivingItsControlIsAPlainTextEdit)
{
    QPointer<QTextEdit> orphan = widget();
    edit.reset();
    ASSERT_TRUE(orphan);
    QTest::keyClicks(orphan, "abc");
    EXPECT_EQ(orphan->toPlainText(), "abc");
    EXPECT_TRUE(notifications.empty());
}
