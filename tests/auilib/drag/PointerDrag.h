#pragma once

// A left-button drag and drop with the real pointer over one widget, from one point to another.
// Each step waits until the widget has seen the step before it takes the next, so a slow machine
// makes the drag slower but not different; the whole drag is bounded, and a drag loop that does not
// end by then is cancelled. The steps run from a timer, which keeps firing inside the loop of
// QDrag::exec.
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
    explicit PointerDrag(QWidget* widget);

    // Points are the widget's. Returns once the drag has ended: empty, or what went wrong.
    std::string Perform(QPoint from, QPoint to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stage { Pressing, Holding, Moving, Dropping, Ended };

    void Step();
    void Press();
    void Hold();
    void Move();
    void MoveToNext();
    void Drop();
    void Abort(const std::string& problem);
    QPoint Global(QPoint point) const { return m_widget->mapToGlobal(point); }

    QPointer<QWidget> m_widget;
    XTestPointer m_pointer;
    Stage m_stage = Stage::Pressing;
    QPoint m_from;
    std::vector<QPoint> m_path;
    std::size_t m_next = 0;
    bool m_pressIssued = false;
    bool m_pressSeen = false;
    bool m_dragSeen = false;
    bool m_dropSeen = false;
    // The last move the widget saw, and whether it was a move of the drag.
    QPoint m_lastMove{-1, -1};
    bool m_lastMoveDragged = false;
    QElapsedTimer m_sincePress;
    QElapsedTimer m_sinceStart;
    std::string m_problem;
};
