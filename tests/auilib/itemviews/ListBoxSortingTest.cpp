#include "ListBoxFixture.h"

#include "CustomQTableWidgetItem.h"

#include <QHeaderView>

#include <random>

using namespace AUILib;
using ListBoxTesting::Texts;

namespace {

class ListBoxSortingTest : public ListBoxTesting::ListBoxFixture
{
};

// Two cells of one list, their display values set as given.
struct CellPair
{
    QVariant left;
    QVariant right;
    bool less;
};

} // namespace

TEST_F(ListBoxSortingTest, ValuesCompareByTheirClass)
{
    const CellPair cases[] = {
        {9, 10, true},
        {10, 9, false},
        {QStringLiteral("10"), QStringLiteral("9"), true},
        {2, 2.5, true},
        {2.5, 2, false},
        {3, QStringLiteral("25"), false},
        {QChar('a'), 98, true},
        {true, 0, false},
        {QStringLiteral("ABC"), QStringLiteral("abc"), true},
    };
    list->SetColumnsCount(2);
    auto texts = Texts({L"", L""});
    list->AddItemEx(texts, any());
    auto* left = static_cast<CustomQTableWidgetItem*>(table()->item(0, 0));
    auto* right = static_cast<CustomQTableWidgetItem*>(table()->item(0, 1));
    for (const CellPair& pair : cases) {
        // Qt keeps a value that compares equal to the new one (10 and "10"): clear first.
        left->setData(Qt::DisplayRole, QVariant());
        right->setData(Qt::DisplayRole, QVariant());
        left->setData(Qt::DisplayRole, pair.left);
        right->setData(Qt::DisplayRole, pair.right);
        EXPECT_EQ(*left < *right, pair.less) << pair.left.toString().toStdString() << " < "
                                             << pair.right.toString().toStdString();
    }
    impl().caseSensitive = false;
    left->setData(Qt::DisplayRole, QStringLiteral("abc"));
    right->setData(Qt::DisplayRole, QStringLiteral("ABC"));
    EXPECT_FALSE(*left < *right);
    EXPECT_FALSE(*right < *left);
}

TEST_F(ListBoxSortingTest, RepeatedSortsAlternateAndTheCaseFlagHolds)
{
    AddRows({L"b", L"B", L"a", L"A"});
    list->SortColumn(0, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"A", L"B", L"a", L"b"})) << "Qt's first indicator is descending";
    list->SortColumn(0, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"b", L"a", L"B", L"A"}));
    list->SortColumn(0, false);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"a", L"A", L"b", L"B"})) << "equal letters keep their order";
    list->SortColumn(0, ListBox::SortMode(2), true);
    EXPECT_TRUE(list->IsSortingEnabled());
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);

    list->SortingEnable(false);
    list->SortingEnable(true);
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorSection(), -1) << "no column until one is chosen";
    list->AddItem(L"0", any());
    EXPECT_EQ(list->GetItem(4, 0), L"0");
}

TEST_F(ListBoxSortingTest, PinnedRowsStayOnTopInBothOrders)
{
    AddRows({L"e", L"i", L"a", L"g", L"c", L"f", L"b", L"h", L"d"});
    list->SortColumn(0, ListBox::Ascending, true);
    list->DisableSortingForRow(5);
    EXPECT_EQ(list->GetItem(0, 0), L"f");
    list->DisableSortingForRow(7);
    EXPECT_EQ((std::vector<std::wstring>{list->GetItem(0, 0), list->GetItem(1, 0)}),
              (std::vector<std::wstring>{L"f", L"h"}));
    list->DisableSortingForRow(0);
    list->DisableSortingForRow(99);
    EXPECT_EQ(list->Count(), 9) << "pinning a pinned or missing row adds nothing";
    EXPECT_EQ(impl().pinnedRows, 2);

    for (ListBox::SortMode mode : {ListBox::Ascending, ListBox::Descending}) {
        list->SortColumn(0, mode, true);
        list->SetItemText(4, L"zz");
        list->SetItemText(5, L"0");
        const std::vector<std::wstring> column = Column();
        EXPECT_EQ((std::vector<std::wstring>{column[0], column[1]}), (std::vector<std::wstring>{L"f", L"h"}))
            << "order " << mode;
        const std::vector<std::wstring> rest(column.begin() + 2, column.end());
        EXPECT_TRUE(mode == ListBox::Ascending ? std::is_sorted(rest.begin(), rest.end())
                                               : std::is_sorted(rest.rbegin(), rest.rend()));
    }
    list->DeleteItem(0);
    EXPECT_EQ(impl().pinnedRows, 1);
    list->Clear();
    EXPECT_EQ(impl().pinnedRows, 0);
}

TEST_F(ListBoxSortingTest, NumbersIgnorePinning)
{
    AddRows({L"", L"", L""});
    list->DisableSortingForRow(2);
    for (int row = 0; row < 3; ++row)
        table()->item(row, 0)->setData(Qt::DisplayRole, 3 - row * 10 + 20);
    list->SortColumn(0, ListBox::Ascending, true);
    EXPECT_EQ(table()->item(0, 0)->data(Qt::DisplayRole).toInt(), 3);
    EXPECT_TRUE(static_cast<CustomQTableWidgetItem*>(table()->item(0, 0))->pinned == false);
}

TEST_F(ListBoxSortingTest, AColumnFunctionComparesTextsAndData)
{
    list->SetColumnsCount(2);
    const std::pair<const wchar_t*, long> rows[] = {{L"x", 3}, {L"y", 1}, {L"z", 2}};
    for (const auto& [text, weight] : rows) {
        auto texts = Texts({text, L"w"});
        const int row = list->AddItemEx(texts, any());
        list->SetItemDataEx(row, 1, any(weight));
    }
    std::vector<std::wstring> seenTexts;
    list->SetColumnSortFunc(1, [&seenTexts](std::wstring a, any da, std::wstring, any db) {
        seenTexts.push_back(a);
        return *any_cast<long>(&da) < *any_cast<long>(&db);
    });
    list->SetColumnSortFunc(1, ListBox::SortFunction());
    list->SortColumn(1, ListBox::Ascending, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"y", L"z", L"x"})) << "the empty function kept the first";
    EXPECT_FALSE(seenTexts.empty());
    list->SortColumn(1, ListBox::Descending, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"x", L"z", L"y"}));

    table()->item(0, 1)->setData(Qt::DisplayRole, 5);
    table()->item(1, 1)->setData(Qt::DisplayRole, 7);
    table()->item(2, 1)->setData(Qt::DisplayRole, 6);
    list->SortColumn(1, ListBox::Ascending, true);
    EXPECT_EQ(Column(), (std::vector<std::wstring>{L"x", L"y", L"z"})) << "numbers never reach the function";
}

TEST_F(ListBoxSortingTest, ANonStrictFunctionSortsWithoutHarm)
{
    std::mt19937 random(7);
    for (int row = 0; row < 300; ++row)
        list->AddItem(std::to_wstring(random() % 5), any());
    list->SetColumnSortFunc(0, [](std::wstring a, any, std::wstring b, any) { return a <= b; });
    list->SortColumn(0, ListBox::Ascending, true);
    const std::vector<std::wstring> column = Column();
    EXPECT_TRUE(std::is_sorted(column.begin(), column.end()));
    list->SetColumnSortFunc(0, [&random](std::wstring, any, std::wstring, any) { return random() % 2 == 0; });
    list->SortColumn(0, ListBox::Descending, true);
    EXPECT_EQ(list->Count(), 300);
}

namespace {

// Rows appended to a sorted list go straight to their place; the same operations on a list that
// re-sorts after every change must give the same rows.
class Differential
{
public:
    explicit Differential(unsigned seed)
        : random(seed)
    {
        for (ListBox* list : {&direct, &resorted}) {
            list->Create(&window);
            list->SetColumnsCount(3);
        }
    }

    // The number of the first step after which the lists differ, or -1.
    int Run(int steps)
    {
        for (int step = 0; step < steps; ++step) {
            Step();
            if (Rows(direct) != Rows(resorted))
                return step;
        }
        return -1;
    }

    std::string lastStep;

    std::vector<std::wstring> Rows(ListBox& list)
    {
        std::vector<std::wstring> rows;
        auto* table = static_cast<QTableWidget*>(list.GetPlatformHandle());
        for (int row = 0; row < list.Count(); ++row) {
            std::wstring line;
            for (int column = 0; column < 3; ++column)
                line += table->item(row, column) ? list.GetItem(row, column) + L"|" : L"-|";
            line += std::to_wstring(table->item(row, 0)->data(Qt::UserRole).toInt());
            const any data = list.GetItemData(row);
            line += L"/" + (any_cast<long>(&data) ? std::to_wstring(*any_cast<long>(&data)) : std::wstring(L"_"));
            line += static_cast<CustomQTableWidgetItem*>(table->item(row, 0))->pinned ? L"P" : L"";
            rows.push_back(line);
        }
        return rows;
    }

    ListBox direct;
    ListBox resorted;

private:
    std::wstring Key() { return std::wstring(1, L"aAbBc"[random() % 5]); }

    template <typename Operation>
    void Both(Operation operation)
    {
        operation(direct);
        static_cast<ListBoxImpl&>(*resorted.GetBaseImpl()).knownSorted = false;
        operation(resorted);
    }

    void Step()
    {
        const unsigned kind = random() % 12;
        const std::wstring key = Key();
        const std::wstring second = Key();
        const long data = static_cast<long>(random() % 4);
        const int row = static_cast<int>(random() % 8);
        const int column = static_cast<int>(random() % 3);
        const bool flag = random() % 2 == 0;
        lastStep += "; kind " + std::to_string(kind) + " row " + std::to_string(row) + " column " +
                   std::to_string(column) + " flag " + std::to_string(flag);
        if (kind < 4) {
            Both([&](ListBox& list) { list.AddItem(key, any(data)); });
        } else if (kind < 7) {
            Both([&](ListBox& list) {
                std::list<std::wstring> texts{key, second};
                list.AddItemEx(texts, flag ? any(data) : any());
            });
        } else if (kind == 7) {
            Both([&](ListBox& list) { list.SortColumn(column, flag ? ListBox::Ascending : ListBox::Descending, flag); });
        } else if (kind == 8) {
            Both([&](ListBox& list) { list.DisableSortingForRow(row); });
        } else if (kind == 9) {
            Both([&](ListBox& list) { list.DeleteItem(row); });
        } else if (kind == 10) {
            Both([&](ListBox& list) {
                list.SetColumnSortFunc(column, [flag](std::wstring a, any da, std::wstring b, any db) {
                    // A strict weak order: rows without data come as -1.
                    const long x = any_cast<long>(&da) ? *any_cast<long>(&da) : -1;
                    const long y = any_cast<long>(&db) ? *any_cast<long>(&db) : -1;
                    if (x != y)
                        return flag ? x < y : x > y;
                    return a < b;
                });
            });
        } else {
            Both([&](ListBox& list) {
                auto* table = static_cast<QTableWidget*>(list.GetPlatformHandle());
                if (row < table->rowCount())
                    delete table->takeItem(row, 1 + column % 2);
            });
        }
    }

    QWidget window;
    std::mt19937 random;
};

} // namespace

TEST(ListBoxSortedAppend, PlacesRowsWhereAFullResortWould)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Differential run(seed);
        const int differsAfter = run.Run(150);
        EXPECT_EQ(run.Rows(run.direct), run.Rows(run.resorted));
        ASSERT_EQ(differsAfter, -1) << "seed " << seed << " " << run.lastStep;
        ASSERT_EQ(run.Rows(run.direct), run.Rows(run.resorted)) << "seed " << seed;
    }
}
