#include "PointerDrag.h"

#include <QCursor>
#include <QDrag>
#include <QDragMoveEvent>
#include <QGuiApplication>
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

PointerDrag::PointerDrag(QWidget* source)
    : m_source(source)
{
    Watch(source);
}

std::string PointerDrag::Perform(QPoint from, QPoint to)
{
    return Run(m_source->mapToGlobal(from), m_source->mapToGlobal(to), Ending::Release, m_source);
}

std::string PointerDrag::PerformOnto(QPoint from, QWidget* target, QPoint to)
{
    Watch(target);
    return Run(m_source->mapToGlobal(from), target->mapToGlobal(to), Ending::Release, target);
}

std::string PointerDrag::PerformOutside(QPoint from, QPoint globalTo)
{
    if (QGuiApplication::topLevelAt(globalTo))
        return "a window of the program lies at the drop point";
    return Run(m_source->mapToGlobal(from), globalTo, Ending::Release, nullptr);
}

std::string PointerDrag::PerformEscaped(QPoint from, QPoint to)
{
    return Run(m_source->mapToGlobal(from), m_source->mapToGlobal(to), Ending::Escape, nullptr);
}

std::string PointerDrag::Run(QPoint from, QPoint to, Ending ending, QWidget* dropTarget)
{
    if (!m_pointer.Problem().empty())
        return m_pointer.Problem();
    m_from = from;
    m_path = StraightPath(from, to);
    m_ending = ending;
    m_pointer.MoveTo(from);
    m_sinceStart.start();
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this, &PointerDrag::Step);
    ticks.start(kTickMs);
    // This wait regains control only after the drag loop, which runs inside the event that started
    // the drag, has returned: whatever Qt does to the source when the drag ends has been done.
    if (!QTest::qWaitFor([this] { return m_stage == Stage::Ending || m_stage == Stage::Ended; },
                         static_cast<int>(2 * kDragBoundMs)))
        return "the drag did not end";
    ticks.stop();
    if (!m_problem.empty())
        return m_problem;
    // After Escape the button is still down; a hand lets it go next.
    m_pointer.ReleaseLeft();
    const auto buttonUp = [] { return QGuiApplication::mouseButtons() == Qt::NoButton; };
    if (!QTest::qWaitFor(buttonUp, static_cast<int>(kDragBoundMs)))
        return "the button stayed down";
    if (m_droppedOn != dropTarget)
        return dropTarget ? "the drop did not reach its widget" : "a widget took a drop";
    return {};
}

void PointerDrag::Watch(QWidget* widget)
{
    widget->installEventFilter(this);
    m_watched.emplace_back(widget);
}

bool PointerDrag::Watched(QPoint global) const
{
    return std::any_of(m_watched.begin(), m_watched.end(), [global](const QPointer<QWidget>& widget) {
        return widget && widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(global));
    });
}

bool PointerDrag::eventFilter(QObject* watched, QEvent* event)
{
    const auto widget = std::find(m_watched.begin(), m_watched.end(), watched);
    if (widget == m_watched.end())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressSeen = m_pressSeen || watched == m_source;
        break;
    case QEvent::MouseMove:
        m_lastMove = (*widget)->mapToGlobal(static_cast<QMouseEvent*>(event)->pos());
        m_lastMoveDragged = false;
        break;
    case QEvent::DragMove:
        m_dragSeen = true;
        m_lastMove = (*widget)->mapToGlobal(static_cast<QDragMoveEvent*>(event)->pos());
        m_lastMoveDragged = true;
        break;
    case QEvent::Drop:
        m_droppedOn = watched;
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
    if (!m_source)
        return Abort("the widget went away");
    if (m_sinceStart.elapsed() > kDragBoundMs)
        return Abort("the drag did not end within " + std::to_string(kDragBoundMs / 1000) + " s");
    switch (m_stage) {
    case Stage::Pressing:
        return Press();
    case Stage::Holding:
        return Hold();
    case Stage::Moving:
        return Move();
    case Stage::Ending:
    case Stage::Ended:
        return;
    }
}

void PointerDrag::Press()
{
    if (!m_pressIssued) {
        if (QCursor::pos() != m_from)
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
    const QPoint step = m_path[m_next];
    const bool watched = Watched(step);
    if (watched && m_lastMove != step)
        return;
    if (++m_next < m_path.size())
        return MoveToNext();
    // Where no watched widget reports the last step, the drag is known to run only from earlier ones.
    if (!(watched ? m_lastMoveDragged : m_dragSeen))
        return Abort(m_dragSeen ? "the drag ended before its last point" : "no drag started");
    End();
}

void PointerDrag::MoveToNext()
{
    m_lastMove = QPoint(-1, -1);
    m_pointer.MoveTo(m_path[m_next]);
}

void PointerDrag::End()
{
    if (m_ending == Ending::Escape)
        m_pointer.TypeEscape();
    else
        m_pointer.ReleaseLeft();
    m_stage = Stage::Ending;
}

void PointerDrag::Abort(const std::string& problem)
{
    m_problem = problem;
    m_pointer.ReleaseLeft();
    if (m_dragSeen)
        QDrag::cancel();
    m_stage = Stage::Ended;
}
