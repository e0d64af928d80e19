#include "ListBoxFixture.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

using namespace AUILib;
using ListBoxTesting::Texts;

namespace {

class ListBoxDropTest : public ListBoxTesting::ListBoxFixture
{
protected:
    void SetUp() override
    {
        ListBoxFixture::SetUp();
        list->SetColumnsCount(2);
        list->SetSingleSelection(false);
        list->EnableRowsDragAndDrop(true);
        for (const wchar_t* text : {L"0", L"1", L"2", L"3", L"4"}) {
            auto texts = Texts({text, text});
            list->AddItemEx(texts, any());
        }
    }

    void Select(std::initializer_list<int> rows)
    {
        list->ClearSel();
        for (int row : rows)
            list->SetSel(row, true, false);
    }

    QPoint BelowTheRows() const { return {10, table()->rowViewportPosition(4) + table()->rowHeight(4) + 20}; }
};

} // namespace

TEST_F(ListBoxDropTest, SelectedRowsMoveInFrontOfTheDropRowInTheirOrder)
{
    Select({1, 3});
    table()->MoveSelectedRows(RowCentre(0));
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"1", L"3", L"0", L"2", L"4"}));
    EXPECT_EQ(Column(1), Column(0)) << "every cell moves with its row";

    Select({0, 2});
    table()->MoveSelectedRows(BelowTheRows());
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"3", L"2", L"4", L"1", L"0"}));
}

TEST_F(ListBoxDropTest, RowsWithMissingCellsAreNotLost)
{
    delete table()->takeItem(1, 1);
    delete table()->takeItem(3, 1);
    Select({1, 3, 4});
    table()->MoveSelectedRows(RowCentre(0));
    EXPECT_EQ(list->Count(), 5);
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"1", L"3", L"4", L"0", L"2"}));
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"", L"", L"4", L"0", L"2"}));
}

TEST_F(ListBoxDropTest, ADropLeavesSortingOffWithItsIndicator)
{
    list->SortColumn(0, ListBox::Descending, true);
    Select({4});
    table()->MoveSelectedRows(RowCentre(0));
    EXPECT_FALSE(list->IsSortingEnabled());
    EXPECT_TRUE(table()->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"0", L"4", L"3", L"2", L"1"}));
}

TEST_F(ListBoxDropTest, OnlyMovesFromThisListAreTaken)
{
    Select({3});
    QMimeData mime;
    mime.setData(QStringLiteral("application/x-qabstractitemmodeldatalist"), QByteArray());
    const QPoint point = RowCentre(0);
    QDropEvent fromElsewhere(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table()->viewport(), &fromElsewhere);
    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"0", L"1", L"2", L"3", L"4"}));
    EXPECT_FALSE(fromElsewhere.isAccepted());
}
