#include "ContextMenuQt.h"

#include "ContextMenu.h"
#include "WideText.h"

#include <QCursor>
#include <QToolTip>

namespace AUILib {

ContextMenuQt::ContextMenuQt(QWidget* parent)
    : QMenu(parent)
{
    setSeparatorsCollapsible(true);
    setAttribute(Qt::WA_MouseTracking);
    connect(this, &QMenu::hovered, this, &ContextMenuQt::onActionHovered);
}

void ContextMenuQt::onActionHovered(QAction* action)
{
    const auto found = action ? m_toolTips.find(action->data().toInt()) : m_toolTips.end();
    if (found == m_toolTips.end()) {
        QToolTip::showText(QPoint(0, 0), QString());
        return;
    }
    const QString text = IsToolTipWidth(m_toolTipMaxWidth) ? FormatToolTipText(found->second, m_toolTipMaxWidth)
                                                            : ToQString(found->second);
    QToolTip::showText(QCursor::pos(), text);
}

QString FormatToolTipText(const std::wstring& text, int maxWidth)
{
    const QString plain = ToQString(text);
    if (maxWidth < 1)
        return plain;
    return QStringLiteral("<div style='white-space:pre-wrap; max-width:%1px;'>%2</div>").arg(maxWidth).arg(plain);
}

} // namespace AUILib
