#include "ListBox.h"

#include "AUILibConfig.h"
#include "ListBoxImpl.h"
#include "ListBoxItemDelegate.h"
#include "WideText.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace AUILib {

namespace {

// The text of a cell up to its first NUL character.
std::wstring CellText(const QTableWidgetItem* item)
{
    if (!item)
        return {};
    std::wstring text = ToWString(item->text());
    const std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

// Keeps Qt from moving rows while a row is put straight at its sorted place.
class SortColumnHidden
{
public:
    explicit SortColumnHidden(QHeaderView* header)
        : m_header(header)
        , m_section(header->sortIndicatorSection())
        , m_order(header->sortIndicatorOrder())
        , m_blocker(header)
    {
        m_header->setSortIndicator(-1, m_order);
    }
    ~SortColumnHidden() { m_header->setSortIndicator(m_section, m_order); }
    SortColumnHidden(const SortColumnHidden&) = delete;
    SortColumnHidden& operator=(const SortColumnHidden&) = delete;

private:
    QHeaderView* m_header;
    int m_section;
    Qt::SortOrder m_order;
    QSignalBlocker m_blocker;
};

} // namespace

ListBox::ListBox()
    : m_impl(std::make_shared<ListBoxImpl>(*this))
{
    SetControlType(ControlType::ListBox);
    SetColumnsCount(1);
}

ListBox::~ListBox()
{
    m_impl.reset();
}

bool ListBox::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size ListBox::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> ListBox::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ListBox::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void ListBox::SetHeaderDefaultSize()
{
    ListBoxQt* table = m_impl->table;
    if (m_impl->headerDefaultSizeSet || table->rowCount() != 0)
        return;
    table->horizontalHeader()->setDefaultSectionSize(table->width() -
                                                     table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2);
    m_impl->headerDefaultSizeSet = true;
}

void ListBox::AutoResizeColumn(int column)
{
    ListBoxQt* table = m_impl->table;
    if (column < 0 || column >= m_impl->columnCount || m_impl->columnWidths[column] != -2)
        return;
    table->resizeColumnToContents(column);
    m_impl->wordWrap = false;
    table->setWordWrap(false);
}

int ListBox::AddItem(const std::wstring& text, any data)
{
    return InsertItem(-1, text, std::move(data));
}

int ListBox::InsertItem(int row, const std::wstring& text, any data)
{
    if (!m_impl->table || m_impl->RemovalUnderway())
        return -1;
    return AddOneColumn(row, text, data);
}

int ListBox::AddOneColumn(int row, const std::wstring& text, const any& data)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    SetHeaderDefaultSize();
    const bool append = row == -1 || row == table->rowCount();
    if (row == -1)
        row = table->rowCount();
    if (row < 0 || row > table->rowCount())
        return -1;
    CustomQTableWidgetItem* cell = impl.NewCell(ToQString(text));
    if (!data.empty())
        cell->setData(Qt::UserRole, impl.itemData.Add(data, 0));
    const bool checkable = impl.checkMode != NoCheckBoxes;
    if (impl.checkMode == BoxClickToggles || impl.checkMode == SelectionChecks)
        cell->setFlags(cell->flags() & ~Qt::ItemIsUserCheckable);

    if (append && table->isSortingEnabled() && impl.HasSortColumn() && impl.knownSorted &&
        table->horizontalHeader()->sortIndicatorSection() == 0) {
        row = impl.SortedAppendRow(*cell);
        const SortColumnHidden hidden(table->horizontalHeader());
        table->insertRow(row);
        table->setItem(row, 0, cell);
        if (checkable)
            cell->setCheckState(Qt::Unchecked);
        impl.AddRowButtonCell(row);
    } else {
        const bool wasOn = impl.SuspendSorting(false);
        table->insertRow(row);
        table->setItem(row, 0, cell);
        if (checkable)
            cell->setCheckState(Qt::Unchecked);
        impl.AddRowButtonCell(row);
        impl.RestoreSorting(wasOn);
    }
    AutoResizeColumn(0);
    return table->row(cell);
}

int ListBox::AddItemEx(std::list<std::wstring>& texts, any data)
{
    return InsertItemEx(-1, texts, std::move(data));
}

int ListBox::InsertItemEx(int row, std::list<std::wstring>& texts, any data)
{
    if (!m_impl->table || m_impl->RemovalUnderway())
        return -1;
    return AddColumns(row, texts, data);
}

int ListBox::AddColumns(int row, std::list<std::wstring>& texts, const any& data)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    const bool append = row == -1 || row == table->rowCount();
    if (row == -1)
        row = table->rowCount();
    if (row < 0 || row > table->rowCount())
        return -1;
    const int insertionRow = row;

    std::vector<CustomQTableWidgetItem*> cells;
    auto text = texts.begin();
    int id = 0;
    for (int column = 0; column < impl.columnCount; ++column) {
        CustomQTableWidgetItem* cell = impl.NewCell(text != texts.end() ? ToQString(*text++) : QString());
        if (column == 0 && !data.empty())
            id = impl.itemData.Add(data, 0);
        if (id >= 1)
            cell->setData(Qt::UserRole, id);
        if (column == 0 && (impl.checkMode == BoxClickToggles || impl.checkMode == SelectionChecks))
            cell->setFlags(cell->flags() & ~Qt::ItemIsUserCheckable);
        cells.push_back(cell);
    }
    const bool checkable = impl.checkMode != NoCheckBoxes;
    const int sortColumn = table->horizontalHeader()->sortIndicatorSection();
    const bool direct = append && !cells.empty() && table->isSortingEnabled() && impl.HasSortColumn() &&
                        impl.knownSorted && sortColumn < impl.columnCount;
    auto place = [&](int at) {
        for (std::size_t column = 0; column < cells.size(); ++column) {
            table->setItem(at, static_cast<int>(column), cells[column]);
            if (column == 0 && checkable)
                cells[0]->setCheckState(Qt::Unchecked);
            AutoResizeColumn(static_cast<int>(column));
        }
        impl.AddRowButtonCell(at);
    };
    if (direct) {
        row = impl.SortedAppendRow(*cells[sortColumn]);
        const SortColumnHidden hidden(table->horizontalHeader());
        table->insertRow(row);
        place(row);
        return insertionRow;
    }
    table->insertRow(row);
    const bool wasOn = impl.SuspendSorting(false);
    if (cells.empty()) {
        impl.RestoreSorting(wasOn);
        return -1;
    }
    place(row);
    impl.RestoreSorting(wasOn);
    return insertionRow;
}

int ListBox::AddRow(std::list<std::wstring>& texts, std::list<any> datas)
{
    return InsertRow(-1, texts, std::move(datas));
}

int ListBox::InsertRow(int row, std::list<std::wstring>& texts, std::list<any> datas)
{
    if (!m_impl->table || m_impl->RemovalUnderway())
        return -1;
    return AddRowWithData(row, texts, datas);
}

int ListBox::AddRowWithData(int row, std::list<std::wstring>& texts, const std::list<any>& datas)
{
    if (texts.empty())
        return -1;
    const int added = AddColumns(row, texts, any());
    if (added < 0)
        return added;
    int column = 0;
    for (const any& data : datas)
        SetItemDataEx(added, column++, data);
    return added;
}

bool ListBox::DeleteItem(ListBoxTreeItem*)
{
    return false;
}

void ListBox::Clear()
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table || impl.RemovalUnderway())
        return;
    const bool selectionMuted = OnSelectionChanged.SetSuppressed(true);
    const bool rowsMuted = OnRowSelectionChanged.SetSuppressed(true);
    // Clearing the contents takes the cells without removing their rows.
    impl.ForgetRows(0, table->rowCount() - 1);
    table->clearContents();
    table->setRowCount(0);
    for (int column = 0; column < impl.columnCount; ++column)
        AutoResizeColumn(column);
    OnSelectionChanged.SetSuppressed(selectionMuted);
    OnRowSelectionChanged.SetSuppressed(rowsMuted);
}

int ListBox::Count()
{
    return m_impl->table ? m_impl->table->rowCount() : -1;
}

std::wstring ListBox::GetItem(int row, int column)
{
    return m_impl->table ? CellText(m_impl->table->item(row, column)) : std::wstring();
}

std::list<std::wstring> ListBox::GetItemEx(int row)
{
    std::list<std::wstring> texts;
    ListBoxQt* table = m_impl->table;
    if (!table)
        return texts;
    for (int column = 0; column < m_impl->columnCount; ++column) {
        if (const QTableWidgetItem* item = table->item(row, column))
            texts.push_back(CellText(item));
    }
    return texts;
}

int ListBox::GetItemIndex(const std::wstring& text)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return -1;
    const QString wanted = ToQString(text);
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            if (item && item->text().compare(wanted, Qt::CaseInsensitive) == 0)
                return row;
        }
    }
    return -1;
}

bool ListBox::DeleteItem(int row)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table)
        return true;
    if (impl.RemovalUnderway())
        return false;
    const bool wasOn = impl.SuspendSorting(true);
    if (!table->item(row, 0)) {
        impl.RestoreSorting(wasOn);
        return false;
    }
    // Moving the current cell stores an editor it leaves, which may re-sort the rows: the row is followed.
    const QPersistentModelIndex leaving = table->model()->index(row, 0);
    if (!impl.singleSelection && table->selectedItems().isEmpty()) {
        // One on the row about to go must store nothing.
        if (impl.delegate)
            impl.delegate->ForgetEditorOfRows(row, row);
        const QModelIndex next = table->model()->index(row + 1, 0);
        table->setCurrentIndex(next.isValid() ? next : table->model()->index(row - 1, 0));
    }
    if (leaving.isValid())
        table->removeRow(leaving.row());
    impl.RestoreSorting(wasOn);
    return true;
}

bool ListBox::DeleteItems(int first, int count)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table)
        return true;
    if (impl.RemovalUnderway() || first < 0 || count < 1 || first + count > table->rowCount() ||
        !table->item(first, 0))
        return false;
    const bool wasOn = impl.SuspendSorting(true);
    table->model()->removeRows(first, count);
    impl.RestoreSorting(wasOn);
    return true;
}

bool ListBox::DeleteSelItems()
{
    if (!m_impl->table || m_impl->RemovalUnderway())
        return false;
    const std::list<int> selected = SelectedItemsIndexes();
    // From the bottom run up, so that the rows of the runs still to go keep their indexes.
    auto it = selected.rbegin();
    while (it != selected.rend()) {
        int first = *it;
        int length = 1;
        for (++it; it != selected.rend() && *it == first - 1; ++it) {
            first = *it;
            ++length;
        }
        m_impl->removingRun = {first, first + length - 1};
        DeleteItems(first, length);
        m_impl->removingRun = {};
    }
    return true;
}

void ListBox::SetSel(int row, bool select, bool setCurrent)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table || !table->item(row, 0))
        return;
    const QModelIndex index = table->model()->index(row, 0);
    if (!index.isValid())
        return;
    const bool blocked = impl.selectionUpdate && !table->signalsBlocked();
    if (blocked)
        table->blockSignals(true);
    ++impl.selectionChanges;
    QItemSelectionModel* selection = table->selectionModel();
    if (setCurrent)
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    QItemSelectionModel::SelectionFlags flags =
        select ? (impl.singleSelection ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select)
               : QItemSelectionModel::Deselect;
    selection->select(index, flags | QItemSelectionModel::Rows);
    if (impl.checkMode == SelectionChecks && !table->selectOnFocusInProgress)
        table->item(row, 0)->setCheckState(select ? Qt::Checked : Qt::Unchecked);
    table->viewport()->update();
    if (blocked)
        table->blockSignals(false);
    table->scrollToItem(table->item(row, 0));
}

void ListBox::ClearSel()
{
    m_impl->ClearSelection();
}

std::list<std::wstring> ListBox::SelectedItems()
{
    std::list<std::wstring> texts;
    for (int row : SelectedItemsIndexes())
        texts.push_back(GetItem(row, 0));
    return texts;
}

std::list<int> ListBox::SelectedItemsIndexes()
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return {};
    std::vector<int> rows;
    for (const QItemSelectionRange& range : table->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    // Ranges of one row in several columns repeat it.
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return {rows.begin(), rows.end()};
}

void ListBox::SetCheckMode(CheckMode mode)
{
    m_impl->checkMode = mode;
}

ListBox::CheckMode ListBox::GetCheckMode()
{
    return m_impl->checkMode;
}

void ListBox::SetCheck(int row, bool check)
{
    ListBoxQt* table = m_impl->table;
    if (!table || m_impl->checkMode == NoCheckBoxes)
        return;
    if (QTableWidgetItem* item = table->item(row, 0)) {
        item->setCheckState(check ? Qt::Checked : Qt::Unchecked);
        table->viewport()->update();
    }
}

bool ListBox::GetCheck(int row)
{
    ListBoxQt* table = m_impl->table;
    if (!table || m_impl->checkMode == NoCheckBoxes)
        return false;
    const QTableWidgetItem* item = table->item(row, 0);
    return item && item->checkState() != Qt::Unchecked;
}

std::list<int> ListBox::CheckedItemsIndexes()
{
    std::list<int> rows;
    ListBoxQt* table = m_impl->table;
    if (!table || m_impl->checkMode == NoCheckBoxes)
        return rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem* item = table->item(row, 0);
        if (item && item->checkState() == Qt::Checked)
            rows.push_back(row);
    }
    return rows;
}

std::list<std::wstring> ListBox::CheckedItems()
{
    std::list<std::wstring> texts;
    for (int row : CheckedItemsIndexes())
        texts.push_back(GetItem(row, 0));
    return texts;
}

bool ListBox::IsSingleSelection()
{
    return m_impl->table && m_impl->singleSelection;
}

void ListBox::SetSingleSelection(bool single)
{
    m_impl->singleSelection = single;
    if (m_impl->table)
        m_impl->table->setSelectionMode(single ? QAbstractItemView::SingleSelection
                                               : QAbstractItemView::ExtendedSelection);
}

bool ListBox::EnsureVisible(int row)
{
    ListBoxQt* table = m_impl->table;
    QTableWidgetItem* item = table ? table->item(row, 0) : nullptr;
    if (!item)
        return false;
    table->scrollToItem(item, QAbstractItemView::EnsureVisible);
    return true;
}

any ListBox::GetItemData(int row)
{
    return GetItemDataEx(row, 0);
}

any ListBox::GetItemDataEx(int row, int column)
{
    ListBoxQt* table = m_impl->table;
    const QTableWidgetItem* item = table ? table->item(row, 0) : nullptr;
    return item ? m_impl->itemData.Get(item->data(Qt::UserRole).toInt(), column) : any();
}

bool ListBox::SetItemData(int row, any data)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    QTableWidgetItem* item = table ? table->item(row, 0) : nullptr;
    if (!item || impl.DataMovesRowDuringRemoval(0))
        return false;
    const int id = item->data(Qt::UserRole).toInt();
    if (id >= 1 && impl.itemData.Find(id) != impl.itemData.End())
        impl.itemData.Set(id, 0, data);
    else
        item->setData(Qt::UserRole, impl.itemData.Add(data, 0));
    return true;
}

bool ListBox::SetItemDataEx(int row, int column, any data)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table || row < 0 || column < 0 || row >= table->rowCount() || column >= impl.columnCount ||
        impl.DataMovesRowDuringRemoval(column))
        return false;
    QTableWidgetItem* first = table->item(row, 0);
    QTableWidgetItem* cell = table->item(row, column);
    if (!first || !cell)
        return false;
    int id = first->data(Qt::UserRole).toInt();
    // No ID yet, or the one of removed data: the row gets a new one that its cells name.
    if (id < 1) {
        id = impl.itemData.Add(column == 0 ? data : any(), 0);
        first->setData(Qt::UserRole, id);
    }
    impl.itemData.Set(id, column, data);
    cell->setData(Qt::UserRole, id);
    return true;
}

bool ListBox::SetItemText(int row, const std::wstring& text)
{
    return SetItemText(row, 0, text);
}

bool ListBox::SetItemText(int row, int column, const std::wstring& text)
{
    ListBoxQt* table = m_impl->table;
    QTableWidgetItem* item = table ? table->item(row, column) : nullptr;
    if (!item || m_impl->MovesRowDuringRemoval(column))
        return false;
    item->setText(ToQString(text));
    AutoResizeColumn(column);
    table->viewport()->update();
    return true;
}

bool ListBox::SetItemTextEx(int row, std::list<std::wstring>& texts)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return false;
    if (row < 0 || row >= table->rowCount())
        return true;
    const int sortColumn = table->horizontalHeader()->sortIndicatorSection();
    if (sortColumn < static_cast<int>(texts.size()) && m_impl->MovesRowDuringRemoval(sortColumn))
        return false;
    int column = 0;
    for (const std::wstring& text : texts) {
        if (column >= m_impl->columnCount)
            break;
        QTableWidgetItem* item = table->item(row, column);
        if (!item) {
            item = new QTableWidgetItem(QString());
            table->setItem(row, column, item);
        }
        item->setText(ToQString(text));
        AutoResizeColumn(column);
        table->viewport()->update();
        ++column;
    }
    return true;
}

bool ListBox::RemoveItemData(int row)
{
    ListBoxImpl& impl = *m_impl;
    ListBoxQt* table = impl.table;
    if (!table || row < 0 || row >= table->rowCount() ||
        impl.DataMovesRowDuringRemoval(table->horizontalHeader()->sortIndicatorSection()))
        return false;
    const QTableWidgetItem* first = table->item(row, 0);
    const int id = first ? first->data(Qt::UserRole).toInt() : 0;
    for (int column = 0; column < table->columnCount(); ++column) {
        if (QTableWidgetItem* item = table->item(row, column))
            item->setData(Qt::UserRole, -1);
    }
    const auto record = impl.itemData.Find(id);
    if (record == impl.itemData.End())
        return false;
    impl.itemData.Erase(record);
    return true;
}

void ListBox::SetItemTextColor(int row, RGBColor color)
{
    ListBoxQt* table = m_impl->table;
    if (QTableWidgetItem* item = table ? table->item(row, 0) : nullptr)
        item->setData(Qt::ForegroundRole, QBrush(QColor(QRgb(color.value))));
}

void ListBox::SetItemEditMode(int row, int column, EditMode mode)
{
    ListBoxQt* table = m_impl->table;
    if (!table || row < 0 || row >= table->rowCount() || column < 0 || column > m_impl->columnCount)
        return;
    if (auto* cell = dynamic_cast<CustomQTableWidgetItem*>(table->item(row, column)))
        cell->editMode = mode;
}

void ListBox::SetColumnEditMode(int column, EditMode mode)
{
    if (column >= 0 && column <= m_impl->columnCount)
        m_impl->columnEditModes[column] = mode;
}

void ListBox::SetShowGridlines(bool on)
{
    if (ListBoxQt* table = m_impl->table) {
        table->setShowGrid(on);
        table->viewport()->update();
    }
}

int ListBox::FindString(const std::wstring& text, int start)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return -1;
    const QModelIndex from = table->model()->index(start + 1, 0);
    if (!from.isValid())
        return -1;
    const QModelIndexList hits = table->model()->match(from, Qt::DisplayRole, ToQString(text), 1,
                                                       Qt::MatchStartsWith | Qt::MatchWrap);
    return hits.isEmpty() ? -1 : hits.first().row();
}

int ListBox::HitTest(Point point, unsigned int* flags, int* column)
{
    ListBoxQt* table = m_impl->table;
    if (!table)
        return -1;
    const QTableWidgetItem* item = table->HitTest(QPoint(point.x, point.y), flags, column, nullptr);
    return item ? item->row() : -1;
}

} // namespace AUILib
