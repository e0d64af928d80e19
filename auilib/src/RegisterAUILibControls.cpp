#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "ChildDialog.h"
#include "Edit.h"
#include "GroupBox.h"
#include "Label.h"
#include "Line.h"
#include "MultiLineEdit.h"
#include "ProgressBar.h"
#include "RadioButton.h"
#include "RichEdit.h"
#include "ScrollArea.h"
#include "ScrollBar.h"
#include "Slider.h"
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
    RegisterControl<Edit>("QLineEdit");
    RegisterControl<MultiLineEdit>("QPlainTextEdit");
    RegisterControl<RichEdit>("QTextEdit");
    RegisterControl<RadioButton>("QRadioButton");
    RegisterControl<GroupBox>("QGroupBox");
    RegisterControl<Label>("QLabel");
    RegisterControl<TabView>("QTabWidget");
    RegisterControl<ChildDialog>("QWidget");
    RegisterControl<Slider>("QSlider");
    RegisterControl<ScrollBar>("QScrollBar");
    RegisterControl<StackedDialog>("QStackedWidget");
    RegisterControl<TreeView>("QTreeView");
    RegisterControl<Splitter>("QSplitter");
    RegisterControl<Line>("Line");
    RegisterControl<ProgressBar>("QProgressBar");
}

} // namespace AUILib
