#include "RichEdit.h"

#include "AUILibConfig.h"
#include "RichEditImpl.h"
#include "TextEditOperations.h"
#include "UntilNul.h"
#include "WideText.h"

#include <QTextCharFormat>

namespace AUILib {

namespace {

constexpr int kBoldWeight = 75;
constexpr int kNormalWeight = 50;

} // namespace

RichEdit::impl::impl(RichEdit& owner)
    : m_widget(new RichEditQt)
{
    m_widget->setAcceptRichText(false);
    TrackConnection(QObject::connect(m_widget, &QTextEdit::textChanged, [this, &owner] {
        if (!m_settingText)
            FireHandlers(owner.onTextEdited);
        FireHandlers(owner.onTextChanged);
    }));
    m_widget->setLineWrapMode(QTextEdit::NoWrap);
    m_cursor = m_widget->textCursor();
}

RichEdit::impl::~impl()
{
    ReleaseWidget(m_widget);
}

void RichEdit::impl::SetText(const std::wstring& text)
{
    if (!m_widget)
        return;
    // A plain text takes the cursor's format as a whole, which would be the format the old text ended in.
    QTextCursor cursor = m_widget->textCursor();
    cursor.clearSelection();
    cursor.setCharFormat(QTextCharFormat());
    m_widget->setTextCursor(cursor);
    m_settingText = true;
    m_widget->setPlainText(ToQString(UntilNul(text)));
    m_settingText = false;
}

RichEdit::Selection RichEdit::impl::GetSel()
{
    if (!m_widget)
        return {};
    const auto [start, end] = TextEditOperations::GetSelection(*m_widget, m_cursor);
    return {start, end};
}

void RichEdit::impl::SetSel(Selection selection)
{
    if (m_widget)
        TextEditOperations::SetSelection(*m_widget, m_cursor, selection.start, selection.end);
}

RichEdit::CharFormat_ RichEdit::impl::GetSelectionCharFormat()
{
    CharFormat_ result;
    if (!m_widget)
        return result;
    m_cursor = m_widget->textCursor();
    const QTextCharFormat format = m_cursor.charFormat();
    result.colour = static_cast<std::int32_t>(format.foreground().color().rgb() & 0xFFFFFFu);
    result.face = ToWString(format.fontFamily());
    result.size = static_cast<std::int32_t>(format.fontPointSize());
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() == kBoldWeight)
        result.effects |= CharFormat_::Bold;
    if (format.fontItalic())
        result.effects |= CharFormat_::Italic;
    if (format.fontStrikeOut())
        result.effects |= CharFormat_::StrikeOut;
    if (format.fontUnderline())
        result.effects |= CharFormat_::Underline;
    return result;
}

void RichEdit::impl::SetSelectionCharFormat(const CharFormat_& format)
{
    if (!m_widget)
        return;
    m_cursor = m_widget->textCursor();
    if (m_cursor.selectionStart() < 0 || m_cursor.selectionStart() >= m_cursor.selectionEnd())
        return;
    QTextCharFormat applied;
    if (format.size >= 0)
        applied.setFontPointSize(format.size);
    if (format.colour >= 0)
        applied.setForeground(QBrush(QColor(static_cast<QRgb>(format.colour))));
    if (format.effects & CharFormat_::Bold)
        applied.setFontWeight(kBoldWeight);
    if (format.effects & CharFormat_::Italic)
        applied.setFontItalic(true);
    if (format.effects & CharFormat_::StrikeOut)
        applied.setFontStrikeOut(true);
    if (format.effects & CharFormat_::Underline)
        applied.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    if (format.effects == 0) {
        applied.setUnderlineStyle(QTextCharFormat::NoUnderline);
        applied.setFontStrikeOut(false);
        applied.setFontItalic(false);
        applied.setFontWeight(kNormalWeight);
    }
    if (!format.face.empty())
        applied.setFontFamily(ToQString(format.face));
    m_cursor.setCharFormat(applied);
}

RichEdit::RichEdit()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::RichEdit);
}

RichEdit::~RichEdit()
{
    m_impl.reset();
}

bool RichEdit::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size RichEdit::IdealSize()
{
    return m_impl->IdealSize();
}

Size RichEdit::MinimumIdealSize()
{
    return m_impl->MinimumIdealSize();
}

std::shared_ptr<BaseImpl> RichEdit::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* RichEdit::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void RichEdit::SetText(const std::wstring& text)
{
    m_impl->SetText(text);
}

std::wstring RichEdit::GetText() const
{
    const RichEditQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->toPlainText()) : std::wstring();
}

void RichEdit::SetStyle(flag removeFlags, flag addFlags)
{
    if (RichEditQt* widget = m_impl->Widget())
        TextEditOperations::SetStyle(*widget, removeFlags, addFlags);
}

RichEdit::Selection RichEdit::GetSel()
{
    return m_impl->GetSel();
}

void RichEdit::SetSel(Selection selection)
{
    m_impl->SetSel(selection);
}

bool RichEdit::acceptRichText() const
{
    const RichEditQt* widget = m_impl->Widget();
    return widget && widget->acceptRichText();
}

void RichEdit::setAcceptRichText(bool accept)
{
    if (RichEditQt* widget = m_impl->Widget())
        widget->setAcceptRichText(accept);
}

RichEdit::CharFormat_ RichEdit::GetSelectionCharFormat()
{
    return m_impl->GetSelectionCharFormat();
}

void RichEdit::SetSelectionCharFormat(CharFormat_ format)
{
    m_impl->SetSelectionCharFormat(format);
}

} // namespace AUILib
