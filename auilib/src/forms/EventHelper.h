#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class QKeyEvent;
class QMoveEvent;

namespace AUILib {

class BaseGUIObject;
class Dialog;
struct Event;

// The bridge from the Qt events of a dialog's widgets to the controls' event procedures. It also
// runs posted bound handlers, swallows stray Return, Enter and Space presses just after the dialog
// lost activation, and defers window moves that a procedure adjusted.
class EventHelper : public QObject
{
public:
    explicit EventHelper(Dialog* dialog);

    // The dialog is going: every event passes untouched from now on.
    void DetachDialog() { m_dialog = nullptr; }

    // Nothing thrown by a procedure or a bound handler leaves: it is logged and the event passes.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // For tests: the deferred move's timer.
    const QTimer& MoveTimer() const { return m_moveTimer; }

private:
    struct Target
    {
        BaseGUIObject* control = nullptr;
        std::shared_ptr<BaseGUIObject> holder; // keeps an element alive while its procedure runs
        explicit operator bool() const { return control != nullptr; }
    };

    bool Filter(QObject* watched, QEvent* event);
    bool Dispatch(QWidget* window, QObject* watched, QEvent* event);
    Target FindTarget(QObject* watched, QWidget* window) const;
    Target ElementNamed(const QObject* object) const;
    Target DropTarget(QObject* watched, QWidget* window) const;
    bool Ask(const Target& target, Event& event) const;
    bool HasProcedure(const Target& target) const;
    bool HandleKey(const Target& target, QKeyEvent* event);
    bool HandleMove(const Target& target, QWidget* window, QMoveEvent* event);
    bool HandleInputMethod(const Target& target, QEvent* event);
    bool HandleToolTip(const Target& target, QEvent* event);
    bool HandleDrag(QObject* watched, QWidget* window, QEvent* event);
    bool HandleContextMenu(const Target& target);

    Dialog* m_dialog;
    QTimer m_guardTimer;
    bool m_keyHeld = false;
    bool m_repeatSeen = false;
    bool m_moving = false;
    QTimer m_moveTimer;
};

} // namespace AUILib
