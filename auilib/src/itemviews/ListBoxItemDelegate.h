#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

#include <string>

namespace AUILib {

class ComboBox;
class DateEdit;
class Edit;
class ListBoxImpl;

// The list box's delegate: picks and opens the in-place editor of a cell, reports the edit, and
// paints the underline, the row button and untinted pictures on selected rows.
class ItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    ItemDelegate(QObject* parent, ListBoxImpl* owner);
    ~ItemDelegate() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // Reports the edit of an editor Qt closes and frees the editors.
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Closes the open editors without storing their values.
    void CloseEditors();
    // Rows first .. last are about to leave the table.
    void ForgetEditorOfRows(int first, int last);
    // For the list box's implementation when it goes.
    void ReleaseOwner() { m_owner = nullptr; }

    bool showSelection = false;

private:
    QWidget* OpenDateEdit(QWidget* table, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QWidget* OpenComboBox(QWidget* table, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QWidget* OpenEdit(QWidget* table, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QWidget* Opened(QWidget* widget, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The widget of the editor this delegate has open.
    bool IsOpen(const QWidget* editor) const;
    // Reports the edit of the open editor on the cell under edit.
    void ReportEdit(QWidget* editor) const;
    // Shows the selection as before the edit and frees the editors.
    void Forget() const;
    void DeleteEditors() const;
    int TextLeft(int row) const;

    ListBoxImpl* m_owner;
    mutable std::wstring m_textAtStart;
    mutable Edit* m_edit = nullptr;
    mutable ComboBox* m_comboBox = nullptr;
    mutable DateEdit* m_dateEdit = nullptr;
    // The cell under edit, followed through sorting and rows coming and going; invalid once it has left.
    mutable QPersistentModelIndex m_editing;
};

} // namespace AUILib
