#pragma once

// The X server's own pointer, moved and pressed through its test extension on a connection of its
// own, and the key that cancels a drag. Qt then sees what a hand on the mouse would make: X events,
// its pointer grab, and the drag loop that QDrag::exec runs.
#include <QPoint>

#include <string>

struct _XDisplay;

class XTestPointer
{
public:
    XTestPointer();
    ~XTestPointer();
    XTestPointer(const XTestPointer&) = delete;
    XTestPointer& operator=(const XTestPointer&) = delete;

    // Empty when the pointer can be driven, else why not.
    const std::string& Problem() const { return m_problem; }

    // Screen coordinates. Each call reaches the server before it returns.
    void MoveTo(QPoint global);
    void PressLeft();
    void ReleaseLeft();
    // Pressed and let go.
    void TypeEscape();

private:
    _XDisplay* m_display = nullptr;
    bool m_leftHeld = false;
    std::string m_problem;
};
