#pragma once

#include <QEvent>

class QWidget;

namespace AUILib {

// Sent to a control's widget when another widget takes its place, so that whatever prepared the old
// one for the control (a dialog built from a form) prepares the new one alike.
class WidgetReplacedEvent : public QEvent
{
public:
    explicit WidgetReplacedEvent(QWidget* replacement)
        : QEvent(EventType())
        , m_replacement(replacement)
    {
    }

    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    QWidget* Replacement() const { return m_replacement; }

private:
    QWidget* m_replacement;
};

} // namespace AUILib
