#include "FormDialogFixture.h"

#include "ListBox.h"
#include "ListBoxQt.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

std::vector<std::wstring> FirstColumn(ListBox& list)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < list.Count(); ++row)
        texts.push_back(list.GetItem(row, 0));
    return texts;
}

} // namespace

TEST_F(FormDialogTest, ListBoxesFromAFormFillSortPinEditAndMoveRows)
{
    Dialog dialog(PlaceForm("listboxes.ui"));
    dialog.GetWndPtr()->show();
    for (const wchar_t* name : {L"tblFiles", L"lstNames"}) {
        auto* list = dialog.GetControlPtr<ListBox*>(name);
        ASSERT_TRUE(list) << QString::fromStdWString(name).toStdString();
        auto* table = static_cast<ListBoxQt*>(list->GetPlatformHandle());
        ASSERT_TRUE(table);
        EXPECT_EQ(table->parentWidget(), dialog.GetWndPtr());

        list->SetColumnsCount(2);
        list->SetColumnName(0, L"Name");
        list->SetColumnName(1, L"Size");
        for (const auto& [file, size] : {std::pair{L"delta.pdf", L"4"}, {L"alpha.pdf", L"1"}, {L"charlie.pdf", L"3"},
                                        {L"bravo.pdf", L"2"}}) {
            std::list<std::wstring> texts{file, size};
            list->AddItemEx(texts, any(std::wstring(file)));
        }
        list->SortColumn(0, ListBox::Ascending, true);
        EXPECT_EQ(FirstColumn(*list),
                  (std::vector<std::wstring>{L"alpha.pdf", L"bravo.pdf", L"charlie.pdf", L"delta.pdf"}));
        list->DisableSortingForRow(2);
        list->SortColumn(0, ListBox::Descending, true);
        EXPECT_EQ(FirstColumn(*list),
                  (std::vector<std::wstring>{L"charlie.pdf", L"delta.pdf", L"bravo.pdf", L"alpha.pdf"}));

        std::vector<std::wstring> edited;
        list->OnItemTextEdited.Add([&edited](int, int, std::wstring, std::wstring after) { edited.push_back(after); });
        list->SetEditItems(ListBox::Editable(1));
        table->edit(table->model()->index(3, 0));
        auto* line = table->findChild<QLineEdit*>();
        ASSERT_TRUE(line);
        line->setText(QStringLiteral("zulu.pdf"));
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(edited, std::vector<std::wstring>{L"zulu.pdf"});
        EXPECT_EQ(FirstColumn(*list),
                  (std::vector<std::wstring>{L"charlie.pdf", L"zulu.pdf", L"delta.pdf", L"bravo.pdf"}));

        list->SetSingleSelection(false);
        list->ClearSel();
        list->SetSel(3, true, false);
        table->MoveSelectedRows(table->visualRect(table->model()->index(0, 0)).center());
        EXPECT_EQ(FirstColumn(*list),
                  (std::vector<std::wstring>{L"bravo.pdf", L"charlie.pdf", L"zulu.pdf", L"delta.pdf"}));
        const any data = list->GetItemData(0);
        ASSERT_TRUE(any_cast<std::wstring>(&data));
        EXPECT_EQ(*any_cast<std::wstring>(&data), L"bravo.pdf") << "the row's data moved with it";
        EXPECT_EQ(list->GetItem(0, 1), L"2");
    }
}
