// The dialog's base operations: those of every control, except that a dialog whose window has
// been closed (and so deleted) answers them quietly instead of throwing.
#include "DialogImpl.h"

namespace AUILib {

Point Dialog::impl::ScreenToClient(Point point)
{
    DialogQt* window = Window();
    if (!window)
        return {};
    const QPoint local = window->mapFromGlobal(QPoint(point.x, point.y));
    return {local.x(), local.y()};
}

Point Dialog::impl::ClientToScreen(Point point)
{
    DialogQt* window = Window();
    if (!window)
        return {};
    const QPoint global = window->mapToGlobal(QPoint(point.x, point.y));
    return {global.x(), global.y()};
}

bool Dialog::impl::IsVisible()
{
    return Window() && BaseImplQt::IsVisible();
}

bool Dialog::impl::IsEnabled()
{
    return Window() && BaseImplQt::IsEnabled();
}

int Dialog::impl::GetLogicalPixelsX()
{
    return Window() ? BaseImplQt::GetLogicalPixelsX() : 0;
}

int Dialog::impl::GetLogicalPixelsY()
{
    return Window() ? BaseImplQt::GetLogicalPixelsY() : 0;
}

Rect Dialog::impl::GetWindowRect()
{
    return Window() ? BaseImplQt::GetWindowRect() : Rect();
}

Rect Dialog::impl::GetClientRect()
{
    return Window() ? BaseImplQt::GetClientRect() : Rect();
}

Size Dialog::impl::IdealSize()
{
    return Window() ? BaseImplQt::IdealSize() : Size();
}

Size Dialog::impl::MinimumIdealSize()
{
    return Window() ? BaseImplQt::MinimumIdealSize() : Size();
}

Size Dialog::impl::MinimumSize()
{
    return Window() ? BaseImplQt::MinimumSize() : Size();
}

Size Dialog::impl::MaximumSize()
{
    return Window() ? BaseImplQt::MaximumSize() : Size();
}

void Dialog::impl::SetMinimumSize(const Size& size)
{
    if (Window())
        BaseImplQt::SetMinimumSize(size);
}

void Dialog::impl::SetMaximumSize(const Size& size)
{
    if (Window())
        BaseImplQt::SetMaximumSize(size);
}

void Dialog::impl::MoveWindow(int x, int y, int width, int height, bool repaint)
{
    if (Window())
        BaseImplQt::MoveWindow(x, y, width, height, repaint);
}

int Dialog::impl::GetFrameWidth()
{
    return Window() ? BaseImplQt::GetFrameWidth() : 0;
}

int Dialog::impl::SetTimer(unsigned id, unsigned milliseconds)
{
    return Window() ? BaseImplQt::SetTimer(id, milliseconds) : 0;
}

void Dialog::impl::KillTimer(unsigned id)
{
    if (Window())
        BaseImplQt::KillTimer(id);
}

SizePolicy Dialog::impl::GetSizePolicy()
{
    return Window() ? BaseImplQt::GetSizePolicy() : SizePolicy();
}

void Dialog::impl::SetSizePolicy(const SizePolicy& policy)
{
    if (Window())
        BaseImplQt::SetSizePolicy(policy);
}

int Dialog::impl::GetWidthForText(std::wstring& text, FontData* font)
{
    return Window() ? BaseImplQt::GetWidthForText(text, font) : 0;
}

} // namespace AUILib
