#pragma once

#include "AUILibAny.h"

#include <QList>
#include <QVariant>

#include <string>
#include <utility>

namespace AUILib {

// A node of the tree view's virtual mode: a plain object owned by its parent, the root by the model.
class VirtTreeItem
{
public:
    explicit VirtTreeItem(VirtTreeItem* parent);
    ~VirtTreeItem();
    VirtTreeItem(const VirtTreeItem&) = delete;
    VirtTreeItem& operator=(const VirtTreeItem&) = delete;

    void RemoveChilds();
    // The child keeps the parent it was made with.
    void AppendChild(VirtTreeItem* child);
    void SetRow(int row) { m_row = row; }
    // Null outside the children.
    VirtTreeItem* Child(int row) const;
    VirtTreeItem* ParentItem() const { return m_parent; }
    int ChildCount() const { return m_children.size(); }
    int Row() const { return m_row; }
    // The text for the display role, the check state for the check role, of column 0.
    QVariant Data(int role, int column) const;
    int Level() const { return m_level; }
    void SetText(const std::wstring& text) { m_text = text; }
    const std::wstring& GetText() const { return m_text; }
    void SetTooltip(const std::wstring& text) { m_tooltip = text; }
    const std::wstring& GetTooltip() const { return m_tooltip; }
    void SetData(const any& data) { m_data = data; }
    any GetData() const { return m_data; }
    void SetChecked(bool checked) { m_checked = checked; }
    bool GetChecked() const { return m_checked; }
    void SetCheckAll(bool checkAll) { m_checkAll = checkAll; }
    bool IsCheckAll() const { return m_checkAll; }
    QList<VirtTreeItem*>& GetChildItems() { return m_children; }
    // A negative index is ignored.
    void SetIcon(int index);
    int GetIcon() const { return m_icon; }
    // Each end is ignored when negative; the end is inclusive.
    void SetBoldTextPosition(int start, int end);
    std::pair<int, int> GetBoldTextPosition() const { return {m_boldStart, m_boldEnd}; }

private:
    QList<VirtTreeItem*> m_children;
    VirtTreeItem* m_parent;
    int m_level = 0;
    int m_row = 0;
    bool m_checked = false;
    bool m_flag = true;
    bool m_checkAll = false;
    std::wstring m_text;
    std::wstring m_tooltip;
    int m_icon = -1;
    any m_data;
    int m_boldStart = -1;
    int m_boldEnd = -1;
};

} // namespace AUILib
