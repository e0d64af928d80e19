// The list box against a plain QTableWidget doing the same work: adding rows with and without a sort
// column, sorting, selecting all, extending a selection, deleting scattered rows, adding and deleting
// rows below a large selection, and checking rows.
// Run with QT_QPA_PLATFORM=offscreen. The last argument is 1 for a shown table, 0 for a hidden one;
// for adding, the one before it is 1 with a sort column; for sorting, 1 with a comparison function.
#include "ListBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using AUILib::any;
using AUILib::ListBox;

namespace {

std::vector<std::wstring> Keys(int count)
{
    std::mt19937 random(42);
    std::vector<std::wstring> keys;
    keys.reserve(count);
    for (int i = 0; i < count; ++i)
        keys.push_back(L"item " + std::to_wstring(random() % 1000000));
    return keys;
}

// An 800 x 600 window, shown or not, holding the table under test.
struct Window
{
    explicit Window(bool shown)
    {
        window.resize(800, 600);
        if (shown)
            window.show();
    }
    void Place(QWidget* table)
    {
        table->setGeometry(0, 0, 800, 600);
        if (window.isVisible())
            table->show();
    }
    void Settle() { QApplication::processEvents(); }
    QWidget window;
};

struct List
{
    explicit List(bool shown)
        : window(shown)
    {
        list.Create(&window.window);
        window.Place(list.GetPlatformHandle());
        list.OnItemChanged.Add([](int) {});
        list.OnRowSelectionChanged.Add([](int) {});
        list.OnSelectionChanged.Add([] {});
    }
    QTableWidget* Table() { return static_cast<QTableWidget*>(list.GetPlatformHandle()); }
    void Fill(const std::vector<std::wstring>& keys)
    {
        for (const std::wstring& key : keys)
            list.AddItem(key, any());
    }
    Window window;
    ListBox list;
};

struct Plain
{
    explicit Plain(bool shown)
        : window(shown)
    {
        table = new QTableWidget(&window.window);
        table->setColumnCount(1);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        // Rows as tall as their contents and no row header, as the list box has them: the larger part
        // of adding a row, and of moving the current row through many.
        table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->verticalHeader()->setVisible(false);
        window.Place(table);
        QObject::connect(table, &QTableWidget::itemChanged, [](QTableWidgetItem*) {});
        QObject::connect(table, &QTableWidget::itemSelectionChanged, [] {});
    }
    void Fill(const std::vector<std::wstring>& keys)
    {
        for (const std::wstring& key : keys) {
            const int row = table->rowCount();
            table->insertRow(row);
            table->setItem(row, 0, new QTableWidgetItem(QString::fromStdWString(key)));
        }
    }
    Window window;
    QTableWidget* table;
};

void SelectAll(QTableWidget* table)
{
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
}

void ListAddItem(benchmark::State& state)
{
    const auto keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<List>(state.range(2) != 0);
        if (state.range(1))
            list->list.SortColumn(0, ListBox::Ascending, true);
        state.ResumeTiming();
        list->Fill(keys);
        list->window.Settle();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

void PlainAddItem(benchmark::State& state)
{
    const auto keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto plain = std::make_unique<Plain>(state.range(2) != 0);
        if (state.range(1)) {
            plain->table->setSortingEnabled(true);
            plain->table->sortByColumn(0, Qt::AscendingOrder);
        }
        state.ResumeTiming();
        plain->Fill(keys);
        plain->window.Settle();
        state.PauseTiming();
        plain.reset();
        state.ResumeTiming();
    }
}

void ListAddItemEx(benchmark::State& state)
{
    const auto keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<List>(state.range(1) != 0);
        list->list.SetColumnsCount(5);
        state.ResumeTiming();
        for (const std::wstring& key : keys) {
            std::list<std::wstring> texts{key, L"two", L"three", L"four", L"five"};
            list->list.AddItemEx(texts, any());
        }
        list->window.Settle();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

void PlainAddItemEx(benchmark::State& state)
{
    const auto keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto plain = std::make_unique<Plain>(state.range(1) != 0);
        plain->table->setColumnCount(5);
        state.ResumeTiming();
        for (const std::wstring& key : keys) {
            const int row = plain->table->rowCount();
            plain->table->insertRow(row);
            const QString texts[] = {QString::fromStdWString(key), "two", "three", "four", "five"};
            for (int column = 0; column < 5; ++column)
                plain->table->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
        plain->window.Settle();
        state.PauseTiming();
        plain.reset();
        state.ResumeTiming();
    }
}

void ListSortColumn(benchmark::State& state)
{
    const auto keys = Keys(static_cast<int>(state.range(0)));
    auto list = std::make_unique<List>(state.range(2) != 0);
    list->Fill(keys);
    if (state.range(1))
        list->list.SetColumnSortFunc(0, [](std::wstring a, any, std::wstring b, any) { return a < b; });
    bool ascending = true;
    for (auto _ : state) {
        list->list.SortColumn(0, ascending ? ListBox::Ascending : ListBox::Descending, true);
        list->window.Settle();
        ascending = !ascending;
    }
}

void PlainSortItems(benchmark::State& state)
{
    const auto keys = Keys(static_cast<int>(state.range(0)));
    auto plain = std::make_unique<Plain>(state.range(1) != 0);
    plain->Fill(keys);
    bool ascending = true;
    for (auto _ : state) {
        plain->table->sortItems(0, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        plain->window.Settle();
        ascending = !ascending;
    }
}

void ListSelectAll(benchmark::State& state)
{
    auto list = std::make_unique<List>(state.range(1) != 0);
    list->Fill(Keys(static_cast<int>(state.range(0))));
    list->list.SetSingleSelection(false);
    list->list.OnMultiSelectionBegin.Add([] {});
    for (auto _ : state) {
        SelectAll(list->Table());
        list->window.Settle();
        state.PauseTiming();
        list->list.ClearSel();
        state.ResumeTiming();
    }
}

void PlainSelectAll(benchmark::State& state)
{
    auto plain = std::make_unique<Plain>(state.range(1) != 0);
    plain->Fill(Keys(static_cast<int>(state.range(0))));
    plain->table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (auto _ : state) {
        SelectAll(plain->table);
        plain->window.Settle();
        state.PauseTiming();
        plain->table->clearSelection();
        state.ResumeTiming();
    }
}

// Shift+Down on a selection of the first `rows` rows.
template <typename Prepare>
void ExtendSelection(benchmark::State& state, QTableWidget* table, Prepare select)
{
    table->setFocus();
    for (auto _ : state) {
        state.PauseTiming();
        select();
        state.ResumeTiming();
        QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
        QApplication::processEvents();
    }
}

void ListShiftExtend(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto list = std::make_unique<List>(state.range(1) != 0);
    list->Fill(Keys(rows * 2));
    list->list.SetSingleSelection(false);
    QTableWidget* table = list->Table();
    ExtendSelection(state, table, [table, rows] {
        table->clearSelection();
        table->setCurrentCell(0, 0);
        table->setRangeSelected(QTableWidgetSelectionRange(0, 0, rows - 1, 0), true);
        table->selectionModel()->setCurrentIndex(table->model()->index(rows - 1, 0), QItemSelectionModel::NoUpdate);
    });
}

void PlainShiftExtend(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto plain = std::make_unique<Plain>(state.range(1) != 0);
    plain->Fill(Keys(rows * 2));
    QTableWidget* table = plain->table;
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ExtendSelection(state, table, [table, rows] {
        table->clearSelection();
        table->setCurrentCell(0, 0);
        table->setRangeSelected(QTableWidgetSelectionRange(0, 0, rows - 1, 0), true);
        table->selectionModel()->setCurrentIndex(table->model()->index(rows - 1, 0), QItemSelectionModel::NoUpdate);
    });
}

// Every other row of the first `2 * rows`, selected.
void SelectScattered(QTableWidget* table, int rows)
{
    QItemSelection selection;
    for (int row = 0; row < 2 * rows; row += 2)
        selection.select(table->model()->index(row, 0), table->model()->index(row, 0));
    table->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ListDeleteSelItems(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const auto keys = Keys(rows * 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<List>(state.range(1) != 0);
        list->list.SetSingleSelection(false);
        list->Fill(keys);
        SelectScattered(list->Table(), rows);
        state.ResumeTiming();
        list->list.DeleteSelItems();
        list->window.Settle();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

void PlainRemoveRows(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const auto keys = Keys(rows * 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto plain = std::make_unique<Plain>(state.range(1) != 0);
        plain->table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        plain->Fill(keys);
        SelectScattered(plain->table, rows);
        state.ResumeTiming();
        for (int row = 2 * rows - 2; row >= 0; row -= 2)
            plain->table->removeRow(row);
        plain->window.Settle();
        state.PauseTiming();
        plain.reset();
        state.ResumeTiming();
    }
}

// Rows added and then removed one by one below a selection of the first `rows` rows.
void ListAddAndDeleteBelowSelection(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const auto keys = Keys(rows);
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<List>(state.range(1) != 0);
        list->list.SetSingleSelection(false);
        list->Fill(keys);
        list->Table()->selectAll();
        state.ResumeTiming();
        list->Fill(keys);
        for (int row = 2 * rows - 1; row >= rows; --row)
            list->list.DeleteItems(row, 1);
        list->window.Settle();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

void ListSetCheck(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto list = std::make_unique<List>(state.range(1) != 0);
    list->list.SetCheckMode(ListBox::QtCheckBoxes);
    list->Fill(Keys(rows));
    bool check = true;
    for (auto _ : state) {
        for (int row = 0; row < rows; ++row)
            list->list.SetCheck(row, check);
        list->window.Settle();
        check = !check;
    }
}

void PlainSetCheck(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto plain = std::make_unique<Plain>(state.range(1) != 0);
    plain->Fill(Keys(rows));
    bool check = true;
    for (auto _ : state) {
        for (int row = 0; row < rows; ++row)
            plain->table->item(row, 0)->setCheckState(check ? Qt::Checked : Qt::Unchecked);
        plain->window.Settle();
        check = !check;
    }
}

void AddArgs(benchmark::internal::Benchmark* bench)
{
    for (int rows : {20000, 100000})
        for (int sorted : {0, 1})
            for (int shown : {0, 1})
                bench->Args({rows, sorted, shown});
}

void SortArgs(benchmark::internal::Benchmark* bench)
{
    for (int function : {0, 1})
        for (int shown : {0, 1})
            bench->Args({100000, function, shown});
}

} // namespace

BENCHMARK(ListAddItem)->Apply(AddArgs)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PlainAddItem)->Apply(AddArgs)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ListAddItemEx)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PlainAddItemEx)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ListSortColumn)->Apply(SortArgs)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(PlainSortItems)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(ListSelectAll)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(PlainSelectAll)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(ListShiftExtend)->ArgsProduct({{50000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(PlainShiftExtend)->ArgsProduct({{50000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(ListDeleteSelItems)->ArgsProduct({{5000, 10000, 50000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PlainRemoveRows)->ArgsProduct({{5000, 10000, 50000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ListAddAndDeleteBelowSelection)->ArgsProduct({{20000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ListSetCheck)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(PlainSetCheck)->ArgsProduct({{100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(4);

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
