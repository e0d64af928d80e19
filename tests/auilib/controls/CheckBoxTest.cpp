#include "CheckBox.h"

#include "CheckBoxQt.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

class CheckBoxTest : public testing::Test
{
protected:
    void SetUp() override
    {
        box = std::make_unique<CheckBox>();
        box->Create(&window);
        box->OnClicked.Add([this] { ++clicks; });
        widget()->setGeometry(0, 0, 300, 60);
        window.resize(320, 80);
        window.show();
    }

    QCheckBox* widget() const { return static_cast<QCheckBox*>(box->GetPlatformHandle()); }

    QPoint indicatorCentre() const
    {
        QStyleOptionButton option;
        option.initFrom(widget());
        return widget()->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, widget()).center();
    }

    QWidget window;
    std::unique_ptr<CheckBox> box;
    int clicks = 0;
};

} // namespace

TEST_F(CheckBoxTest, PartialStateOnlyOnATristateBox)
{
    EXPECT_EQ(box->GetControlType(), ControlType::CheckBox);
    EXPECT_EQ(box->GetParentWindow(), &window);
    box->SetCheck(CheckBoxStates::Checked);
    box->SetCheck(CheckBoxStates::PartiallyChecked);
    EXPECT_EQ(box->GetCheck(), CheckBoxStates::Checked) << "a two-state box ignores the partial state";
    box->SetTristate(true);
    box->SetCheck(CheckBoxStates::PartiallyChecked);
    EXPECT_EQ(box->GetCheck(), CheckBoxStates::PartiallyChecked);
    box->SetCheck(CheckBoxStates::Unchecked);
    EXPECT_EQ(box->GetCheck(), CheckBoxStates::Unchecked);
    EXPECT_EQ(clicks, 0) << "setting the state is not a click";
}

TEST_F(CheckBoxTest, OneClickFiresOnce)
{
    box->SetText(L"Remember \u00e9t\u00e9 \U0001F600");
    EXPECT_EQ(box->GetText(), L"Remember \u00e9t\u00e9 \U0001F600");
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, indicatorCentre());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->GetCheck(), CheckBoxStates::Checked);
}

TEST_F(CheckBoxTest, InWrapModeTheWholeWidgetIsClickable)
{
    box->SetText(L"Short");
    const QPoint farRight(widget()->width() - 5, widget()->height() / 2);
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, farRight);
    EXPECT_EQ(clicks, 0) << "outside wrap mode only the indicator and the text count";

    box->SetWrap(true);
    QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, farRight);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->GetCheck(), CheckBoxStates::Checked);
}

TEST_F(CheckBoxTest, WrappedTextStaysInsideTheWidget)
{
    const std::wstring text = L"Check for updates automatically and tell me when a new version can be installed";
    box->SetText(text);
    box->SetWrap(true);
    widget()->setGeometry(0, 0, 160, 70);
    const QImage wrapped = widget()->grab().toImage();
    box->SetWrap(false);
    const QImage plain = widget()->grab().toImage();
    EXPECT_NE(wrapped, plain);

    // The wrapped text reaches further down than one line would.
    const QColor textColour = widget()->palette().color(QPalette::WindowText);
    auto lowestTextRow = [&](const QImage& image) {
        for (int y = image.height() - 1; y >= 0; --y) {
            for (int x = 30; x < image.width(); ++x) {
                if (QColor(image.pixel(x, y)).lightness() < 128 && textColour.lightness() < 128)
                    return y;
            }
        }
        return -1;
    };
    EXPECT_GT(lowestTextRow(wrapped), lowestTextRow(plain));
}

TEST_F(CheckBoxTest, TheWidgetOutlivesItsControl)
{
    QPointer<QCheckBox> kept = widget();
    const QPoint indicator = indicatorCentre();
    box.reset();
    ASSERT_TRUE(kept);
    QTest::mouseClick(kept, Qt::LeftButton, Qt::NoModifier, indicator);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(kept->isChecked()) << "a plain check box now";
}

TEST(CheckBoxWithoutWidgetTest, AnswersNeutrally)
{
    CheckBox box;
    delete box.GetPlatformHandle();
    box.SetCheck(CheckBoxStates::Checked);
    box.SetText(L"x");
    box.SetWrap(true);
    EXPECT_EQ(box.GetCheck(), CheckBoxStates::Unchecked);
    EXPECT_EQ(box.GetText(), L"");
}
