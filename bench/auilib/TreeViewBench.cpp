// The tree view against a plain QStandardItemModel and QTreeView doing the same work: building and
// showing 100,000 virtual items, expanding, checking and sorting them, adding 100,000 standard items,
// checking a parent of 100,000 children, and recolouring 2,000 items of their own colour.
#include "TreeView.h"
#include "TreeViewImpl.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

using namespace AUILib;

namespace {

constexpr int kTop = 1000;
constexpr int kPerTop = 100;
constexpr int kMany = kTop * kPerTop;

TreeView::impl& ImplOf(TreeView& tree)
{
    return *static_cast<TreeView::impl*>(tree.GetBaseImpl().get());
}

void Show(QWidget* widget)
{
    widget->resize(400, 600);
    widget->show();
    QApplication::processEvents();
}

std::wstring Name(int i)
{
    return L"item " + std::to_wstring((i * 7919) % kMany);
}

// A virtual tree of kTop nodes with kPerTop leaves each, or one node with kMany leaves.
std::unique_ptr<TreeView> VirtualTree(bool oneNode)
{
    auto tree = std::make_unique<TreeView>();
    tree->SetVirtualMode(true);
    tree->EnableVirtualItemCheckboxes(true);
    for (int top = 0; top < (oneNode ? 1 : kTop); ++top) {
        std::wstring text = Name(top);
        VirtTreeItem* node = tree->AddVirtualTreeItem(text, nullptr, any());
        for (int leaf = 0; leaf < (oneNode ? kMany : kPerTop); ++leaf) {
            std::wstring leafText = Name(top * kPerTop + leaf);
            tree->AddVirtualTreeItem(leafText, node, any());
        }
    }
    tree->UpdateVirtualView();
    return tree;
}

std::unique_ptr<QStandardItemModel> PlainModel(bool oneNode, bool checkable)
{
    auto model = std::make_unique<QStandardItemModel>();
    for (int top = 0; top < (oneNode ? 1 : kTop); ++top) {
        auto* node = new QStandardItem(QString::fromStdWString(Name(top)));
        node->setCheckable(checkable);
        QList<QStandardItem*> leaves;
        for (int leaf = 0; leaf < (oneNode ? kMany : kPerTop); ++leaf) {
            auto* item = new QStandardItem(QString::fromStdWString(Name(top * kPerTop + leaf)));
            item->setCheckable(checkable);
            leaves.append(item);
        }
        node->appendRows(leaves);
        model->appendRow(node);
    }
    return model;
}

void SetAllChecks(QStandardItem* parent, Qt::CheckState state)
{
    for (int row = 0; row < parent->rowCount(); ++row) {
        QStandardItem* child = parent->child(row);
        child->setCheckState(state);
        SetAllChecks(child, state);
    }
}

void VirtualBuildAndShow(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<TreeView> tree = VirtualTree(false);
        Show(tree->GetPlatformHandle());
    }
}
BENCHMARK(VirtualBuildAndShow)->Unit(benchmark::kMillisecond);

void PlainBuildAndShow(benchmark::State& state)
{
    for (auto _ : state) {
        QTreeView view;
        std::unique_ptr<QStandardItemModel> model = PlainModel(false, true);
        view.setModel(model.get());
        Show(&view);
    }
}
BENCHMARK(PlainBuildAndShow)->Unit(benchmark::kMillisecond);

void VirtualExpandAll(benchmark::State& state)
{
    std::unique_ptr<TreeView> tree = VirtualTree(false);
    auto* view = static_cast<QTreeView*>(tree->GetPlatformHandle());
    Show(view);
    for (auto _ : state) {
        view->expandAll();
        QApplication::processEvents();
        state.PauseTiming();
        view->collapseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(VirtualExpandAll)->Unit(benchmark::kMillisecond);

void PlainExpandAll(benchmark::State& state)
{
    QTreeView view;
    std::unique_ptr<QStandardItemModel> model = PlainModel(false, true);
    view.setModel(model.get());
    Show(&view);
    for (auto _ : state) {
        view.expandAll();
        QApplication::processEvents();
        state.PauseTiming();
        view.collapseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(PlainExpandAll)->Unit(benchmark::kMillisecond);

void VirtualCheckAll(benchmark::State& state)
{
    std::unique_ptr<TreeView> tree = VirtualTree(false);
    Show(tree->GetPlatformHandle());
    bool on = true;
    for (auto _ : state) {
        tree->SetCheckAllVirtualItems(on);
        QApplication::processEvents();
        on = !on;
    }
}
BENCHMARK(VirtualCheckAll)->Unit(benchmark::kMillisecond);

void PlainCheckAll(benchmark::State& state)
{
    QTreeView view;
    std::unique_ptr<QStandardItemModel> model = PlainModel(false, true);
    view.setModel(model.get());
    Show(&view);
    bool on = true;
    for (auto _ : state) {
        QStandardItem* root = model->invisibleRootItem();
        for (int row = 0; row < root->rowCount(); ++row) {
            root->child(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            SetAllChecks(root->child(row), on ? Qt::Checked : Qt::Unchecked);
        }
        QApplication::processEvents();
        on = !on;
    }
}
BENCHMARK(PlainCheckAll)->Unit(benchmark::kMillisecond);

void VirtualCheckOneNodeOfManyLeaves(benchmark::State& state)
{
    std::unique_ptr<TreeView> tree = VirtualTree(true);
    Show(tree->GetPlatformHandle());
    TreeModel& model = *ImplOf(*tree).treeModel;
    const QModelIndex node = model.index(0, 0);
    for (auto _ : state) {
        model.setData(node, Qt::Checked, Qt::CheckStateRole);
        QApplication::processEvents();
    }
}
BENCHMARK(VirtualCheckOneNodeOfManyLeaves)->Unit(benchmark::kMillisecond);

void VirtualSortRecursively(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TreeView> tree = VirtualTree(false);
        tree->SetSortFunc([](VirtTreeItem* left, VirtTreeItem* right) { return left->GetText() < right->GetText(); });
        Show(tree->GetPlatformHandle());
        state.ResumeTiming();
        tree->SortVirtChildren(tree->RootItem(), true);
        QApplication::processEvents();
    }
}
BENCHMARK(VirtualSortRecursively)->Unit(benchmark::kMillisecond);

void PlainSortRecursively(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTreeView view;
        std::unique_ptr<QStandardItemModel> model = PlainModel(false, true);
        view.setModel(model.get());
        Show(&view);
        state.ResumeTiming();
        model->sort(0);
        QApplication::processEvents();
    }
}
BENCHMARK(PlainSortRecursively)->Unit(benchmark::kMillisecond);

TreeView::ItemRecords Records(int count, int offset)
{
    TreeView::ItemRecords records;
    for (int i = 0; i < count; ++i)
        records.emplace_back(Name(offset + i), any(), -1);
    return records;
}

void StandardAddItemsFlat(benchmark::State& state)
{
    TreeView::ItemRecords records = Records(kMany, 0);
    for (auto _ : state) {
        TreeView tree;
        Show(tree.GetPlatformHandle());
        tree.AddItems(records);
        QApplication::processEvents();
    }
}
BENCHMARK(StandardAddItemsFlat)->Unit(benchmark::kMillisecond);

void PlainAppendRowFlat(benchmark::State& state)
{
    for (auto _ : state) {
        QTreeView view;
        QStandardItemModel model;
        view.setModel(&model);
        Show(&view);
        for (int i = 0; i < kMany; ++i)
            model.appendRow(new QStandardItem(QString::fromStdWString(Name(i))));
        QApplication::processEvents();
    }
}
BENCHMARK(PlainAppendRowFlat)->Unit(benchmark::kMillisecond);

void StandardAddItemsNested(benchmark::State& state)
{
    TreeView::ItemRecords tops = Records(kTop, 0);
    std::vector<TreeView::ItemRecords> children;
    for (int top = 0; top < kTop; ++top)
        children.push_back(Records(kPerTop, top * kPerTop));
    for (auto _ : state) {
        TreeView tree;
        Show(tree.GetPlatformHandle());
        tree.AddItems(tops);
        QStandardItem* top = tree.GetRootItem();
        for (int i = 0; top; ++i, top = tree.NextSibling(top))
            tree.AddSubItems(children[static_cast<size_t>(i)], top);
        QApplication::processEvents();
    }
}
BENCHMARK(StandardAddItemsNested)->Unit(benchmark::kMillisecond);

void PlainAppendRowNested(benchmark::State& state)
{
    for (auto _ : state) {
        QTreeView view;
        QStandardItemModel model;
        view.setModel(&model);
        Show(&view);
        for (int top = 0; top < kTop; ++top) {
            auto* node = new QStandardItem(QString::fromStdWString(Name(top)));
            model.appendRow(node);
            for (int leaf = 0; leaf < kPerTop; ++leaf)
                node->appendRow(new QStandardItem(QString::fromStdWString(Name(top * kPerTop + leaf))));
        }
        QApplication::processEvents();
    }
}
BENCHMARK(PlainAppendRowNested)->Unit(benchmark::kMillisecond);

void StandardCheckParentOfManyChildren(benchmark::State& state)
{
    TreeView tree;
    Show(tree.GetPlatformHandle());
    tree.SetCheckMode(1);
    QStandardItem* parent = tree.AddItem(L"parent", any());
    TreeView::ItemRecords records = Records(kMany, 0);
    tree.AddSubItems(records, parent);
    TreeView::impl& impl = ImplOf(tree);
    bool on = true;
    for (auto _ : state) {
        impl.SetItemCheck(parent, on);
        impl.CheckSubItems(parent, on);
        QApplication::processEvents();
        on = !on;
    }
}
BENCHMARK(StandardCheckParentOfManyChildren)->Unit(benchmark::kMillisecond);

// The plain baseline of both checks of one parent with kMany children, virtual and standard.
void PlainCheckParentOfManyChildren(benchmark::State& state)
{
    QTreeView view;
    std::unique_ptr<QStandardItemModel> model = PlainModel(true, true);
    view.setModel(model.get());
    Show(&view);
    bool on = true;
    for (auto _ : state) {
        model->item(0)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        SetAllChecks(model->item(0), on ? Qt::Checked : Qt::Unchecked);
        QApplication::processEvents();
        on = !on;
    }
}
BENCHMARK(PlainCheckParentOfManyChildren)->Unit(benchmark::kMillisecond);

constexpr int kColoured = 2000;

void StandardRecolourOwnColours(benchmark::State& state)
{
    TreeView tree;
    Show(tree.GetPlatformHandle());
    TreeView::ItemRecords records = Records(kColoured, 0);
    tree.AddItems(records);
    for (QStandardItem* item = tree.GetRootItem(); item; item = tree.NextSibling(item))
        tree.SetItemTextColor(item, 0x336699);
    int colour = 0;
    for (auto _ : state) {
        tree.SetTextColor(colour++ & 0xFFFFFF, true);
        QApplication::processEvents();
    }
}
BENCHMARK(StandardRecolourOwnColours)->Unit(benchmark::kMillisecond);

void PlainRecolourItems(benchmark::State& state)
{
    QTreeView view;
    QStandardItemModel model;
    for (int i = 0; i < kColoured; ++i)
        model.appendRow(new QStandardItem(QString::fromStdWString(Name(i))));
    view.setModel(&model);
    Show(&view);
    int colour = 0;
    for (auto _ : state) {
        const QColor color(static_cast<QRgb>(colour++ & 0xFFFFFF));
        view.setStyleSheet(view.styleSheet() + QStringLiteral("QTreeView{color:%1;}").arg(color.name()));
        for (int row = 0; row < kColoured; ++row)
            model.item(row)->setForeground(color);
        QApplication::processEvents();
    }
}
BENCHMARK(PlainRecolourItems)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
