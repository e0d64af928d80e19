#include "EventHelper.h"

#include "AUILibLogger.h"
#include "BaseImplQt.h"
#include "BoundHandlerWrapper.h"
#include "ContextMenu.h"
#include "DialogImpl.h"
#include "Event.h"
#include "WideText.h"
#include "WidgetReplacedEvent.h"

#include <QApplication>
#include <QDebug>
#include <QDragMoveEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMoveEvent>
#include <QStyle>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

#include <exception>

namespace AUILib {

namespace {

const char kViewport[] = "qt_scrollarea_viewport";

Point Rounded(const QPointF& point)
{
    return {qRound(point.x()), qRound(point.y())};
}

// The library runs on Qt 5.12, which names it globalPosF(); later versions name it
// globalPosition() and warn on the old name.
QPointF GlobalPosition(const QWheelEvent& wheel)
{
#if QT_VERSION >= QT_VERSION_CHECK(5, 14, 0)
    return wheel.globalPosition();
#else
    return wheel.globalPosF();
#endif
}

BaseImplQt* ImplOf(BaseGUIObject* control)
{
    return dynamic_cast<BaseImplQt*>(control->GetBaseImpl().get());
}

bool IsDisabledButton(BaseGUIObject* control)
{
    return control->GetControlType() == ControlType::Button && !control->IsEnabled();
}

bool IsReturnOrSpace(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

void Debug(const QString& line)
{
    qDebug().noquote() << line;
}

} // namespace

EventHelper::EventHelper(Dialog* dialog)
    : m_dialog(dialog)
{
    m_guardTimer.setSingleShot(true);
    m_moveTimer.setSingleShot(true);
}

bool EventHelper::eventFilter(QObject* watched, QEvent* event)
{
    try {
        return Filter(watched, event);
    } catch (const std::exception& exception) {
        AUILibLogger::GetInstance().LogException(exception);
    } catch (...) {
        AUILibLogger::GetInstance().LogException(L"Unknown exception in an event procedure");
    }
    return false;
}

bool EventHelper::Filter(QObject* watched, QEvent* event)
{
    if (!watched || !m_dialog)
        return false;
    QWidget* window = m_dialog->GetWndPtr();
    if (!window)
        return false;
    if (event->type() == WidgetReplacedEvent::EventType()) {
        std::static_pointer_cast<Dialog::impl>(m_dialog->GetBaseImpl())
            ->PrepareWidget(static_cast<WidgetReplacedEvent*>(event)->Replacement());
        return false;
    }
    return Dispatch(window, watched, event);
}

EventHelper::Target EventHelper::ElementNamed(const QObject* object) const
{
    Target target;
    target.holder = m_dialog->GetElementByName(ToWString(object->objectName()));
    target.control = target.holder.get();
    return target;
}

EventHelper::Target EventHelper::FindTarget(QObject* watched, QWidget* window) const
{
    if (watched == window)
        return Target{m_dialog, nullptr};
    if (Target named = ElementNamed(watched))
        return named;
    if (watched->objectName() != QLatin1String(kViewport))
        return {};
    bool insideWindow = false;
    for (const QObject* ancestor = watched->parent(); ancestor; ancestor = ancestor->parent())
        insideWindow = insideWindow || ancestor == window;
    if (!insideWindow)
        return {};
    // The view the viewport belongs to is the nearest ancestor that is a control of the dialog.
    for (const QObject* ancestor = watched->parent(); ancestor && ancestor != window; ancestor = ancestor->parent()) {
        if (Target named = ElementNamed(ancestor))
            return named;
    }
    return {};
}

EventHelper::Target EventHelper::DropTarget(QObject* watched, QWidget* window) const
{
    if (Target target = FindTarget(watched, window))
        return target;
    QObject* parent = watched->parent();
    if (qobject_cast<QTableWidget*>(parent) || qobject_cast<QTextEdit*>(parent))
        return ElementNamed(parent);
    return {};
}

bool EventHelper::HasProcedure(const Target& target) const
{
    return target && static_cast<bool>(target.control->EventProcedure());
}

bool EventHelper::Ask(const Target& target, Event& event) const
{
    // A copy: the procedure may replace itself.
    const BaseGUIObject::EventProcedureFunction procedure = target.control->EventProcedure();
    return procedure(target.control, &event);
}

bool EventHelper::Dispatch(QWidget* window, QObject* watched, QEvent* event)
{
    const Target target = FindTarget(watched, window);
    const int type = static_cast<int>(event->type());
    if (type == 0 || type > 127) {
        if (event->type() == BoundHandlerWrapper::EventType)
            static_cast<BoundHandlerWrapper*>(event)->Run();
        return false;
    }
    switch (type) {
    case QEvent::Timer: {
        if (!HasProcedure(target))
            return false;
        TimerEvent record(static_cast<QTimerEvent*>(event)->timerId());
        return Ask(target, record);
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        if (!target || IsDisabledButton(target.control) || !HasProcedure(target))
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        MouseEvent record(static_cast<Event::Type>(type), Rounded(mouse->localPos()),
                          static_cast<std::uint32_t>(mouse->buttons()), static_cast<std::uint32_t>(mouse->modifiers()));
        return Ask(target, record);
    }
    case QEvent::HoverEnter: {
        if (!target || IsDisabledButton(target.control) || !HasProcedure(target))
            return false;
        const auto* hover = static_cast<QHoverEvent*>(event);
        MouseEvent record(Event::HoverEnter, Rounded(hover->posF()), 0,
                          static_cast<std::uint32_t>(hover->modifiers()));
        return Ask(target, record);
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return target && HandleKey(target, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (!HasProcedure(target))
            return false;
        FocusEvent record(static_cast<Event::Type>(type));
        return Ask(target, record);
    }
    case QEvent::Leave: {
        if (!HasProcedure(target) || !target.control->GetBaseImpl()->IsTrackMouseEvent())
            return false;
        MouseLeaveEvent record;
        return Ask(target, record);
    }
    case QEvent::Paint: {
        if (!HasProcedure(target))
            return false;
        PaintEvent record;
        return Ask(target, record);
    }
    case QEvent::Move:
        return HasProcedure(target) && HandleMove(target, window, static_cast<QMoveEvent*>(event));
    case QEvent::Resize: {
        if (!HasProcedure(target))
            return false;
        const auto* resize = static_cast<QResizeEvent*>(event);
        ResizeEvent record({resize->oldSize().width(), resize->oldSize().height()},
                           {resize->size().width(), resize->size().height()});
        return Ask(target, record);
    }
    case QEvent::Show: {
        if (window->isVisible())
            m_dialog->ResizeDialogAccordingScreen(target.control);
        if (!HasProcedure(target))
            return false;
        ShowEvent record;
        return Ask(target, record);
    }
    case QEvent::Hide: {
        if (!HasProcedure(target))
            return false;
        HideEvent record;
        return Ask(target, record);
    }
    case QEvent::Close:
        if (!target || target.control->GetControlType() != ControlType::Dialog || m_dialog->FilterDone(0) != -1)
            return false;
        event->ignore();
        return true;
    case QEvent::WindowActivate: {
        if (!HasProcedure(target))
            return false;
        WindowActivateEvent record;
        return Ask(target, record);
    }
    case QEvent::WindowDeactivate: {
        if (!m_repeatSeen)
            m_guardTimer.start(QApplication::keyboardInputInterval());
        m_keyHeld = true;
        if (!HasProcedure(target))
            return false;
        WindowDeactivateEvent record;
        return Ask(target, record);
    }
    case QEvent::Wheel: {
        if (!target || IsDisabledButton(target.control) || !HasProcedure(target))
            return false;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint angle = wheel->angleDelta();
        const int delta = qAbs(angle.x()) > qAbs(angle.y()) ? angle.x() : angle.y();
        MouseWheelEvent record(static_cast<std::int16_t>(delta), Rounded(GlobalPosition(*wheel)),
                               static_cast<std::uint32_t>(wheel->buttons()),
                               static_cast<std::uint32_t>(wheel->modifiers()));
        return Ask(target, record);
    }
    case QEvent::ApplicationPaletteChange: {
        if (!HasProcedure(target))
            return false;
        ApplicationPaletteChangeEvent record;
        Ask(target, record);
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return HandleDrag(watched, window, event);
    case QEvent::LayoutRequest:
        if (window->isVisible())
            m_dialog->ResizeDialogAccordingScreen(target.control);
        return false;
    case QEvent::ContextMenu:
        return target && HandleContextMenu(target);
    case QEvent::InputMethod:
        return HasProcedure(target) && HandleInputMethod(target, event);
    case QEvent::ToolTip:
        return target && HandleToolTip(target, event);
    default:
        return false;
    }
}

bool EventHelper::HandleKey(const Target& target, QKeyEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride)
        Debug(QString::fromStdWString(target.control->GetName()) + QStringLiteral(" -> Shortcut event"));
    if (type == QEvent::KeyRelease)
        m_keyHeld = false;
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) && IsReturnOrSpace(event->key())) {
        if (event->isAutoRepeat()) {
            m_repeatSeen = true;
            if (m_keyHeld)
                return true;
        } else {
            m_repeatSeen = false;
            if (m_guardTimer.isActive())
                return true;
        }
    }
    if (!HasProcedure(target))
        return false;
    KeyEvent record(static_cast<Event::Type>(type), SysKeyToAUIKey(event->key()),
                    static_cast<std::uint32_t>(event->modifiers()), ToWString(event->text()), event->key());
    if (record.key == Event::KeyTab || record.key == Event::KeyEscape || type == QEvent::ShortcutOverride
        || record.key == Event::KeyPause || (type == QEvent::KeyRelease && !record.IsSpecialKey())) {
        Debug(QStringLiteral("Event processed and propagated to parent"));
        if (record.key != Event::KeyTab)
            event->ignore();
        return false;
    }
    if (Ask(target, record)) {
        Debug(QStringLiteral("Event NOT processed and propagated to parent"));
        event->ignore();
        return true;
    }
    Debug(QStringLiteral("Event processed and NOT propagated to parent"));
    event->accept();
    return false;
}

bool EventHelper::HandleMove(const Target& target, QWidget* window, QMoveEvent* event)
{
    const int titleBar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect frame = window->frameGeometry();
    QRect proposed;
    proposed.setLeft(event->pos().x());
    proposed.setTop(event->pos().y());
    proposed.setRight(proposed.left() + (frame.right() - frame.left()));
    proposed.setBottom(proposed.top() + (frame.bottom() - frame.top()));
    const QPoint asProposed = proposed.topLeft();
    MovingEvent record(&proposed);
    const bool answer = Ask(target, record);
    m_moveTimer.disconnect();
    m_moveTimer.stop();
    if (proposed.topLeft() == asProposed || m_moving)
        return answer;
    const QPointer<QWidget> moved = window;
    const QPoint destination(proposed.left(), proposed.top() - titleBar);
    connect(&m_moveTimer, &QTimer::timeout, this, [this, moved, destination] {
        m_moving = true;
        if (moved)
            moved->move(destination);
        m_moving = false;
    });
    m_moveTimer.start(100);
    return answer;
}

bool EventHelper::HandleInputMethod(const Target& target, QEvent* event)
{
    if (ImplOf(target.control)->IsProgrammaticChange())
        return false;
    const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
    bool answered = false;
    // One event per character as the user sees it, so a character beyond U+FFFF stays whole.
    for (uint codePoint : committed.toUcs4()) {
        KeyEvent record(Event::KeyPress, Event::KeyNone, 0, std::wstring(1, static_cast<wchar_t>(codePoint)),
                        Qt::Key_unknown);
        answered = Ask(target, record) || answered;
    }
    return answered;
}

bool EventHelper::HandleToolTip(const Target& target, QEvent* event)
{
    const auto* help = static_cast<QHelpEvent*>(event);
    BaseImplQt* impl = ImplOf(target.control);
    for (const BaseImplQt::ToolTipRecord& record : impl->ToolTips()) {
        if (record.data && record.data->area.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), record.data->text);
            return true;
        }
    }
    if (!impl->ShowToolTip(help->globalPos()))
        QToolTip::hideText();
    return true;
}

bool EventHelper::HandleDrag(QObject* watched, QWidget* window, QEvent* event)
{
    if (event->type() == QEvent::DragLeave) {
        event->accept();
        return true;
    }
    const Target target = DropTarget(watched, window);
    if (!target)
        return false;
    if (event->type() == QEvent::Drop) {
        if (!HasProcedure(target) || !target.control->GetBaseImpl()->IsAcceptDrops())
            return false;
        const auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::wstring> paths;
        for (const QUrl& url : drop->mimeData()->urls())
            paths.push_back(ToWString(url.path(QUrl::FullyDecoded)));
        DropFilesEvent record(Rounded(drop->posF()), std::move(paths));
        return Ask(target, record);
    }
    if (!target.control->GetBaseImpl()->IsAcceptDrops())
        return false;
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (event->type() == QEvent::DragEnter)
        drag->setDropAction(drag->proposedAction());
    drag->accept();
    return true;
}

bool EventHelper::HandleContextMenu(const Target& target)
{
    if (HasProcedure(target)) {
        ContextMenuEvent record;
        if (Ask(target, record))
            return true;
    }
    const ControlType type = target.control->GetControlType();
    if (type == ControlType::Edit || type == ControlType::TreeView)
        return false;
    // Held while it shows: a callback may detach the menu from the control.
    if (const std::shared_ptr<ContextMenu> menu = target.control->GetContextMenu())
        menu->Show(true);
    return false;
}

} // namespace AUILib
