#pragma once

#include <QStyledItemDelegate>

namespace AUILib {

// Paints the virtual nodes: a chosen span of the text in bold, and every row at one height that
// only grows (the view keeps uniform row heights).
class VirtualTreeDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit VirtualTreeDelegate(QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    mutable int m_rowHeight = 22;
};

} // namespace AUILib
