#include "BaseImplQt.h"
#include "DialogImpl.h"
#include "WideText.h"

#include <QApplication>
#include <QLayout>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace AUILib {

namespace {

// Breaks `text` into lines no wider than `limit` pixels, at white space where there is some; the
// lines so far go into `tip`, the rest stays in `text`.
void BreakLines(QString& tip, QString& text, const QFontMetrics& metrics, int limit)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s"));
    int i = 1;
    while (i < text.size()) {
        if (text.at(i) == QLatin1Char('\n')) {
            tip += text.left(i) + QStringLiteral("<br>");
            text = text.mid(i + 1);
            i = 0;
            if (text.isEmpty())
                break;
        }
        if (metrics.horizontalAdvance(text.left(i + 1)) <= limit) {
            ++i;
            continue;
        }
        const int space = text.lastIndexOf(whiteSpace, i);
        const int cut = space > 0 ? space + 1 : i;
        tip += text.left(cut) + QStringLiteral("<br>");
        text = text.mid(cut);
        i = 1;
        if (text.size() < 2)
            break;
    }
}

QRect ToQRect(const Rect& rect)
{
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

} // namespace

void Dialog::SetToolTip(const std::shared_ptr<BaseGUIObject>& control, const std::wstring& textW,
                        const std::wstring& titleW, int maxWidth, QRect* area, bool)
{
    QString text = ToQString(textW);
    const QString title = ToQString(titleW);
    QString tip = title.isEmpty() ? QString() : QStringLiteral("<b>") + title + QStringLiteral("</b><br>");
    if (maxWidth >= 1) {
        const QFontMetrics metrics(QToolTip::font());
        QFont bold = QToolTip::font();
        bold.setWeight(75);
        int limit = std::max(maxWidth, QFontMetrics(bold).horizontalAdvance(title));
        if (metrics.horizontalAdvance(text) > limit && text.size() >= 2) {
            limit += 2;
            BreakLines(tip, text, metrics, limit);
        }
    }
    tip = QStringLiteral("<div style = 'white-space:pre'>") + tip + text + QStringLiteral("</div>");

    BaseGUIObject* shower = control ? control.get() : this;
    auto* impl = dynamic_cast<BaseImplQt*>(shower->GetBaseImpl().get());
    // Without an area the tip covers the widget, and a widget that is gone covers nothing.
    if (!impl || (!area && !impl->GetWidget()))
        return;
    const QRect rect = area ? *area : ToQRect(shower->GetClientRect());
    if (control && impl->GetWidget())
        impl->GetWidget()->setAccessibleName(ToQString(textW));
    for (BaseImplQt::ToolTipRecord& record : impl->ToolTips()) {
        if (record.control.get() == control.get() && record.data) {
            record.data->text = tip;
            record.data->area = rect;
            return;
        }
    }
    // The record sits in the control's own implementation: it names the control without owning it.
    impl->ToolTips().push_back(
        {std::shared_ptr<BaseGUIObject>(std::shared_ptr<BaseGUIObject>(), control.get()),
         std::make_unique<BaseImplQt::ToolTipData>(BaseImplQt::ToolTipData{QString(), tip, rect})});
}

void Dialog::ResizeDialogAccordingScreen(BaseGUIObject* content)
{
    DialogQt* window = m_impl->Window();
    QLayout* layout = window ? window->layout() : nullptr;
    if (!layout || layout->count() < 1 || !content)
        return;
    auto* scroll = qobject_cast<QScrollArea*>(layout->itemAt(0)->widget());
    if (!scroll || (content != this && content->GetParentWindow() != scroll))
        return;
    m_impl->Show(true, true);
    QWidget* inner = scroll->widget();
    if (!inner || !inner->layout())
        return;

    const QSize contentSize = inner->sizeHint();
    const int cw = contentSize.width();
    const int ch = contentSize.height();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int titleBar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int dw = window->frameGeometry().width() - window->width();
    const int dh = window->frameGeometry().height() - window->height();
    if (dw < 0 || dh < 0)
        return;
    const QMargins margins = layout->contentsMargins();
    const int vsb = scroll->verticalScrollBar()->sizeHint().width();
    const int hsb = scroll->horizontalScrollBar()->sizeHint().height();
    const int fw = scroll->frameWidth();

    const int wanted = margins.left() + dw + cw + 2 * fw + margins.right();
    const int wantedHeight = margins.top() + dh + ch + dw + 2 * fw + margins.bottom();
    const double allowed = (available.right() - available.left() + 1) * m_screenShare;
    const double allowedHeight = (available.bottom() - available.top() - titleBar - 29) * m_screenShare;

    int w = 0;
    int h = 0;
    if (wanted <= allowed) {
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        w = dw + cw + margins.left() + margins.right();
    } else {
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        w = static_cast<int>((allowed - dw) - 2 * fw);
    }
    if (wantedHeight <= allowedHeight) {
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        h = ch + dw + margins.top() + margins.bottom();
    } else {
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        h = static_cast<int>((allowedHeight - dw - dh) - 2 * fw);
        w += vsb;
    }
    if (wanted > allowed)
        h += hsb;
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    window->setMinimumSize(w, h);
    window->setMaximumSize(w, h);
    if (!m_screenFitted)
        window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), available));
    m_screenFitted = true;
}

} // namespace AUILib
