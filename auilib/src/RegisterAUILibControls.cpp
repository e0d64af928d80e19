#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "ChildDialog.h"

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
    RegisterControl<ChildDialog>("QWidget");
}

} // namespace AUILib
