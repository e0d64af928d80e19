#pragma once

#include "BaseGUIObject.h"
#include "HandlerList.h"

#include <memory>
#include <string>

namespace AUILib {

// Pages behind tabs; the form puts the pages in.
class TabView : public BaseGUIObject
{
public:
    class impl;

    TabView();
    ~TabView() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Nothing (or an empty text) once the widget is gone. A text ends at its first NUL.
    virtual void SetCurrentIndex(int index);
    virtual void SetTabText(int index, const std::wstring& text);
    virtual std::wstring GetTabText(int index);
    // Nothing for an index out of range; AgnosticUIException once the widget is gone.
    virtual void EnablePage(int index, bool enable, bool recursive);

    // -1 (no current tab) once the widget is gone.
    int GetCurrentIndex() const;
    // 0 once the widget is gone.
    int GetItemCount() const;
    // Both wrap around: the last tab is followed by the first.
    void ActivateNextTab();
    void ActivatePreviousTab();

    // Fired with the index of the tab that became current (-1 when the last tab went).
    HandlerList<int> OnCurrentChanged;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
