#include "PointerDrag.h"

#include <QCursor>
#include <QDrag>
#include <QDragMoveEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace {

// The tree view starts no drag within 200 ms of the press.
constexpr qint64 kHoldMs = 400;
// Small enough that the view sees a move inside the start distance before one beyond it.
constexpr int kStepPixels = 4;
// Generous for a loaded machine, yet the test never hangs.
constexpr qint64 kDragBoundMs = 60000;
constexpr int kTickMs = 10;

std::vector<QPoint> StraightPath(QPoint from, QPoint to)
{
    const QPoint span = to - from;
    const int steps = std::max(1, std::max(std::abs(span.x()), std::abs(span.y())) / kStepPixels);
    std::vector<QPoint> path;
    for (int step = 1; step <= steps; ++step)
        path.push_back(from + QPoint(span.x() * step / steps, span.y() * step / steps));
    return path;
}

} // namespace

PointerDrag::PointerDrag(QWidget* widget)
    : m_widget(widget)
{
    widget->installEventFilter(this);
}

std::string PointerDrag::Perform(QPoint from, QPoint to)
{
    if (!m_pointer.Problem().empty())
        return m_pointer.Problem();
    m_from = from;
    m_path = StraightPath(from, to);
    m_pointer.MoveTo(Global(from));
    m_sinceStart.start();
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this, &PointerDrag::Step);
    ticks.start(kTickMs);
    // This wait regains control only after the drag loop, which runs inside the event that started
    // the drag, has returned: whatever Qt does to the source when the drag ends has been done.
    if (!QTest::qWaitFor([this] { return m_stage == Stage::Ended; }, static_cast<int>(2 * kDragBoundMs)))
        return "the drag did not end";
    return m_problem;
}

bool PointerDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressSeen = true;
        break;
    case QEvent::MouseMove:
        m_lastMove = static_cast<QMouseEvent*>(event)->pos();
        m_lastMoveDragged = false;
        break;
    case QEvent::DragMove:
        m_dragSeen = true;
        m_lastMove = static_cast<QDragMoveEvent*>(event)->pos();
        m_lastMoveDragged = true;
        break;
    case QEvent::Drop:
        m_dropSeen = true;
        break;
    default:
        break;
    }
    return false;
}

void PointerDrag::Step()
{
    if (m_stage == Stage::Ended)
        return;
    if (!m_widget)
        return Abort("the widget went away");
    if (m_sinceStart.elapsed() > kDragBoundMs)
        return Abort("no drop within " + std::to_string(kDragBoundMs / 1000) + " s");
    switch (m_stage) {
    case Stage::Pressing:
        return Press();
    case Stage::Holding:
        return Hold();
    case Stage::Moving:
        return Move();
    case Stage::Dropping:
        return Drop();
    case Stage::Ended:
        return;
    }
}

void PointerDrag::Press()
{
    if (!m_pressIssued) {
        if (QCursor::pos() != Global(m_from))
            return;
        m_pointer.PressLeft();
        m_pressIssued = true;
        return;
    }
    // Seen from a later tick, the press has been handled in full: the hold is counted from here.
    if (m_pressSeen) {
        m_sincePress.start();
        m_stage = Stage::Holding;
    }
}

void PointerDrag::Hold()
{
    if (m_sincePress.elapsed() < kHoldMs)
        return;
    m_stage = Stage::Moving;
    MoveToNext();
}

void PointerDrag::Move()
{
    if (m_lastMove != m_path[m_next])
        return;
    if (++m_next < m_path.size())
        return MoveToNext();
    if (!m_lastMoveDragged)
        return Abort(m_dragSeen ? "the drag ended before the drop point" : "no drag started");
    m_pointer.ReleaseLeft();
    m_stage = Stage::Dropping;
}

void PointerDrag::MoveToNext()
{
    m_lastMove = QPoint(-1, -1);
    m_pointer.MoveTo(Global(m_path[m_next]));
}

void PointerDrag::Drop()
{
    if (m_dropSeen)
        m_stage = Stage::Ended;
}

void PointerDrag::Abort(const std::string& problem)
{
    m_problem = problem;
    m_pointer.ReleaseLeft();
    if (m_dragSeen)
        QDrag::cancel();
    m_stage = Stage::Ended;
}
