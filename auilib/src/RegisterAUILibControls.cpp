#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "ChildDialog.h"
#include "GroupBox.h"
#include "Line.h"
#include "ListBox.h"
#include "ProgressBar.h"
#include "RadioButton.h"
#include "ScrollArea.h"
#include "ScrollBar.h"
#include "Slider.h"
#include "Splitter.h"
#include "StackedDialog.h"
#include "TabView.h"

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
    RegisterControl<ListBox>("QTableWidget");
    RegisterControl<ListBox>("QListWidget");
    RegisterControl<RadioButton>("QRadioButton");
    RegisterControl<GroupBox>("QGroupBox");
    RegisterControl<TabView>("QTabWidget");
    RegisterControl<ChildDialog>("QWidget");
    RegisterControl<Slider>("QSlider");
    RegisterControl<ScrollBar>("QScrollBar");
    RegisterControl<StackedDialog>("QStackedWidget");
    RegisterControl<Splitter>("QSplitter");
    RegisterControl<Line>("Line");
    RegisterControl<ProgressBar>("QProgressBar");
}

} // namespace AUILib
