#include "ControlTestSupport.h"
#include "TreeTestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <tuple>

using namespace AUILib;

namespace {

class TreeViewTest : public TreeFixture
{
protected:
    // a (a1, a2 (a21)), b
    void Build()
    {
        a = tree->InsertItem(L"a", RootHandle, LastHandle, any(1L));
        b = tree->InsertItem(L"b", RootHandle, LastHandle, any(2L));
        a1 = tree->AddSubItem(L"a1", any(11L), a);
        a2 = tree->AddSubItem(L"a2", any(12L), a);
        a21 = tree->AddSubItem(L"a21", any(121L), a2);
    }

    long Payload(QStandardItem* item)
    {
        any data = tree->GetItemData(item);
        const long* value = any_cast<long>(&data);
        return value ? *value : -1;
    }

    bool StoreHolds(int id) { return impl().context->itemData.Find(id) != impl().context->itemData.End(); }

    QStandardItem* a = nullptr;
    QStandardItem* b = nullptr;
    QStandardItem* a1 = nullptr;
    QStandardItem* a2 = nullptr;
    QStandardItem* a21 = nullptr;
};

} // namespace

TEST_F(TreeViewTest, InsertItemPlacesByParentAndAfter)
{
    Build();
    enum Place { Root, First, Last, Null, ItemB, ItemA1, ItemA21 };
    const auto handle = [&](Place place) -> QStandardItem* {
        switch (place) {
        case Root: return RootHandle;
        case First: return FirstHandle;
        case Last: return LastHandle;
        case Null: return nullptr;
        case ItemB: return b;
        case ItemA1: return a1;
        case ItemA21: return a21;
        }
        return nullptr;
    };
    struct Case
    {
        Place parent;
        Place after;
        const char* top;      // the top level afterwards
        const char* underA;   // a's children afterwards
    };
    const Case cases[] = {
        {Root, First, "x,a,b", "a1,a2"},   {Root, Null, "x,a,b", "a1,a2"},   {Root, Last, "a,b,x", "a1,a2"},
        {Root, Root, "a,b,x", "a1,a2"},    {Null, ItemB, "a,b,x", "a1,a2"},  {Root, ItemA21, "a,b,x", "a1,a2"},
        {Null, First, "x,a,b", "a1,a2"},
    };
    for (const Case& each : cases) {
        tree->RemoveAllItems(true);
        Build();
        QStandardItem* made = tree->InsertItem(L"x", handle(each.parent), handle(each.after), any());
        ASSERT_NE(made, nullptr) << each.top;
        EXPECT_EQ(Children(nullptr), each.top);
        EXPECT_EQ(Children(a), each.underA);
    }
    const std::tuple<Place, const char*> underA[] = {
        {First, "x,a1,a2"}, {Null, "x,a1,a2"}, {Last, "a1,a2,x"}, {Root, "a1,a2,x"}, {ItemA1, "a1,x,a2"},
    };
    for (const auto& [after, expected] : underA) {
        tree->RemoveAllItems(true);
        Build();
        ASSERT_NE(tree->InsertItem(L"x", a, handle(after), any()), nullptr) << expected;
        EXPECT_EQ(Children(a), expected);
    }
    EXPECT_EQ(tree->InsertItem(L"x", FirstHandle, nullptr, any()), nullptr);
    EXPECT_EQ(tree->InsertItem(L"x", LastHandle, nullptr, any()), nullptr);
    EXPECT_EQ(Children(nullptr), "a,b");
}

TEST_F(TreeViewTest, AddItemFollowsTheCurrentItemAndTheSingleRoot)
{
    tree->SetSingleRoot(true);
    QStandardItem* first = tree->AddItem(L"one", any());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(tree->AddItem(L"two", any()), nullptr);
    EXPECT_EQ(tree->InsertItem(L"two", RootHandle, LastHandle, any()), nullptr);
    EXPECT_EQ(tree->Count(), 1);

    QStandardItem* child = tree->AddSubItem(L"child", any(), first);
    tree->SetCurrentItem(child);
    QStandardItem* sibling = tree->AddItem(L"sibling", any());
    ASSERT_NE(sibling, nullptr);
    EXPECT_EQ(sibling->parent(), first) << "beside the current second-level item";
    EXPECT_EQ(Children(first), "child,sibling");

    tree->SetCurrentItem(nullptr);
    EXPECT_EQ(tree->AddSubItem(L"orphan", any(), nullptr), nullptr);
    TreeView::ItemRecords none;
    EXPECT_EQ(tree->AddItems(none), 0);
    EXPECT_EQ(tree->GetItemTextRaw(sibling), tree->GetItemText(sibling));
    tree->SetItemText(sibling, std::wstring(L"cut\0here", 8));
    EXPECT_EQ(Text(sibling), "cut");
    EXPECT_EQ(tree->GetItemTextRaw(sibling), L"cut");
    EXPECT_EQ(sibling->data(Qt::UserRole + 1).toString(), "sibling") << "the creation text stays";
}

TEST_F(TreeViewTest, BatchesAddInOrderWithPictures)
{
    const QByteArray red = FilledPicture(Qt::red);
    const int picture = tree->AddPicture(static_cast<QStandardItem*>(nullptr), Bytes(red), red.size(), ImageTypes::PNG,
                                         16, BitmapType::Default);
    ASSERT_EQ(picture, 1);
    TreeView::ItemRecords records{{L"p", any(), picture}, {L"q", any(5L), -1}};
    EXPECT_EQ(tree->AddItems(records), 2);
    EXPECT_EQ(Children(nullptr), "p,q");
    EXPECT_FALSE(impl().model->item(0)->icon().isNull());
    EXPECT_EQ(Payload(impl().model->item(1)), 5);
    EXPECT_EQ(tree->InsertItems(records, RootHandle, FirstHandle), 2);
    EXPECT_EQ(Children(nullptr), "p,q,p,q");
    EXPECT_EQ(tree->AddSubItems(records, impl().model->item(0)), 2);
    EXPECT_EQ(tree->ChildCount(nullptr, false), 4);
    EXPECT_EQ(tree->ChildCount(nullptr, true), 6);
    EXPECT_TRUE(view()->updatesEnabled());
}

TEST_F(TreeViewTest, RemoveItemFiresOnceAndTakesTheSubtreesPayloads)
{
    Build();
    const int ids[] = {a->data(Qt::UserRole).toInt(), a2->data(Qt::UserRole).toInt(), a21->data(Qt::UserRole).toInt()};
    tree->SetItemTooltip(a21, L"tip");
    std::vector<std::string> removing;
    tree->OnItemRemoving.Add([&](QStandardItem* item) {
        removing.push_back(Text(item));
        EXPECT_EQ(tree->ChildCount(item, true), 3) << "fired before anything goes";
    });
    EXPECT_TRUE(tree->RemoveItem(a));
    EXPECT_EQ(removing, std::vector<std::string>{"a"});
    for (const int id : ids)
        EXPECT_FALSE(StoreHolds(id)) << id;
    EXPECT_TRUE(impl().toolTips.empty());
    EXPECT_EQ(Children(nullptr), "b");
    EXPECT_EQ(Payload(b), 2);

    int all = 0;
    tree->OnAllItemsRemoving.Add([&] { ++all; });
    EXPECT_TRUE(tree->RemoveAllItems(false));
    EXPECT_EQ(all, 1);
    EXPECT_EQ(tree->Count(), 0);
}

TEST_F(TreeViewTest, PayloadsAreKeptByIdAndRefusedWhenEmpty)
{
    Build();
    EXPECT_FALSE(tree->SetItemData(a, any()));
    EXPECT_EQ(Payload(a), 1);
    EXPECT_TRUE(tree->SetItemData(a, any(7L)));
    EXPECT_EQ(Payload(a), 7);
    EXPECT_TRUE(tree->RemoveItemData(a));
    EXPECT_EQ(a->data(Qt::UserRole).toInt(), -1);
    EXPECT_FALSE(tree->RemoveItemData(a));
    QStandardItem* bare = tree->AddItem(L"bare", any());
    EXPECT_FALSE(bare->data(Qt::UserRole).isValid());
    EXPECT_FALSE(tree->RemoveItemData(bare));
    EXPECT_EQ(bare->data(Qt::UserRole).toInt(), -1);
    EXPECT_TRUE(tree->GetItemData(bare).empty());
}

TEST_F(TreeViewTest, HandlesForeignItemsAndTheWrongModeGiveNothing)
{
    Build();
    QStandardItemModel other;
    auto* foreign = new QStandardItem("foreign");
    other.appendRow(foreign);
    for (QStandardItem* bad : {static_cast<QStandardItem*>(nullptr), RootHandle, FirstHandle, LastHandle, foreign}) {
        EXPECT_TRUE(tree->GetItemText(bad).empty());
        EXPECT_FALSE(tree->SetItemText(bad, L"x"));
        EXPECT_FALSE(tree->RemoveItem(bad));
        EXPECT_FALSE(tree->SetItemData(bad, any(1L)));
        EXPECT_EQ(tree->GetParentItem(bad), nullptr);
        EXPECT_EQ(tree->NextSibling(bad), nullptr);
        EXPECT_FALSE(tree->SetPicture(bad, 0));
        EXPECT_EQ(tree->GetItemTextColor(bad), -1);
        EXPECT_TRUE(tree->GetItemRect(bad, true).isNull());
        tree->SetCheck(bad, true);
        tree->SetExpanded(bad, true);
    }
    EXPECT_EQ(tree->AddSubItem(L"x", any(), foreign), nullptr);
    EXPECT_EQ(foreign->text(), "foreign");
    EXPECT_EQ(tree->Count(), 5);

    tree->SetVirtualMode(true);
    EXPECT_EQ(tree->AddItem(L"x", any()), nullptr);
    EXPECT_EQ(tree->Count(), 0);
    EXPECT_EQ(tree->GetRootItem(), nullptr);
    EXPECT_EQ(tree->GetCheckMode(), 0);
    EXPECT_TRUE(tree->CheckedItems().empty());
    EXPECT_TRUE(tree->SelectedItems().empty());
    EXPECT_EQ(tree->CurrentItem(), nullptr);
    EXPECT_EQ(tree->AddPicture(static_cast<QStandardItem*>(nullptr), L"x.png", 16, BitmapType::Default), -1);
}

TEST_F(TreeViewTest, NavigationAndChecks)
{
    Build();
    EXPECT_EQ(tree->GetRootItem(), a);
    EXPECT_EQ(tree->GetTopLevelItem(a21), a);
    EXPECT_EQ(tree->VisibleTopLevelItem(a21), a);
    EXPECT_EQ(tree->GetFirstChild(a), a1);
    EXPECT_EQ(tree->NextSibling(a1), a2);
    EXPECT_EQ(tree->PrevSibling(a1), nullptr);
    EXPECT_EQ(tree->NextSibling(a2), nullptr);
    EXPECT_TRUE(tree->ItemHasChildren(a2));
    EXPECT_FALSE(tree->ItemHasChildren(a21));
    tree->SetExpanded(a, true);
    EXPECT_TRUE(tree->IsExpanded(a));

    tree->SetCheckMode(2);
    EXPECT_TRUE(a21->isCheckable());
    EXPECT_TRUE(tree->IsSetMultiSelection());
    EXPECT_FALSE(tree->EnableRowsDragAndDrop(true));
    EXPECT_FALSE(tree->IsEnableRowsDragAndDrop());
    tree->SetCheck(a2, true);
    EXPECT_FALSE(tree->GetCheck(a21)) << "no propagation";
    tree->SetCheck(a21, true);
    tree->SetCheck(b, true);
    std::vector<std::string> checked;
    for (QStandardItem* item : tree->CheckedItems())
        checked.push_back(Text(item));
    EXPECT_EQ(checked, (std::vector<std::string>{"a2", "a21", "b"}));
    EXPECT_TRUE(tree->AddItem(L"new", any())->isCheckable());
    tree->SetCheckMode(0);
    EXPECT_FALSE(a->isCheckable());
}

TEST_F(TreeViewTest, SortingStaysWithinTheRootAndSurvivesAnyComparator)
{
    for (const wchar_t* text : {L"c", L"a", L"b"})
        tree->AddSubItem(L"z" + std::wstring(text), any(), tree->InsertItem(text, RootHandle, LastHandle, any()));
    QStandardItem* c = impl().model->item(0);
    tree->AddSubItem(L"y", any(), c);
    tree->SortChildren(nullptr, false);
    EXPECT_EQ(Children(nullptr), "c,a,b") << "no function, no order";
    tree->SetSortFunc([](std::wstring left, any, std::wstring right, any) { return left < right; });
    tree->SortChildren(nullptr, false);
    EXPECT_EQ(Children(nullptr), "a,b,c");
    EXPECT_EQ(Children(c), "zc,y") << "children only with recursive on";
    tree->SortChildren(c, false);
    EXPECT_EQ(Children(c), "y,zc");
    EXPECT_EQ(Children(nullptr), "a,b,c");

    tree->SetSortFunc([](std::wstring, any, std::wstring, any) { return true; });
    for (int i = 0; i < 40; ++i)
        tree->AddItem(L"n" + std::to_wstring(i), any());
    tree->SortChildren(RootHandle, true);
    EXPECT_EQ(tree->ChildCount(nullptr, false), 43);
}

TEST_F(TreeViewTest, OwnFontAndColourListsForgetRemovedItems)
{
    Build();
    FontData bold;
    bold.bold = 1;
    tree->SetItemFont(a21, bold);
    tree->SetItemFont(b, bold);
    tree->SetItemTextColor(a21, 0x0000FF);
    tree->RemoveItem(a);
    FontData big;
    big.pointSize = 20;
    tree->SetFont(big, true);
    tree->SetTextColor(0x00FF00, true);
    EXPECT_EQ(impl().ownFonts.size(), 1u);
    EXPECT_TRUE(impl().ownTextColors.empty());
    EXPECT_EQ(tree->GetItemFont(b).pointSize, 20);
    EXPECT_EQ(tree->GetItemFont(b).bold, 1);

    tree->SetItemTextColor(b, 0x123456);
    tree->RemoveAllItems(true);
    EXPECT_TRUE(impl().ownFonts.empty());
    EXPECT_TRUE(impl().ownTextColors.empty());
    tree->SetTextColor(0x00FF00, true);
}

TEST_F(TreeViewTest, RemovingTheAnchorsAncestorLeavesNoAnchor)
{
    Build();
    tree->SetMultiSelection(true);
    tree->SetExpanded(a, true);
    tree->SetExpanded(a2, true);
    tree->SetCurrentItem(a1);
    Click(a2, Qt::ShiftModifier);
    EXPECT_TRUE(impl().anchor.isValid());
    tree->RemoveItem(a);
    EXPECT_FALSE(impl().anchor.isValid());
    EXPECT_FALSE(impl().lastSelection.isValid());
    Click(b, Qt::ShiftModifier);
    Click(b);
    EXPECT_TRUE(tree->IsSelectedItem(b));
}

// Pictures.

TEST_F(TreeViewTest, PicturesAreStoredOncePerContent)
{
    Build();
    const QByteArray red = FilledPicture(Qt::red);
    const QByteArray blue = FilledPicture(Qt::blue);
    EXPECT_EQ(tree->AddPicture(a, Bytes(red), red.size(), ImageTypes::PNG, 16, BitmapType::Default), 1);
    EXPECT_EQ(tree->AddPicture(b, Bytes(red), red.size(), ImageTypes::PNG, 16, BitmapType::Default), 1);
    EXPECT_EQ(tree->AddPicture(a1, Bytes(blue), blue.size(), ImageTypes::PNG, 16, BitmapType::Default), 2);
    EXPECT_EQ(view()->iconSize(), QSize(16, 16));

    // Two pictures alike at every fifth byte.
    QByteArray first = FilledPicture(Qt::red, "BMP", 4);
    QByteArray second = first;
    int changed = first.size() - 2;
    if (changed % 5 == 0)
        --changed;
    second[changed] = static_cast<char>(second[changed] ^ 0x55);
    ASSERT_EQ(TreePictureList::SampledHash(Bytes(first), first.size()),
              TreePictureList::SampledHash(Bytes(second), second.size()));
    const int one = tree->AddPicture(a2, Bytes(first), first.size(), ImageTypes::BMP, 16, BitmapType::Default);
    const int other = tree->AddPicture(a21, Bytes(second), second.size(), ImageTypes::BMP, 16, BitmapType::Default);
    EXPECT_GT(one, 0);
    EXPECT_GT(other, 0);
    EXPECT_NE(one, other);

    const unsigned char zero[] = {0, 1, 2};
    EXPECT_EQ(tree->AddPicture(a, nullptr, 10, ImageTypes::PNG, 16, BitmapType::Default), -1);
    EXPECT_EQ(tree->AddPicture(a, Bytes(red), 0, ImageTypes::PNG, 16, BitmapType::Default), -1);
    EXPECT_EQ(tree->AddPicture(a, Bytes(red), red.size(), ImageTypes::Unknown, 16, BitmapType::Default), -1);
    EXPECT_EQ(tree->AddPicture(a, zero, 3, ImageTypes::PNG, 16, BitmapType::Default), -1);
    EXPECT_EQ(tree->AddPicture(a, Bytes(red), 20, ImageTypes::PNG, 16, BitmapType::Default), -1) << "cut short";

    EXPECT_TRUE(tree->SetPicture(b, 999));
    EXPECT_TRUE(b->icon().isNull());
    EXPECT_TRUE(tree->GetItemPicturePath(a).empty()) << "from bytes";

    tree->RemoveAllItems(false);
    for (QStandardItem* gone : {a, b, a1})
        EXPECT_EQ(impl().pictures->PictureOf(gone), -1) << "the pictures stay, the items that showed them go";
    QStandardItem* fresh = tree->AddItem(L"fresh", any());
    EXPECT_TRUE(tree->SetPicture(fresh, 2));
    EXPECT_FALSE(fresh->icon().isNull());
    tree->RemoveAllItems(true);
    EXPECT_EQ(tree->AddPicture(static_cast<QStandardItem*>(nullptr), Bytes(blue), blue.size(), ImageTypes::PNG, 16,
                               BitmapType::Default),
              1);
}

TEST_F(TreeViewTest, PicturesFromFilesKeepTheirPaths)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QString::fromUtf8("bild-\xC3\xA4\xE4\xB8\x80.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(FilledPicture(Qt::green));
    file.close();
    QFile noDot(folder.filePath("picture"));
    ASSERT_TRUE(noDot.open(QIODevice::WriteOnly));
    noDot.write(FilledPicture(Qt::green, "BMP"));
    noDot.close();

    QStandardItem* item = tree->AddItem(L"item", any());
    const std::wstring wide = path.toStdWString();
    EXPECT_EQ(tree->AddPicture(item, wide, 24, BitmapType::Default), 1);
    EXPECT_EQ(tree->GetItemPicturePath(item), wide);
    EXPECT_EQ(tree->AddPicture(item, folder.filePath("picture").toStdWString(), 24, BitmapType::Default), 2)
        << "no extension: read as a bitmap";
    EXPECT_EQ(tree->AddPicture(item, folder.filePath("missing.png").toStdWString(), 24, BitmapType::Default), -1);
    EXPECT_EQ(tree->AddPicture(item, folder.filePath("dot.").toStdWString(), 24, BitmapType::Default), -1);
}
