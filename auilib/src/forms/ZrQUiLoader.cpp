#include "ZrQUiLoader.h"

#include "AUILibObjectFactory.h"
#include "BaseImpl.h"
#include "DialogImpl.h"
#include "WideText.h"

namespace AUILib {

ZrQUiLoader::ZrQUiLoader(Dialog::impl* dialog)
    : m_dialog(dialog)
{
}

QWidget* ZrQUiLoader::createWidget(const QString& className, QWidget* parent, const QString& name)
{
    if (className == QLatin1String("QDialog")) {
        DialogQt* window = m_dialog->TakeWindowForRoot();
        if (window)
            window->setParent(parent);
        return window;
    }
    const std::shared_ptr<BaseGUIObject> control = AUILibObjectFactory::Instance().Create(className.toStdString());
    if (!control || !control->Create(parent))
        return nullptr;
    const std::wstring wideName = ToWString(name);
    control->SetName(wideName);
    m_dialog->RegisterElement(wideName, control);
    QWidget* widget = control->GetBaseImpl()->GetWidget();
    widget->setParent(parent);
    return widget;
}

} // namespace AUILib
