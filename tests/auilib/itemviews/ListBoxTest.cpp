#include "ListBoxFixture.h"

#include <QHeaderView>
#include <QStyle>
#include <QToolTip>

#include <functional>
#include <random>
#include <utility>

using namespace AUILib;
using ListBoxTesting::Texts;

namespace {

class ListBoxTest : public ListBoxTesting::ListBoxFixture
{
protected:
    long DataOf(int row, int column = 0)
    {
        const any value = list->GetItemDataEx(row, column);
        const long* number = any_cast<long>(&value);
        return number ? *number : -999;
    }

    // Presses on the row `from`, moves the pointer down row by row to `to` and lets go there.
    void DragDown(int from, int to, const std::function<void()>& afterPress = {})
    {
        QWidget* viewport = table()->viewport();
        QCursor::setPos(viewport->mapToGlobal(RowCentre(from)));
        SendMouse(viewport, QEvent::MouseButtonPress, RowCentre(from));
        if (afterPress)
            afterPress();
        for (int row = from + 1; row <= to; ++row)
            SendMouse(viewport, QEvent::MouseMove, RowCentre(row));
        SendMouse(viewport, QEvent::MouseButtonRelease, RowCentre(to));
    }
};

} // namespace

TEST_F(ListBoxTest, ConstructionBuildsOneLabelledColumn)
{
    EXPECT_EQ(list->GetControlType(), ControlType::ListBox);
    EXPECT_EQ(list->GetColumnsCount(), 1);
    EXPECT_EQ(list->GetColumnsWidth(), std::vector<int>{-1});
    EXPECT_EQ(impl().headerLabels, QStringList{QStringLiteral("Col 0")});
    EXPECT_TRUE(list->IsSingleSelection());
    EXPECT_FALSE(table()->horizontalHeader()->isVisible());
    EXPECT_STREQ(table()->metaObject()->className(), "AUILib::ListBoxQt");
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(ListBoxTest, AddAndInsertAnswerTheirRows)
{
    EXPECT_EQ(list->AddItem(L"b", any()), 0);
    EXPECT_EQ(list->AddItem(L"d", any()), 1);
    EXPECT_EQ(list->InsertItem(-1, L"a", any()), 2) << "-1 appends";
    EXPECT_EQ(list->InsertItem(5, L"x", any()), -1) << "past the end inserts nothing";
    EXPECT_EQ(list->InsertItem(1, L"c", any()), 1);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"b", L"c", L"d", L"a"}));

    list->SortColumn(0, ListBox::Ascending, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(list->AddItem(L"bb", any()), 2) << "AddItem answers the row after the re-sort";
    auto texts = Texts({L"aa"});
    EXPECT_EQ(list->AddItemEx(texts, any()), 5) << "AddItemEx answers the insertion row";
    EXPECT_EQ(list->GetItem(1, 0), L"aa");
    EXPECT_EQ(list->InsertItem(0, L"e", any()), 6);
    EXPECT_EQ(list->InsertItem(42, L"z", any()), -1);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"a", L"aa", L"b", L"bb", L"c", L"d", L"e"}));
}

TEST_F(ListBoxTest, MultiColumnRowsFillMissingTexts)
{
    list->SetColumnsCount(3);
    auto texts = Texts({L"one"});
    EXPECT_EQ(list->AddItemEx(texts, any(7L)), 0);
    EXPECT_EQ(list->GetItemEx(0), Texts({L"one", L"", L""}));
    EXPECT_EQ(DataOf(0), 7);
    for (int column = 1; column < 3; ++column)
        EXPECT_EQ(table()->item(0, column)->data(Qt::UserRole).toInt(), table()->item(0, 0)->data(Qt::UserRole).toInt());

    auto row = Texts({L"x", L"y", L"z", L"beyond"});
    EXPECT_EQ(list->AddRow(row, {any(1L), any(2L), any(3L)}), 1);
    EXPECT_EQ(list->GetItemEx(1), Texts({L"x", L"y", L"z"}));
    EXPECT_EQ((std::vector<long>{DataOf(1, 0), DataOf(1, 1), DataOf(1, 2)}), (std::vector<long>{1, 2, 3}));
    std::list<std::wstring> none;
    EXPECT_EQ(list->AddRow(none, {}), -1);
    EXPECT_EQ(list->Count(), 2);
}

TEST_F(ListBoxTest, HeaderDefaultSizeIsTakenOnceFromTheEmptyTable)
{
    impl().headerDefaultSizeSet = false;
    list->AddItem(L"a", any());
    const int expected = table()->width() - table()->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2;
    EXPECT_EQ(table()->horizontalHeader()->defaultSectionSize(), expected);
    list->Clear();
    table()->resize(500, 200);
    list->AddItem(L"a", any());
    EXPECT_EQ(table()->horizontalHeader()->defaultSectionSize(), expected);
}

TEST_F(ListBoxTest, ItemDataPerRowAndColumnFollowsTheRowsThroughASort)
{
    list->SetColumnsCount(2);
    for (const wchar_t* text : {L"c", L"a", L"b"}) {
        auto texts = Texts({text, L"-"});
        list->AddItemEx(texts, any());
    }
    EXPECT_TRUE(list->SetItemDataEx(0, 1, any(31L)));
    EXPECT_TRUE(list->SetItemData(0, any(30L)));
    EXPECT_EQ(DataOf(0, 1), 31) << "the row's data replace sub-key 0 only";
    EXPECT_TRUE(list->SetItemData(0, any(300L)));
    EXPECT_EQ(DataOf(0), 300);
    EXPECT_EQ(DataOf(0, 1), 31);
    EXPECT_TRUE(list->SetItemData(1, any(10L)));

    list->SortColumn(0, ListBox::Ascending, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(DataOf(0), 10);
    EXPECT_EQ(DataOf(2), 300);
    EXPECT_EQ(DataOf(2, 1), 31);
    EXPECT_TRUE(list->GetItemData(1).empty());

    EXPECT_TRUE(list->RemoveItemData(2));
    EXPECT_TRUE(list->GetItemData(2).empty());
    EXPECT_EQ(table()->item(2, 1)->data(Qt::UserRole).toInt(), -1);
    EXPECT_FALSE(list->RemoveItemData(1)) << "no data to remove";
    EXPECT_EQ(table()->item(1, 0)->data(Qt::UserRole).toInt(), -1);

    // A row whose data were removed gets a new ID that its cells name.
    EXPECT_TRUE(list->SetItemDataEx(2, 1, any(32L)));
    const int id = table()->item(2, 0)->data(Qt::UserRole).toInt();
    EXPECT_GE(id, 1);
    EXPECT_EQ(table()->item(2, 1)->data(Qt::UserRole).toInt(), id);
    EXPECT_EQ(DataOf(2, 1), 32);
}

TEST_F(ListBoxTest, BadRowsColumnsAndMissingCellsGiveNeutralValues)
{
    list->SetColumnsCount(2);
    list->AddItem(L"only first", any());
    EXPECT_EQ(list->GetItem(0, 1), L"");
    EXPECT_EQ(list->GetItem(-1, 0), L"");
    EXPECT_EQ(list->GetItem(3, 0), L"");
    EXPECT_FALSE(list->SetItemText(0, 1, L"x"));
    EXPECT_FALSE(list->SetItemText(9, L"x"));
    EXPECT_TRUE(list->GetItemDataEx(-1, 0).empty());
    EXPECT_FALSE(list->SetItemDataEx(0, 1, any(1L))) << "the cell is missing";
    EXPECT_FALSE(list->SetItemDataEx(0, 2, any(1L)));
    EXPECT_FALSE(list->SetItemData(5, any(1L)));
    EXPECT_FALSE(list->GetCheck(0));
    EXPECT_FALSE(list->EnsureVisible(4));
    EXPECT_FALSE(list->DeleteItem(4));
    auto texts = Texts({L"a", L"b", L"c"});
    EXPECT_TRUE(list->SetItemTextEx(0, texts));
    EXPECT_EQ(list->GetItemEx(0), Texts({L"a", L"b"}));
    EXPECT_TRUE(list->SetItemTextEx(7, texts));
    EXPECT_EQ(list->HitTest({-5, -5}, nullptr, nullptr), -1);
    list->SetItemText(0, std::wstring(L"cut\0off", 7));
    EXPECT_EQ(list->GetItem(0, 0), L"cut");
}

TEST_F(ListBoxTest, DeletingRunsOfRows)
{
    AddRows({L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"});
    list->SetSingleSelection(false);
    for (int row : {1, 2, 5, 6, 7})
        list->SetSel(row, true, false);
    std::vector<std::pair<int, int>> runs;
    table()->model()->connect(table()->model(), &QAbstractItemModel::rowsRemoved,
                              [&runs](const QModelIndex&, int first, int last) { runs.emplace_back(first, last); });
    EXPECT_TRUE(list->DeleteSelItems());
    EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{5, 7}, {1, 2}}));
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"0", L"3", L"4", L"8"}));

    struct Case
    {
        int first;
        int count;
    };
    for (const Case& bad : {Case{-1, 1}, Case{0, 0}, Case{2, 3}, Case{4, 1}}) {
        EXPECT_FALSE(list->DeleteItems(bad.first, bad.count)) << bad.first << "+" << bad.count;
        EXPECT_EQ(list->Count(), 4);
    }
    EXPECT_TRUE(list->DeleteItems(1, 3));
    EXPECT_EQ(Column(), std::vector<std::wstring>{L"0"});
}

// However a row leaves, its record goes with it; the list's columns stay, and IDs are not given twice.
TEST_F(ListBoxTest, RowsTakeTheirDataWithThem)
{
    list->SetColumnsCount(2);
    list->SetSingleSelection(false);
    for (long row = 1; row <= 6; ++row) {
        auto texts = Texts({L"row", L"cell"});
        list->AddItemEx(texts, any(row));
    }
    list->SetItemDataEx(5, 1, any(60L));
    list->SetColumnName(0, L"Name");
    const auto held = [this] {
        std::vector<int> ids;
        for (int id = 1; id <= 7; ++id) {
            if (impl().itemData.Find(id) != impl().itemData.End())
                ids.push_back(id);
        }
        return ids;
    };

    list->DeleteItem(0);
    EXPECT_EQ(held(), (std::vector<int>{2, 3, 4, 5, 6}));
    list->DeleteItems(0, 2);
    EXPECT_EQ(held(), (std::vector<int>{4, 5, 6}));
    list->SetSel(0, true, false);
    list->DeleteSelItems();
    EXPECT_EQ(held(), (std::vector<int>{5, 6}));
    // As Qt removes the rows of a drag that another widget takes as a move.
    table()->model()->removeRow(0);
    EXPECT_EQ(held(), std::vector<int>{6});
    list->Clear();
    EXPECT_EQ(held(), std::vector<int>{});

    EXPECT_EQ(list->GetColumnsCount(), 2);
    EXPECT_EQ(table()->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    auto texts = Texts({L"new"});
    list->AddItemEx(texts, any(7L));
    EXPECT_EQ(held(), std::vector<int>{7});
    EXPECT_EQ(DataOf(0), 7);
}

// A handler told that a selected row leaves the selection as it is deleted still reads the row's data,
// and in single selection reads the data of the row the view selects instead.
TEST_F(ListBoxTest, ARowDeletedFromTheSelectionIsReportedWithItsData)
{
    const std::pair<const char*, std::function<void(ListBox&)>> deletions[] = {
        {"DeleteItem", [](ListBox& l) { l.DeleteItem(1); }},
        {"DeleteItems", [](ListBox& l) { l.DeleteItems(1, 1); }},
        {"DeleteSelItems", [](ListBox& l) { l.DeleteSelItems(); }},
        {"a row Qt removes", [](ListBox& l) {
             static_cast<QTableWidget*>(l.GetPlatformHandle())->model()->removeRow(1);
         }},
    };
    std::vector<long> read;
    list->OnRowSelectionChanged.Add([this, &read](int row) { read.push_back(DataOf(row)); });
    for (const bool single : {false, true}) {
        list->SetSingleSelection(single);
        for (const auto& [name, deleteRow] : deletions) {
            list->Clear();
            for (long data = 10; data < 13; ++data)
                list->AddItem(L"row", any(data));
            list->SetSel(1, true, single);
            read.clear();
            deleteRow(*list);
            const std::vector<long> expected = single ? std::vector<long>{11, 12} : std::vector<long>{11};
            EXPECT_EQ(read, expected) << name << " single " << single;
        }
    }
}

// A handler told that a row leaves as it is deleted may read the list, but the rows and columns stay as
// they are until the row has gone: Qt takes out the cells it announced by their indexes, so a change
// meanwhile would have it delete another row, or corrupt the table.
TEST_F(ListBoxTest, AHandlerCannotChangeTheRowsWhileARowIsDeleted)
{
    const std::pair<const char*, std::function<void(ListBox&)>> deletions[] = {
        {"DeleteItem", [](ListBox& l) { l.DeleteItem(1); }},
        {"DeleteItems", [](ListBox& l) { l.DeleteItems(1, 1); }},
        {"DeleteSelItems", [](ListBox& l) { l.DeleteSelItems(); }},
        {"a removal by Qt",
         [](ListBox& l) { static_cast<QTableWidget*>(l.GetPlatformHandle())->model()->removeRow(1); }},
    };
    struct Action
    {
        const char* name;
        bool sorted;
        // Whether the action answered as the handler may expect: refused with its failure result, or
        // for reading, with the leaving row's data.
        std::function<bool(ListBox&)> answered;
    };
    const Action actions[] = {
        {"DeleteItem", false, [](ListBox& l) { return !l.DeleteItem(0); }},
        {"DeleteItems", false, [](ListBox& l) { return !l.DeleteItems(0, 1); }},
        {"DeleteSelItems", false, [](ListBox& l) { return !l.DeleteSelItems(); }},
        {"InsertItem", false, [](ListBox& l) { return l.InsertItem(0, L"new", any(99L)) == -1; }},
        {"AddRow", false,
         [](ListBox& l) {
             auto texts = Texts({L"new"});
             return l.AddRow(texts, {any(99L)}) == -1;
         }},
        {"SortColumn", false, [](ListBox& l) { return !l.SortColumn(0, ListBox::Descending, true); }},
        {"DisableSortingForRow", false,
         [](ListBox& l) {
             l.DisableSortingForRow(3);
             return l.GetItem(0, 0) == L"10";
         }},
        {"Clear", false,
         [](ListBox& l) {
             l.Clear();
             return l.Count() == 5;
         }},
        {"SetColumnsCount", false,
         [](ListBox& l) {
             l.SetColumnsCount(3);
             return l.GetColumnsCount() == 1;
         }},
        {"SetItemText in the sort column", true, [](ListBox& l) { return !l.SetItemText(0, L"99"); }},
        {"SetItemText, the list unsorted", false, [](ListBox& l) { return l.SetItemText(0, L"99"); }},
        // The sort column's comparison reads the data.
        {"RemoveItemData in the sort column", true, [](ListBox& l) { return !l.RemoveItemData(0); }},
        {"SetItemDataEx in the sort column", true, [](ListBox& l) { return !l.SetItemDataEx(0, 0, any(99L)); }},
        {"SetItemData in the sort column", true, [](ListBox& l) { return !l.SetItemData(0, any(99L)); }},
        {"SetItemData, the list unsorted", false, [](ListBox& l) { return l.SetItemData(0, any(10L)); }},
        {"reading", false, [this](ListBox&) { return DataOf(1) == 11; }},
    };
    // Sorted by the rows' data, those without data last.
    list->SetColumnSortFunc(0, [](std::wstring, any mine, std::wstring, any theirs) {
        const long* m = any_cast<long>(&mine);
        const long* t = any_cast<long>(&theirs);
        return (m ? *m : 1000) < (t ? *t : 1000);
    });
    const Action* acting = nullptr;
    bool due = false;
    bool answered = false;
    list->OnRowSelectionChanged.Add([&](int row) {
        if (row == 1 && std::exchange(due, false))
            answered = acting->answered(*list);
    });
    for (const bool single : {true, false}) {
        for (const auto& [how, deleteRow] : deletions) {
            for (const Action& action : actions) {
                list->Clear();
                list->SortingEnable(false);
                list->SetSingleSelection(single);
                for (long data = 10; data < 15; ++data)
                    list->AddItem(std::to_wstring(data), any(data));
                if (action.sorted)
                    list->SortColumn(0, ListBox::Ascending, true);
                list->SetSel(1, true, true);
                acting = &action;
                due = true;
                answered = false;
                deleteRow(*list);
                const std::string name = std::string(how) + ", " + action.name + (single ? ", single" : "");
                EXPECT_FALSE(due) << name << ": the handler ran";
                EXPECT_TRUE(answered) << name;
                std::vector<long> rows;
                for (int row = 0; row < list->Count(); ++row)
                    rows.push_back(DataOf(row));
                EXPECT_EQ(rows, (std::vector<long>{10, 12, 13, 14})) << name;
            }
        }
    }
    EXPECT_TRUE(list->DeleteItem(0)) << "once the row has gone the rows may change again";
}

TEST_F(ListBoxTest, FindingTextsByPrefixAndWhole)
{
    list->SetColumnsCount(2);
    for (auto texts : {Texts({L"Apple", L"x"}), Texts({L"apricot", L"Banana"}), Texts({L"avocado", L"y"})})
        list->AddItemEx(texts, any());
    EXPECT_EQ(list->FindString(L"AP", -1), 0);
    EXPECT_EQ(list->FindString(L"ap", 0), 1);
    EXPECT_EQ(list->FindString(L"ap", 1), 0) << "the search wraps to the top";
    EXPECT_EQ(list->FindString(L"ap", 2), -1) << "past the last row nothing is searched";
    EXPECT_EQ(list->FindString(L"Ban", -1), -1) << "only the first column";
    EXPECT_EQ(list->GetItemIndex(L"BANANA"), 1);
    EXPECT_EQ(list->GetItemIndex(L"ban"), -1) << "the whole text";
}

TEST_F(ListBoxTest, SelectionChangesFireOncePerRowInOrder)
{
    AddRows({L"a", L"b", L"c", L"d"});
    list->SetSingleSelection(false);
    list->SetSel(1, true, false);
    list->SetSel(2, true, false);
    log.clear();
    table()->selectionModel()->select(table()->model()->index(3, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(log, (std::vector<std::string>{"row 1", "selection", "row 2", "selection", "row 3", "selection"}));
    EXPECT_EQ(list->SelectedItems(), Texts({L"d"}));

    log.clear();
    list->ClearSel();
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "row 3", "selection", "end"}));
    list->SetSel(0, true, true);
    log.clear();
    list->Clear();
    EXPECT_TRUE(log.empty()) << "Clear is silent about the selection";
}

TEST_F(ListBoxTest, SelectAllKeyIsBracketedOnlyInMultiSelection)
{
    AddRows({L"a", L"b", L"c"});
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(std::count(log.begin(), log.end(), "begin"), 0);
    list->SetSingleSelection(false);
    log.clear();
    QTest::keyClick(table(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "begin");
    EXPECT_EQ(log.back(), "end");
    EXPECT_EQ(list->SelectedItemsIndexes(), (std::list<int>{0, 1, 2}));
}

TEST_F(ListBoxTest, ShiftClickExtendsAndReportsTheNewRows)
{
    AddRows({L"a", L"b", L"c", L"d"});
    list->SetSingleSelection(false);
    list->SelectItemOnSetFocus(false);
    Click(RowCentre(0));
    log.clear();
    Click(RowCentre(2), Qt::ShiftModifier);
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "row 1", "selection", "row 2", "selection", "clicked 2",
                                             "end"}));
}

TEST_F(ListBoxTest, CheckModesToggleByClickRegion)
{
    struct Case
    {
        ListBox::CheckMode mode;
        bool single;
        bool onBox;
        bool checked;
    };
    const Case cases[] = {
        {ListBox::BoxClickToggles, true, true, true},   {ListBox::BoxClickToggles, true, false, false},
        {ListBox::SelectionChecks, true, false, true},  {ListBox::SelectionChecks, true, true, true},
        {ListBox::SelectionChecks, false, false, true}, {ListBox::NoCheckBoxes, true, true, false},
    };
    for (const Case& c : cases) {
        list->Clear();
        list->SetSingleSelection(c.single);
        list->SetCheckMode(c.mode);
        AddRows({L"first", L"second"});
        QTableWidgetItem* item = table()->item(1, 0);
        if (c.mode == ListBox::BoxClickToggles || c.mode == ListBox::SelectionChecks) {
            EXPECT_FALSE(item->flags() & Qt::ItemIsUserCheckable) << "Qt does not toggle the box";
        }
        QStyleOptionViewItem option = table()->ItemOption(item);
        const QRect box = table()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table());
        Click(c.onBox ? box.center() : RowCentre(1, 0) + QPoint(60, 0));
        EXPECT_EQ(list->GetCheck(1), c.checked) << c.mode << " single " << c.single << " box " << c.onBox;
    }
}

TEST_F(ListBoxTest, SelectionCheckModeFollowsAShiftSelection)
{
    list->SetSingleSelection(false);
    list->SelectItemOnSetFocus(false);
    list->SetCheckMode(ListBox::SelectionChecks);
    AddRows({L"a", L"b", L"c", L"d"});
    Click(RowCentre(0));
    Click(RowCentre(2), Qt::ShiftModifier);
    EXPECT_EQ(list->CheckedItemsIndexes(), (std::list<int>{0, 1, 2}));
    EXPECT_EQ(list->CheckedItems(), Texts({L"a", L"b", L"c"}));
    table()->item(3, 0)->setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(list->GetCheck(3)) << "the partial state counts as checked";
}

TEST_F(ListBoxTest, SelectionCheckModeFollowsADrag)
{
    list->SetSingleSelection(false);
    list->SelectItemOnSetFocus(false);
    list->SetCheckMode(ListBox::SelectionChecks);
    AddRows({L"a", L"b", L"c", L"d"});
    DragDown(1, 3);
    EXPECT_EQ(list->SelectedItemsIndexes(), (std::list<int>{1, 2, 3}));
    EXPECT_EQ(list->CheckedItemsIndexes(), (std::list<int>{1, 2, 3}));
    EXPECT_FALSE(table()->leftDrag) << "cleared at the release";
}

TEST_F(ListBoxTest, SelectionReportsMatchTheRowsThatChanged)
{
    AddRows({L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7"});
    list->SetSingleSelection(false);
    std::mt19937 random(3);
    for (int step = 0; step < 40; ++step) {
        const std::list<int> before = list->SelectedItemsIndexes();
        QItemSelection selection;
        for (int row = 0; row < 8; ++row) {
            if (random() % 2)
                selection.select(table()->model()->index(row, 0), table()->model()->index(row, 0));
        }
        log.clear();
        table()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const std::list<int> after = list->SelectedItemsIndexes();
        std::vector<std::string> expected;
        for (int row : before) {
            if (std::find(after.begin(), after.end(), row) == after.end())
                expected.insert(expected.end(), {"row " + std::to_string(row), "selection"});
        }
        for (int row : after) {
            if (std::find(before.begin(), before.end(), row) == before.end())
                expected.insert(expected.end(), {"row " + std::to_string(row), "selection"});
        }
        ASSERT_EQ(log, expected) << "step " << step;
    }
}

TEST_F(ListBoxTest, SelectionReportsFollowRowsThatMoved)
{
    struct Case
    {
        const char* name;
        bool single;
        std::vector<int> selected;
        std::function<void(ListBox&)> moveRows;
        int select;
        std::vector<std::string> expected;
    };
    // Rows a..e; each change moves "d" (row 3) before the next selection.
    const Case cases[] = {
        {"deleted above", true, {3}, [](ListBox& l) { l.DeleteItem(0); }, 3,
         {"row 2", "selection", "row 3", "selection"}},
        {"inserted above", true, {3}, [](ListBox& l) { l.InsertItem(0, L"z", any()); }, 3,
         {"row 4", "selection", "row 3", "selection"}},
        {"sorted", true, {3}, [](ListBox& l) { l.SortColumn(0, ListBox::Descending, true); }, 3,
         {"row 1", "selection", "row 3", "selection"}},
        {"several, deleted above", false, {1, 3}, [](ListBox& l) { l.DeleteItem(0); }, 3, {"row 3", "selection"}},
        {"several, inserted between", false, {1, 3}, [](ListBox& l) { l.InsertItem(2, L"z", any()); }, 2,
         {"row 2", "selection"}},
        {"several, sorted", false, {0, 3}, [](ListBox& l) { l.SortColumn(0, ListBox::Descending, true); }, 0,
         {"row 0", "selection"}},
        {"several, one of them deleted", false, {1, 3}, [](ListBox& l) { l.DeleteItem(1); }, 3,
         {"row 3", "selection"}},
        {"deleted below", true, {3}, [](ListBox& l) { l.DeleteItem(4); }, 2,
         {"row 3", "selection", "row 2", "selection"}},
        {"several, rows cleared and added", false, {1, 3},
         [](ListBox& l) {
             l.Clear();
             for (const wchar_t* text : {L"a", L"b", L"c", L"d", L"e"})
                 l.AddItem(text, any());
         },
         3, {"row 3", "selection"}},
    };
    for (const Case& c : cases) {
        list->Clear();
        list->SortingEnable(false);
        list->SetSingleSelection(c.single);
        AddRows({L"a", L"b", L"c", L"d", L"e"});
        for (int row : c.selected)
            list->SetSel(row, true, false);
        c.moveRows(*list);
        log.clear();
        list->SetSel(c.select, true, false);
        EXPECT_EQ(log, c.expected) << c.name;
    }
}

TEST_F(ListBoxTest, AHandlerMovingRowsLeavesTheNextReportRight)
{
    AddRows({L"a", L"b", L"c", L"d"});
    list->SetSingleSelection(false);
    bool deleteFirst = true;
    list->OnSelectionChanged.Add([this, &deleteFirst] {
        if (std::exchange(deleteFirst, false))
            list->DeleteItem(0);
    });
    list->SetSel(2, true, false);
    ASSERT_EQ(list->SelectedItems(), Texts({L"c"}));
    log.clear();
    list->SetSel(2, true, false);
    EXPECT_EQ(log, (std::vector<std::string>{"row 2", "selection"})) << "\"d\" joins, \"c\" stays";
}

TEST_F(ListBoxTest, ReportsStillDueFollowRowsAHandlerMoves)
{
    struct Case
    {
        const char* name;
        std::function<void(ListBox&)> moveRows;
        std::vector<std::wstring> named;
    };
    // "b" and "d" leave the selection; the handler of the first report moves "d".
    const Case cases[] = {
        // With nothing selected, the deletion selects the row after the deleted one.
        {"deleted above", [](ListBox& l) { l.DeleteItem(0); }, {L"b", L"b", L"d"}},
        {"inserted above", [](ListBox& l) { l.InsertItem(0, L"z", any()); }, {L"b", L"d"}},
        {"sorted", [](ListBox& l) { l.SortColumn(0, ListBox::Descending, true); }, {L"b", L"d"}},
    };
    std::vector<std::wstring> named;
    bool moveRows = false;
    const Case* current = nullptr;
    list->OnRowSelectionChanged.Add([&](int row) {
        named.push_back(list->GetItem(row, 0));
        if (std::exchange(moveRows, false))
            current->moveRows(*list);
    });
    list->SetSingleSelection(false);
    for (const Case& c : cases) {
        list->Clear();
        list->SortingEnable(false);
        AddRows({L"a", L"b", L"c", L"d", L"e"});
        list->SetSel(1, true, false);
        list->SetSel(3, true, false);
        named.clear();
        current = &c;
        moveRows = true;
        list->ClearSel();
        EXPECT_EQ(named, c.named) << c.name;
    }
}

TEST_F(ListBoxTest, SelectionChecksFollowRowsAHandlerMoves)
{
    list->SetSingleSelection(false);
    list->SelectItemOnSetFocus(false);
    list->SetCheckMode(ListBox::SelectionChecks);
    AddRows({L"a", L"b", L"c", L"d"});
    bool insert = true;
    // The press selects the first row alone; the drag's first change then moves the rows.
    DragDown(1, 3, [this, &insert] {
        list->OnSelectionChanged.Add([this, &insert] {
            if (std::exchange(insert, false))
                list->InsertItem(0, L"z", any());
        });
    });
    EXPECT_EQ(list->SelectedItems(), Texts({L"b", L"c"}));
    EXPECT_EQ(list->CheckedItems(), list->SelectedItems());
}

// In single selection the view moves the selection off a deleted current row before the row goes:
// deleting the selection reports that as deleting the row does, and the next change, after a row is
// inserted above, starts from it.
TEST_F(ListBoxTest, DeletingTheSelectionReportsTheRowTheViewSelectsInstead)
{
    struct Case
    {
        const char* name;
        int rows;
        int selected;
        int current;
        std::vector<std::string> deletion;
        int nextSelected;
        std::vector<std::string> next;
    };
    const Case cases[] = {
        {"the next row joins", 5, 1, 1, {"row 1", "selection", "row 2", "selection"}, 3,
         {"row 2", "selection", "row 3", "selection"}},
        {"the last row: the one above joins", 5, 4, 4, {"row 4", "selection", "row 3", "selection"}, 0,
         {"row 4", "selection", "row 0", "selection"}},
        {"the only row: nothing joins", 1, 0, 0, {"row 0", "selection"}, 0, {"row 0", "selection"}},
        {"the current row elsewhere: nothing moves", 5, 1, 3, {"row 1", "selection"}, 0, {"row 0", "selection"}},
    };
    const std::pair<const char*, std::function<void(ListBox&, int)>> deletions[] = {
        {"DeleteItem", [](ListBox& l, int row) { l.DeleteItem(row); }},
        {"DeleteSelItems", [](ListBox& l, int) { l.DeleteSelItems(); }},
    };
    for (const auto& [how, deleteRow] : deletions) {
        for (const Case& c : cases) {
            list->Clear();
            for (int row = 0; row < c.rows; ++row)
                list->AddItem(std::to_wstring(row), any());
            list->SetSel(c.current, true, true);
            list->SetSel(c.selected, true, false);
            log.clear();
            deleteRow(*list, c.selected);
            EXPECT_EQ(log, c.deletion) << how << ": " << c.name;
            list->InsertItem(0, L"new", any());
            log.clear();
            list->SetSel(c.nextSelected, true, false);
            EXPECT_EQ(log, c.next) << how << ": " << c.name << ", the next change";
        }
    }
}

// A handler of the row the view selects instead may change the selection again; its change is followed.
TEST_F(ListBoxTest, AHandlerOfTheRowTheViewSelectsInsteadMayChangeTheSelection)
{
    const std::pair<const char*, std::function<void(ListBox&)>> changes[] = {
        {"SetSel", [](ListBox& l) { l.SetSel(0, true, false); }},
        {"ClearSel", [](ListBox& l) { l.ClearSel(); }},
    };
    bool act = false;
    const std::function<void(ListBox&)>* change = nullptr;
    list->OnRowSelectionChanged.Add([&](int row) {
        if (row == 2 && std::exchange(act, false))
            (*change)(*list);
    });
    for (const auto& [name, changeSelection] : changes) {
        list->Clear();
        AddRows({L"a", L"b", L"c", L"d"});
        list->SetSel(1, true, true);
        change = &changeSelection;
        act = true;
        list->DeleteSelItems();
        const std::list<int> selected = list->SelectedItemsIndexes();
        log.clear();
        list->SetSel(2, true, false);
        std::vector<std::string> expected;
        for (int row : selected)
            expected.insert(expected.end(), {"row " + std::to_string(row), "selection"});
        expected.insert(expected.end(), {"row 2", "selection"});
        EXPECT_EQ(log, expected) << name;
    }
}

TEST(ListBoxSelectionDeletes, ReportTheRowsAsReadingTheSelectionWould)
{
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> logs[2];
        std::vector<std::wstring> rows[2];
        std::vector<unsigned> picks(30);
        for (unsigned& pick : picks)
            pick = random() % 3;
        const int current = static_cast<int>(random() % 30);
        // A selection of several rows kept into single selection, where the view moves it off a
        // current row that is deleted.
        const bool single = round % 2 == 1;
        for (int predicted = 0; predicted < 2; ++predicted) {
            QWidget window;
            ListBox list;
            list.Create(&window);
            static_cast<ListBoxImpl&>(*list.GetBaseImpl()).predictRemovals = predicted != 0;
            list.SetSingleSelection(false);
            for (int row = 0; row < 30; ++row)
                list.AddItem(std::to_wstring(row), any());
            list.SetSel(current, false, true);
            for (int row = 0; row < 30; ++row) {
                if (picks[row] == 0)
                    list.SetSel(row, true, false);
            }
            list.SetSingleSelection(single);
            std::vector<std::string>& log = logs[predicted];
            list.OnRowSelectionChanged.Add([&log](int row) { log.push_back("row " + std::to_string(row)); });
            list.OnSelectionChanged.Add([&log] { log.push_back("selection"); });
            list.DeleteSelItems();
            list.SetSel(0, true, false);
            for (int row = 0; row < list.Count(); ++row)
                rows[predicted].push_back(list.GetItem(row, 0));
        }
        if (std::count(picks.begin(), picks.end(), 0u) > 0) {
            EXPECT_FALSE(logs[1].empty()) << "deleted selected rows are reported";
        }
        ASSERT_EQ(logs[1], logs[0]) << "round " << round << " single " << single;
        ASSERT_EQ(rows[1], rows[0]);
    }
}

TEST_F(ListBoxTest, AHandlerMayChangeItsOwnList)
{
    AddRows({L"a", L"b"});
    int calls = 0;
    list->OnItemChanged.Add([this, &calls](int row) {
        ++calls;
        list->SetItemText(row, L"handled");
    });
    list->SetItemText(1, L"typed");
    EXPECT_EQ(list->GetItem(1, 0), L"handled");
    EXPECT_LE(calls, 3);
}

TEST_F(ListBoxTest, HitTestNamesTheRegion)
{
    list->SetCheckMode(ListBox::QtCheckBoxes);
    list->SetColumnsCount(2);
    auto texts = Texts({L"a", L"b"});
    list->AddItemEx(texts, any());
    QStyleOptionViewItem option = table()->ItemOption(table()->item(0, 0));
    const QRect box = table()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table());
    unsigned int flags = 0;
    int column = -1;
    EXPECT_EQ(list->HitTest({box.center().x(), box.center().y()}, &flags, &column), 0);
    EXPECT_EQ(flags, 8u);
    EXPECT_EQ(column, 0);
    const QPoint second = RowCentre(0, 1);
    EXPECT_EQ(list->HitTest({second.x(), second.y()}, &flags, &column), 0);
    EXPECT_EQ(flags, 4u);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(list->HitTest({5, 150}, &flags, &column), -1);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(column, -1);
}

TEST_F(ListBoxTest, AutomaticTooltipsShowCutTextsOnlyWhenTheyDoNotFit)
{
    list->SetColumnsCount(2);
    list->SetColumnWidth(0, 60);
    auto texts = Texts({L"a text that is far too long for its cell", L"short"});
    list->AddItemEx(texts, any());
    const auto tipAt = [this](QPoint cell) {
        QToolTip::hideText();
        const QPoint global = table()->viewport()->mapToGlobal(cell);
        const bool shown = impl().ShowToolTip(global);
        return shown ? QToolTip::text() : QStringLiteral("(none)");
    };
    EXPECT_EQ(tipAt(RowCentre(0, 0)), QStringLiteral("(none)")) << "automatic tooltips are off";
    list->EnableItemsAutoTooltip(true, 10);
    EXPECT_EQ(tipAt(RowCentre(0, 0)), QStringLiteral("a text th") + QChar(0x2026));
    EXPECT_EQ(tipAt(RowCentre(0, 1)), QStringLiteral("(none)"));
    list->EnableItemsAutoTooltip(true, 0);
    EXPECT_EQ(tipAt(RowCentre(0, 0)), QStringLiteral("a text that is far too long for its cell"));
}

TEST_F(ListBoxTest, HeaderTooltipsComeFromTheHeaderItem)
{
    list->SetColumnName(0, L"Name");
    list->SetHeaderTooltip(0, L"The file's name");
    QHeaderView* header = table()->horizontalHeader();
    const QPoint global = header->viewport()->mapToGlobal(QPoint(20, header->height() / 2));
    QToolTip::hideText();
    EXPECT_TRUE(impl().ShowToolTip(global));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("The file's name"));
    list->EnableColumnNames(false);
    EXPECT_FALSE(impl().ShowToolTip(global));
}

TEST_F(ListBoxTest, ScreenPointsMapToTheViewport)
{
    list->EnableColumnNames(true);
    const Point client{10, 20};
    const Point screen = list->ClientToScreen(client);
    const Point back = list->ScreenToClient(screen);
    EXPECT_EQ(back.x, 10);
    EXPECT_EQ(back.y, 20);
    const QPoint viaViewport = table()->viewport()->mapToGlobal(QPoint(10, 20));
    EXPECT_EQ(screen.x, viaViewport.x());
    EXPECT_EQ(screen.y, viaViewport.y());
}

TEST(ListBoxLifetime, TheTableOutlivesItsControlAsAPlainTable)
{
    QWidget window;
    auto list = std::make_unique<ListBox>();
    list->Create(&window);
    list->SetSingleSelection(false);
    list->AddItem(L"a", any(1L));
    list->AddItem(L"b", any());
    auto* table = static_cast<QTableWidget*>(list->GetPlatformHandle());
    list.reset();
    table->item(0, 0)->setText(QStringLiteral("still here"));
    table->selectAll();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(table->rowCount(), 2);
}

TEST(ListBoxLifetime, WithoutItsTableTheListAnswersNeutrally)
{
    ListBox list;
    delete list.GetPlatformHandle();
    EXPECT_EQ(list.Count(), -1);
    EXPECT_EQ(list.AddItem(L"a", any()), -1);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(list.DeleteSelItems());
    EXPECT_FALSE(list.IsSingleSelection());
    EXPECT_FALSE(list.IsSortingEnabled());
    EXPECT_EQ(ExceptionText([&list] { list.ScreenToClient({0, 0}); }), "Control is not valid.");
    EXPECT_EQ(list.AddRootItem(L"x", any()), nullptr);
    EXPECT_EQ(list.GetTreeItemIndex(nullptr), -1);
}
