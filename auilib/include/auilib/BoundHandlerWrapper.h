#pragma once

#include <QEvent>

#include <functional>

namespace AUILib {

// A handler already bound to the arguments of one firing, posted to the bound control's widget.
// The dialog's event bridge runs it when the event arrives.
class BoundHandlerWrapper : public QEvent
{
public:
    static constexpr QEvent::Type EventType = static_cast<QEvent::Type>(32769);

    explicit BoundHandlerWrapper(std::function<void()> function);
    ~BoundHandlerWrapper() override;

    // An empty function raises std::bad_function_call.
    void Run() const { m_function(); }

private:
    std::function<void()> m_function;
};

} // namespace AUILib
