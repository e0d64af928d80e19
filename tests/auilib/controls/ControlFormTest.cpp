#include "FormDialogFixture.h"

#include "DoubleSpinEdit.h"
#include "Edit.h"
#include "GroupBox.h"
#include "Label.h"
#include "MultiLineEdit.h"
#include "ProgressBar.h"
#include "RadioButton.h"
#include "RichEdit.h"
#include "ScrollArea.h"
#include "ScrollBar.h"
#include "Slider.h"
#include "SpinEdit.h"
#include "Splitter.h"
#include "StackedDialog.h"
#include "TabView.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace AUILib;

namespace {

std::string Narrow(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

// Where a click surely hits a radio button, however wide the form made it.
QPoint IndicatorCentre(QWidget* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button).center();
}

template <typename Control>
bool IsA(BaseGUIObject* control)
{
    return dynamic_cast<Control*>(control) != nullptr;
}

// The form with one of each text entry, display, numeric, choice and container control.
class ControlFormTest : public FormDialogTest
{
protected:
    void SetUp() override
    {
        FormDialogTest::SetUp();
        dialog = std::make_unique<Dialog>(PlaceForm("controls.ui"));
        dialog->GetWndPtr()->show();
    }

    void TearDown() override
    {
        dialog.reset();
        FormDialogTest::TearDown();
    }

    template <typename Control>
    Control& control(const wchar_t* name) const
    {
        auto* found = dialog->GetControlPtr<Control*>(name);
        if (!found)
            throw std::runtime_error("no control " + Narrow(name) + " of the type asked for");
        return *found;
    }

    QWidget* widget(const wchar_t* name) const { return dialog->GetElementByName(name)->GetPlatformHandle(); }

    std::unique_ptr<Dialog> dialog;
};

} // namespace

TEST_F(ControlFormTest, EachClassNameMakesItsControlInTheFormsPlace)
{
    struct Row
    {
        const wchar_t* name;
        ControlType type;
        bool (*isA)(BaseGUIObject*);
        const char* widgetClass;
    };
    const Row rows[] = {
        {L"edtName", ControlType::Edit, IsA<Edit>, "AUILib::EditQt"},
        {L"txtNotes", ControlType::MultiLineEdit, IsA<MultiLineEdit>, "AUILib::MultiLineEditQt"},
        {L"txtRich", ControlType::RichEdit, IsA<RichEdit>, "AUILib::RichEditQt"},
        {L"lblTitle", ControlType::Label, IsA<Label>, "AUILib::LabelQt"},
        {L"grpChoice", ControlType::GroupBox, IsA<GroupBox>, "AUILib::GroupBoxQt"},
        {L"radFirst", ControlType::RadioButton, IsA<RadioButton>, "AUILib::RadioButtonQt"},
        {L"prgDone", ControlType::ProgressBar, IsA<ProgressBar>, "AUILib::ProgressBarQt"},
        {L"spnCount", ControlType::SpinEdit, IsA<SpinEdit>, "AUILib::SpinEditQt"},
        {L"spnSize", ControlType::DoubleSpinEdit, IsA<DoubleSpinEdit>, "AUILib::DoubleSpinEditQt"},
        {L"scrRanges", ControlType::ScrollArea, IsA<ScrollArea>, "AUILib::ScrollAreaQt"},
        {L"sldLevel", ControlType::Slider, IsA<Slider>, "AUILib::SliderQt"},
        {L"sbrOffset", ControlType::ScrollBar, IsA<ScrollBar>, "AUILib::ScrollBarQt"},
        {L"splPanes", ControlType::Splitter, IsA<Splitter>, "AUILib::SplitterQt"},
        {L"stkPages", ControlType::StackedDialog, IsA<StackedDialog>, "AUILib::StackedDialogQt"},
        {L"tabSections", ControlType::TabView, IsA<TabView>, "AUILib::TabViewQt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.name));
        const std::shared_ptr<BaseGUIObject> found = dialog->GetElementByName(row.name);
        ASSERT_TRUE(found);
        EXPECT_TRUE(row.isA(found.get()));
        EXPECT_EQ(found->GetControlType(), row.type);
        EXPECT_EQ(found->GetName(), row.name);
        QWidget* shown = found->GetPlatformHandle();
        ASSERT_TRUE(shown);
        EXPECT_STREQ(shown->metaObject()->className(), row.widgetClass);
        EXPECT_EQ(shown->objectName().toStdWString(), row.name);
        EXPECT_EQ(shown->window(), dialog->GetWndPtr()) << "placed in the form, not a window of its own";
        EXPECT_TRUE(shown->isVisible());
    }
}

TEST_F(ControlFormTest, WhatTheFormSaysReachesTheControls)
{
    EXPECT_EQ(control<Edit>(L"edtName").GetText(), L"Report");
    EXPECT_EQ(control<MultiLineEdit>(L"txtNotes").GetText(), L"Notes");
    EXPECT_EQ(control<RichEdit>(L"txtRich").GetText(), L"Rich text");
    EXPECT_EQ(control<Label>(L"lblTitle").GetText(), L"Title");
    EXPECT_EQ(control<GroupBox>(L"grpChoice").GetText(), L"Choice");
    EXPECT_TRUE(control<RadioButton>(L"radFirst").Checked());
    EXPECT_EQ(control<RadioButton>(L"radSecond").GetText(), L"Second");
    EXPECT_EQ(widget(L"radFirst")->parentWidget(), widget(L"grpChoice"));
    EXPECT_EQ(control<ProgressBar>(L"prgDone").GetValue(), 40);
    EXPECT_EQ(control<Slider>(L"sldLevel").GetValue(), 30);

    // The pages of the containers are the form's own, in its order.
    auto* scrollArea = qobject_cast<QScrollArea*>(widget(L"scrRanges"));
    ASSERT_TRUE(scrollArea);
    ASSERT_TRUE(scrollArea->widget());
    EXPECT_EQ(scrollArea->widget()->objectName(), "rangesContents");
    EXPECT_TRUE(scrollArea->widget()->isAncestorOf(widget(L"sldLevel")));
    EXPECT_TRUE(scrollArea->widget()->isAncestorOf(widget(L"sbrOffset")));

    auto* splitter = qobject_cast<QSplitter*>(widget(L"splPanes"));
    ASSERT_TRUE(splitter);
    ASSERT_EQ(splitter->count(), 2);
    EXPECT_EQ(splitter->widget(1)->objectName(), "paneRight");

    StackedDialog& stack = control<StackedDialog>(L"stkPages");
    EXPECT_EQ(stack.GetCurrentIndex(), 1);
    ASSERT_TRUE(stack.GetPage(0));
    EXPECT_EQ(stack.GetPage(0)->objectName(), "pageOne");
    EXPECT_EQ(stack.GetPage(1), widget(L"pageTwo"));
    EXPECT_EQ(stack.GetPage(2), nullptr);

    TabView& tabs = control<TabView>(L"tabSections");
    EXPECT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.GetTabText(0), L"General");
    EXPECT_EQ(tabs.GetTabText(1), L"Advanced");
    EXPECT_EQ(tabs.GetCurrentIndex(), 0);
}

// The controls live as long as the dialog and hear what is done to their widgets in the form.
TEST_F(ControlFormTest, UserActionsInTheFormReachTheControlsHandlers)
{
    std::vector<std::string> heard;
    const auto hear = [&heard](std::string what) { heard.push_back(std::move(what)); };

    Edit& edit = control<Edit>(L"edtName");
    edit.onTextEdited.Add([&](std::wstring text) { hear("edit " + Narrow(text)); });
    widget(L"edtName")->setFocus();
    static_cast<QLineEdit*>(widget(L"edtName"))->end(false);
    QTest::keyClicks(widget(L"edtName"), "s");

    MultiLineEdit& notes = control<MultiLineEdit>(L"txtNotes");
    notes.onTextEdited.Add([&] { hear("notes " + Narrow(notes.GetText())); });
    widget(L"txtNotes")->setFocus();
    QTest::keyClick(widget(L"txtNotes"), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(widget(L"txtNotes"), "!");

    RadioButton& second = control<RadioButton>(L"radSecond");
    second.OnClicked.Add([&] { hear("second clicked"); });
    QTest::mouseClick(widget(L"radSecond"), Qt::LeftButton, Qt::NoModifier, IndicatorCentre(widget(L"radSecond")));
    EXPECT_TRUE(second.Checked());
    EXPECT_FALSE(control<RadioButton>(L"radFirst").Checked()) << "the group box's buttons exclude each other";

    control<SpinEdit>(L"spnCount").OnArrowValueChanged.Add([&](long long value, long long change) {
        hear("count " + std::to_string(value) + " " + std::to_string(change));
    });
    QTest::keyClick(widget(L"spnCount"), Qt::Key_Up);

    DoubleSpinEdit& size = control<DoubleSpinEdit>(L"spnSize");
    size.OnValueChanged.Add([&](double value) { hear("size " + QString::number(value).toStdString()); });
    QTest::keyClick(widget(L"spnSize"), Qt::Key_Up);

    control<Slider>(L"sldLevel").OnValueChanged.Add([&](int value) { hear("level " + std::to_string(value)); });
    QTest::keyClick(widget(L"sldLevel"), Qt::Key_Right);

    control<ScrollBar>(L"sbrOffset").OnValueChanged.Add([&](int value) { hear("offset " + std::to_string(value)); });
    QTest::keyClick(widget(L"sbrOffset"), Qt::Key_PageDown);

    control<TabView>(L"tabSections").OnCurrentChanged.Add([&](int index) { hear("tab " + std::to_string(index)); });
    QTabBar* bar = static_cast<QTabWidget*>(widget(L"tabSections"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());

    control<ProgressBar>(L"prgDone").OnValueChanged.Add([&](int value) { hear("done " + std::to_string(value)); });
    control<ProgressBar>(L"prgDone").SetValue(60);

    EXPECT_EQ(heard, (std::vector<std::string>{"edit Reports", "notes Notes!", "second clicked", "count 1 1",
                                               "size 1", "level 31", "offset 1", "tab 1", "done 60"}));
}
