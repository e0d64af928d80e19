#include "BaseImplQt.h"

#include "AgnosticUIException.h"
#include "FontData.h"
#include "PromptsPopup.h"
#include "WideText.h"

#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QSizePolicy>
#include <QWidget>

namespace AUILib {

namespace {

Size ToSize(const QSize& size)
{
    return {size.width(), size.height()};
}

std::uint32_t Bits(std::uint32_t value, int first, int count)
{
    return (value >> first) & ((1u << count) - 1u);
}

int TrailingZeros(std::uint32_t value)
{
    int count = 0;
    while (value != 0 && (value & 1u) == 0) {
        value >>= 1;
        ++count;
    }
    return count;
}

} // namespace

BaseImplQt::BaseImplQt() = default;

BaseImplQt::~BaseImplQt()
{
    for (const QMetaObject::Connection& connection : m_connections)
        QObject::disconnect(connection);
    m_balloonTip.reset();
    while (!m_toolTips.empty())
        m_toolTips.pop_back();
}

QWidget* BaseImplQt::RequireWidget()
{
    QWidget* widget = GetWidget();
    if (!widget)
        throw AgnosticUIException("", 0, "Control is not valid.");
    return widget;
}

void BaseImplQt::TrackConnection(const QMetaObject::Connection& connection)
{
    m_connections.push_back(connection);
}

void BaseImplQt::ReleaseWidget(QWidget* widget)
{
    for (const QMetaObject::Connection& connection : m_connections)
        QObject::disconnect(connection);
    m_connections.clear();
    if (widget && !widget->parent())
        delete widget;
}

void BaseImplQt::Show(bool show, bool repaint)
{
    QWidget* widget = RequireWidget();
    if ((show && widget->isVisible()) || (!show && widget->isHidden()))
        return;
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && !show)
        m_rememberedGeometry = dialog->geometry();
    widget->setVisible(show);
    if (dialog && !m_rememberedGeometry.isNull())
        dialog->setGeometry(m_rememberedGeometry);
    if (repaint)
        widget->repaint();
}

bool BaseImplQt::IsVisible()
{
    return RequireWidget()->isVisible();
}

void BaseImplQt::Enable(bool enable, bool recursive)
{
    QWidget* widget = RequireWidget();
    if (recursive)
        EnableRecursive(widget, enable);
    else
        widget->setEnabled(enable);
    widget->repaint();
}

bool BaseImplQt::IsEnabled()
{
    return RequireWidget()->isEnabled();
}

void BaseImplQt::EnableRecursive(QWidget* widget, bool enable)
{
    if (!widget)
        return;
    const QList<QWidget*> descendants = widget->findChildren<QWidget*>();
    widget->setEnabled(enable);
    for (QWidget* descendant : descendants)
        descendant->setEnabled(enable);
}

int BaseImplQt::GetLogicalPixelsX()
{
    return RequireWidget()->logicalDpiX();
}

int BaseImplQt::GetLogicalPixelsY()
{
    return RequireWidget()->logicalDpiY();
}

Rect BaseImplQt::GetWindowRect()
{
    QWidget* widget = RequireWidget();
    const QRect frame = widget->frameGeometry();
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, frame.top() + (widget->height() - 1) - frame.bottom()));
    return {topLeft.x(), topLeft.y(), topLeft.x() + (frame.right() - frame.left()),
            topLeft.y() + (frame.bottom() - frame.top())};
}

Rect BaseImplQt::GetClientRect()
{
    QWidget* widget = RequireWidget();
    auto* frame = qobject_cast<QFrame*>(widget);
    const QRect area = frame ? frame->contentsRect() : widget->geometry();
    return {0, 0, area.right() - area.left(), area.bottom() - area.top()};
}

Point BaseImplQt::ScreenToClient(Point point)
{
    QWidget* widget = RequireWidget();
    const QPoint local = widget->mapFromGlobal(QPoint(point.x, point.y));
    const auto* frame = qobject_cast<QFrame*>(widget);
    const int border = frame ? frame->frameWidth() : 0;
    return {local.x() - border, local.y() - border};
}

Point BaseImplQt::ClientToScreen(Point point)
{
    QWidget* widget = RequireWidget();
    const QPoint global = widget->mapToGlobal(QPoint(point.x, point.y));
    const auto* frame = qobject_cast<QFrame*>(widget);
    const int border = frame ? frame->frameWidth() : 0;
    return {global.x() + border, global.y() + border};
}

Size BaseImplQt::IdealSize()
{
    return ToSize(RequireWidget()->sizeHint());
}

Size BaseImplQt::MinimumIdealSize()
{
    return ToSize(RequireWidget()->minimumSizeHint());
}

Size BaseImplQt::MinimumSize()
{
    return ToSize(RequireWidget()->minimumSize());
}

Size BaseImplQt::MaximumSize()
{
    return ToSize(RequireWidget()->maximumSize());
}

void BaseImplQt::SetMinimumSize(const Size& size)
{
    RequireWidget()->setMinimumSize(size.width, size.height);
}

void BaseImplQt::SetMaximumSize(const Size& size)
{
    RequireWidget()->setMaximumSize(size.width, size.height);
}

void BaseImplQt::MoveWindow(int x, int y, int width, int height, bool)
{
    QWidget* widget = RequireWidget();
    const auto* frame = qobject_cast<QFrame*>(widget);
    const int border = frame ? frame->lineWidth() : 0;
    widget->move(x + border, y + border);
    widget->resize(width, height);
    m_rememberedGeometry = widget->geometry();
}

int BaseImplQt::GetFrameWidth()
{
    QWidget* widget = RequireWidget();
    if (const auto* frame = qobject_cast<QFrame*>(widget))
        return frame->frameWidth();
    const QRect outer = widget->frameGeometry();
    const QRect inner = widget->geometry();
    return ((outer.right() - outer.left()) - (inner.right() - inner.left())) / 2;
}

int BaseImplQt::SetTimer(unsigned, unsigned milliseconds)
{
    return RequireWidget()->startTimer(static_cast<int>(milliseconds), Qt::CoarseTimer);
}

void BaseImplQt::KillTimer(unsigned id)
{
    RequireWidget()->killTimer(static_cast<int>(id));
}

void BaseImplQt::Update()
{
    RequireWidget()->update();
}

void BaseImplQt::Update(const Region& region)
{
    RequireWidget()->update(QRegion(region.region));
}

void BaseImplQt::Repaint()
{
    RequireWidget()->repaint();
}

void BaseImplQt::Repaint(const Region& region)
{
    RequireWidget()->repaint(QRegion(region.region));
}

SizePolicy BaseImplQt::GetSizePolicy()
{
    const QSizePolicy policy = RequireWidget()->sizePolicy();
    std::uint32_t value = static_cast<std::uint32_t>(policy.horizontalStretch())
        | static_cast<std::uint32_t>(policy.verticalStretch()) << 8
        | static_cast<std::uint32_t>(policy.horizontalPolicy()) << 16
        | static_cast<std::uint32_t>(policy.verticalPolicy()) << 20
        | (static_cast<std::uint32_t>(policy.controlType()) & 0x1Fu) << 24;
    if (policy.hasHeightForWidth())
        value |= 1u << 29;
    if (policy.hasWidthForHeight())
        value |= 1u << 30;
    if (policy.retainSizeWhenHidden())
        value |= 1u << 31;
    return {value};
}

void BaseImplQt::SetSizePolicy(const SizePolicy& policy)
{
    const std::uint32_t value = policy.value;
    QSizePolicy qtPolicy(static_cast<QSizePolicy::Policy>(Bits(value, 16, 4)),
                         static_cast<QSizePolicy::Policy>(Bits(value, 20, 4)),
                         static_cast<QSizePolicy::ControlType>(1u << TrailingZeros(Bits(value, 24, 5))));
    qtPolicy.setHorizontalStretch(static_cast<int>(Bits(value, 0, 8)));
    qtPolicy.setVerticalStretch(static_cast<int>(Bits(value, 8, 8)));
    qtPolicy.setHeightForWidth(Bits(value, 29, 1) != 0);
    qtPolicy.setWidthForHeight(Bits(value, 30, 1) != 0);
    RequireWidget()->setSizePolicy(qtPolicy);
}

void BaseImplQt::SetAcceptDrops(bool accept)
{
    if (QWidget* widget = GetWidget()) {
        widget->setAcceptDrops(accept);
        m_acceptDrops = accept ? 1 : 0;
    }
}

bool BaseImplQt::IsAcceptDrops()
{
    return m_acceptDrops != 0;
}

void BaseImplQt::SetTrackMouseEvent()
{
    if (QWidget* widget = GetWidget()) {
        widget->setAttribute(Qt::WA_Hover);
        SetTrackMouseFlag(true);
    }
}

bool BaseImplQt::IsTrackMouseEvent()
{
    return m_trackMouse != 0;
}

void BaseImplQt::SetTrackMouseFlag(bool track)
{
    m_trackMouse = track ? 1 : 0;
}

int BaseImplQt::GetWidthForText(std::wstring& text, FontData* font)
{
    QWidget* widget = RequireWidget();
    QFont measured = widget->font();
    if (font) {
        measured = QFont(ToQString(font->faceName));
        measured.setPointSizeF(font->pointSize);
    }
    return QFontMetrics(measured).horizontalAdvance(ToQString(text));
}

bool BaseImplQt::ShowBalloonTip(const std::wstring* title, const std::wstring& text,
                                const std::function<void(PromptsPopup&)>& setIcon, bool fromPicture, bool keepShown)
{
    if (!m_balloonTip)
        m_balloonTip = std::make_shared<PromptsPopup>();
    if (!m_balloonTip->Create(GetWidget(), text, 0, keepShown ? -1 : 3000, fromPicture))
        return false;
    setIcon(*m_balloonTip);
    if (title)
        m_balloonTip->SetTitle(*title);
    m_balloonTip->Show(true, -1, -1);
    return true;
}

bool BaseImplQt::ShowBalloonTipEx(const std::wstring& text, const std::wstring& iconPath, bool, bool keepShown)
{
    return ShowBalloonTip(nullptr, text, [&](PromptsPopup& tip) { tip.SetTitleIcon(iconPath); }, true, keepShown);
}

bool BaseImplQt::ShowBalloonTipEx(const std::wstring& text, const unsigned char* data, int length, bool,
                                  bool keepShown)
{
    return ShowBalloonTip(nullptr, text, [&](PromptsPopup& tip) { tip.SetTitleIcon(data, length); }, true,
                          keepShown);
}

bool BaseImplQt::ShowBalloonTipEx(const std::wstring& text, BalloonTipIconType icon, bool, bool keepShown)
{
    return ShowBalloonTip(nullptr, text, [&](PromptsPopup& tip) { tip.SetTitleIcon(icon); }, false, keepShown);
}

bool BaseImplQt::ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const std::wstring& iconPath,
                                  bool, bool keepShown)
{
    return ShowBalloonTip(&title, text, [&](PromptsPopup& tip) { tip.SetTitleIcon(iconPath); }, true, keepShown);
}

bool BaseImplQt::ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const unsigned char* data,
                                  int length, bool, bool keepShown)
{
    return ShowBalloonTip(&title, text, [&](PromptsPopup& tip) { tip.SetTitleIcon(data, length); }, true,
                          keepShown);
}

bool BaseImplQt::ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon,
                                  bool, bool keepShown)
{
    return ShowBalloonTip(&title, text, [&](PromptsPopup& tip) { tip.SetTitleIcon(icon); }, false, keepShown);
}

bool BaseImplQt::HideBalloonTipEx()
{
    if (!m_balloonTip)
        return false;
    m_balloonTip->Show(false, -1, -1);
    return true;
}

bool BaseImplQt::IsBalloonTipDisplayed()
{
    return m_balloonTip && m_balloonTip->IsDisplayed();
}

bool BaseImplQt::ShowToolTip(QPoint)
{
    return false;
}

bool BaseImplQt::Create(QWidget* parent)
{
    RequireWidget()->setParent(parent);
    return true;
}

} // namespace AUILib
