#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "Button.h"
#include "ButtonBox.h"
#include "CheckBox.h"
#include "ChildDialog.h"
#include "ComboBox.h"
#include "ComboBoxFS.h"
#include "DateEdit.h"
#include "DoubleSpinEdit.h"
#include "DrawElement.h"
#include "Edit.h"
#include "GroupBox.h"
#include "HyperLinkElement.h"
#include "Label.h"
#include "Line.h"
#include "ListBox.h"
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
#include "TreeView.h"

namespace AUILib {

namespace {

template <typename T>
void RegisterControl(const char* className)
{
    AUILibObjectFactory::Instance().Register(className, std::make_shared<Creator<T>>());
}

} // namespace

// Every class name a form may use, in the order they were added to the library.
void AUILibConfig::RegisterAUILibControls()
{
    RegisterControl<ScrollArea>("QScrollArea");
    RegisterControl<Button>("QPushButton");
    RegisterControl<Edit>("QLineEdit");
    RegisterControl<MultiLineEdit>("QPlainTextEdit");
    RegisterControl<RichEdit>("QTextEdit");
    RegisterControl<ListBox>("QTableWidget");
    RegisterControl<ListBox>("QListWidget");
    RegisterControl<CheckBox>("QCheckBox");
    RegisterControl<RadioButton>("QRadioButton");
    RegisterControl<GroupBox>("QGroupBox");
    RegisterControl<ComboBox>("QComboBox");
    RegisterControl<Label>("QLabel");
    RegisterControl<TabView>("QTabWidget");
    RegisterControl<ChildDialog>("QWidget");
    RegisterControl<Slider>("QSlider");
    RegisterControl<ScrollBar>("QScrollBar");
    RegisterControl<SpinEdit>("QSpinBox");
    RegisterControl<DoubleSpinEdit>("QDoubleSpinBox");
    RegisterControl<StackedDialog>("QStackedWidget");
    RegisterControl<ButtonBox>("QDialogButtonBox");
    RegisterControl<TreeView>("QTreeView");
    RegisterControl<Splitter>("QSplitter");
    RegisterControl<DateEdit>("QDateEdit");
    RegisterControl<Line>("Line");
    RegisterControl<HyperLinkElement>("HyperLinkElement");
    RegisterControl<DrawElement>("DrawElement");
    RegisterControl<ProgressBar>("QProgressBar");
    RegisterControl<ComboBoxFS>("QComboBoxFS");
}

} // namespace AUILib
