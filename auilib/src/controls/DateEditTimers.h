#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QDateTimeEdit;
class QTimerEvent;

namespace AUILib {

// The date edit's timers. A change of mode may put another widget in place of the control's, and the
// caller holds the ids these timers were given: so they run here, for as long as the control, and
// each tick goes to the widget the control has at that moment, under the caller's id.
class DateEditTimers : public QObject
{
public:
    explicit DateEditTimers(const QPointer<QDateTimeEdit>& widget);

    // Qt's id of a new coarse timer, or 0 when Qt refuses the interval.
    int Start(unsigned milliseconds);
    // False when no timer started here runs under the id.
    bool Stop(int id);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void StopAll();

    const QPointer<QDateTimeEdit>& m_widget;
    std::vector<int> m_running;
};

} // namespace AUILib
