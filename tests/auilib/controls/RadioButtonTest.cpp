#include "ControlTestSupport.h"

#include "BaseImplQt.h"
#include "PictureBytes.h"
#include "RadioButton.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

using namespace AUILib;

namespace {

// Two buttons of one parent, so Qt keeps them exclusive, and one record of both lists' firings.
class RadioButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int index = 0; index < 2; ++index) {
            RadioButton& button = buttons[index];
            button.Create(&window);
            button.SetText(index == 0 ? L"First" : L"Second");
            button.GetPlatformHandle()->adjustSize();
            button.GetPlatformHandle()->move(0, 30 * index);
            button.OnClicked.Add([this, index] { fired.push_back(index == 0 ? "clicked 0" : "clicked 1"); });
            button.OnChecked.Add([this, index] { fired.push_back(index == 0 ? "checked 0" : "checked 1"); });
        }
        window.show();
    }

    std::vector<std::string> Click(int index)
    {
        fired.clear();
        QWidget* widget = buttons[index].GetPlatformHandle();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
        return fired;
    }

    QWidget window;
    RadioButton buttons[2];
    std::vector<std::string> fired;
};

using Firings = std::vector<std::string>;

} // namespace

TEST_F(RadioButtonTest, ClickThatSwitchesOnFiresBothListsAFurtherClickOnlyTheFirst)
{
    EXPECT_EQ(Click(0), (Firings{"clicked 0", "checked 0"}));
    EXPECT_EQ(Click(0), (Firings{"clicked 0"}));
    EXPECT_EQ(Click(1), (Firings{"clicked 1", "checked 1"}));
    EXPECT_FALSE(buttons[0].Checked());
    EXPECT_TRUE(buttons[1].Checked());
}

TEST_F(RadioButtonTest, SetCheckOnLeavesItsSwitchingOnForTheNextClick)
{
    fired.clear();
    buttons[0].SetCheck(true);
    EXPECT_TRUE(buttons[0].Checked());
    EXPECT_TRUE(fired.empty()) << "setting is no click";
    EXPECT_EQ(Click(0), (Firings{"clicked 0", "checked 0"}));
    EXPECT_EQ(Click(0), (Firings{"clicked 0"}));
}

TEST_F(RadioButtonTest, SetCheckOffSwitchesAnExclusiveButtonOffAndKeepsItExclusive)
{
    buttons[0].SetCheck(true);
    buttons[0].SetCheck(false);
    EXPECT_FALSE(buttons[0].Checked());
    EXPECT_FALSE(buttons[1].Checked());
    auto* widget = qobject_cast<QRadioButton*>(buttons[0].GetPlatformHandle());
    EXPECT_TRUE(widget->autoExclusive());

    buttons[1].SetCheck(false);
    EXPECT_FALSE(buttons[1].Checked());
    Click(1);
    buttons[0].SetCheck(true);
    EXPECT_FALSE(buttons[1].Checked()) << "still exclusive";
}

TEST(RadioButton, TextCarriesEveryCodePointAndLowersTheProgrammaticFlag)
{
    RadioButton button;
    button.SetText(L"\u00C4pfel \U0001F34E");
    EXPECT_EQ(button.GetText(), L"\u00C4pfel \U0001F34E");
    EXPECT_FALSE(std::static_pointer_cast<BaseImplQt>(button.GetBaseImpl())->IsProgrammaticChange());
    auto info = std::make_shared<GroupInfo>();
    button.SetGroupInfo(info);
    EXPECT_EQ(button.GetGroupInfo(), info);
}

namespace {

using PictureBytes::Encoded;
using PictureBytes::Filled;

// An icon file holding a 32- and a 16-pixel picture, in that order: as an icon it offers the 16,
// read as a plain picture it gives the first, 32 pixels wide.
QByteArray TwoSizeIcon()
{
    const QByteArray large = Encoded(Filled(32, 32, Qt::red), "ICO");
    const QByteArray small = Encoded(Filled(16, 16, Qt::blue), "ICO");
    const int header = 6;
    const int entry = 16;
    QByteArray icon = large.left(header);
    qToLittleEndian<quint16>(2, icon.data() + 4);
    QByteArray entries = large.mid(header, entry) + small.mid(header, entry);
    const quint32 firstData = header + 2 * entry;
    qToLittleEndian<quint32>(firstData, entries.data() + 12);
    qToLittleEndian<quint32>(firstData + large.size() - header - entry, entries.data() + entry + 12);
    return icon + entries + large.mid(header + entry) + small.mid(header + entry);
}

} // namespace

TEST(RadioButton, IconFileNamesAreToldByTheirCompleteSuffix)
{
    QTemporaryDir folder;
    const QByteArray icon = TwoSizeIcon();
    struct Case
    {
        const char* name;
        int width;
    };
    const Case cases[] = {{"picture.ico", 16}, {"picture.ICO", 16}, {"picture.Ico", 16}, {"picture.x.ico", 32}};
    for (const Case& c : cases) {
        const QString path = QDir(folder.path()).filePath(QString::fromLatin1(c.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(icon);
        file.close();

        RadioButton button;
        button.SetText(L"text");
        button.LoadPicture(path.toStdWString(), ScalePicture::Keep, 16);
        auto* widget = qobject_cast<QRadioButton*>(button.GetPlatformHandle());
        EXPECT_EQ(widget->iconSize(), QSize(c.width, c.width)) << c.name;
        EXPECT_FALSE(widget->icon().isNull()) << c.name;
        EXPECT_EQ(button.GetText(), L"") << c.name << ": the picture replaces the text";
    }
}

TEST(RadioButton, PictureBytesOfEachKindReplaceTheText)
{
    const QByteArray png = PictureBytes::Png(20, 20, Qt::green);
    const QByteArray icon = TwoSizeIcon();
    struct Case
    {
        const QByteArray* bytes;
        ImageTypes type;
        QSize size;
    };
    const Case cases[] = {{&png, ImageTypes::PNG, QSize(20, 20)}, {&icon, ImageTypes::ICO, QSize(16, 16)}};
    for (const Case& c : cases) {
        RadioButton button;
        button.SetText(L"text");
        button.LoadPicture(reinterpret_cast<const unsigned char*>(c.bytes->constData()), c.bytes->size(), c.type,
                           ScalePicture::Keep, 16);
        auto* widget = qobject_cast<QRadioButton*>(button.GetPlatformHandle());
        EXPECT_EQ(widget->iconSize(), c.size) << static_cast<int>(c.type);
        EXPECT_FALSE(widget->icon().isNull());
        EXPECT_EQ(button.GetText(), L"");
    }
}

TEST(RadioButton, UnreadablePictureLeavesNeitherTextNorIcon)
{
    const QByteArray png = PictureBytes::Png(20, 20, Qt::green);
    const auto* bytes = reinterpret_cast<const unsigned char*>(png.constData());
    struct Case
    {
        const char* what;
        const unsigned char* data;
        int size;
        ImageTypes type;
    };
    const Case cases[] = {
        {"null data", nullptr, 100, ImageTypes::PNG},
        {"no bytes", bytes, 0, ImageTypes::PNG},
        {"negative length", bytes, -1, ImageTypes::PNG},
        {"negative icon length", bytes, -5, ImageTypes::ICO},
        {"not a picture", reinterpret_cast<const unsigned char*>("garbage"), 7, ImageTypes::BMP},
    };
    for (const Case& c : cases) {
        RadioButton button;
        button.LoadPicture(bytes, png.size(), ImageTypes::PNG, ScalePicture::Keep, 16);
        button.SetText(L"text");
        button.LoadPicture(c.data, c.size, c.type, ScalePicture::Keep, 16);
        EXPECT_TRUE(qobject_cast<QRadioButton*>(button.GetPlatformHandle())->icon().isNull()) << c.what;
        EXPECT_EQ(button.GetText(), L"") << c.what;
    }
    RadioButton button;
    button.SetText(L"text");
    button.LoadPicture(L"/no/such/picture.png", ScalePicture::Keep, 16);
    EXPECT_EQ(button.GetText(), L"");
}

TEST(RadioButton, GoneWidgetAnswersNeutrally)
{
    RadioButton button;
    delete button.GetPlatformHandle();
    button.SetCheck(true);
    button.SetText(L"x");
    button.LoadPicture(L"x.png", ScalePicture::Keep, 16);
    const unsigned char byte = 0;
    button.LoadPicture(&byte, 1, ImageTypes::PNG, ScalePicture::Keep, 16);
    EXPECT_FALSE(button.Checked());
    EXPECT_EQ(button.GetText(), L"");
}
