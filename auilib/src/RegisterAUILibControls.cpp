#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "CheckBox.h"
#include "ChildDialog.h"
#include "ComboBox.h"
#include "ComboBoxFS.h"
#include "DateEdit.h"
#include "DrawElement.h"
#include "HyperLinkElement.h"

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
    RegisterControl<CheckBox>("QCheckBox");
    RegisterControl<ComboBox>("QComboBox");
    RegisterControl<ChildDialog>("QWidget");
    RegisterControl<DateEdit>("QDateEdit");
    RegisterControl<HyperLinkElement>("HyperLinkElement");
    RegisterControl<DrawElement>("DrawElement");
    RegisterControl<ComboBoxFS>("QComboBoxFS");
}

} // namespace AUILib
