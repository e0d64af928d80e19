#pragma once

#include <QMenu>

#include <string>
#include <unordered_map>

namespace AUILib {

// The menu's widget: shows an entry's tool tip while the pointer rests on it.
class ContextMenuQt : public QMenu
{
    Q_OBJECT
public:
    explicit ContextMenuQt(QWidget* parent);

    std::unordered_map<int, std::wstring>& ToolTips() { return m_toolTips; }
    int ToolTipMaxWidth() const { return m_toolTipMaxWidth; }
    void SetToolTipMaxWidth(int width) { m_toolTipMaxWidth = width; }

    static bool IsToolTipWidth(int width) { return width >= 51 && width <= 32766; }

    void onActionHovered(QAction* action);

private:
    std::unordered_map<int, std::wstring> m_toolTips;
    int m_toolTipMaxWidth = -1;
};

} // namespace AUILib
