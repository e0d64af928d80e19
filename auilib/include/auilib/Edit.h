#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "PromptsPopup.h"
#include "RGBColor.h"
#include "TextAlign.h"

#include <memory>
#include <string>
#include <vector>

namespace AUILib {

class ContextMenu;

// Single-line text entry: number-only input with bounds and two prompts, a suffix kept at the end of
// the text, a trailing picture button, a paste reported to the program, a balloon tip,
// auto-completion and colours. The list box and the tree view edit their items with it.
class Edit : public BaseGUIObject
{
public:
    class impl;

    enum PasswordMode : std::int32_t {
        Normal = 0,
        Password = 1,
    };

    Edit();
    ~Edit() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    virtual void SetTextAlign(TextAlign align);
    virtual void SetSelectAll();
    virtual void SetFocus();
    virtual void SetLimitText(int limit);
    virtual void SetReadOnly(bool readOnly);
    virtual bool IsReadOnly();
    // Integers within [min, max]; a negative minimum allows the minus sign. A bound of the int
    // range's end is no bound.
    virtual void OnlyNumbers(bool enable, int min, int max, std::shared_ptr<PromptsPopup> rejected,
                             std::shared_ptr<PromptsPopup> outOfRange);
    // Decimals within [min, max]; a maximum within 0.01 of 2147483647 is no bound.
    virtual void OnlyNumbers(bool enable, double min, double max, std::shared_ptr<PromptsPopup> rejected,
                             int decimals);
    virtual void OnlyNumbers(bool enable, double min, double max, std::shared_ptr<PromptsPopup> rejected,
                             std::shared_ptr<PromptsPopup> outOfRange, int decimals);
    virtual void SetBackgroundColor(int rgb);
    // The last colour given to SetBackgroundColor or SetTextColor, -1 before either.
    virtual int GetBackgroundColor();
    virtual void SetTextColor(int rgb);
    virtual void SetPlaceHolderTextColor(RGBColor colour);
    // The same colour as GetBackgroundColor.
    virtual int GetTextColor();

    // Notifies onTextChanged, not onTextEdited; the cursor goes to the start.
    void SetText(const std::wstring& text);
    // The text with its suffix.
    std::wstring GetText() const;
    std::wstring GetTextRaw() const;
    void SetPasswordMode(PasswordMode mode);
    PasswordMode GetPasswordMode();
    void SetFrameMode(bool frame);
    bool GetFrameMode();
    // 0 off, 1 integers, 2 decimals.
    int IsSetOnlyNumbers();
    // Replaces the suffix at the end of the text.
    void SetSuffix(const std::wstring& suffix);
    void SetPlaceHolderText(const std::wstring& text);
    // Replaces the widget's style sheet with a one-pixel border of that colour.
    void SetBorderColor(unsigned int colour);
    void SetBorderColor(RGBColor, RGBColor, RGBColor, RGBColor) {}
    void SetBorderRadius(int) {}
    void SetAutoComplete(const std::vector<std::wstring>& words);
    void EnableAutoComplete(bool enable);
    // Capped at the end of the text; takes the focus. A negative position does nothing.
    void SetCursorPosition(int position);
    int GetCursorPosition();
    // A negative length, or one past the end, selects to the end.
    void SetSelection(int start, int length);
    int SelectionStart() const;
    int SelectionLength() const;
    // A menu of the program's in place of the standard one. At each showing, its entries flagged
    // for a read-only field or an empty clipboard are greyed when that holds and enabled otherwise.
    void InsertContextMenu(const std::shared_ptr<ContextMenu>& menu);
    void RemoveContextMenu();
    std::shared_ptr<ContextMenu> GetContextMenu();
    bool ShowBalloonTip(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon);
    bool HideBalloonTip();
    // A picture button at the end of the field, shown with `hoverImage` while the pointer is on it.
    // Only the first call makes it.
    void EnableExtendedButton(const std::wstring& normalImage, const std::wstring& hoverImage);
    void ExtendedButtonSetImage(const std::wstring& normalImage, const std::wstring& hoverImage);
    // Null data, a length of 0 or less, or a picture that does not decode leaves the icons as they are.
    void ExtendedButtonSetImage(const unsigned char* data, int length, ImageTypes type, bool hover);
    QWidget* GetWndPtr();

    HandlerList<> onExtendedButtonClicked;
    // Every change, the program's included; twice when the field rewrites what was typed (its own
    // rewrite first).
    HandlerList<std::wstring> onTextChanged;
    HandlerList<std::wstring> onTextEdited;
    HandlerList<> onFocusLost;
    // Before any menu is shown.
    HandlerList<> onContextMenu;
    // The clipboard text, before it goes in.
    HandlerList<std::wstring> onPaste;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
