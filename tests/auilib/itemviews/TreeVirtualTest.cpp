#include "ControlTestSupport.h"
#include "TreeTestSupport.h"

#include <QHeaderView>
#include <QSignalSpy>

#include <map>

using namespace AUILib;

namespace {

class TreeVirtualTest : public TreeFixture
{
protected:
    VirtTreeItem* Add(const std::wstring& text, VirtTreeItem* parent = nullptr, any data = any())
    {
        std::wstring copy = text;
        return tree->AddVirtualTreeItem(copy, parent, data);
    }

    TreeModel& model() const { return *impl().treeModel; }

    // p (c1 (g1, g2), c2), q (leaves 0..n-1)
    void BuildThreeLevels(int leavesOfQ = 3)
    {
        p = Add(L"p");
        c1 = Add(L"c1", p);
        g1 = Add(L"g1", c1);
        g2 = Add(L"g2", c1);
        c2 = Add(L"c2", p);
        q = Add(L"q");
        for (int i = 0; i < leavesOfQ; ++i)
            Add(L"q" + std::to_wstring(i), q);
        tree->UpdateVirtualView();
    }

    void Toggle(VirtTreeItem* node) { model().setData(model().IndexOf(node), QVariant(), Qt::CheckStateRole); }

    ModelTesterFailures failures;
    VirtTreeItem* p = nullptr;
    VirtTreeItem* c1 = nullptr;
    VirtTreeItem* g1 = nullptr;
    VirtTreeItem* g2 = nullptr;
    VirtTreeItem* c2 = nullptr;
    VirtTreeItem* q = nullptr;
};

} // namespace

TEST_F(TreeVirtualTest, SwitchingModesEmptiesTheStandardItemsAndKeepsForeignConnections)
{
    std::wstring text = L"x";
    EXPECT_EQ(tree->AddVirtualTreeItem(text, nullptr, any()), nullptr);
    tree->AddItem(L"standard", any());
    int removing = 0;
    tree->OnAllItemsRemoving.Add([&] { ++removing; });
    // As the form builder reports a form control's widget going.
    int destroyed = 0;
    tree->OnDestroyed.Add([&](BaseGUIObject*) { ++destroyed; });
    QObject::connect(view(), &QObject::destroyed, [this]() { FireHandlers(tree->OnDestroyed, tree.get()); });

    tree->SetVirtualMode(true);
    EXPECT_EQ(removing, 1);
    EXPECT_TRUE(tree->IsVirtualModeEnabled());
    EXPECT_EQ(impl().model, nullptr);
    tree->SetVirtualMode(true);
    EXPECT_EQ(removing, 1) << "no change, nothing done";
    VirtTreeItem* node = Add(L"node");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(tree->GetLevel(node), 0);
    EXPECT_EQ(Add(L""), nullptr);

    tree->SetVirtualMode(false);
    EXPECT_EQ(impl().treeModel, nullptr);
    EXPECT_NE(tree->AddItem(L"back", any()), nullptr);
    EXPECT_EQ(tree->RootItem(), nullptr);
    delete view();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(TreeVirtualTest, TheModelHoldsUnderTheTesterThroughEveryChange)
{
    tree->SetVirtualMode(true);
    QAbstractItemModelTester tester(&model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    tree->EnableVirtualItemCheckboxes(true);
    for (int top = 0; top < 20; ++top) {
        VirtTreeItem* parent = Add(L"t" + std::to_wstring((top * 7) % 20));
        for (int child = 0; child < 10; ++child) {
            VirtTreeItem* middle = Add(L"c" + std::to_wstring((child * 3) % 10), parent);
            for (int leaf = 0; leaf < 3; ++leaf)
                Add(L"l" + std::to_wstring(2 - leaf), middle);
        }
    }
    tree->UpdateVirtualView();
    VirtTreeItem* t0 = tree->GetChildItem(tree->RootItem(), 0);
    VirtTreeItem* grand = tree->GetChildItem(tree->GetChildItem(t0, 4), 1);
    const QPersistentModelIndex kept(model().IndexOf(grand));
    tree->SetExpanded(t0, true);
    tree->SetExpanded(tree->GetChildItem(t0, 4), true);
    view()->setCurrentIndex(kept);

    tree->SetSortFunc([](VirtTreeItem* left, VirtTreeItem* right) { return left->GetText() < right->GetText(); });
    tree->SortVirtChildren(tree->RootItem(), true);
    EXPECT_EQ(tree->GetItemText(tree->GetChildItem(tree->RootItem(), 0)), L"t0");
    EXPECT_EQ(tree->GetItemText(tree->GetChildItem(t0, 0)), L"c0");
    EXPECT_EQ(model().ItemFromIndex(kept), grand) << "persistent indexes follow the nodes";
    EXPECT_EQ(model().ItemFromIndex(view()->currentIndex()), grand);
    EXPECT_TRUE(tree->IsExpanded(t0));
    EXPECT_TRUE(tree->IsExpanded(grand->ParentItem())) << "the expanded level-2 node, now at another row";
    EXPECT_EQ(model().parent(model().IndexOf(grand)).row(), grand->ParentItem()->Row());

    Toggle(grand);
    model().CheckAllItem();
    EXPECT_EQ(model().CheckedLeafCount(), 600);
    model().UnCheckAllItem();
    EXPECT_EQ(model().CheckedLeafCount(), 0);
    tree->SetSortFunc([](VirtTreeItem*, VirtTreeItem*) { return true; });
    tree->SortVirtChildren(tree->RootItem(), true);
    tree->RemoveAllVirtualItems();
    EXPECT_EQ(model().rowCount(), 0);
    tree->SetVirtualMode(false);
    tree->SetVirtualMode(true);
}

TEST_F(TreeVirtualTest, CheckAllFollowsEveryLevel)
{
    tree->SetVirtualMode(true);
    BuildThreeLevels();
    tree->EnableVirtualItemCheckboxes(true);
    struct Case
    {
        std::vector<VirtTreeItem**> toggled;
        bool pChecked;
        bool pAll;
        bool allChecked;
        int leaves;
    };
    const std::vector<Case> cases = {
        {{&g1}, true, false, false, 1},
        {{&g1, &g2}, true, false, false, 2},
        {{&g1, &g2, &c2}, true, true, false, 3},
        {{&c2, &g1}, true, false, false, 2},
        {{&p}, true, true, false, 3},
        {{&p, &q}, true, true, true, 6},
        {{&p, &q, &g2}, true, false, false, 5},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        tree->SetCheckAllVirtualItems(false);
        for (VirtTreeItem** node : cases[i].toggled)
            Toggle(*node);
        EXPECT_EQ(p->GetChecked(), cases[i].pChecked) << i;
        EXPECT_EQ(p->IsCheckAll(), cases[i].pAll) << i;
        EXPECT_EQ(tree->IsCheckedAllVirtualItems(), cases[i].allChecked) << i;
        EXPECT_EQ(model().CheckedLeafCount(), cases[i].leaves) << i;
    }
    EXPECT_EQ(model().data(model().IndexOf(p), Qt::CheckStateRole).toInt(), Qt::Checked) << "any child checked";

    tree->SetCheckAllVirtualItems(true);
    EXPECT_TRUE(tree->IsCheckedAllVirtualItems());
    tree->SetCheck(g1, false, false);
    EXPECT_FALSE(tree->GetCheck(g1));
    EXPECT_TRUE(tree->GetCheck(g2)) << "only that node";
    tree->EnableVirtualItemCheckboxes(false);
    EXPECT_FALSE(model().data(model().IndexOf(p), Qt::CheckStateRole).isValid());
    tree->SetCheck(g2, false, true);
    EXPECT_TRUE(g2->GetChecked()) << "check boxes off";
    EXPECT_TRUE(model().setData(model().IndexOf(g2), QVariant(), Qt::CheckStateRole));
    EXPECT_TRUE(g2->GetChecked());
}

TEST_F(TreeVirtualTest, EmptyTreeIsAllCheckedAndNodesKeepTheirValues)
{
    tree->SetVirtualMode(true);
    EXPECT_TRUE(tree->IsCheckedAllVirtualItems());
    VirtTreeItem* node = Add(L"node", nullptr, any(3L));
    EXPECT_FALSE(tree->SetItemData(node, any()));
    any data = tree->GetItemData(node);
    EXPECT_EQ(*any_cast<long>(&data), 3);
    tree->SetItemTooltip(node, L"tip");
    EXPECT_EQ(node->GetTooltip(), L"tip");

    const QByteArray red = FilledPicture(Qt::red);
    const int picture = tree->AddPicture(node, Bytes(red), red.size(), ImageTypes::PNG, 16, BitmapType::Default);
    EXPECT_EQ(picture, 1);
    tree->UpdateVirtualView();
    EXPECT_TRUE(model().data(model().IndexOf(node), Qt::DecorationRole).isValid());
    tree->SetCurrentVirtualItem(node);
    EXPECT_EQ(tree->CurrentVirtualItem(), node);
    tree->RemoveAllVirtualItems();
    EXPECT_EQ(tree->CurrentVirtualItem(), nullptr);
    VirtTreeItem* again = Add(L"again");
    EXPECT_TRUE(tree->SetPicture(again, picture));
    EXPECT_EQ(tree->AddPicture(static_cast<VirtTreeItem*>(nullptr), Bytes(red), red.size(), ImageTypes::PNG, 16,
                               BitmapType::Default),
              -1);
}

TEST_F(TreeVirtualTest, DeepNodesAreAddressedByTheirOwnIndex)
{
    tree->SetVirtualMode(true);
    BuildThreeLevels();
    tree->SetExpanded(p, true);
    tree->SetExpanded(c1, true);
    EXPECT_TRUE(tree->IsExpanded(c1));
    EXPECT_FALSE(tree->IsExpanded(q)) << "the top-level node of the same row stays";
    tree->SetCurrentVirtualItem(g2);
    EXPECT_EQ(model().ItemFromIndex(view()->currentIndex()), g2);
    EXPECT_EQ(tree->GetLevel(g2), 2);
    EXPECT_EQ(tree->GetParentItem(g2), c1);
    EXPECT_EQ(tree->ChildCount(c1), 2);
}

TEST_F(TreeVirtualTest, SignalsReachTheVirtualLists)
{
    tree->SetVirtualMode(true);
    BuildThreeLevels();
    FiringRecorder<VirtTreeItem*> expanded(tree->OnVirtualItemExpanded);
    FiringRecorder<VirtTreeItem*> selected(tree->OnVirtualItemSelectionChanged);
    FiringRecorder<VirtTreeItem*> clicked(tree->OnVirtualItemClicked);
    FiringRecorder<QStandardItem*> standardSelected(tree->OnItemSelectionChanged);
    tree->SetExpanded(p, true);
    ASSERT_EQ(expanded.calls.size(), 1u);
    EXPECT_EQ(std::get<0>(expanded.calls[0]), p);
    const QRect rect = view()->visualRect(model().IndexOf(c1));
    ClickAt(rect.center());
    ASSERT_FALSE(clicked.calls.empty());
    EXPECT_EQ(std::get<0>(clicked.calls.back()), c1);
    ASSERT_FALSE(selected.calls.empty());
    EXPECT_EQ(std::get<0>(selected.calls.back()), c1);
    EXPECT_EQ(tree->CurrentVirtualItem(), c1);
    EXPECT_TRUE(standardSelected.calls.empty());
}
