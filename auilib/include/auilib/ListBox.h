#pragma once

#include "AUILibAny.h"
#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "RGBColor.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace AUILib {

class Edit;
class ListBoxImpl;

// A row of a tree mode that the list box does not have: every operation on it answers empty.
class ListBoxTreeItem;

// A multi-column list of text cells, each row with an optional check box and picture, and a
// payload of the caller's per row and per cell. Rows are addressed as they are shown (after sorting).
class ListBox : public BaseGUIObject
{
public:
    enum CheckMode : std::int32_t {
        NoCheckBoxes = 0,
        QtCheckBoxes = 1,   // Qt toggles the box
        BoxClickToggles = 2, // a press on the box toggles it
        SelectionChecks = 3, // the check follows presses and the selection
    };
    enum SortMode : std::int32_t { Ascending = 0, Descending = 1 };
    enum HeaderStyle : std::int32_t { PictureLeft = 0, PictureRight = 1 };
    enum Editable : std::int32_t { NotEditable = 0 };
    enum EditMode : std::int32_t {
        NoEdit = 0,
        EditEditor = 1,
        ComboBoxEditor = 2,
        DateEditor = 3,
        ColumnEditMode = 4,
    };
    // This cell's text and data for the column, the other's; true when this cell sorts first.
    using SortFunction = std::function<bool(std::wstring, any, std::wstring, any)>;

    ListBox();
    ~ListBox() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    virtual void SetBackgroundColor(int rgb);
    virtual int GetBackgroundColor();
    virtual void SetTextColor(int rgb);
    virtual int GetTextColor();
    virtual void AddPictureToHeader(int column, const std::wstring& path, int size, BitmapType);
    virtual void AddPictureToHeader(int column, const unsigned char* bytes, int length, ImageTypes type, int size,
                                    BitmapType);
    // Returns the row where the new row stands after a re-sort.
    virtual int AddItem(const std::wstring& text, any data);
    // Returns the insertion row, before any re-sort.
    virtual int AddItemEx(std::list<std::wstring>& texts, any data);
    virtual int AddRow(std::list<std::wstring>& texts, std::list<any> datas);
    // Row -1 is the end; a row past the end inserts nothing and answers -1.
    virtual int InsertItem(int row, const std::wstring& text, any data);
    virtual int InsertItemEx(int row, std::list<std::wstring>& texts, any data);
    virtual int InsertRow(int row, std::list<std::wstring>& texts, std::list<any> datas);
    virtual bool DeleteItem(ListBoxTreeItem* item);
    // The table's icon size is set even when the cell is missing.
    virtual void AddPictureEx(int row, int column, const std::wstring& path, int size, BitmapType);
    virtual void AddPictureEx(int row, int column, const unsigned char* bytes, int length, ImageTypes type, int size,
                              BitmapType);
    virtual void AddPicture(int row, const std::wstring& path, int size, BitmapType type);
    virtual void AddPicture(int row, const unsigned char* bytes, int length, ImageTypes type, int size,
                            BitmapType bitmapType);
    virtual void AddPictureSysIcon(int row, const std::wstring& path);
    virtual void AddPictureSysIconEx(int row, int column, const std::wstring& path);
    // Rows go; columns, labels and the stored item data stay.
    virtual void Clear();
    virtual int Count();
    virtual std::wstring GetItem(int row, int column);
    virtual std::list<std::wstring> GetItemEx(int row);
    // The first cell, in any column, whose whole text equals `text` in any letter case.
    virtual int GetItemIndex(const std::wstring& text);
    // Deleted rows keep their item data in the store.
    virtual bool DeleteItem(int row);
    // False, and nothing changes, unless the whole run lies inside the table.
    virtual bool DeleteItems(int first, int count);
    virtual bool DeleteSelItems();
    virtual void SetSel(int row, bool select, bool setCurrent);
    virtual void ClearSel();
    virtual std::list<std::wstring> SelectedItems();
    virtual std::list<int> SelectedItemsIndexes();
    // Applies to rows added afterwards.
    virtual void SetCheckMode(CheckMode mode);
    virtual CheckMode GetCheckMode();
    virtual void SetCheck(int row, bool check);
    // True for the partial state too.
    virtual bool GetCheck(int row);
    virtual std::list<std::wstring> CheckedItems();
    virtual std::list<int> CheckedItemsIndexes();
    virtual bool IsSingleSelection();
    virtual void SetSingleSelection(bool single);
    virtual bool IsSortingEnabled();
    virtual void SortingEnable(bool on);
    virtual bool EnsureVisible(int row);
    virtual any GetItemData(int row);
    virtual any GetItemDataEx(int row, int column);
    // Replaces the row's data, keeping the data of the other columns.
    virtual bool SetItemData(int row, any data);
    virtual bool SetItemDataEx(int row, int column, any data);
    virtual bool SetItemText(int row, const std::wstring& text);
    virtual bool SetItemText(int row, int column, const std::wstring& text);
    virtual bool SetItemTextEx(int row, std::list<std::wstring>& texts);
    virtual bool RemoveItemData(int row);
    virtual void SetShowGridlines(bool on);
    // The next row after `start` whose column-0 text begins with `text` in any letter case; no wrap.
    virtual int FindString(const std::wstring& text, int start);
    // `flags`: 1 nowhere, 2 picture, 4 cell, 8 check box, 16 row button.
    virtual int HitTest(Point point, unsigned int* flags, int* column);
    // Null bytes remove the row-button column.
    virtual void AddRowButton(const unsigned char* bytes, int length, ImageTypes type);

    void AddRowButton(const std::wstring& path);
    void SetItemTextColor(int row, RGBColor color);
    void SetItemEditMode(int row, int column, EditMode mode);
    void SetColumnEditMode(int column, EditMode mode);

    // Columns and header. SetColumnsCount clears the rows.
    void SetColumnsCount(int count);
    int GetColumnsCount();
    bool SetColumnName(int column, const std::wstring& name);
    void EnableColumnNames(bool on);
    void SetColumnWidth(int column, int width);
    // One entry per column: -1 none, -2 resized to its contents, else a width in pixels.
    std::vector<int> GetColumnsWidth();
    void ResizeColumnToContent(int column, bool on);
    bool IsSetResizeColumnToContent(int column);
    void SetHeaderPictureAlign(int column, HeaderStyle style);
    HeaderStyle GetHeaderPictureAlign(int column);
    void SetHeaderTooltip(int column, const std::wstring& text);

    // Appearance and behaviour.
    void ShowSelection(bool show);
    void UnderlineItems(bool on);
    void SetItemsHeight(int height);
    void SelectItemOnSetFocus(bool on);
    void SetAutomaticSearch(bool on);
    void EnableItemsAutoTooltip(bool enable, int maxLength);
    void EnableWordWrapText(bool on);
    bool IsEnableWordWrapText();
    void SetEditItems(Editable editable);
    bool IsSetEditItems();
    void EnableRowsDragAndDrop(bool on);
    bool IsEnableRowsDragAndDrop();

    // Sorting. Repeated calls without a mode alternate the order.
    bool SortColumn(int column, bool caseSensitive);
    bool SortColumn(int column, SortMode mode, bool caseSensitive);
    // An empty function keeps the column's earlier one.
    void SetColumnSortFunc(int column, const SortFunction& function);
    // Moves the row to the block of pinned rows at the top, which sorting leaves in place.
    void DisableSortingForRow(int row);

    // The tree mode, never built.
    ListBoxTreeItem* AddRootItem(const std::wstring&, any) { return nullptr; }
    ListBoxTreeItem* InsertRootItem(int, const std::wstring&, any) { return nullptr; }
    ListBoxTreeItem* AddSubitem(ListBoxTreeItem*, const std::wstring&, any) { return nullptr; }
    ListBoxTreeItem* InsertSubitem(ListBoxTreeItem*, int, const std::wstring&, any) { return nullptr; }
    ListBoxTreeItem* GetTreeItem(int) { return nullptr; }
    ListBoxTreeItem* GetParentItem(ListBoxTreeItem*) { return nullptr; }
    std::list<ListBoxTreeItem*> GetRootItems() { return {}; }
    std::list<ListBoxTreeItem*> GetChildItems(ListBoxTreeItem*) { return {}; }
    std::list<std::wstring> GetItemTexts(ListBoxTreeItem*) { return {}; }
    std::list<any> GetItemDatas(ListBoxTreeItem*) { return {}; }
    std::list<int> GetItemImageIndexes(ListBoxTreeItem*) { return {}; }
    int SetExpanded(ListBoxTreeItem*, bool) { return -1; }
    int DisableChildItem(ListBoxTreeItem*, bool) { return -1; }
    int GetTreeItemIndex(ListBoxTreeItem*) { return -1; }
    bool IsDisabledChildItem(ListBoxTreeItem*) { return false; }

    HandlerList<int> OnItemClicked;
    HandlerList<int> OnItemDoubleClicked;
    HandlerList<int> OnUnused2;
    HandlerList<int> OnUnused3;
    HandlerList<int> OnItemChanged;
    HandlerList<> OnSelectionChanged;
    HandlerList<int> OnRowSelectionChanged;
    HandlerList<int> OnColumnClicked;
    HandlerList<> OnMultiSelectionBegin;
    HandlerList<> OnMultiSelectionEnd;
    HandlerList<int, Edit*> OnEditStarted;
    HandlerList<int, int, BaseGUIObject*> OnEditorCreated;
    HandlerList<int> OnEditFinished;
    HandlerList<int, int, std::wstring, std::wstring> OnItemTextEdited;
    HandlerList<int> OnUnused14;
    HandlerList<int> OnUnused15;

private:
    friend class ListBoxImpl;

    // Header default size: set once, from the width of a still empty table.
    void SetHeaderDefaultSize();
    // After a cell of `column` changed: a column sized to its contents follows them.
    void AutoResizeColumn(int column);
    int AddOneColumn(int row, const std::wstring& text, const any& data);
    int AddColumns(int row, std::list<std::wstring>& texts, const any& data);
    int AddRowWithData(int row, std::list<std::wstring>& texts, const std::list<any>& datas);
    void SetCellPicture(int row, int column, const QIcon& icon);

    std::shared_ptr<ListBoxImpl> m_impl;
};

} // namespace AUILib
