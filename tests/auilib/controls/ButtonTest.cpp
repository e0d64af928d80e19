#include "Button.h"

#include "ButtonBoxQt.h"
#include "ButtonImpl.h"
#include "ButtonQt.h"
#include "ContextMenu.h"
#include "ControlTestSupport.h"
#include "PictureBytes.h"
#include "PopupDriver.h"
#include "StyleSheetRules.h"

#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace AUILib;

namespace {

class ButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(button->Create(&window));
        button->MoveWindow(10, 10, 100, 30, false);
    }

    QPushButton* widget() const { return qobject_cast<QPushButton*>(button->GetPlatformHandle()); }
    Button::impl& impl() const { return *std::static_pointer_cast<Button::impl>(button->GetBaseImpl()); }

    void ShowActive()
    {
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    std::shared_ptr<Button> button = std::make_shared<Button>();
};

QByteArray ImageBytes(const char* format, int side, Qt::GlobalColor colour)
{
    const QByteArray bytes = PictureBytes::Encoded(PictureBytes::Filled(side, side, colour), format);
    EXPECT_FALSE(bytes.isEmpty()) << format;
    return bytes;
}

// The colour a user sees at a point of the widget, whatever the screen's scale.
QColor PixelAt(QWidget* widget, QPoint point)
{
    const QImage image = widget->grab().toImage();
    return image.pixelColor(point * image.devicePixelRatio());
}

const unsigned char* Data(const QByteArray& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.constData());
}

} // namespace

TEST(StyleSheetRules, EditsOneValueAndWritesTheRulesOut)
{
    struct Case
    {
        const char* sheet;
        const char* selector;
        const char* name;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"QPushButton{color: #ffffff}", "QPushButton", "color", "#000000", "QPushButton { color: #000000; } "},
        {"", "QPushButton", "color", "#000000", ""},
        {"QPushButton{color:#1;color:#2} QLabel{color:#3}", "QPushButton", "color", "#4",
         "QPushButton { color: #4; color: #4; } QLabel { color: #3; } "},
        {"QPushButton{color:#1}", "QPushButton:hover", "color", "#2", "QPushButton { color: #1; } "},
        {"QPushButton{color:#1}", "QPushButton", "border", "0px", "QPushButton { color: #1; } "},
        {R"(a{background:qlineargradient(x1\u3A0, y1\u3A1)})", "a", "color", "#1",
         R"(a { background: qlineargradient(x1\u3A0, y1\u3A1); } )"},
        {"a{b:c:d}", "a", "x", "y", "a { b: d; } "},
        {" } {;}a{ ;b : c ; }", "a", "b", "e", " { } a { b: e; } "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StyleSheetRules(QString::fromUtf8(c.sheet), QString::fromUtf8(c.selector), QString::fromUtf8(c.name),
                                  QString::fromUtf8(c.value)),
                  QString::fromUtf8(c.expected))
            << c.sheet;
    }
}

TEST_F(ButtonTest, TextAcrossStyles)
{
    button->SetText(L"Save");
    EXPECT_EQ(widget()->text(), QStringLiteral("Save"));
    button->SetStyle(Button::Expander);
    EXPECT_EQ(widget()->text(), QStringLiteral("+ Save"));
    button->SetStyle(Button::Expander);
    EXPECT_EQ(widget()->text(), QStringLiteral("+ + Save")) << "the prefix goes before the text the button had";
    button->SetText(L"Más");
    EXPECT_EQ(widget()->text(), QStringLiteral("+ Más"));
    EXPECT_EQ(button->GetText(), L"Más");
    button->SetText(L"x");
    EXPECT_EQ(button->GetText(), L"x") << "shorter than the prefix";

    button->SetStyle(Button::PictureOnly);
    EXPECT_TRUE(widget()->text().isEmpty());
    button->SetText(L"Hidden");
    EXPECT_TRUE(widget()->text().isEmpty());

    button->SetStyle(Button::Standard);
    button->SetText(L"Open");
    const QByteArray png = ImageBytes("PNG", 8, Qt::red);
    button->LoadPicture(Data(png), png.size(), ImageTypes::PNG, ScalePicture::Keep, 8, false);
    button->SetStyle(Button::PictureAboveText);
    EXPECT_TRUE(widget()->text().isEmpty());
    EXPECT_TRUE(widget()->icon().isNull());
    EXPECT_EQ(button->GetText(), L"Open") << "the text moves to the label under the picture";
    const QList<QLabel*> labels = widget()->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_FALSE(ShownPixmap(*labels[0]).isNull());
    button->SetStyle(Button::Standard);
    EXPECT_EQ(widget()->findChildren<QLabel*>().size(), 2) << "the labels stay";
}

TEST_F(ButtonTest, ARepeatedSwitchToAPictureAboveTextStyleKeepsTheText)
{
    using Style = Button::ButtonStyle;
    const std::pair<Style, Style> switches[] = {
        {Button::PictureAboveText, Button::PictureAboveText},
        {Button::RoundedPictureAboveText, Button::RoundedPictureAboveText},
        {Button::PictureAboveText, Button::RoundedPictureAboveText},
    };
    for (const auto& [first, second] : switches) {
        auto repeated = std::make_shared<Button>();
        ASSERT_TRUE(repeated->Create(&window));
        repeated->SetText(L"Go");
        repeated->SetStyle(first);
        repeated->SetStyle(second);
        EXPECT_EQ(repeated->GetText(), L"Go") << first << " then " << second;
        EXPECT_TRUE(qobject_cast<QPushButton*>(repeated->GetPlatformHandle())->text().isEmpty());

        repeated->SetStyle(Button::Standard);
        repeated->SetText(L"Stop");
        repeated->SetStyle(second);
        EXPECT_EQ(repeated->GetText(), L"Stop") << "a text given in another style moves to the label";
    }
}

TEST_F(ButtonTest, AClickDropsTheMenuDownBeforeItIsReported)
{
    std::vector<std::string> order;
    auto menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(&window));
    menu->AddItem(L"First", [&] { order.push_back("menu"); }, 0);
    button->InsertMenuBar(menu, true);
    button->OnClicked.Add([&] { order.push_back("clicked"); });
    ShowActive();

    QPoint shownAt;
    whenPopupShown([&](QMenu* open) {
        shownAt = open->pos();
        open->setActiveAction(open->actions().at(0));
        QTest::keyClick(open, Qt::Key_Return);
    });
    widget()->click();
    EXPECT_EQ(order, (std::vector<std::string>{"menu", "clicked"}));
    const Rect area = button->GetWindowRect();
    EXPECT_EQ(shownAt, QPoint(area.left, area.bottom));

    button->RemoveMenuBar();
    widget()->click();
    EXPECT_EQ(order.back(), "clicked");
    EXPECT_EQ(order.size(), 3U);
}

TEST_F(ButtonTest, AMenuCallbackMayReleaseTheButton)
{
    auto menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(&window));
    int clicked = 0;
    menu->AddItem(L"Release", [&] { button.reset(); }, 0);
    button->InsertMenuBar(menu, false);
    button->OnClicked.Add([&] { ++clicked; });
    QPointer<QPushButton> pushButton = widget();
    ShowActive();
    chooseFromPopup(QStringLiteral("Release"));
    pushButton->click();
    EXPECT_FALSE(button);
    EXPECT_EQ(clicked, 0) << "a released button reports nothing";
    ASSERT_TRUE(pushButton) << "the window keeps the widget";
    pushButton->click();
    QTest::qWait(1);
}

TEST_F(ButtonTest, PicturesFromBytes)
{
    const QByteArray png = ImageBytes("PNG", 16, Qt::blue);
    button->LoadPicture(Data(png), png.size(), ImageTypes::PNG, ScalePicture::Keep, 16, true);
    EXPECT_FALSE(widget()->icon().isNull());
    EXPECT_EQ(widget()->iconSize(), QSize(16, 16));
    EXPECT_TRUE(widget()->isFlat());

    const QByteArray ico = ImageBytes("ICO", 16, Qt::green);
    auto fromIco = std::make_shared<Button>();
    fromIco->Create(&window);
    fromIco->LoadPicture(Data(ico), ico.size(), ImageTypes::ICO, ScalePicture::Keep, 16, false);
    const QIcon icon = qobject_cast<QPushButton*>(fromIco->GetPlatformHandle())->icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(16, 16).toImage().pixel(8, 8), qRgb(0, 255, 0));

    for (int length : {0, -1, -100000}) {
        auto bad = std::make_shared<Button>();
        bad->Create(&window);
        bad->LoadPicture(Data(png), length, ImageTypes::PNG, ScalePicture::Keep, 16, false);
        bad->LoadPictureDisabled(Data(ico), length, ImageTypes::ICO, ScalePicture::Keep, 16, false);
        bad->LoadPicture(nullptr, 100, ImageTypes::PNG, ScalePicture::Keep, 16, false);
        EXPECT_TRUE(qobject_cast<QPushButton*>(bad->GetPlatformHandle())->icon().isNull()) << length;
    }
}

TEST_F(ButtonTest, APictureLargerThanTheButtonIsShownAtTheScreensScale)
{
    const QByteArray png = ImageBytes("PNG", 64, Qt::blue);
    button->LoadPicture(Data(png), png.size(), ImageTypes::PNG, ScalePicture::Keep, 64, false);
    const double scale = AUILibUtils::GetScaleFactor();
    const QSize expected(qRound(64 / scale), qRound(64 / scale));
    EXPECT_EQ(widget()->iconSize(), expected);
    QResizeEvent resize(QSize(100, 30), QSize(100, 30));
    QApplication::sendEvent(widget(), &resize);
    EXPECT_EQ(widget()->iconSize(), expected);
}

TEST_F(ButtonTest, DefaultSheetByHeightAndGradientsSurviveEdits)
{
    button->MoveWindow(10, 10, 100, 31, false);
    button->SetTextColor(0x12345678);
    EXPECT_TRUE(widget()->styleSheet().startsWith(
        QStringLiteral("QPushButton { color: #345678; background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                       "stop:0 #e5e5e5, stop:1 #f7f7f7);")))
        << widget()->styleSheet().toStdString();
    EXPECT_TRUE(impl().CurrentSheet().contains(QStringLiteral(R"(x1\u3A0)")));
    EXPECT_EQ(widget()->minimumHeight(), 18);
    EXPECT_TRUE(widget()->isFlat());

    auto shorter = std::make_shared<Button>();
    shorter->Create(&window);
    shorter->MoveWindow(0, 0, 100, 30, false);
    shorter->GetBaseImpl()->SetMinimumSize({0, 25});
    shorter->SetBackgroundColor(0x80ff0000, 0x8000ff00, 0x800000ff, 0xFFFFFFFF, 0xFFFFFFFF);
    const QString sheet = qobject_cast<QPushButton*>(shorter->GetPlatformHandle())->styleSheet();
    EXPECT_TRUE(sheet.contains(QStringLiteral("border-radius: 5px;"))) << "the other default sheet";
    EXPECT_TRUE(sheet.contains(QStringLiteral("QPushButton:focus { color: #000000; background-color: #8000ff00;")))
        << "focus takes the hover colour: " << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("QPushButton:pressed { background-color: #80ff0000;")));
    EXPECT_EQ(shorter->GetPlatformHandle()->minimumHeight(), 25);

    shorter->SetRoundedButtonCornerRadius(0);
    EXPECT_TRUE(qobject_cast<QPushButton*>(shorter->GetPlatformHandle())
                    ->styleSheet()
                    .contains(QStringLiteral("border-radius: 15px;")));
}

TEST_F(ButtonTest, RoundedRadiusFollowsTheHeight)
{
    button->SetStyle(Button::Rounded);
    EXPECT_TRUE(widget()->styleSheet().contains(QStringLiteral("border-radius: 15px;")));
    ShowActive();
    button->MoveWindow(10, 10, 100, 40, false);
    EXPECT_TRUE(widget()->styleSheet().contains(QStringLiteral("border-radius: 20px;")))
        << widget()->styleSheet().toStdString();
    EXPECT_EQ(impl().CurrentSheet(), widget()->styleSheet());
}

TEST_F(ButtonTest, LinkStyleShowsAFocusBorderForTheKeyboardOnly)
{
    auto before = std::make_shared<Button>();
    before->Create(&window);
    button->SetStyle(Button::Link);
    ShowActive();
    before->GetPlatformHandle()->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(widget(), Qt::LeftButton);
    EXPECT_TRUE(widget()->styleSheet().contains(QStringLiteral("QPushButton:focus { outline: none; border-width: 0px;")));
    before->GetPlatformHandle()->setFocus(Qt::MouseFocusReason);
    widget()->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(widget()->styleSheet().contains(QStringLiteral("QPushButton:focus { outline: none; border-width: 1px;")));
}

TEST_F(ButtonTest, TheMenuArrowTakesTheDisabledColourOfADisabledButton)
{
    auto menu = std::make_shared<ContextMenu>();
    menu->Create(&window);
    button->InsertMenuBar(menu, true);
    button->SetTextColor(0xff0000, 0x00ff00);
    const QPoint tip(50, 29 - 3 - 2);
    EXPECT_EQ(PixelAt(widget(), tip), QColor(Qt::red));
    widget()->setEnabled(false);
    EXPECT_EQ(PixelAt(widget(), tip), QColor(Qt::green));
    button->RemoveMenuBar();
    EXPECT_NE(PixelAt(widget(), tip), QColor(Qt::green));
}

TEST_F(ButtonTest, AWidgetOutlivingItsButtonIsAPlainPushButton)
{
    int clicks = 0;
    button->OnClicked.Add([&] { ++clicks; });
    button->SetStyle(Button::Link);
    QPointer<QPushButton> pushButton = widget();
    button.reset();
    ASSERT_TRUE(pushButton);
    pushButton->click();
    pushButton->resize(120, 40);
    pushButton->grab();
    pushButton->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(clicks, 0);
}

TEST(ButtonBoxSheets, SizesAreRecordedOnTheFirstActivationOnly)
{
    QWidget window;
    auto* box = new ButtonBoxQt(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    Button ok(box->button(QDialogButtonBox::Ok));
    ok.SetStyle(Button::Rounded);
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->styleSheet().isEmpty()) << "the box styles its buttons";
    ASSERT_EQ(box->Sheets().count(QDialogButtonBox::Ok), 1U);

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QSize size = box->button(QDialogButtonBox::Ok)->size();
    const QString expected = QStringLiteral("QDialogButtonBox [text='OK'] {min-width:%1px;min-height:%2px;margin-top:2px;")
                                 .arg(size.width() - 14)
                                 .arg(size.height() - 12);
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->styleSheet().startsWith(expected))
        << box->button(QDialogButtonBox::Ok)->styleSheet().toStdString();
    EXPECT_TRUE(box->button(QDialogButtonBox::Cancel)->styleSheet().isEmpty());

    box->button(QDialogButtonBox::Ok)->resize(size.width() + 40, size.height());
    ok.SetRoundedButtonCornerRadius(3);
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->styleSheet().startsWith(expected))
        << "frozen sizes: " << box->button(QDialogButtonBox::Ok)->styleSheet().toStdString();
    EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->styleSheet().contains(QStringLiteral("border-radius: 3px;")));
}
