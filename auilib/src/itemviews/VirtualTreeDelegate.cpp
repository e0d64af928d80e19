#include "VirtualTreeDelegate.h"

#include "TreeModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace AUILib {

namespace {

// Draws the part from `left` on, and returns where the next part starts.
int DrawPart(QPainter* painter, QRect rect, int left, const QString& part, int weight)
{
    if (part.isEmpty())
        return left;
    QFont font = painter->font();
    font.setWeight(weight);
    painter->setFont(font);
    rect.setLeft(left);
    QRect bounding;
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, part, &bounding);
    return bounding.right();
}

} // namespace

VirtualTreeDelegate::VirtualTreeDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QSize VirtualTreeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize hint = QStyledItemDelegate::sizeHint(option, index);
    if (hint.height() <= m_rowHeight)
        hint.setHeight(m_rowHeight);
    else
        m_rowHeight = hint.height();
    return hint;
}

void VirtualTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* view = qobject_cast<const QAbstractItemView*>(parent());
    const auto* model = view ? qobject_cast<const TreeModel*>(view->model()) : nullptr;
    VirtTreeItem* node = model ? model->ItemFromIndex(index) : nullptr;
    const auto [start, end] = node ? node->GetBoldTextPosition() : std::pair<int, int>(-1, -1);
    // A span that ends before it starts is no span.
    if (!node || start < 0 || end < start) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem row(option);
    initStyleOption(&row, index);
    const QString text = row.text;
    row.text.clear();
    // The base paint draws background, check box, icon and focus; the text comes in parts below.
    const std::wstring fullText = node->GetText();
    node->SetText({});
    QStyledItemDelegate::paint(painter, row, index);
    node->SetText(fullText);
    const QRect textRect = QApplication::style()->subElementRect(QStyle::SE_ItemViewItemText, &row, row.widget);
    painter->save();
    int left = textRect.left();
    left = DrawPart(painter, textRect, left, text.left(start), painter->font().weight());
    left = DrawPart(painter, textRect, left, text.mid(start, end - start + 1), QFont::Bold);
    DrawPart(painter, textRect, left, text.mid(end + 1), QFont::Normal);
    painter->restore();
}

} // namespace AUILib
