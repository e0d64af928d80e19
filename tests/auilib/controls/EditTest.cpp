#include "Edit.h"

#include "AgnosticUIException.h"
#include "ContextMenu.h"
#include "EditQt.h"
#include "IsolatedEnvironment.h"
#include "PictureBytes.h"
#include "PopupDriver.h"
#include "PromptsPopupQt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLocale>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AUILib;

namespace {

using Log = std::vector<std::string>;

std::string Narrow(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

// The number tables run under the process's own locale (the entry under LANG=de_DE writes ",").
class EditTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::system());
        edit = std::make_unique<Edit>();
        edit->Create(&window);
        edit->onTextChanged.Add([this](std::wstring text) { log.push_back("changed " + Narrow(text)); });
        edit->onTextEdited.Add([this](std::wstring text) { log.push_back("edited " + Narrow(text)); });
        edit->onPaste.Add([this](std::wstring text) { log.push_back("paste " + Narrow(text)); });
        edit->onFocusLost.Add([this] { log.push_back("focus lost"); });
        edit->onContextMenu.Add([this] { log.push_back("menu"); });
        edit->onExtendedButtonClicked.Add([this] { log.push_back("button"); });
        widget()->setGeometry(0, 0, 200, 30);
        window.resize(220, 50);
        window.show();
    }

    void TearDown() override { QLocale::setDefault(savedLocale); }

    QLineEdit* widget() const { return static_cast<QLineEdit*>(edit->GetWndPtr()); }
    QString text() const { return widget()->text(); }

    // A key press as the user makes it; whether the field took it.
    bool press(const QKeySequence& sequence)
    {
        const int combination = sequence[0];
        QKeyEvent event(QEvent::KeyPress, combination & ~Qt::KeyboardModifierMask,
                        Qt::KeyboardModifiers(combination & Qt::KeyboardModifierMask));
        event.setAccepted(false);
        QApplication::sendEvent(widget(), &event);
        return event.isAccepted();
    }

    // A right click on the field.
    void requestMenu()
    {
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), widget()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(widget(), &request);
    }

    std::shared_ptr<PromptsPopup> prompt(const wchar_t* text) const
    {
        auto popup = std::make_shared<PromptsPopup>();
        popup->Create(widget(), text, 0, -1, false);
        return popup;
    }

    const QLocale savedLocale;
    QWidget window;
    std::unique_ptr<Edit> edit;
    Log log;
};

// The typed text with "." standing for the locale's decimal character.
QString Localised(const char* typed)
{
    return QString(typed).replace('.', QLocale().decimalPoint());
}

} // namespace

TEST_F(EditTest, IntegerInputKeepsDigitsWithinTheBounds)
{
    struct Case
    {
        int min;
        int max;
        const char* typed;
        const char* shown;
        bool rejectedShown;
        bool outOfRangeShown;
    };
    const Case cases[] = {
        {0, 100, "5a", "5", true, false},
        {0, 100, "150", "100", false, true},
        {0, 100, "-", "", true, false},   // no minus sign without a negative minimum
        {0, 100, "-7", "7", false, false},
        {0, 100, "42", "42", false, false},
        {10, 100, "3", "3", false, false}, // a minimum of 0 or more waits for the whole number
        {-50, 50, "-", "-", false, false},
        {-50, 50, "-70", "-50", false, true},
        {-50, 50, "5-", "5", true, false},
        {INT_MIN, INT_MAX, "99999999999", "99999999999", false, false}, // beyond int: left as typed
    };
    for (const Case& c : cases) {
        auto rejected = prompt(L"Digits only");
        auto outOfRange = prompt(L"Out of range");
        edit->OnlyNumbers(true, c.min, c.max, rejected, outOfRange);
        EXPECT_EQ(edit->IsSetOnlyNumbers(), 1);
        edit->SetText(L"");
        QTest::keyClicks(widget(), c.typed);
        const std::string name = std::string(c.typed) + " in " + std::to_string(c.min) + ".." + std::to_string(c.max);
        EXPECT_EQ(text(), c.shown) << name;
        EXPECT_EQ(rejected->IsDisplayed(), c.rejectedShown) << name;
        EXPECT_EQ(outOfRange->IsDisplayed(), c.outOfRangeShown) << name;
    }
    edit->OnlyNumbers(false, 0, 10, nullptr, nullptr);
    EXPECT_EQ(edit->IsSetOnlyNumbers(), 0);
    edit->SetText(L"");
    QTest::keyClicks(widget(), "abc");
    EXPECT_EQ(text(), "abc");
}

TEST_F(EditTest, DecimalInputKeepsItsDecimalsWithinTheBounds)
{
    struct Case
    {
        double min;
        double max;
        const char* typed;
        const char* shown;
        bool rejectedShown;
        bool outOfRangeShown;
    };
    const double unbounded = 2147483647.0;
    const Case cases[] = {
        {0, 1000, "3.14159", "3.14", false, false},
        {0, 1000, "1.2.", "1.2", true, false},
        {0, 10, "12", "10.0", false, true}, // the bound is written one place short
        {-5, 10, "-8", "-5.0", false, true},
        {-unbounded, unbounded, "-99999999", "-99999999", false, false},
        {0, 1000, ".", ".", false, false},
    };
    for (const Case& c : cases) {
        auto rejected = prompt(L"Digits only");
        auto outOfRange = prompt(L"Out of range");
        edit->OnlyNumbers(true, c.min, c.max, rejected, outOfRange, 2);
        EXPECT_EQ(edit->IsSetOnlyNumbers(), 2);
        edit->SetText(L"");
        QTest::keyClicks(widget(), Localised(c.typed));
        const std::string name = std::string(c.typed) + " in " + std::to_string(c.min) + ".." + std::to_string(c.max);
        EXPECT_EQ(text(), Localised(c.shown)) << name;
        EXPECT_EQ(rejected->IsDisplayed(), c.rejectedShown) << name;
        EXPECT_EQ(outOfRange->IsDisplayed(), c.outOfRangeShown) << name;
    }

    auto rejected = prompt(L"Digits only");
    edit->OnlyNumbers(true, 0.0, 10.0, rejected, 1);
    edit->SetText(L"");
    QTest::keyClicks(widget(), Localised("99.99"));
    EXPECT_EQ(text(), Localised("10.")) << "one decimal kept, the bound cut one place short";
}

TEST_F(EditTest, NumberInputHoldsANumberTooLongForItsTypeWithinTheBounds)
{
    const std::wstring tooLongForDouble(400, L'9');
    struct Case
    {
        bool integers;
        double min;
        double max;
        std::wstring entered;
        const char* held; // "." for the decimal point
        bool outOfRangeShown;
    };
    const Case cases[] = {
        {true, 0, 100, L"250", "100", true},
        {true, 0, 100, L"99999999999", "100", true},
        {true, -50, 50, L"-99999999999", "-50", true},
        {true, INT_MIN, INT_MAX, L"99999999999", "99999999999", false}, // no bound to hold it to
        {false, 0, 10, tooLongForDouble, "10.0", true},
        {false, -10, 10, L"-" + tooLongForDouble, "-10.0", true},
    };
    for (const Case& c : cases) {
        for (const bool pasted : {false, true}) {
            auto outOfRange = prompt(L"Out of range");
            if (c.integers)
                edit->OnlyNumbers(true, int(c.min), int(c.max), nullptr, outOfRange);
            else
                edit->OnlyNumbers(true, c.min, c.max, nullptr, outOfRange, 2);
            const std::string name = Narrow(c.entered).substr(0, 12) + (pasted ? " pasted" : " set");
            if (pasted) {
                edit->SetText(L"");
                QApplication::clipboard()->setText(QString::fromStdWString(c.entered));
                press(QKeySequence::Paste);
            } else {
                edit->SetText(c.entered);
            }
            EXPECT_EQ(text(), Localised(c.held)) << name;
            EXPECT_EQ(outOfRange->IsDisplayed(), c.outOfRangeShown) << name;
        }
    }
}

TEST_F(EditTest, TheSuffixStaysAtTheEnd)
{
    edit->SetSuffix(L" kg");
    EXPECT_EQ(text(), " kg");
    EXPECT_EQ(widget()->cursorPosition(), 0);
    QTest::keyClicks(widget(), "12");
    EXPECT_EQ(text(), "12 kg") << "typed before the suffix";
    EXPECT_EQ(widget()->cursorPosition(), 2);

    widget()->end(false);
    QTest::keyClicks(widget(), "x");
    EXPECT_EQ(text(), "12 kg") << "typed after the suffix: the last good text comes back";
    QTest::keyClick(widget(), Qt::Key_Backspace);
    EXPECT_EQ(text(), "12 kg") << "a character of the suffix deleted";

    widget()->setCursorPosition(1);
    QTest::keyClicks(widget(), "5");
    EXPECT_EQ(text(), "152 kg");

    edit->SetSuffix(L" g");
    EXPECT_EQ(text(), "152 g") << "the old suffix gives way to the new";
    EXPECT_EQ(edit->GetText(), L"152 g");

    edit->SetText(L"");
    EXPECT_EQ(text(), " g") << "an empty text shows the suffix alone";
}

TEST_F(EditTest, ATextSetByTheProgramIsKeptWithTheSuffixAtItsEnd)
{
    edit->SetSuffix(L" kg");
    edit->SetText(L"34");
    EXPECT_EQ(edit->GetText(), L"34 kg");
    EXPECT_EQ(widget()->cursorPosition(), 0);
    edit->SetText(L"56 kg");
    EXPECT_EQ(edit->GetText(), L"56 kg") << "a suffix already given is not doubled";

    widget()->end(false);
    QTest::keyClicks(widget(), "x");
    EXPECT_EQ(text(), "56 kg") << "the program's text is the last good one";

    edit->OnlyNumbers(true, 0, 100, nullptr, nullptr);
    edit->SetText(L"150");
    EXPECT_EQ(text(), "100 kg") << "the number rule still holds";
}

TEST_F(EditTest, ProgramChangesAreNotEditsAndARewriteNotifiesTwice)
{
    edit->SetText(L"abc");
    EXPECT_EQ(log, Log{"changed abc"});
    EXPECT_EQ(widget()->cursorPosition(), 0);

    log.clear();
    widget()->end(false);
    QTest::keyClicks(widget(), "d");
    EXPECT_EQ(log, (Log{"edited abcd", "changed abcd"}));

    edit->OnlyNumbers(true, 0, 100, nullptr, nullptr);
    edit->SetText(L"5");
    log.clear();
    widget()->end(false);
    QTest::keyClicks(widget(), "x");
    EXPECT_EQ(text(), "5");
    EXPECT_EQ(log, (Log{"edited 5x", "changed 5", "changed 5x"})) << "the rule's own change first";

    edit->SetText(std::wstring(L"7\0" L"8", 3));
    EXPECT_EQ(edit->GetText(), L"7") << "a text ends at its NUL";

    log.clear();
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(widget(), &out);
    EXPECT_EQ(log, Log{"focus lost"});
}

TEST_F(EditTest, PasteReportsTheClipboardTextAndInsertsIt)
{
    edit->SetText(L"abcd");
    widget()->setSelection(1, 2);
    QApplication::clipboard()->setText("XY");
    log.clear();
    EXPECT_TRUE(press(QKeySequence::Paste));
    EXPECT_EQ(text(), "aXYd");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "paste XY") << "reported before it goes in";

    QApplication::clipboard()->clear();
    log.clear();
    EXPECT_TRUE(press(QKeySequence::Paste));
    EXPECT_EQ(text(), "aXYd");
    EXPECT_TRUE(log.empty()) << "nothing to paste";

    QApplication::clipboard()->setText("Z");
    edit->SetReadOnly(true);
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_TRUE(press(QKeySequence::Paste)) << "the key is taken all the same";
    EXPECT_EQ(text(), "aXYd") << "a read-only field takes no paste";
    EXPECT_TRUE(log.empty());
}

TEST_F(EditTest, TheStandardMenuPastesThroughTheField)
{
    edit->SetText(L"ab");
    widget()->end(false);
    QApplication::clipboard()->setText("cd");
    log.clear();
    requestMenu();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->testAttribute(Qt::WA_DeleteOnClose));
    QAction* pasteEntry = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            pasteEntry = action;
    ASSERT_NE(pasteEntry, nullptr);
    EXPECT_EQ(pasteEntry->shortcut(), QKeySequence(QKeySequence::Paste));
    pasteEntry->trigger();
    menu->close();
    EXPECT_EQ(text(), "abcd");
    log.erase(std::remove(log.begin(), log.end(), "focus lost"), log.end()); // the menu takes the focus
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "menu");
    EXPECT_EQ(log[1], "paste cd") << "the entry goes through the field's paste, once";
    EXPECT_EQ(std::count(log.begin(), log.end(), "paste cd"), 1);
}

// The entries a program flags are enabled again at every showing, then greyed by the field's
// state at that moment; entries it did not flag keep what the program set.
TEST_F(EditTest, TheInsertedMenuGreysItsEntriesByTheFieldsState)
{
    auto menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(widget()));
    std::vector<int> chosen;
    const auto choose = [&chosen](int id) { chosen.push_back(id); };
    menu->AddItem(L"Plain", choose, 0);
    const int disabledByProgram = menu->AddItem(L"Off", choose, 0);
    menu->EnableItem(disabledByProgram, false);
    menu->AddItem(L"Cut", choose, ItemData::DisabledIfReadOnly);
    menu->AddItem(L"Paste", choose, ItemData::DisabledIfEmptyClipBoard);
    menu->AddItem(L"Paste over", choose, ItemData::DisabledIfReadOnly | ItemData::DisabledIfEmptyClipBoard);
    std::shared_ptr<ContextMenu> more = menu->AddSubmenu(L"More", L"");
    ASSERT_TRUE(more);
    more->AddItem(L"Clear", choose, ItemData::DisabledIfReadOnly);
    edit->InsertContextMenu(menu);
    EXPECT_EQ(edit->GetContextMenu(), menu);

    // Entry texts in menu order, with those of the submenu after "More"; '-' marks a greyed one.
    const auto showAndRead = [&] {
        QStringList seen;
        whenPopupShown([&seen](QMenu* open) {
            for (QAction* action : open->actions()) {
                QList<QAction*> entries{action};
                if (action->menu())
                    entries += action->menu()->actions();
                for (QAction* entry : entries)
                    seen << (entry->isEnabled() ? "" : "-") + entry->text();
            }
            open->close();
        });
        requestMenu();
        return seen.join(' ');
    };
    struct Case
    {
        bool readOnly;
        const char* clipboard;
        const char* entries;
    };
    const Case cases[] = {
        {true, "x", "Plain -Off -Cut Paste -Paste over More -Clear"},
        {false, "", "Plain -Off Cut -Paste -Paste over More Clear"},
        {true, "", "Plain -Off -Cut -Paste -Paste over More -Clear"},
        {false, "x", "Plain -Off Cut Paste Paste over More Clear"},
    };
    for (const Case& c : cases) {
        edit->SetReadOnly(c.readOnly);
        QApplication::clipboard()->setText(c.clipboard);
        log.clear();
        EXPECT_EQ(showAndRead().toStdString(), c.entries) << c.readOnly << " '" << c.clipboard << "'";
        EXPECT_EQ(log.front(), "menu");
        EXPECT_EQ(std::count(log.begin(), log.end(), "menu"), 1) << "no standard menu besides";
    }
    EXPECT_TRUE(chosen.empty());

    edit->RemoveContextMenu();
    EXPECT_FALSE(edit->GetContextMenu());
}

TEST_F(EditTest, TheInsertedMenuMayBeTakenFromTheFieldByItsOwnEntry)
{
    auto menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(widget()));
    bool chosen = false;
    menu->AddItem(L"Detach", [&] {
        chosen = true;
        edit->RemoveContextMenu();
        menu.reset();
    }, 0);
    edit->InsertContextMenu(menu);
    chooseFromPopup(QStringLiteral("Detach"));
    requestMenu();
    EXPECT_TRUE(chosen);
    EXPECT_FALSE(edit->GetContextMenu());
}

TEST_F(EditTest, AnInsertedMenuWithoutEntriesShowsNothing)
{
    auto empty = std::make_shared<ContextMenu>();
    ASSERT_TRUE(empty->Create(widget()));
    for (const auto& menu : {empty, std::make_shared<ContextMenu>()}) {
        edit->InsertContextMenu(menu);
        log.clear();
        requestMenu();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "not the standard menu either";
        EXPECT_EQ(log, Log{"menu"});
    }
}

TEST_F(EditTest, SelectionsAreClampedToTheText)
{
    edit->SetText(L"abcde");
    struct Case
    {
        int start;
        int length;
        const char* selected;
    };
    const Case cases[] = {
        {3, 1, "d"},
        {2, -1, "cde"},
        {1, 10, "bcde"},
        {0, 5, "abcde"},
        {-2, 2, "ab"},
        {4, 0, ""},
        {7, 1, ""},
    };
    for (const Case& c : cases) {
        edit->SetSelection(c.start, c.length);
        EXPECT_EQ(widget()->selectedText(), c.selected) << c.start << ", " << c.length;
        EXPECT_EQ(edit->SelectionLength(), int(strlen(c.selected))) << c.start << ", " << c.length;
    }
    edit->SetSelection(1, 2);
    EXPECT_EQ(edit->SelectionStart(), 1);

    edit->SetCursorPosition(99);
    EXPECT_EQ(edit->GetCursorPosition(), 5);
    edit->SetCursorPosition(-1);
    EXPECT_EQ(edit->GetCursorPosition(), 5);
    edit->SetCursorPosition(2);
    EXPECT_EQ(edit->GetCursorPosition(), 2);
    EXPECT_EQ(window.focusWidget(), widget()) << "placing the cursor takes the focus";
}

TEST_F(EditTest, ColoursShareOneFieldAndTheBorderIsAStyleSheet)
{
    EXPECT_EQ(edit->GetBackgroundColor(), -1);
    edit->SetBackgroundColor(0x102030);
    edit->SetTextColor(0x405060);
    EXPECT_EQ(edit->GetBackgroundColor(), 0x405060);
    EXPECT_EQ(edit->GetTextColor(), 0x405060);
    EXPECT_EQ(widget()->palette().color(QPalette::Disabled, widget()->backgroundRole()), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(widget()->palette().color(QPalette::Inactive, widget()->foregroundRole()), QColor(0x40, 0x50, 0x60));

    edit->SetPlaceHolderTextColor(0xAABBCC);
    EXPECT_EQ(widget()->palette().color(QPalette::Active, QPalette::PlaceholderText), QColor(0xAA, 0xBB, 0xCC));

    edit->SetBorderColor(0x80FF0000u);
    EXPECT_EQ(widget()->styleSheet(), "border-style: outset; border-width: 1px;  border-color:#ffff0000;");
    edit->SetBorderColor(1, 2, 3, 4);
    edit->SetBorderRadius(5);
    EXPECT_EQ(widget()->styleSheet(), "border-style: outset; border-width: 1px;  border-color:#ffff0000;");
}

TEST_F(EditTest, PlainSettings)
{
    EXPECT_EQ(edit->GetControlType(), ControlType::Edit);
    EXPECT_EQ(edit->GetParentWindow(), &window);
    edit->SetTextAlign(TextAlign::Center);
    EXPECT_EQ(widget()->alignment(), Qt::AlignHCenter);
    edit->SetTextAlign(TextAlign(9));
    EXPECT_EQ(widget()->alignment(), Qt::AlignRight);
    edit->SetPasswordMode(Edit::Password);
    EXPECT_EQ(edit->GetPasswordMode(), Edit::Password);
    edit->SetPasswordMode(Edit::PasswordMode(3));
    EXPECT_EQ(edit->GetPasswordMode(), Edit::Normal);
    edit->SetFrameMode(false);
    EXPECT_FALSE(edit->GetFrameMode());
    edit->SetLimitText(3);
    QTest::keyClicks(widget(), "abcdef");
    EXPECT_EQ(text(), "abc");
    edit->SetPlaceHolderText(L"Name");
    EXPECT_EQ(widget()->placeholderText(), "Name");
}

TEST_F(EditTest, AutoCompletionFromAWordList)
{
    edit->EnableAutoComplete(true);
    EXPECT_EQ(widget()->completer(), nullptr) << "no word list yet";
    edit->SetAutoComplete({L"Apple", L"Banana"});
    QPointer<QCompleter> first = widget()->completer();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->caseSensitivity(), Qt::CaseInsensitive);
    edit->EnableAutoComplete(false);
    EXPECT_EQ(widget()->completer(), nullptr);
    edit->SetAutoComplete({L"Cherry"});
    EXPECT_NE(widget()->completer(), first.data());
    delete widget();
    EXPECT_TRUE(first.isNull()) << "replaced completers go with the widget";
}

TEST_F(EditTest, BalloonTipShowsAndHides)
{
    EXPECT_TRUE(edit->HideBalloonTip()) << "none yet";
    EXPECT_TRUE(edit->ShowBalloonTip(L"Title", L"Text", BalloonTipIconType::Warning));
    auto* tip = widget()->findChild<PromptsPopupQt*>();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->text().contains("Title"));
    EXPECT_TRUE(edit->HideBalloonTip());
    EXPECT_FALSE(tip->isVisible());
    EXPECT_TRUE(edit->ShowBalloonTip(L"Again", L"Text", BalloonTipIconType::None));
    EXPECT_EQ(widget()->findChildren<PromptsPopupQt*>().size(), 1) << "one tip, reused";
}

namespace {

class EditButtonTest : public EditTest
{
protected:
    std::wstring picture(const char* name, QColor colour)
    {
        const QString path = env.root() + "/" + name;
        IsolatedEnvironment::writeFile(path, PictureBytes::Png(16, 16, colour));
        return path.toStdWString();
    }

    QToolButton* button() const { return widget()->findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly); }

    QColor shownColour() const
    {
        const QImage image = button()->icon().pixmap(16, 16).toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    void hoverButton() const
    {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button(), &enter);
    }

    void moveOverText() const
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget(), &move);
    }

    void setImage(const QByteArray& bytes, ImageTypes type, bool hover)
    {
        edit->ExtendedButtonSetImage(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size(), type,
                                     hover);
    }

    IsolatedEnvironment env;
};

} // namespace

TEST_F(EditButtonTest, ClickAndHoverPicture)
{
    ASSERT_EQ(button(), nullptr);
    edit->EnableExtendedButton(picture("red.png", Qt::red), picture("blue.png", Qt::blue));
    ASSERT_NE(button(), nullptr);
    EXPECT_EQ(shownColour(), QColor(Qt::red));
    edit->EnableExtendedButton(picture("green.png", Qt::green), picture("green.png", Qt::green));
    EXPECT_EQ(widget()->findChildren<QToolButton*>().size(), 1) << "made once";

    hoverButton();
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    moveOverText();
    EXPECT_EQ(shownColour(), QColor(Qt::red));

    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(std::count(log.begin(), log.end(), "button"), 1);

    edit->ExtendedButtonSetImage(picture("yellow.png", Qt::yellow), picture("cyan.png", Qt::cyan));
    EXPECT_EQ(shownColour(), QColor(Qt::yellow));
    hoverButton();
    EXPECT_EQ(shownColour(), QColor(Qt::cyan));
}

TEST_F(EditButtonTest, PicturesFromBytes)
{
    edit->EnableExtendedButton(picture("red.png", Qt::red), picture("blue.png", Qt::blue));
    setImage(PictureBytes::Png(16, 16, Qt::green), ImageTypes::PNG, false);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
    setImage(PictureBytes::Ico({16}), ImageTypes::ICO, true);
    EXPECT_EQ(shownColour(), QColor(Qt::green)) << "the normal picture stays shown";
    hoverButton();
    EXPECT_EQ(shownColour(), QColor(0, 128, 0)) << "the icon's picture";

    const QByteArray png = PictureBytes::Png(16, 16, Qt::magenta);
    edit->ExtendedButtonSetImage(nullptr, png.size(), ImageTypes::PNG, false);
    edit->ExtendedButtonSetImage(reinterpret_cast<const unsigned char*>(png.constData()), -1, ImageTypes::PNG, false);
    edit->ExtendedButtonSetImage(reinterpret_cast<const unsigned char*>(png.constData()), 0, ImageTypes::PNG, false);
    setImage("not a picture", ImageTypes::PNG, false);
    setImage("not a picture", ImageTypes::ICO, false);
    moveOverText();
    EXPECT_EQ(shownColour(), QColor(Qt::green)) << "nothing that does not decode replaces a picture";
}

TEST_F(EditButtonTest, WidgetOutlivingItsEditIsAPlainLineEdit)
{
    edit->EnableExtendedButton(picture("red.png", Qt::red), picture("blue.png", Qt::blue));
    edit->OnlyNumbers(true, 0, 9, nullptr, nullptr);
    edit->SetSuffix(L"%");
    QPointer<QLineEdit> orphan = widget();
    QPointer<QToolButton> orphanButton = button();
    log.clear();
    edit.reset();
    ASSERT_TRUE(orphan);

    orphan->setText("");
    QTest::keyClicks(orphan, "abc");
    EXPECT_EQ(orphan->text(), "abc") << "no number rule, no suffix";
    QFocusEvent in(QEvent::FocusIn);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(orphan, &in);
    QApplication::sendEvent(orphan, &out);
    QApplication::clipboard()->setText("!");
    QTest::keySequence(orphan, QKeySequence::Paste);
    EXPECT_EQ(orphan->text(), "abc!");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(orphanButton, &enter);
    QTest::mouseClick(orphanButton, Qt::LeftButton);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), orphan->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(orphan, &request);
    if (QWidget* menu = QApplication::activePopupWidget())
        menu->close();
    EXPECT_TRUE(log.empty());
}

TEST_F(EditTest, OnceTheWidgetIsGoneNothingReachesIt)
{
    delete widget();
    edit->SetText(L"x");
    edit->SetSuffix(L"%");
    edit->SetSelection(0, 1);
    edit->SetCursorPosition(1);
    edit->SetTextColor(1);
    edit->SetBorderColor(2u);
    edit->SetAutoComplete({L"a"});
    edit->EnableExtendedButton(L"a.png", L"b.png");
    edit->SetReadOnly(true);
    EXPECT_EQ(edit->GetText(), L"");
    EXPECT_FALSE(edit->IsReadOnly());
    EXPECT_EQ(edit->GetTextColor(), -1);
    EXPECT_EQ(edit->SelectionLength(), 0);
    EXPECT_EQ(edit->GetWndPtr(), nullptr);
    EXPECT_THROW(edit->IdealSize(), AgnosticUIException);
}
