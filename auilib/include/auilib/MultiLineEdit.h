#pragma once

#include "BaseGUIObject.h"

#include <cstdint>
#include <memory>
#include <string>

namespace AUILib {

// Plain multi-line text with a character limit kept while typing, a height that can follow the
// number of lines, and notifications that tell the user's edits from the program's changes.
class MultiLineEdit : public BaseGUIObject
{
public:
    class impl;

    // Character positions in the plain text.
    struct Selection
    {
        std::int64_t start = 0;
        std::int64_t end = 0;
    };

    enum flag : std::uint32_t {
        ReadOnly = 1,
        Border = 2,   // a styled panel frame, else none
        Visible = 4,
        WordWrap = 8, // at the widget's width, else no wrap
    };

    enum ScrollBarPolicy : std::int32_t {
        ScrollBarAsNeeded = 0,
        ScrollBarAlwaysOff = 1,
        ScrollBarAlwaysOn = 2,
    };

    MultiLineEdit();
    ~MultiLineEdit() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    Size MinimumIdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Fires onTextChanged only.
    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    // Adds `addFlags`, then removes `removeFlags`: a bit in both ends removed.
    void SetStyle(flag removeFlags, flag addFlags);
    // The vertical scroll bar.
    void SetScrollBarPolicy(ScrollBarPolicy policy);
    Selection GetSel();
    // An end of -1 stands for the end of the text; a negative start (or an end below -1) only
    // clears the selection record.
    void SetSel(Selection selection);
    // The height follows the number of lines.
    void SetAdaptiveHeight(bool adaptive);
    // Characters typed or pasted beyond the limit are removed before the cursor. A limit cannot be
    // removed; 0 or less changes nothing.
    void SetLimitText(int limit);

    HandlerList<> onTextChanged;
    // Any change but SetText's, fired just before onTextChanged.
    HandlerList<> onTextEdited;
    HandlerList<> onFocusLost;

private:
    std::shared_ptr<impl> m_impl;
};

constexpr MultiLineEdit::flag operator|(MultiLineEdit::flag first, MultiLineEdit::flag second)
{
    return MultiLineEdit::flag(std::uint32_t(first) | std::uint32_t(second));
}

} // namespace AUILib
