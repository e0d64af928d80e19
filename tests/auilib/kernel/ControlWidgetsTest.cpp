// What every control of the library shares: its own widget class, made with the control, and a
// widget that outlives its control under a parent and goes on as a plain Qt widget.
#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "BaseGUIObject.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace AUILib;

namespace {

struct ControlCase
{
    const char* key;
    ControlType type;
    const char* widgetClass;
    // Makes the widget emit what its control listened to.
    std::function<void(QWidget*)> poke;
};

void SetValueProperty(QWidget* widget)
{
    widget->setProperty("value", 7);
}

const ControlCase kControls[] = {
    {"QScrollArea", ControlType::ScrollArea, "AUILib::ScrollAreaQt", nullptr},
    {"QRadioButton", ControlType::RadioButton, "AUILib::RadioButtonQt",
     [](QWidget* widget) { qobject_cast<QAbstractButton*>(widget)->click(); }},
    {"QGroupBox", ControlType::GroupBox, "AUILib::GroupBoxQt", nullptr},
    {"QTabWidget", ControlType::TabView, "AUILib::TabViewQt",
     [](QWidget* widget) {
         auto* tabs = qobject_cast<QTabWidget*>(widget);
         tabs->addTab(new QWidget, QStringLiteral("a"));
         tabs->addTab(new QWidget, QStringLiteral("b"));
         tabs->setCurrentIndex(1);
     }},
    {"QSlider", ControlType::Slider, "AUILib::SliderQt", SetValueProperty},
    {"QScrollBar", ControlType::ScrollBar, "AUILib::ScrollBarQt", SetValueProperty},
    {"QSpinBox", ControlType::SpinEdit, "AUILib::SpinEditQt",
     [](QWidget* widget) { qobject_cast<QAbstractSpinBox*>(widget)->stepUp(); }},
    {"QDoubleSpinBox", ControlType::DoubleSpinEdit, "AUILib::DoubleSpinEditQt",
     [](QWidget* widget) { qobject_cast<QAbstractSpinBox*>(widget)->stepUp(); }},
    {"QStackedWidget", ControlType::StackedDialog, "AUILib::StackedDialogQt", nullptr},
    {"QSplitter", ControlType::Splitter, "AUILib::SplitterQt", nullptr},
    {"Line", ControlType::Line, "AUILib::LineQt", nullptr},
    {"QProgressBar", ControlType::ProgressBar, "AUILib::ProgressBarQt", SetValueProperty},
};

} // namespace

TEST(ControlWidgets, EachControlMakesItsOwnWidgetClassAndCreatePutsItUnderTheParent)
{
    GetCurrentLanguage();
    for (const ControlCase& c : kControls) {
        const std::shared_ptr<BaseGUIObject> control = AUILibObjectFactory::Instance().Create(c.key);
        ASSERT_TRUE(control) << c.key;
        EXPECT_EQ(control->GetControlType(), c.type) << c.key;
        EXPECT_EQ(control->GetSkinManager(), GetGlobalSkinManager()) << c.key;
        QWidget* widget = control->GetPlatformHandle();
        ASSERT_NE(widget, nullptr) << c.key;
        EXPECT_STREQ(widget->metaObject()->className(), c.widgetClass);
        EXPECT_EQ(widget->parent(), nullptr) << c.key;

        QWidget window;
        EXPECT_TRUE(control->Create(&window)) << c.key;
        EXPECT_EQ(widget->parentWidget(), &window) << c.key;
        // The line alone leaves its parent unrecorded.
        EXPECT_EQ(control->GetParentWindow(), c.type == ControlType::Line ? nullptr : &window) << c.key;
        delete widget;
    }
}

TEST(ControlWidgets, WidgetUnderAParentOutlivesItsControl)
{
    GetCurrentLanguage();
    for (const ControlCase& c : kControls) {
        QWidget window;
        QPointer<QWidget> widget;
        {
            const std::shared_ptr<BaseGUIObject> control = AUILibObjectFactory::Instance().Create(c.key);
            control->Create(&window);
            widget = control->GetPlatformHandle();
        }
        ASSERT_TRUE(widget) << c.key;
        if (c.poke)
            c.poke(widget);
        window.show();
        QTest::qWait(1);
    }
}

TEST(ControlWidgets, ParentlessWidgetGoesWithItsControl)
{
    GetCurrentLanguage();
    for (const ControlCase& c : kControls) {
        QPointer<QWidget> widget;
        {
            const std::shared_ptr<BaseGUIObject> control = AUILibObjectFactory::Instance().Create(c.key);
            widget = control->GetPlatformHandle();
        }
        EXPECT_FALSE(widget) << c.key;
    }
}
