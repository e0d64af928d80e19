#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "HandlerList.h"

#include <memory>
#include <string>

namespace AUILib {

// Whatever the owner of a set of radio buttons keeps about their group: it derives its own record.
// A radio button only carries the pointer; exclusivity is Qt's, among buttons of one parent.
struct GroupInfo
{
    virtual ~GroupInfo() = default;
};

// A radio button that shows a text or, once one is loaded, a picture instead.
class RadioButton : public BaseGUIObject
{
public:
    class impl;

    RadioButton();
    ~RadioButton() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Switching off works on an auto-exclusive button too. Nothing once the widget is gone.
    virtual void SetCheck(bool on);
    // False once the widget is gone.
    virtual bool Checked();
    // A path whose complete suffix is "ico" (any case) loads the icon's picture of `iconSize`.
    // A picture replaces the text; one that cannot be read leaves neither text nor picture.
    virtual void LoadPicture(const std::wstring& path, ScalePicture mode, int iconSize);
    virtual void LoadPicture(const unsigned char* data, int size, ImageTypes type, ScalePicture mode, int iconSize);

    void SetText(const std::wstring& text);
    // Empty once the widget is gone.
    std::wstring GetText() const;
    void SetGroupInfo(std::shared_ptr<GroupInfo> info) { m_groupInfo = std::move(info); }
    std::shared_ptr<GroupInfo> GetGroupInfo() const { return m_groupInfo; }

    // Every click.
    HandlerList<> OnClicked;
    // After OnClicked, for the click that follows the button's switching on: the click that
    // switches it on, or the first click after SetCheck(true) switched it on.
    HandlerList<> OnChecked;

private:
    std::shared_ptr<impl> m_impl;
    std::shared_ptr<GroupInfo> m_groupInfo;
};

} // namespace AUILib
