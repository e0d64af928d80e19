#pragma once

#include "BaseImplQt.h"
#include "CustomQTableWidgetItem.h"
#include "ItemDataStore.h"
#include "ListBox.h"
#include "ListBoxQt.h"

#include <QImage>
#include <QPalette>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>

#include <list>
#include <map>
#include <memory>
#include <vector>

namespace AUILib {

class HeaderProxyStyle;
class ItemDelegate;

// The list box's Qt side: builds the table and turns its signals into the public handler lists.
class ListBoxImpl : public BaseImplQt
{
public:
    explicit ListBoxImpl(ListBox& owner);
    ~ListBoxImpl() override;

    QWidget* GetWidget() override { return table; }
    Point ScreenToClient(Point point) override;
    Point ClientToScreen(Point point) override;
    void SetAcceptDrops(bool accept) override;
    bool IsAcceptDrops() override { return acceptDrops; }
    // The tooltip request of the event bridge, at a screen point.
    bool ShowToolTip(QPoint globalPos) override;
    bool HandleToolTip(Point screenPoint);
    ListBox& Owner() const { return m_owner; }

    // Begin and end around the clear in multi-selection.
    void ClearSelection();
    // Adds (false) or removes (true) the row-button column; nothing without a picture.
    void UpdateRowButtonColumn(bool remove);
    // The empty cell of the row-button column, made with the row so that painting never changes the model.
    void AddRowButtonCell(int row);
    // The palette with the selection drawn as plain cells, or the saved one.
    void ApplySelectionPalette(bool show);

    // A new cell of this list.
    CustomQTableWidgetItem* NewCell(const QString& text);
    // Frees the records and the editor of rows first .. last, which are about to leave the table.
    void ForgetRows(int first, int last);
    // Sorting, as it stands, would reorder rows: a sort column is set.
    bool HasSortColumn() const;
    // Turns sorting off for a change of rows, unless the change cannot unsort the table.
    bool SuspendSorting(bool changeKeepsOrder);
    void RestoreSorting(bool wasOn);
    // Qt's full sorts run between these two: the column functions answer each pair once.
    void BeginSort();
    void EndSort();
    // Where a stable re-sort puts a cell appended to the sorted table.
    int SortedAppendRow(const QTableWidgetItem& cell) const;

    int backgroundColor = -1;
    int textColor = -1;
    bool singleSelection = true;
    bool underlineItems = false;
    QPointer<ItemDelegate> delegate;
    QImage rowButtonPicture;
    int columnCount = 0;
    std::vector<int> columnWidths;
    std::map<int, ListBox::EditMode> columnEditModes;
    QStringList headerLabels{QStringLiteral("Col 1")};
    int itemHeight = 14;
    QPointer<ListBoxQt> table;
    ListBox::CheckMode checkMode = ListBox::NoCheckBoxes;
    ItemDataStore itemData;
    bool headerDefaultSizeSet = false;
    int pinnedRows = 0;
    bool caseSensitive = true;
    bool rowsDragAndDrop = false;
    bool acceptDrops = false;
    // Ascending, as SelectedItemsIndexes gives them.
    std::vector<int> previousSelection;
    // Counts changes of the selection and of the rows under it, so that a handler's own change is noticed.
    unsigned selectionChanges = 0;
    // Rows that a selection change still has to report or check while its handlers run: row changes
    // move them as they move the previous selection.
    std::vector<std::vector<int>*> heldRows;
    // The held rows' cells while the rows are reordered.
    std::vector<std::vector<QPersistentModelIndex>> heldThroughLayout;
    // The selected rows first .. last that DeleteSelItems is removing, the last selected rows: the
    // selection that the selection model's report of their removal leaves is known without reading it.
    // Off only to compare with the reading.
    struct RowRun
    {
        int first = -1;
        int last = -1;
    };
    RowRun removingRun;
    bool predictRemovals = true;
    // Qt is partway through removing rows (between its announcement and its report that they went),
    // and has yet to take the cells out by the indexes it announced: rows or columns added, removed
    // or reordered meanwhile would make it take the wrong ones, so the operations that would are refused.
    int rowsBeingRemoved = 0;
    bool RemovalUnderway() const { return rowsBeingRemoved > 0; }
    // A change to a cell of `column` now would have Qt move its row to keep the list sorted.
    bool MovesRowDuringRemoval(int column) const;
    // Likewise for a change to the data of a cell of `column`, which its comparison function reads.
    bool DataMovesRowDuringRemoval(int column) const;
    CustomQTableWidgetItem::SortFunctions sortFunctions;
    CustomQTableWidgetItem::SortAnswers sortAnswers;
    std::unique_ptr<HeaderProxyStyle> headerStyle;
    int autoTooltip = 0;
    int autoTooltipMaxLength = 0;
    bool wordWrap = false;
    ListBox::Editable editable = ListBox::NotEditable;
    QPalette savedPalette;
    bool selectionUpdate = false;
    // The rows are in the order of the sort column: an appended row can go straight to its place.
    bool knownSorted = false;

private:
    void Connect();
    void OnSelectionChanged();
    std::vector<int> ReadSelection();
    // Qt reports no selection change for selected rows that only moved: the remembered rows move too.
    void RememberRowsRemoved(int first, int last);
    void ShiftRememberedRows(int from, int by);
    void HoldRowsThroughReorder();
    void FollowReorderedRows();
    // Sets the check state of the rows, the last first.
    void SetChecks(std::vector<int>& rows, Qt::CheckState state);
    // The selection after the removal of `removingRun`; false when it has to be read.
    bool SelectionAfterRemoval(std::vector<int>& after);
    void OnSectionResized(int column, int newSize);
    void ForgetOrderIfCellTaken(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    ListBox& m_owner;
};

} // namespace AUILib
