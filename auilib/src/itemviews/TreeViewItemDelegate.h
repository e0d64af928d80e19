#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

#include <memory>

namespace AUILib {

class Edit;
class TreeView;

// The standard mode's delegate: labels are edited in a line edit control of the library, one at a time.
class TreeViewItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    TreeViewItemDelegate(QObject* parent, TreeView* owner);
    ~TreeViewItemDelegate() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    void ReleaseOwner() { m_owner = nullptr; }
    // The open editor, null when none is open.
    Edit* Editor() const { return m_editor.get(); }
    // Hands out the editor whose widget this is; null for any other widget.
    std::unique_ptr<Edit> TakeEditor(QWidget* widget);

private:
    // Whether the open editor's widget is this one.
    bool IsOpen(const QWidget* widget) const;
    // Whether the delegate and its tree lived through a handler.
    static bool TreeLives(const QPointer<const TreeViewItemDelegate>& delegate);
    // Ends an opening cut short by a handler: the view gets no editor, and the widget goes.
    static QWidget* Dropped(const QPointer<const TreeViewItemDelegate>& delegate, const QPointer<QLineEdit>& line);

    TreeView* m_owner;
    mutable std::unique_ptr<Edit> m_editor;
};

} // namespace AUILib
