#include "ComboBox.h"

#include "ComboBoxImpl.h"
#include "PictureBytes.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace AUILib;

namespace {

std::string Narrow(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

class ComboBoxTest : public testing::Test
{
protected:
    void SetUp() override
    {
        box = std::make_unique<ComboBox>();
        box->Create(&window);
        widget()->setGeometry(0, 0, 200, 28);
        window.resize(220, 60);
        window.show();
        box->OnSelChanged.Add([this](int index) { log.push_back("sel " + std::to_string(index)); });
        box->OnTextEdited.Add([this](const std::wstring& text) { log.push_back("edited " + Narrow(text)); });
        box->OnTextChanged.Add([this](const std::wstring& text) { log.push_back("changed " + Narrow(text)); });
        box->OnTextChangedFromTo.Add([this](const std::wstring& from, const std::wstring& to) {
            log.push_back("from " + Narrow(from) + " to " + Narrow(to));
        });
        box->OnPaste.Add([this](const std::wstring& text) { log.push_back("paste " + Narrow(text)); });
        box->OnCurrentIndexSelected.Add([this](int index) { log.push_back("selected " + std::to_string(index)); });
    }

    QComboBox* widget() const { return static_cast<QComboBox*>(box->GetWndPtr()); }
    QLineEdit* edit() const { return widget()->lineEdit(); }

    // Sends a key to the combo box as the user's keyboard would and tells whether it was taken.
    bool PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(widget(), &press);
        return press.isAccepted();
    }

    void MakeEditable(const std::wstring& text)
    {
        box->SetEditable(true);
        box->SetCurrentText(text);
        widget()->setFocus();
        log.clear();
    }

    QWidget window;
    std::unique_ptr<ComboBox> box;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

} // namespace

TEST_F(ComboBoxTest, InsertionIndicesAreHeldWithinTheList)
{
    EXPECT_EQ(box->GetControlType(), ControlType::ComboBox);
    EXPECT_EQ(box->GetParentWindow(), &window);
    EXPECT_EQ(box->AddItem(L"one", any()), 0);
    EXPECT_EQ(box->AddItem(L"two", any()), 1);
    EXPECT_EQ(box->InsertItem(-5, L"zero", any()), 0);
    EXPECT_EQ(box->InsertItem(99, L"last", any()), 3);
    EXPECT_EQ(box->Count(), 4);
    const std::vector<std::wstring> expected = {L"zero", L"one", L"two", L"last"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(box->GetItemText(i), expected[i]);
    EXPECT_EQ(box->InsertSeparator(99, L"", any()), 99) << "the index comes back as given";
    EXPECT_EQ(box->Count(), 5);
}

TEST_F(ComboBoxTest, SeparatorsAndHeaderRows)
{
    box->AddItem(L"first", any());
    box->AddSeparator(L"", any());
    box->AddSeparator(L"Group", 7L);
    const QModelIndex separator = widget()->model()->index(1, 0);
    const QModelIndex header = widget()->model()->index(2, 0);
    EXPECT_EQ(separator.data(Qt::AccessibleDescriptionRole).toString(), "separator");
    EXPECT_EQ(header.data(Qt::AccessibleDescriptionRole).toString(), "header");
    EXPECT_EQ(box->GetItemText(2), L"Group");
    EXPECT_TRUE(box->IsItemDisabled(2));
    EXPECT_FALSE(header.flags() & (Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable));
    EXPECT_EQ(header.data(Qt::FontRole).value<QFont>().family(), "Arial");
    EXPECT_EQ(*any_cast<long>(&static_cast<const any&>(box->GetItemData(2))), 7L);
}

TEST_F(ComboBoxTest, ItemDataIsCopiedAndIdsAreNeverReused)
{
    box->AddItem(L"plain", any());
    box->AddItem(L"valued", std::wstring(L"v"));
    EXPECT_TRUE(box->GetItemData(0).empty());
    const any valued = box->GetItemData(1);
    ASSERT_NE(any_cast<std::wstring>(&valued), nullptr);
    EXPECT_EQ(*any_cast<std::wstring>(&valued), L"v");

    EXPECT_FALSE(box->SetItemData(-1, 1L));
    EXPECT_FALSE(box->SetItemData(2, 1L));
    EXPECT_TRUE(box->SetItemData(0, 5L));
    const any five = box->GetItemData(0);
    EXPECT_EQ(*any_cast<long>(&five), 5L);
    EXPECT_TRUE(box->RemoveItemData(0));
    EXPECT_TRUE(box->GetItemData(0).empty());
    EXPECT_FALSE(box->RemoveItemData(0));

    const int before = widget()->itemData(1).toInt();
    box->Clear();
    box->AddItem(L"again", 1L);
    EXPECT_GT(widget()->itemData(0).toInt(), before);
}

TEST_F(ComboBoxTest, FindStringStartsAfterTheGivenRowIgnoresCaseAndWraps)
{
    for (const wchar_t* text : {L"abc", L"xyz", L"ABD", L"q"})
        box->AddItem(text, any());
    const std::tuple<std::wstring, int, int> cases[] = {
        {L"ab", -1, 0},
        {L"ab", 0, 2},
        {L"AB", 0, 2},
        {L"ab", 2, 0} /* wraps */,
        {L"ab", 3, -1} /* no row after the last */,
        {L"x", -2, -1},
        {L"zz", -1, -1},
    };
    for (const auto& [text, start, found] : cases)
        EXPECT_EQ(box->FindString(text, start), found) << Narrow(text) << " after " << start;
}

TEST_F(ComboBoxTest, ItemFontsAndTheWidgetFontFollowingThem)
{
    box->AddItem(L"plain", any());
    box->AddItem(L"bold", any());
    FontData nothing;
    nothing.pointSize = -1;
    box->SetItemFont(0, nothing);
    EXPECT_FALSE(widget()->itemData(0, Qt::FontRole).isValid());
    const FontData notGiven = box->GetItemFont(0);
    EXPECT_EQ(
        std::make_tuple(notGiven.faceName, notGiven.pointSize, notGiven.bold, notGiven.italic, notGiven.underline),
        std::make_tuple(std::wstring(), -1.0, -1, -1, -1));

    FontData bold;
    bold.pointSize = 10.5;
    bold.bold = 1;
    box->SetItemFont(1, bold);
    FontData underline;
    underline.pointSize = -1;
    underline.underline = 1;
    box->SetItemFont(1, underline);
    const FontData stored = box->GetItemFont(1);
    EXPECT_EQ(std::make_tuple(stored.pointSize, stored.bold, stored.italic, stored.underline),
              std::make_tuple(10.5, 1, -1, 1))
        << "fields not given keep the item's, a fractional size too";
    box->SetItemFont(5, bold);
    EXPECT_EQ(box->Count(), 2);

    box->SetCurSel(1);
    EXPECT_TRUE(widget()->font().bold());
    EXPECT_EQ(widget()->font().pointSizeF(), 10.5);
    box->SetCurSel(0);
    EXPECT_TRUE(widget()->font().bold()) << "an item without a font keeps the last one";
}

TEST_F(ComboBoxTest, PicturesFromBytesRefuseBadBuffers)
{
    box->AddItem(L"picture", any());
    const QByteArray png = PictureBytes::Png(8, 8, Qt::red);
    const auto* bytes = reinterpret_cast<const unsigned char*>(png.constData());

    box->AddPicture(0, bytes, 0, ImageTypes::PNG, ScalePicture::Keep, {16, 16}, BitmapType::Default);
    box->AddPicture(0, bytes, -100, ImageTypes::PNG, ScalePicture::Keep, {16, 16}, BitmapType::Default);
    box->AddPicture(0, bytes, -100, ImageTypes::ICO, ScalePicture::Keep, {16, 16}, BitmapType::Default);
    EXPECT_TRUE(widget()->itemIcon(0).isNull());
    box->AddPicture(0, bytes, png.size(), ImageTypes::PNG, ScalePicture::Keep, {16, 16}, BitmapType::Default);
    EXPECT_FALSE(widget()->itemIcon(0).isNull());
    EXPECT_EQ(widget()->iconSize(), QSize(8, 8));
    box->AddPicture(0, nullptr, png.size(), ImageTypes::PNG, ScalePicture::Keep, {16, 16}, BitmapType::Default);
    EXPECT_TRUE(widget()->itemIcon(0).isNull()) << "no data clears the picture";
}

TEST_F(ComboBoxTest, DisablingTheCurrentItemLeavesNone)
{
    box->AddItem(L"a", any());
    box->AddItem(L"b", any());
    box->SetCurSel(1);
    log.clear();
    box->DisableItem(0, true);
    EXPECT_TRUE(log.empty());
    box->DisableItem(1, true);
    EXPECT_EQ(box->GetCurSel(), -1);
    EXPECT_EQ(log, Log{"sel -1"});
    box->DisableItem(0, false);
    EXPECT_FALSE(box->IsItemDisabled(0));
    EXPECT_TRUE(box->IsItemDisabled(1));
}

TEST_F(ComboBoxTest, TypingFiresTheThreeTextListsAndKeepsTheCaret)
{
    MakeEditable(L"");
    QTest::keyClicks(widget(), "12");
    EXPECT_EQ(log, (Log{"edited 1", "changed 1", "from  to 1", "edited 12", "changed 12", "from 1 to 12"}));
    box->SetCaretPosition(1);
    log.clear();
    QTest::keyClicks(widget(), "3");
    EXPECT_EQ(box->CurrentText(), L"132");
    EXPECT_EQ(box->GetCaretPosition(), 2) << "typing in the middle goes on in the middle";
    EXPECT_EQ(log, (Log{"edited 132", "changed 132", "from 12 to 132"}));

    log.clear();
    box->SetCurrentText(L"9");
    EXPECT_EQ(log, (Log{"changed 9", "from 132 to 9"})) << "a program's text is not an edit";
}

TEST_F(ComboBoxTest, NumberOnlyInputIsFilteredWhileTyping)
{
    MakeEditable(L"");
    box->OnlyNumbers(true, 0, 50);
    QTest::keyClicks(widget(), "4");
    EXPECT_EQ(box->CurrentText(), L"4");
    log.clear();
    QTest::keyClicks(widget(), "x");
    EXPECT_EQ(box->CurrentText(), L"4");
    // The write-back runs the rule once more inside, first; both report the filtered text.
    EXPECT_EQ(log, (Log{"edited 4", "changed 4", "from 4 to 4", "edited 4", "changed 4", "from 4 to 4"}));
    QTest::keyClicks(widget(), "9");
    EXPECT_EQ(box->CurrentText(), L"49");
    QTest::keyClicks(widget(), "0");
    EXPECT_EQ(box->CurrentText(), L"50");
}

TEST_F(ComboBoxTest, NumberOnlyInputHoldsANumberTooLongForItsTypeWithinTheBounds)
{
    MakeEditable(L"");
    box->OnlyNumbers(true, -10, 50);
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"99999999999", L"50"},
        {L"-99999999999", L"-10"},
        {L"250", L"50"},
    };
    for (const auto& [entered, held] : cases) {
        box->SetCurrentText(entered);
        EXPECT_EQ(box->CurrentText(), held) << "set";
        box->SetCurrentText(L"");
        QApplication::clipboard()->setText(QString::fromStdWString(entered));
        EXPECT_TRUE(PressKey(Qt::Key_V, Qt::ControlModifier));
        EXPECT_EQ(box->CurrentText(), held) << "pasted";
    }
}

TEST_F(ComboBoxTest, ThePasteKeyPastesOnceAndReportsAfterTheText)
{
    MakeEditable(L"1");
    QApplication::clipboard()->setText(QStringLiteral("42"));
    EXPECT_TRUE(PressKey(Qt::Key_V, Qt::ControlModifier));
    EXPECT_EQ(box->CurrentText(), L"142");
    EXPECT_EQ(log, (Log{"edited 142", "changed 142", "from 1 to 142", "paste 142"}));
}

TEST_F(ComboBoxTest, TheMenusPasteEntryPastesOnceAndReportsAfterTheText)
{
    MakeEditable(L"1");
    QApplication::clipboard()->setText(QStringLiteral("42"));
    bool triggered = false;
    QTimer::singleShot(0, [&triggered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("&Paste"))) {
                action->trigger();
                triggered = true;
            }
        }
        menu->close();
    });
    emit widget()->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(triggered);
    EXPECT_EQ(box->CurrentText(), L"142");
    EXPECT_EQ(log, (Log{"edited 142", "changed 142", "from 1 to 142", "paste 142"}));

    box->SetEditable(false);
    QTimer::singleShot(
        0, [] { EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu without an edit field"; });
    emit widget()->customContextMenuRequested(QPoint(5, 5));
    QApplication::processEvents();
}

TEST_F(ComboBoxTest, ArrowKeysReportOnlySelectableItems)
{
    EXPECT_FALSE(PressKey(Qt::Key_Down)) << "an empty box has no current item";
    EXPECT_TRUE(log.empty());

    box->AddSeparator(L"Header", any());
    box->AddItem(L"a", any());
    box->AddSeparator(L"", any());
    box->AddItem(L"b", any());
    ASSERT_EQ(box->GetCurSel(), 0) << "the first row became current when it was added";
    log.clear();
    EXPECT_FALSE(PressKey(Qt::Key_Up)) << "a header is not selectable";
    EXPECT_TRUE(log.empty());

    box->SetCurSel(1);
    log.clear();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(log, (Log{"sel 3", "selected 3"})) << "the separator is skipped";
    log.clear();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(log, Log{"selected 3"}) << "at the end the index stays and is reported";
    log.clear();
    PressKey(Qt::Key_Up);
    EXPECT_EQ(log, (Log{"sel 1", "selected 1"}));
    log.clear();
    PressKey(Qt::Key_Up);
    EXPECT_EQ(log, Log{"selected 1"}) << "the header above is skipped";
}

TEST_F(ComboBoxTest, TheDelegatePaintsHeadersAndSeparators)
{
    box->AddSeparator(L"Group", any());
    box->AddSeparator(L"", any());
    box->AddItem(L"row", any());
    QAbstractItemDelegate* delegate = widget()->itemDelegate();
    const QPalette palette = widget()->palette();
    auto paintRow = [&](int row) {
        QImage image(120, 20, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.initFrom(widget()->view());
        option.rect = image.rect();
        delegate->paint(&painter, option, widget()->model()->index(row, 0));
        return image;
    };
    const QImage header = paintRow(0);
    EXPECT_EQ(header.pixel(110, 2), palette.color(QPalette::Dark).rgb());
    bool hasBlack = false;
    for (int x = 5; x < 60 && !hasBlack; ++x) {
        for (int y = 0; y < 20 && !hasBlack; ++y)
            hasBlack = header.pixelColor(x, y) == Qt::black;
    }
    EXPECT_TRUE(hasBlack) << "the header text is black";

    const QImage separator = paintRow(1);
    EXPECT_EQ(separator.pixel(60, 9), widget()->view()->palette().color(QPalette::Disabled, QPalette::Dark).rgb());
    EXPECT_EQ(separator.pixel(60, 2), palette.color(QPalette::Button).rgb());

    const QFontMetrics metrics{QFont()};
    QStyleOptionViewItem option;
    EXPECT_EQ(delegate->sizeHint(option, widget()->model()->index(2, 0)).height(), metrics.height() + 4);
}

TEST_F(ComboBoxTest, TheDroppedStateIsWhetherThePopupIsShown)
{
    box->ShowDropDown(true);
    EXPECT_FALSE(box->GetDroppedState()) << "an empty list does not open";
    box->AddItem(L"a", any());
    box->AddItem(L"b", any());
    QWidget* popup = widget()->view()->window();

    box->ShowDropDown(true);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(box->GetDroppedState());
    box->ShowDropDown(false);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_FALSE(box->GetDroppedState());

    const std::pair<const char*, std::function<void()>> closings[] = {
        {"a press outside",
         [this] { QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(210, 55)); }},
        {"Qt closing the popup window", [popup] { popup->close(); }},
        {"the combo box hidden", [this] { widget()->hide(); }},
    };
    for (const auto& [how, close] : closings) {
        widget()->show();
        box->ShowDropDown(true);
        ASSERT_TRUE(popup->isVisible()) << how;
        close();
        EXPECT_FALSE(popup->isVisible()) << how;
        EXPECT_FALSE(box->GetDroppedState()) << how;
        widget()->show();
        box->ShowDropDown(true);
        EXPECT_TRUE(popup->isVisible()) << how << ": opens again";
        box->ShowDropDown(false);
    }
}

TEST_F(ComboBoxTest, ColourRulesAccumulate)
{
    box->SetTextColor(0x123456);
    box->SetTextColor(0xff123456);
    box->SetSelectedItemTextColor(0xabcdef);
    const QString sheet = widget()->styleSheet();
    EXPECT_EQ(sheet.count(QStringLiteral("color: #ff123456;")), 4) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("QComboBox QAbstractItemView { selection-color: #ffabcdef; }")));
}

TEST_F(ComboBoxTest, EditFieldOperationsNeedAnEditField)
{
    EXPECT_FALSE(box->ShowBalloonTip(L"Title", L"Text", BalloonTipIconType::Information));
    EXPECT_FALSE(box->HideBalloonTip());
    EXPECT_EQ(box->GetCaretPosition(), -1);
    EXPECT_EQ(box->SelectionStart(), -1);
    box->SetAddToListOnEnterKey(true);
    EXPECT_EQ(widget()->insertPolicy(), QComboBox::NoInsert);

    box->SetEditable(true);
    EXPECT_FALSE(box->IsAutoComplete()) << "Qt's own completer is removed";
    box->SetAutoComplete(true);
    EXPECT_TRUE(box->IsAutoComplete());
    box->SetAddToListOnEnterKey(true);
    EXPECT_EQ(widget()->insertPolicy(), QComboBox::InsertAtBottom);
    box->SetCurrentText(L"hello");
    box->SetEditSel(1, 3);
    EXPECT_EQ(box->SelectionStart(), 1);
    EXPECT_EQ(box->SelectionLength(), 3);
    EXPECT_TRUE(box->ShowBalloonTip(L"Title", L"Text", BalloonTipIconType::Information));
    EXPECT_TRUE(box->HideBalloonTip());
    box->EnableEditListMode(true);
    EXPECT_NE(widget()->grab().toImage(), QImage());
}

TEST_F(ComboBoxTest, TheWidgetOutlivesItsControl)
{
    box->AddItem(L"a", 1L);
    box->AddItem(L"b", any());
    box->SetEditable(true);
    box->OnlyNumbers(true, 0, 9);
    QPointer<QComboBox> kept = widget();
    box.reset();
    log.clear();
    ASSERT_TRUE(kept);
    kept->setCurrentIndex(1);
    kept->setFocus();
    QTest::keyClicks(kept, "xy");
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(kept, &down);
    EXPECT_EQ(kept->currentText(), "bxy") << "a plain combo box: no filter any more";
    EXPECT_EQ(log, Log{});
}

TEST_F(ComboBoxTest, ArrowKeysOnAnotherModelAreIgnored)
{
    auto* names = new QStringListModel({QStringLiteral("a"), QStringLiteral("b")}, widget());
    widget()->setModel(names);
    widget()->setCurrentIndex(0);
    log.clear();
    EXPECT_FALSE(PressKey(Qt::Key_Down));
    EXPECT_EQ(log, Log{"sel 1"}) << "Qt moves; whether the row is selectable is not known";
}

TEST(ComboBoxWithoutWidgetTest, AnswersNeutrally)
{
    ComboBox box;
    delete box.GetWndPtr();
    EXPECT_EQ(box.GetWndPtr(), nullptr);
    EXPECT_EQ(box.AddItem(L"a", 1L), -1);
    EXPECT_EQ(box.InsertSeparator(3, L"h", any()), 3);
    EXPECT_EQ(box.Count(), -1);
    EXPECT_EQ(box.GetCurSel(), -1);
    EXPECT_EQ(box.FindString(L"a", -1), -1);
    EXPECT_TRUE(box.GetItemData(0).empty());
    EXPECT_FALSE(box.SetItemData(0, 1L));
    EXPECT_FALSE(box.RemoveItemData(0));
    EXPECT_FALSE(box.IsItemDisabled(0));
    EXPECT_FALSE(box.GetDroppedState());
    EXPECT_FALSE(box.ShowBalloonTip(L"t", L"x", BalloonTipIconType::Warning));
    EXPECT_EQ(box.GetItemFont(0).bold, -1);
    box.SetCurrentText(L"x");
    box.SetTextColor(1);
    box.SetEditable(true);
    box.ShowDropDown(true);
    box.AddPicture(0, L"/no/such.png", ScalePicture::Keep, {16, 16}, BitmapType::Default);
    EXPECT_EQ(box.CurrentText(), L"");
}
