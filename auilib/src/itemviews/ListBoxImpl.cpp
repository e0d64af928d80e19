#include "ListBoxImpl.h"

#include "HeaderProxyStyle.h"
#include "ListBoxItemDelegate.h"
#include "WideText.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace AUILib {

namespace {

int TakeLast(std::vector<int>& rows)
{
    const int row = rows.back();
    rows.pop_back();
    return row;
}

void ShiftRows(std::vector<int>& rows, int from, int by)
{
    for (int& row : rows) {
        if (row >= from)
            row += by;
    }
}

// Drops the rows first .. last, which have left, and moves the rows below them up.
void DropRows(std::vector<int>& rows, int first, int last)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(), [first, last](int row) { return row >= first && row <= last; }),
               rows.end());
    ShiftRows(rows, last + 1, first - last - 1);
}

// For rows kept in ascending order, as the remembered selection is: only those from the change on are
// touched, so that rows added or removed below a large selection one by one stay cheap.
void ShiftSortedRows(std::vector<int>& rows, int from, int by)
{
    std::for_each(std::lower_bound(rows.begin(), rows.end(), from), rows.end(), [by](int& row) { row += by; });
}

void DropSortedRows(std::vector<int>& rows, int first, int last)
{
    const auto from = std::lower_bound(rows.begin(), rows.end(), first);
    rows.erase(from, std::upper_bound(from, rows.end(), last));
    ShiftSortedRows(rows, last + 1, first - last - 1);
}

// The rows of cells held through a reordering, less those that left.
std::vector<int> RowsOf(const std::vector<QPersistentModelIndex>& cells)
{
    std::vector<int> rows;
    for (const QPersistentModelIndex& cell : cells) {
        if (cell.isValid())
            rows.push_back(cell.row());
    }
    return rows;
}

// Row lists that row changes keep right for as long as it lives.
class RowsHeld
{
public:
    RowsHeld(std::vector<std::vector<int>*>& registry, std::initializer_list<std::vector<int>*> rows)
        : m_registry(registry)
        , m_count(rows.size())
    {
        registry.insert(registry.end(), rows);
    }
    ~RowsHeld() { m_registry.resize(m_registry.size() - m_count); }
    RowsHeld(const RowsHeld&) = delete;
    RowsHeld& operator=(const RowsHeld&) = delete;

private:
    std::vector<std::vector<int>*>& m_registry;
    std::size_t m_count;
};

} // namespace

ListBoxImpl::ListBoxImpl(ListBox& owner)
    : table(new ListBoxQt(owner, *this))
    , m_owner(owner)
{
    delegate = new ItemDelegate(table, this);
    table->setItemDelegate(delegate);
    table->setShowGrid(false);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setVisible(false);
    table->horizontalHeader()->setMinimumSectionSize(10);
    table->verticalHeader()->setMinimumSectionSize(10);
    table->verticalHeader()->setDefaultSectionSize(itemHeight);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false);
    Connect();
    headerStyle = std::make_unique<HeaderProxyStyle>();
    table->horizontalHeader()->setStyle(headerStyle.get());
    savedPalette = table->palette();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    delegate->showSelection = true;
    delegate->CloseEditors();
    table->setPalette(savedPalette);
}

ListBoxImpl::~ListBoxImpl()
{
    // The delegate stays with the table, which keeps drawing through it.
    if (delegate)
        delegate->ReleaseOwner();
    if (table) {
        table->ReleaseOwner();
        // The style goes with this object; a table living on draws its header with its own.
        table->horizontalHeader()->setStyle(nullptr);
    }
    ReleaseWidget(table);
}

void ListBoxImpl::Connect()
{
    ListBoxQt* widget = table;
    ListBox& owner = m_owner;
    TrackConnection(QObject::connect(widget, &QTableWidget::cellClicked, widget, [widget, &owner](int row, int column) {
        if (QTableWidgetItem* item = widget->item(row, column))
            FireHandlers(owner.OnItemClicked, widget->row(item));
    }));
    TrackConnection(
        QObject::connect(widget, &QTableWidget::cellDoubleClicked, widget, [widget, &owner](int row, int column) {
            if (QTableWidgetItem* item = widget->item(row, column))
                FireHandlers(owner.OnItemDoubleClicked, widget->row(item));
        }));
    TrackConnection(QObject::connect(widget, &QTableWidget::itemChanged, widget, [widget, &owner](QTableWidgetItem* item) {
        FireHandlers(owner.OnItemChanged, widget->row(item));
    }));
    TrackConnection(QObject::connect(widget, &QTableWidget::itemSelectionChanged, widget,
                                     [this]() { OnSelectionChanged(); }));
    TrackConnection(QObject::connect(widget->horizontalHeader(), &QHeaderView::sectionClicked, widget,
                                     [&owner](int column) { FireHandlers(owner.OnColumnClicked, column); }));
    // A header click sorts through the view, which connects to the header after this does.
    TrackConnection(QObject::connect(widget->horizontalHeader(), &QHeaderView::sortIndicatorChanged, widget,
                                     [this]() { BeginSort(); }));
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::layoutAboutToBeChanged, widget,
                                     [this]() { HoldRowsThroughReorder(); }));
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::layoutChanged, widget, [this]() {
        EndSort();
        FollowReorderedRows();
    }));
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::rowsRemoved, widget,
                                     [this](const QModelIndex&, int first, int last) {
                                         --rowsBeingRemoved;
                                         RememberRowsRemoved(first, last);
                                     }));
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::rowsInserted, widget,
                                     [this](const QModelIndex&, int first, int last) {
                                         ShiftRememberedRows(first, last - first + 1);
                                     }));
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::dataChanged, widget,
                                     [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                                         ForgetOrderIfCellTaken(topLeft, bottomRight);
                                     }));
    // Rows leave by the list's own removals and by Qt's, such as the end of a drag that another
    // widget takes as a move. Connected after the selection model, whose report of the selected rows
    // that leave comes first: its handlers may still read those rows' data.
    TrackConnection(QObject::connect(widget->model(), &QAbstractItemModel::rowsAboutToBeRemoved, widget,
                                     [this](const QModelIndex&, int first, int last) { ForgetRows(first, last); }));
    TrackConnection(QObject::connect(widget->horizontalHeader(), &QHeaderView::sectionResized, widget,
                                     [this](int column, int, int newSize) { OnSectionResized(column, newSize); }));
}

void ListBoxImpl::ForgetOrderIfCellTaken(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    // Qt leaves a row whose sort-column cell was taken where it is, out of order.
    const int column = table->horizontalHeader()->sortIndicatorSection();
    if (!knownSorted || column < topLeft.column() || column > bottomRight.column())
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        if (!table->item(row, column)) {
            knownSorted = false;
            return;
        }
    }
}

void ListBoxImpl::ForgetRows(int first, int last)
{
    if (delegate)
        delegate->ForgetEditorOfRows(first, last);
    for (int row = first; row <= last; ++row) {
        const auto* cell = dynamic_cast<const CustomQTableWidgetItem*>(table->item(row, 0));
        if (cell && cell->pinned)
            --pinnedRows;
        // A row's cells all name its one record, if any.
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            const auto record = item ? itemData.Find(item->data(Qt::UserRole).toInt()) : itemData.End();
            if (record != itemData.End())
                itemData.Erase(record);
        }
    }
}

void ListBoxImpl::OnSectionResized(int column, int newSize)
{
    // Only the user's drags are settings; the program's own resizes leave them.
    if (column < static_cast<int>(columnWidths.size()) && (QGuiApplication::mouseButtons() & Qt::LeftButton))
        columnWidths[column] = newSize;
}

void ListBoxImpl::OnSelectionChanged()
{
    std::vector<int> after;
    if (!SelectionAfterRemoval(after))
        after = ReadSelection();
    const unsigned change = ++selectionChanges;
    selectionUpdate = true;
    std::vector<int> left;
    std::set_difference(previousSelection.begin(), previousSelection.end(), after.begin(), after.end(),
                        std::back_inserter(left));
    std::vector<int> reports = left;
    std::set_difference(after.begin(), after.end(), previousSelection.begin(), previousSelection.end(),
                        std::back_inserter(reports));
    // Each list is worked through from its back; the handlers it calls may move or drop the rows still due.
    std::reverse(reports.begin(), reports.end());
    std::reverse(left.begin(), left.end());
    std::vector<int> checks;
    if (!singleSelection && checkMode == ListBox::SelectionChecks)
        checks.assign(after.rbegin(), after.rend());
    // A change that a handler sets off is compared with this one, not with the one before it.
    previousSelection = std::move(after);
    const RowsHeld held(heldRows, {&reports, &left, &checks});
    while (!reports.empty()) {
        const int row = TakeLast(reports);
        FireHandlers(m_owner.OnRowSelectionChanged, row);
        FireHandlers(m_owner.OnSelectionChanged);
    }
    const bool followChecks = table && !singleSelection &&
                              (QGuiApplication::queryKeyboardModifiers() == Qt::ShiftModifier || table->leftDrag) &&
                              checkMode == ListBox::SelectionChecks;
    if (followChecks) {
        table->setUpdatesEnabled(false);
        SetChecks(left, Qt::Unchecked);
        SetChecks(checks, Qt::Checked);
        table->setUpdatesEnabled(true);
    }
    // Read again only when a handler changed the selection or the rows meanwhile.
    if (change != selectionChanges)
        previousSelection = ReadSelection();
    selectionUpdate = false;
}

void ListBoxImpl::SetChecks(std::vector<int>& rows, Qt::CheckState state)
{
    while (!rows.empty() && table) {
        if (QTableWidgetItem* item = table->item(TakeLast(rows), 0))
            item->setCheckState(state);
    }
}

std::vector<int> ListBoxImpl::ReadSelection()
{
    const std::list<int> rows = m_owner.SelectedItemsIndexes();
    return {rows.begin(), rows.end()};
}

void ListBoxImpl::RememberRowsRemoved(int first, int last)
{
    // Selected rows that leave were reported before they went, unless signals were blocked then.
    ++selectionChanges;
    DropSortedRows(previousSelection, first, last);
    for (std::vector<int>* rows : heldRows)
        DropRows(*rows, first, last);
}

void ListBoxImpl::ShiftRememberedRows(int from, int by)
{
    ++selectionChanges;
    ShiftSortedRows(previousSelection, from, by);
    for (std::vector<int>* rows : heldRows)
        ShiftRows(*rows, from, by);
}

void ListBoxImpl::FollowReorderedRows()
{
    ++selectionChanges;
    previousSelection = ReadSelection();
    for (std::size_t list = 0; list < heldThroughLayout.size() && list < heldRows.size(); ++list)
        *heldRows[list] = RowsOf(heldThroughLayout[list]);
    heldThroughLayout.clear();
}

void ListBoxImpl::HoldRowsThroughReorder()
{
    // Only handlers that reorder rows while a selection change is being reported pay for this.
    heldThroughLayout.clear();
    for (const std::vector<int>* rows : heldRows) {
        std::vector<QPersistentModelIndex> cells;
        cells.reserve(rows->size());
        for (int row : *rows)
            cells.emplace_back(table->model()->index(row, 0));
        heldThroughLayout.push_back(std::move(cells));
    }
}

bool ListBoxImpl::SelectionAfterRemoval(std::vector<int>& after)
{
    const RowRun run = removingRun;
    removingRun = RowRun();
    const int length = run.last - run.first + 1;
    const int count = static_cast<int>(previousSelection.size());
    if (!predictRemovals || run.first < 0 || count < length || previousSelection.back() != run.last ||
        previousSelection[static_cast<std::size_t>(count - length)] != run.first)
        return false;
    after.assign(previousSelection.begin(), previousSelection.end() - length);
    return true;
}

void ListBoxImpl::ClearSelection()
{
    if (!table)
        return;
    if (!singleSelection)
        FireHandlers(m_owner.OnMultiSelectionBegin);
    table->clearSelection();
    if (!singleSelection)
        FireHandlers(m_owner.OnMultiSelectionEnd);
}

Point ListBoxImpl::ScreenToClient(Point point)
{
    QWidget* widget = RequireWidget();
    const QPoint local = widget->mapFromGlobal(QPoint(point.x, point.y));
    const int headerHeight = table->horizontalHeader()->geometry().height();
    return {local.x() - table->frameWidth(), local.y() - headerHeight - GetFrameWidth()};
}

Point ListBoxImpl::ClientToScreen(Point point)
{
    QWidget* widget = RequireWidget();
    const QPoint global = widget->mapToGlobal(QPoint(point.x, point.y));
    const int headerHeight = table->horizontalHeader()->geometry().height();
    return {global.x() + table->frameWidth(), global.y() + GetFrameWidth() + headerHeight};
}

void ListBoxImpl::SetAcceptDrops(bool accept)
{
    acceptDrops = accept;
    if (table)
        table->setAcceptDrops(rowsDragAndDrop || accept);
}

bool ListBoxImpl::ShowToolTip(QPoint globalPos)
{
    return HandleToolTip({globalPos.x(), globalPos.y()});
}

bool ListBoxImpl::HandleToolTip(Point screenPoint)
{
    if (!table)
        return false;
    const Point client = ScreenToClient(screenPoint);
    const QPoint point(client.x, client.y);
    const QPoint global(screenPoint.x, screenPoint.y);
    const QModelIndex index = table->indexAt(point);
    if (index.isValid()) {
        if (!autoTooltip)
            return false;
        unsigned int flags = 0;
        int column = -1;
        QSize size;
        QTableWidgetItem* item = table->HitTest(point, &flags, &column, &size);
        if (!item || item->row() < 0)
            return false;
        if (column >= 0 && column < columnCount && columnWidths[column] == -2)
            return false;
        QString text = index.data(Qt::DisplayRole).toString();
        const QRect rect = table->visualRect(index);
        if (size.width() < rect.width() || text.isEmpty())
            return false;
        if (autoTooltipMaxLength > 0 && text.size() >= autoTooltipMaxLength)
            text = text.left(autoTooltipMaxLength - 1) + QChar(0x2026);
        QToolTip::showText(global, text, table, rect);
        return true;
    }
    QHeaderView* header = table->horizontalHeader();
    if (header->isHidden())
        return false;
    QTableWidgetItem* headerItem = table->horizontalHeaderItem(header->logicalIndexAt(point.x()));
    if (!headerItem)
        return false;
    QToolTip::showText(global, headerItem->data(Qt::ToolTipRole).toString(), nullptr);
    return true;
}

void ListBoxImpl::UpdateRowButtonColumn(bool remove)
{
    if (!table || rowButtonPicture.isNull())
        return;
    QHeaderView* header = table->horizontalHeader();
    if (remove) {
        rowButtonPicture = QImage();
        table->setColumnCount(columnCount);
        for (int column = 0; column < columnCount; ++column)
            header->setSectionResizeMode(column, QHeaderView::Interactive);
        if (headerLabels.size() > columnCount)
            headerLabels.removeLast();
        table->setHorizontalHeaderLabels(headerLabels);
        header->setStretchLastSection(true);
        return;
    }
    header->setStretchLastSection(false);
    table->setColumnCount(columnCount + 1);
    table->setColumnWidth(columnCount, table->rowCount() > 0 ? table->rowHeight(0) : 24);
    for (int column = 0; column + 1 < columnCount; ++column)
        header->setSectionResizeMode(column, QHeaderView::Interactive);
    header->setSectionResizeMode(columnCount - 1, QHeaderView::Stretch);
    header->setSectionResizeMode(columnCount, QHeaderView::Fixed);
    if (table->columnCount() > columnCount && headerLabels.size() <= columnCount)
        headerLabels.append(QString());
    table->setHorizontalHeaderLabels(headerLabels);
    // The button cells exist from here on, so painting never has to add them.
    for (int row = 0; row < table->rowCount(); ++row)
        AddRowButtonCell(row);
}

void ListBoxImpl::AddRowButtonCell(int row)
{
    if (!table || rowButtonPicture.isNull() || table->item(row, columnCount))
        return;
    table->setItem(row, columnCount, new QTableWidgetItem(QString()));
}

void ListBoxImpl::ApplySelectionPalette(bool show)
{
    if (!table)
        return;
    if (show) {
        table->setPalette(savedPalette);
        return;
    }
    QPalette palette = table->palette();
    const QBrush base(palette.color(QPalette::Current, QPalette::Base));
    const QBrush text(palette.color(QPalette::Current, QPalette::Text));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setBrush(group, QPalette::Highlight, base);
        palette.setBrush(group, QPalette::HighlightedText, text);
    }
    table->setPalette(palette);
}

CustomQTableWidgetItem* ListBoxImpl::NewCell(const QString& text)
{
    return new CustomQTableWidgetItem(text, &caseSensitive, &sortFunctions, &itemData, &sortAnswers);
}

bool ListBoxImpl::HasSortColumn() const
{
    const int section = table->horizontalHeader()->sortIndicatorSection();
    return section >= 0 && section < table->columnCount();
}

bool ListBoxImpl::MovesRowDuringRemoval(int column) const
{
    return RemovalUnderway() && table->isSortingEnabled() && HasSortColumn() &&
           column == table->horizontalHeader()->sortIndicatorSection();
}

bool ListBoxImpl::DataMovesRowDuringRemoval(int column) const
{
    return MovesRowDuringRemoval(column) && sortFunctions.count(column) > 0;
}

bool ListBoxImpl::SuspendSorting(bool changeKeepsOrder)
{
    const bool wasOn = table->isSortingEnabled();
    // Without a sort column, or for a change that keeps a sorted table sorted, a re-sort has nothing to do.
    if (wasOn && HasSortColumn() && !(changeKeepsOrder && knownSorted))
        table->setSortingEnabled(false);
    return wasOn;
}

void ListBoxImpl::RestoreSorting(bool wasOn)
{
    if (!wasOn || table->isSortingEnabled())
        return;
    BeginSort();
    table->setSortingEnabled(true);
    EndSort();
    knownSorted = true;
}

void ListBoxImpl::BeginSort()
{
    sortAnswers.answers.clear();
    sortAnswers.active = true;
}

void ListBoxImpl::EndSort()
{
    sortAnswers.active = false;
    sortAnswers.answers.clear();
}

int ListBoxImpl::SortedAppendRow(const QTableWidgetItem& cell) const
{
    const int column = table->horizontalHeader()->sortIndicatorSection();
    const bool descending = table->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
    // The first row that a stable sort keeps after the new cell; rows without a cell sort last.
    int low = 0;
    int high = table->rowCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const QTableWidgetItem* other = table->item(middle, column);
        const bool newFirst = !other || (descending ? *other < cell : cell < *other);
        if (newFirst)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace AUILib
