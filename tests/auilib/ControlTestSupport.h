#pragma once

// Small helpers shared by the control tests.
#include "AgnosticUIException.h"
#include "HandlerList.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

// The message of the library exception a call throws, or "(nothing thrown)".
inline std::string ExceptionText(const std::function<void()>& call)
{
    try {
        call();
    } catch (const AUILib::AgnosticUIException& exception) {
        return exception.what();
    }
    return "(nothing thrown)";
}

// Every firing of a handler list, in order, through a handler called at once.
template <typename... Args>
class FiringRecorder
{
public:
    explicit FiringRecorder(AUILib::HandlerList<Args...>& list)
    {
        list.Add([this](Args... args) { calls.emplace_back(args...); });
    }
    std::vector<std::tuple<Args...>> calls;
};

// A mouse event with the left button held, as a drag delivers it; QTest's moves carry no button.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint position)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, widget->mapToGlobal(position), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Where the style puts a part of a spin box (an arrow, the edit field).
inline QRect SpinBoxPart(QAbstractSpinBox* box, QStyle::SubControl part)
{
    QStyleOptionSpinBox option;
    option.initFrom(box);
    option.subControls = QStyle::SC_All;
    option.frame = box->hasFrame();
    option.buttonSymbols = box->buttonSymbols();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    return box->style()->subControlRect(QStyle::CC_SpinBox, &option, part, box);
}

// The picture a label shows, null when it shows none; Qt 5.12 hands it out by pointer only.
inline QPixmap ShownPixmap(const QLabel& label)
{
#if QT_VERSION >= QT_VERSION_CHECK(5, 15, 0)
    return label.pixmap(Qt::ReturnByValue);
#else
    return label.pixmap() ? *label.pixmap() : QPixmap();
#endif
}

// What a handler lets go: the control, the window that holds its widget, or both.
enum class Gone { Control, Window, Both };

template <typename Control>
void LetGo(Gone gone, std::unique_ptr<Control>& control, const QPointer<QWidget>& window)
{
    if (gone != Gone::Window)
        control.reset();
    if (gone != Gone::Control)
        delete window.data();
}
