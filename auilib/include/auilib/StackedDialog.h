#pragma once

#include "BaseGUIObject.h"

#include <memory>

namespace AUILib {

class ChildDialog;

// Pages on top of each other, one shown at a time; the pages are the form's child dialogs.
class StackedDialog : public BaseGUIObject
{
public:
    class impl;

    StackedDialog();
    ~StackedDialog() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Nothing (or 0) once the widget is gone.
    virtual void SetCurrentIndex(int index);
    virtual int GetCurrentIndex();
    // Null for an index out of range; AgnosticUIException once the widget is gone.
    virtual QWidget* GetPage(int index);

    // The index the page gets; 0 once the widget is gone.
    int InsertChildDialog(int index, QWidget* page);
    // Pages come in through InsertChildDialog.
    void AddChildDialog(ChildDialog*) {}
    // Nothing for an index out of range; AgnosticUIException once the widget is gone.
    void EnablePage(int index, bool enable, bool recursive);

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
