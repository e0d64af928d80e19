#include "ListBox.h"

#include "ListBoxImpl.h"

#include <QHeaderView>

namespace AUILib {

bool ListBox::IsSortingEnabled()
{
    return m_impl->table && m_impl->table->isSortingEnabled();
}

void ListBox::SortingEnable(bool on)
{
    ListBoxQt* table = m_impl->table;
    if (!table || (on && m_impl->RemovalUnderway()))
        return;
    // Sorting that comes on sorts nothing until a column is chosen.
    if (on && !table->isSortingEnabled())
        table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_impl->BeginSort();
    table->setSortingEnabled(on);
    m_impl->EndSort();
    m_impl->knownSorted = on;
}

bool ListBox::SortColumn(int column, bool caseSensitive)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return true;
    if (m_impl->RemovalUnderway())
        return false;
    m_impl->caseSensitive = caseSensitive;
    const Qt::SortOrder order = table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    m_impl->BeginSort();
    if (!table->isSortingEnabled())
        table->setSortingEnabled(true);
    table->sortByColumn(column, order);
    m_impl->EndSort();
    m_impl->knownSorted = true;
    return true;
}

bool ListBox::SortColumn(int column, SortMode mode, bool caseSensitive)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return true;
    if (m_impl->RemovalUnderway())
        return false;
    m_impl->caseSensitive = caseSensitive;
    m_impl->BeginSort();
    if (!table->isSortingEnabled())
        table->setSortingEnabled(true);
    if (mode == Ascending || mode == Descending)
        table->sortByColumn(column, mode == Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_impl->EndSort();
    m_impl->knownSorted = true;
    return true;
}

void ListBox::SetColumnSortFunc(int column, const SortFunction& function)
{
    if (!function)
        return;
    m_impl->sortFunctions[column] = function;
    // The rows were ordered by the column's earlier comparison.
    m_impl->knownSorted = false;
}

void ListBox::DisableSortingForRow(int row)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    const int pinned = impl.pinnedRows;
    // Pinning a row twice, or a row that is not there, would add an empty pinned row.
    if (!table || impl.RemovalUnderway() || row < pinned || row >= table->rowCount())
        return;
    const bool wasOn = impl.SuspendSorting(false);
    table->insertRow(pinned);
    const int source = row + 1;
    for (int column = 0; column < impl.columnCount; ++column) {
        QTableWidgetItem* taken = table->takeItem(source, column);
        auto* cell = dynamic_cast<CustomQTableWidgetItem*>(taken);
        if (!cell) {
            delete taken;
            cell = impl.NewCell(QString());
        }
        cell->pinned = true;
        table->setItem(pinned, column, cell);
    }
    table->removeRow(source);
    impl.AddRowButtonCell(pinned);
    impl.pinnedRows = pinned + 1;
    impl.RestoreSorting(wasOn);
}

} // namespace AUILib
