#pragma once

#include "BaseGUIObject.h"

#include <list>
#include <memory>
#include <vector>

namespace AUILib {

// Panes side by side with handles between them; the form puts the panes in.
class Splitter : public BaseGUIObject
{
public:
    class impl;

    Splitter();
    ~Splitter() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Each does nothing (or answers false) once the widget is gone.
    void SetSizes(const std::list<int>& sizes);
    void SetHandleWidth(int width);
    // With dynamic resizing the panes follow the handle while it is dragged.
    void SetDynamicResizing(bool dynamic);
    bool DynamicResizing() const;

    // The panes are the form's: the splitter keeps no views of its own.
    void AddView(BaseGUIObject*) {}
    std::vector<BaseGUIObject*> GetViews() const { return {}; }

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
