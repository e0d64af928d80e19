#include "XTestPointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr unsigned int kLeftButton = 1;

} // namespace

XTestPointer::XTestPointer()
    : m_display(XOpenDisplay(nullptr))
{
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!m_display)
        m_problem = "no X display to connect to";
    else if (!XTestQueryExtension(m_display, &event, &error, &major, &minor))
        m_problem = "the X server has no test extension";
}

XTestPointer::~XTestPointer()
{
    if (!m_display)
        return;
    ReleaseLeft();
    XCloseDisplay(m_display);
}

void XTestPointer::MoveTo(QPoint global)
{
    XTestFakeMotionEvent(m_display, -1, global.x(), global.y(), CurrentTime);
    XSync(m_display, False);
}

void XTestPointer::PressLeft()
{
    XTestFakeButtonEvent(m_display, kLeftButton, True, CurrentTime);
    XSync(m_display, False);
    m_leftHeld = true;
}

void XTestPointer::ReleaseLeft()
{
    if (!m_leftHeld)
        return;
    XTestFakeButtonEvent(m_display, kLeftButton, False, CurrentTime);
    XSync(m_display, False);
    m_leftHeld = false;
}

void XTestPointer::TypeEscape()
{
    const KeyCode escape = XKeysymToKeycode(m_display, XK_Escape);
    XTestFakeKeyEvent(m_display, escape, True, CurrentTime);
    XTestFakeKeyEvent(m_display, escape, False, CurrentTime);
    XSync(m_display, False);
}
