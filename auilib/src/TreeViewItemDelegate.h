#pragma once

#include <QStyledItemDelegate>

namespace AUILib {

class TreeView;

// The standard mode's item delegate.
class TreeViewItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    TreeViewItemDelegate(QObject* parent, TreeView* owner);

    void ReleaseOwner() { m_owner = nullptr; }

private:
    TreeView* m_owner;
};

} // namespace AUILib
