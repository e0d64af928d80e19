#include "DateEditTimers.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QTimerEvent>

#include <algorithm>

namespace AUILib {

DateEditTimers::DateEditTimers(const QPointer<QDateTimeEdit>& widget)
    : m_widget(widget)
{
}

int DateEditTimers::Start(unsigned milliseconds)
{
    const int id = startTimer(static_cast<int>(milliseconds), Qt::CoarseTimer);
    if (id != 0)
        m_running.push_back(id);
    return id;
}

bool DateEditTimers::Stop(int id)
{
    const auto found = std::find(m_running.begin(), m_running.end(), id);
    if (found == m_running.end())
        return false;
    m_running.erase(found);
    killTimer(id);
    return true;
}

void DateEditTimers::StopAll()
{
    for (const int id : m_running)
        killTimer(id);
    m_running.clear();
}

void DateEditTimers::timerEvent(QTimerEvent* event)
{
    if (std::find(m_running.begin(), m_running.end(), event->timerId()) == m_running.end()) {
        QObject::timerEvent(event);
        return;
    }
    // The widget went for good (a replacement is in place before the old one goes): the timers went
    // with it, as every control's do.
    if (!m_widget) {
        StopAll();
        return;
    }
    // The tick may end the control, and this object with it: nothing here is touched after it.
    QTimerEvent tick(event->timerId());
    QCoreApplication::sendEvent(m_widget, &tick);
}

} // namespace AUILib
