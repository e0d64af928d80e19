#pragma once

// A left-button drag with the real pointer, from a point of one widget in a straight line to where it
// ends: a drop on that widget, a drop on another widget of the program, a drop where no window of the
// program is, or Escape. Each step over one of the two widgets waits until that widget has seen it
// before the next is taken, so a slow machine makes the drag slower but not different; the whole
// drag is bounded, and a drag loop that does not end by then is cancelled. The steps run from a
// timer, which keeps firing inside the loop of QDrag::exec. One drag per object.
#include "XTestPointer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

class PointerDrag : public QObject
{
public:
    explicit PointerDrag(QWidget* source);

    // Each returns once the drag has ended and the button is up: empty, or what went wrong. `from` is
    // a point of the source widget.
    // Drops at `to`, a point of the source.
    std::string Perform(QPoint from, QPoint to);
    // Drops at `to`, a point of `target`, which must take drags.
    std::string PerformOnto(QPoint from, QWidget* target, QPoint to);
    // Drops at a screen point where the program has no window.
    std::string PerformOutside(QPoint from, QPoint globalTo);
    // Presses Escape at `to`, a point of the source, and then lets the button go there.
    std::string PerformEscaped(QPoint from, QPoint to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ending: the drop or Escape has been given, and the drag loop is to return.
    enum class Stage { Pressing, Holding, Moving, Ending, Ended };
    enum class Ending { Release, Escape };

    std::string Run(QPoint from, QPoint to, Ending ending, QWidget* dropTarget);
    void Watch(QWidget* widget);
    // Over a watched widget, which reports each step.
    bool Watched(QPoint global) const;
    void Step();
    void Press();
    void Hold();
    void Move();
    void MoveToNext();
    void End();
    void Abort(const std::string& problem);

    QPointer<QWidget> m_source;
    std::vector<QPointer<QWidget>> m_watched;
    XTestPointer m_pointer;
    Stage m_stage = Stage::Pressing;
    Ending m_ending = Ending::Release;
    // Screen points.
    QPoint m_from;
    std::vector<QPoint> m_path;
    std::size_t m_next = 0;
    bool m_pressIssued = false;
    bool m_pressSeen = false;
    bool m_dragSeen = false;
    QObject* m_droppedOn = nullptr;
    // The last move a watched widget saw (a screen point), and whether it was a move of the drag.
    QPoint m_lastMove{-1, -1};
    bool m_lastMoveDragged = false;
    QElapsedTimer m_sincePress;
    QElapsedTimer m_sinceStart;
    std::string m_problem;
};
