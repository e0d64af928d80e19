#include "TreeViewItemDelegate.h"

#include "Edit.h"
#include "TreeViewImpl.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>

namespace AUILib {

TreeViewItemDelegate::TreeViewItemDelegate(QObject* parent, TreeView* owner)
    : QStyledItemDelegate(parent)
    , m_owner(owner)
{
}

TreeViewItemDelegate::~TreeViewItemDelegate() = default;

QWidget* TreeViewItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    if (!index.isValid())
        return nullptr;
    QWidget* view = parent ? parent->parentWidget() : nullptr;
    if (m_editor) {
        // Qt releases the widget of the editor it no longer shows; only the control goes here.
        m_editor.reset();
    }
    m_editor = std::make_unique<Edit>();
    m_editor->Create(view ? view : parent);
    const QPointer<QLineEdit> line = qobject_cast<QLineEdit*>(m_editor->GetWndPtr());
    if (!line)
        return nullptr;
    const int viewportWidth = parent ? parent->width() : option.rect.width();
    line->setFixedSize(viewportWidth - option.rect.left() + 2, option.rect.height() + 2);
    line->setFont(option.font);
    auto* impl = m_owner ? static_cast<TreeView::impl*>(m_owner->GetBaseImpl().get()) : nullptr;
    auto* tree = qobject_cast<const QAbstractItemView*>(this->parent());
    if (impl && impl->model && tree && tree->model() == impl->model) {
        QStandardItem* item = impl->ItemOf(index);
        impl->edited = impl->Persistent(item);
        const QPointer<const TreeViewItemDelegate> self(this);
        const QPersistentModelIndex opened(index);
        // A handler that edits another label closes this editor, with its finish reported, before
        // the view has it: the view keeps the other one. A handler that lets the tree go, or takes
        // the item away, ends the opening.
        const auto stillOpening = [&self, &line, &opened] {
            return TreeLives(self) && self->IsOpen(line) && opened.isValid();
        };
        FireHandlers(m_owner->OnEditStarted, item);
        if (stillOpening())
            FireHandlers(m_owner->OnEditorCreated, item, m_editor.get());
        if (!stillOpening())
            return Dropped(self, line);
    }
    return line;
}

bool TreeViewItemDelegate::TreeLives(const QPointer<const TreeViewItemDelegate>& delegate)
{
    // Deleting the tree control takes the delegate's owner; deleting its window takes the view, and
    // this delegate with it.
    return delegate && delegate->m_owner;
}

QWidget* TreeViewItemDelegate::Dropped(const QPointer<const TreeViewItemDelegate>& delegate,
                                       const QPointer<QLineEdit>& line)
{
    if (delegate && delegate->IsOpen(line))
        delegate->m_editor.reset();
    // The view never learns of the widget, so nothing else would close it.
    if (line) {
        line->hide();
        line->deleteLater();
    }
    return nullptr;
}

bool TreeViewItemDelegate::IsOpen(const QWidget* widget) const
{
    return m_editor && m_editor->GetWndPtr() == widget;
}

void TreeViewItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && index.isValid() && index.model())
        line->setText(index.data(Qt::EditRole).toString());
}

void TreeViewItemDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    // The editor lives in the view, the option's rectangle in its viewport.
    auto* view = qobject_cast<QAbstractItemView*>(parent());
    if (view && editor->parentWidget() == view)
        editor->move(editor->pos() + view->viewport()->pos());
}

std::unique_ptr<Edit> TreeViewItemDelegate::TakeEditor(QWidget* widget)
{
    if (!widget || !IsOpen(widget))
        return nullptr;
    return std::move(m_editor);
}

} // namespace AUILib
