#pragma once

#include "AUILibAny.h"
#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "FontData.h"
#include "RGBColor.h"

#include <memory>
#include <string>

namespace AUILib {

// A drop-down list with an optional edit field. Items carry a text, a picture, a font and a value
// of the caller's; an item can also be a separator or a header row. Indices are Qt's rows.
class ComboBox : public BaseGUIObject
{
public:
    class impl;

    ComboBox();
    ~ComboBox() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // The index is held within 0 and Count(); returns where the item went.
    virtual int AddItem(const std::wstring& text, any data);
    // An empty text is a separator, another text a header row.
    virtual int AddSeparator(const std::wstring& text, any data);
    virtual void SetSeparatorColor(RGBColor) {}
    virtual int InsertItem(int index, const std::wstring& text, any data);
    // Returns `index` as given.
    virtual int InsertSeparator(int index, const std::wstring& text, any data);
    // The size only picks the picture out of an icon file.
    virtual void AddPicture(int index, const std::wstring& path, ScalePicture scale, Size size, BitmapType);
    virtual void AddPicture(int index, const unsigned char* bytes, int length, ImageTypes type, ScalePicture scale,
                            Size size, BitmapType);
    virtual void AddButton(int, const std::wstring&) {}
    virtual void AddButton(int, const unsigned char*, int, ImageTypes) {}
    virtual void SetCurSel(int index);
    virtual int GetCurSel();
    virtual std::wstring GetItemText(int index);
    virtual std::wstring CurrentText();
    // Fires the text lists except OnTextEdited.
    virtual void SetCurrentText(const std::wstring& text);
    virtual void Clear();
    virtual int Count();
    virtual any GetItemData(int index);
    virtual bool SetItemData(int index, any data);
    virtual bool RemoveItemData(int index);
    // Integers within [min, max] in the edit field.
    virtual void OnlyNumbers(bool on, int min, int max);
    virtual void SetMaxVisibleItems(int count);
    virtual int GetMaxVisibleItems();
    // The next item after `start` whose text begins with `text`, in any case, wrapping round.
    virtual int FindString(const std::wstring& text, int start);
    virtual void AdjustItemWidth();
    virtual void SetAutoComplete(bool on);
    virtual bool IsAutoComplete();
    // The edit-field operations do nothing, or answer -1, without an edit field.
    virtual void SetEditSel(int start, int length);
    virtual int SelectionLength() const;
    virtual int SelectionStart() const;
    virtual void SetCaretPosition(int position);
    virtual int GetCaretPosition();
    virtual void ShowDropDown(bool show) const;
    virtual void SetTextColor(unsigned int rgb);
    virtual void SetSelectedItemTextColor(unsigned int rgb);
    virtual void SetSelectedItemBgColor(RGBColor) {}
    virtual void SetBackgroundColor(unsigned int, unsigned int, unsigned int) {}
    virtual void SetDropDownButtonBackgroundColor(unsigned int) {}
    virtual void ResetDropDownButtonBackgroundColor() {}

    void SetFont(FontData font);
    // Disabling the current item leaves no current item.
    void DisableItem(int index, bool disable);
    bool IsItemDisabled(int index);
    void DeleteString(int index);
    // Fields not given keep the item's present ones.
    void SetItemFont(int index, FontData& font);
    // Fields are 1 for "yes" and -1 for "no" or not given.
    FontData GetItemFont(int index);
    void SetEditable(bool editable);
    void EnableEditListMode(bool on);
    bool GetDroppedState() const;
    bool ShowBalloonTip(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon);
    bool HideBalloonTip();
    void SetBorderRadius(int) {}
    void SetAddToListOnEnterKey(bool on);
    QWidget* GetWndPtr();

    HandlerList<int> OnSelChanged;                               // any change of the current index
    HandlerList<std::wstring> OnTextChanged;                     // the edit text, after number filtering
    HandlerList<std::wstring> OnTextEdited;                      // as OnTextChanged, not from SetCurrentText
    HandlerList<std::wstring, std::wstring> OnTextChangedFromTo; // the text before and after
    HandlerList<std::wstring> OnPaste;                           // the whole edit text after a paste
    HandlerList<int> OnCurrentIndexSelected;                     // Up or Down reached a selectable item

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
