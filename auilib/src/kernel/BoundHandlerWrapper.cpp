#include "BoundHandlerWrapper.h"

#include "BaseGUIObject.h"
#include "BaseImpl.h"
#include "HandlerList.h"

#include <QCoreApplication>
#include <QWidget>

namespace AUILib {

BoundHandlerWrapper::BoundHandlerWrapper(std::function<void()> function)
    : QEvent(EventType)
    , m_function(std::move(function))
{
}

BoundHandlerWrapper::~BoundHandlerWrapper() = default;

namespace HandlerListDetail {

QWidget* LiveWidgetOf(BaseGUIObject* control)
{
    if (!control)
        return nullptr;
    const std::shared_ptr<BaseImpl> impl = control->GetBaseImpl();
    return impl ? impl->GetWidget() : nullptr;
}

void Post(QWidget* widget, std::function<void()> function)
{
    QCoreApplication::postEvent(widget, new BoundHandlerWrapper(std::move(function)), Qt::NormalEventPriority);
}

} // namespace HandlerListDetail
} // namespace AUILib
