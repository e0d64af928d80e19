#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "ChildDialog.h"
#include "ComboBoxFS.h"

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

class FactoryTest : public testing::Test
{
protected:
    // Any configuration accessor fills the table.
    void SetUp() override { GetCurrentLanguage(); }
    AUILibObjectFactory& factory = AUILibObjectFactory::Instance();
};

} // namespace

TEST_F(FactoryTest, RegisteredNamesMakeTheirControls)
{
    const std::pair<const char*, ControlType> registered[] = {
        {"QScrollArea", ControlType::ScrollArea},
        {"QPushButton", ControlType::Button},
        {"QLineEdit", ControlType::Edit},
        {"QPlainTextEdit", ControlType::MultiLineEdit},
        {"QTextEdit", ControlType::RichEdit},
        {"QTableWidget", ControlType::ListBox},
        {"QListWidget", ControlType::ListBox},
        {"QCheckBox", ControlType::CheckBox},
        {"QRadioButton", ControlType::RadioButton},
        {"QGroupBox", ControlType::GroupBox},
        {"QComboBox", ControlType::ComboBox},
        {"QLabel", ControlType::Label},
        {"QTabWidget", ControlType::TabView},
        {"QWidget", ControlType::ChildDialog},
        {"QSlider", ControlType::Slider},
        {"QScrollBar", ControlType::ScrollBar},
        {"QSpinBox", ControlType::SpinEdit},
        {"QDoubleSpinBox", ControlType::DoubleSpinEdit},
        {"QStackedWidget", ControlType::StackedDialog},
        {"QDialogButtonBox", ControlType::ButtonBox},
        {"QTreeView", ControlType::TreeView},
        {"QSplitter", ControlType::Splitter},
        {"QDateEdit", ControlType::DateEdit},
        {"Line", ControlType::Line},
        {"HyperLinkElement", ControlType::HyperLinkElement},
        {"DrawElement", ControlType::DrawElement},
        {"QProgressBar", ControlType::ProgressBar},
        {"QComboBoxFS", ControlType::ComboBoxFS},
    };
    for (const auto& [name, type] : registered) {
        const std::shared_ptr<BaseGUIObject> control = factory.Create(name);
        ASSERT_TRUE(control) << name;
        EXPECT_EQ(control->GetControlType(), type) << name;
        EXPECT_EQ(control.use_count(), 1) << name;
        EXPECT_NE(control->GetPlatformHandle(), nullptr) << name << ": the widget is made with the control";
    }
    EXPECT_EQ(factory.Count(), std::size(registered));
    EXPECT_NE(factory.Create("QWidget"), factory.Create("QWidget"));
    EXPECT_TRUE(std::dynamic_pointer_cast<ChildDialog>(factory.Create("QWidget")));
    EXPECT_TRUE(std::dynamic_pointer_cast<ComboBoxFS>(factory.Create("QComboBoxFS")));
}

TEST_F(FactoryTest, UnknownNamesMakeNothing)
{
    for (const char* name : {"", "qwidget", "QWIDGET", "AUILib::QWidget", "QDialog", "QFrame", "QWidget "})
        EXPECT_FALSE(factory.Create(name)) << '"' << name << '"';
}

namespace {

class OtherControl : public ChildDialog
{
};

} // namespace

TEST_F(FactoryTest, FirstRegistrationOfANameStays)
{
    std::weak_ptr<ICreator> second;
    {
        auto creator = std::make_shared<Creator<OtherControl>>();
        second = creator;
        factory.Register("QWidget", creator);
    }
    EXPECT_TRUE(second.expired()) << "the refused creator is released";
    EXPECT_FALSE(std::dynamic_pointer_cast<OtherControl>(factory.Create("QWidget")));
}
