#pragma once

#include "BaseGUIObject.h"
#include "MultiLineEdit.h"

#include <cstdint>
#include <memory>
#include <string>

namespace AUILib {

// Formatted multi-line text whose selection's character format is read and written as a plain
// record. It starts refusing rich-text input and without line wrap.
class RichEdit : public BaseGUIObject
{
public:
    class impl;

    using Selection = MultiLineEdit::Selection;

    // The multi-line edit's bits.
    enum flag : std::uint32_t {
        ReadOnly = MultiLineEdit::ReadOnly,
        Border = MultiLineEdit::Border,
        Visible = MultiLineEdit::Visible,
        WordWrap = MultiLineEdit::WordWrap,
    };

    struct CharFormat_
    {
        enum Effect : std::uint32_t {
            Bold = 1,
            Italic = 2,
            Underline = 4,
            StrikeOut = 8,
        };

        std::int32_t size = -1;   // points; -1 leaves it unset
        std::int32_t colour = -1; // 0xRRGGBB; -1 leaves it unset
        std::uint32_t effects = 0;
        std::wstring face;        // empty leaves it unset
    };

    RichEdit();
    ~RichEdit() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    Size MinimumIdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // As plain text in the default format; fires onTextChanged only.
    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    void SetStyle(flag removeFlags, flag addFlags);
    Selection GetSel();
    void SetSel(Selection selection);
    bool acceptRichText() const;
    void setAcceptRichText(bool accept);
    // An unset size reads 0, a missing colour black.
    CharFormat_ GetSelectionCharFormat();
    // Replaces the selection's whole format: what the record leaves unset is removed. Nothing
    // happens without a selection.
    void SetSelectionCharFormat(CharFormat_ format);

    HandlerList<> onTextChanged;
    // Any change but SetText's, fired just before onTextChanged.
    HandlerList<> onTextEdited;

private:
    std::shared_ptr<impl> m_impl;
};

constexpr RichEdit::flag operator|(RichEdit::flag first, RichEdit::flag second)
{
    return RichEdit::flag(std::uint32_t(first) | std::uint32_t(second));
}

} // namespace AUILib
