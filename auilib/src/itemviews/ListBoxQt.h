#pragma once

#include <QTableWidget>

namespace AUILib {

class ListBox;
class ListBoxImpl;

// The list box's table: hit test, check boxes toggled by presses, begin and end around multi-row
// selection gestures, select-on-focus and row drops. Once its control is gone it is a plain table.
class ListBoxQt : public QTableWidget
{
    Q_OBJECT
public:
    explicit ListBoxQt(ListBox& owner, ListBoxImpl& impl);

    // For the control's implementation when it goes.
    void ReleaseOwner();

    // The item under `point` (viewport coordinates); `flags`, `column` and `size` as the list box
    // reports them. Null with flags 1 and column -1 where there is no item.
    // A row's first cell laid out as the style draws it.
    QStyleOptionViewItem ItemOption(QTableWidgetItem* item) const;
    QTableWidgetItem* HitTest(QPoint point, unsigned int* flags, int* column, QSize* size);
    // Moves the selected rows in front of the row at `point`, or to the end below the last row.
    void MoveSelectedRows(QPoint point);

    bool selectOnFocusInProgress = false;
    bool focusHeld = false;
    bool selectItemOnSetFocus = true;
    bool leftDrag = false;
    bool automaticSearch = true;
    bool keepSelection = false;

    void keyboardSearch(const QString& search) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dropEvent(QDropEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // The editor's value, stored while rows are being removed, would move its row in the sorted list.
    bool KeepsEditorThroughRemoval(const QWidget* editor) const;
    bool IsSingle() const;
    void FireBegin();
    void FireEnd();
    // The end of the gesture that a press began: at its release, or at the end of its drag, whose
    // loop may take the release.
    void EndPressGesture();
    void ClearSelectionQuietly();
    void ToggleChecks(int row, unsigned int flags);

    ListBox* m_owner;
    ListBoxImpl* m_impl;
    // A press fired OnMultiSelectionBegin, and the matching end is still to come.
    bool m_endDue = false;
};

} // namespace AUILib
