#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "FontData.h"
#include "RGBColor.h"

#include <cstdint>
#include <memory>
#include <string>

class QPushButton;

namespace AUILib {

class ContextMenu;

// A push button with a text, pictures for the normal and the disabled state, an optional menu that
// drops down on click, and one of ten looks.
class Button : public BaseGUIObject
{
public:
    class impl;

    // Where text and picture go, and which style sheet the button wears.
    enum ButtonStyle : std::int32_t {
        Standard = 0,
        Transparent = 1,
        PictureAboveText = 2,
        PictureOnly = 3,
        Rounded = 4,
        Expander = 5, // the text behind "+ "
        Plain = 6,
        Link = 7,
        RoundedText = 8,
        RoundedPictureAboveText = 9,
    };

    Button();
    // Wraps a push button that stays the caller's (the standard buttons of a button box).
    explicit Button(QPushButton* button);
    ~Button() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Makes the button checkable first.
    virtual void SetChecked(bool checked);
    virtual bool GetCheck();
    virtual void LoadPicture(const std::wstring& path, ScalePicture scale, int size, bool);
    // Null data or a length below 1 loads nothing.
    virtual void LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size,
                             bool);
    virtual void LoadPictureDisabled(const std::wstring& path, ScalePicture scale, int size, bool);
    virtual void LoadPictureDisabled(const unsigned char* data, int length, ImageTypes type, ScalePicture scale,
                                     int size, bool);
    virtual void GeneratePictureDisabled(bool);
    virtual void UseTextAndIcon(ButtonStyle style);
    virtual void SetStyle(ButtonStyle style);
    virtual ButtonStyle GetStyle();
    // A QRgb colour; its alpha byte is ignored.
    virtual void SetTextColor(int colour);

    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    void Use3dStyle() {}
    void SetTextColor(RGBColor normal, RGBColor disabled);
    void SetBackgroundColor(unsigned int colour, bool allStates);
    // A focus colour of 0xFFFFFFFF takes the hover colour, a pressed colour of 0xFFFFFFFF the normal one.
    void SetBackgroundColor(RGBColor normal, RGBColor hover, RGBColor disabled, RGBColor focus, RGBColor pressed);
    void SetBorderColor(RGBColor normal, RGBColor hover, RGBColor disabled);
    void SetRoundedButtonCornerRadius(int radius);
    int GetRoundedButtonCornerRadius() const;
    void DisableFocusRect(bool disable);
    bool IsDisableFocusRect() const;
    // The menu drops down below the button on each click, before the click is reported.
    void InsertMenuBar(std::shared_ptr<ContextMenu> menu, bool arrow);
    void RemoveMenuBar();
    void SetFont(FontData& font);
    FontData GetFont() const;

    // Fired on every click: mouse, keyboard or programmatic.
    HandlerList<> OnClicked;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
