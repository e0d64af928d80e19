#include "MultiLineEdit.h"

#include "AUILibConfig.h"
#include "MultiLineEditImpl.h"
#include "TextEditOperations.h"
#include "UntilNul.h"
#include "WideText.h"

#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>

namespace AUILib {

MultiLineEdit::impl::impl(MultiLineEdit& owner)
    : m_owner(owner)
    , m_widget(new MultiLineEditQt)
    , m_focusWatcher(new FocusWatcher(m_widget))
{
    TrackConnection(QObject::connect(m_widget, &QPlainTextEdit::textChanged, [this] { OnTextChanged(); }));
    TrackConnection(QObject::connect(m_focusWatcher, &FocusWatcher::focusChanged, [this](bool in) {
        if (!in)
            FireHandlers(m_owner.onFocusLost);
    }));
}

MultiLineEdit::impl::~impl()
{
    if (m_widget)
        m_widget->SetInsertLimit(-1);
    ReleaseWidget(m_widget);
}

void MultiLineEdit::impl::OnTextChanged()
{
    if (m_trimming || !m_widget)
        return;
    if (m_limit >= 0)
        TrimToLimit();
    const std::wstring text = ToWString(m_widget->toPlainText());
    if (text != m_lastText) {
        if (!m_settingText)
            FireHandlers(m_owner.onTextEdited);
        FireHandlers(m_owner.onTextChanged);
    }
    m_lastText = text;
    ApplyAdaptiveHeight();
}

void MultiLineEdit::impl::TrimToLimit()
{
    const QString text = m_widget->toPlainText();
    QTextCursor cursor = m_widget->textCursor();
    const int position = cursor.position();
    int count = std::min(text.size() - m_limit, position);
    if (count <= 0)
        return;
    // Never leave half of a surrogate pair behind.
    if (count < position && text.at(position - count).isLowSurrogate())
        ++count;
    cursor.setPosition(position - count);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    m_trimming = true;
    cursor.removeSelectedText();
    m_trimming = false;
}

void MultiLineEdit::impl::ApplyAdaptiveHeight()
{
    if (!m_adaptiveHeight || !m_widget)
        return;
    const QMargins margins = m_widget->contentsMargins();
    const QTextDocument* document = m_widget->document();
    const double height = margins.top() + margins.bottom()
        + 2 * (document->documentMargin() + m_widget->frameWidth())
        + document->lineCount() * QFontMetrics(m_widget->font()).lineSpacing();
    m_widget->setFixedHeight(static_cast<int>(height));
}

void MultiLineEdit::impl::SetText(const std::wstring& text)
{
    if (!m_widget)
        return;
    m_settingText = true;
    m_widget->setPlainText(ToQString(UntilNul(text)));
    m_settingText = false;
}

MultiLineEdit::Selection MultiLineEdit::impl::GetSel()
{
    if (!m_widget)
        return {};
    const auto [start, end] = TextEditOperations::GetSelection(*m_widget, m_selectionCursor);
    return {start, end};
}

void MultiLineEdit::impl::SetSel(Selection selection)
{
    if (m_widget)
        TextEditOperations::SetSelection(*m_widget, m_selectionCursor, selection.start, selection.end);
}

void MultiLineEdit::impl::SetAdaptiveHeight(bool adaptive)
{
    m_adaptiveHeight = adaptive;
    ApplyAdaptiveHeight();
}

void MultiLineEdit::impl::SetLimitText(int limit)
{
    if (limit <= 0)
        return;
    m_limit = limit;
    if (m_widget)
        m_widget->SetInsertLimit(limit);
}

MultiLineEdit::MultiLineEdit()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::MultiLineEdit);
}

MultiLineEdit::~MultiLineEdit()
{
    m_impl.reset();
}

bool MultiLineEdit::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size MultiLineEdit::IdealSize()
{
    return m_impl->IdealSize();
}

Size MultiLineEdit::MinimumIdealSize()
{
    return m_impl->MinimumIdealSize();
}

std::shared_ptr<BaseImpl> MultiLineEdit::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* MultiLineEdit::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void MultiLineEdit::SetText(const std::wstring& text)
{
    m_impl->SetText(text);
}

std::wstring MultiLineEdit::GetText() const
{
    const MultiLineEditQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->toPlainText()) : std::wstring();
}

void MultiLineEdit::SetStyle(flag removeFlags, flag addFlags)
{
    if (MultiLineEditQt* widget = m_impl->Widget())
        TextEditOperations::SetStyle(*widget, removeFlags, addFlags);
}

void MultiLineEdit::SetScrollBarPolicy(ScrollBarPolicy policy)
{
    MultiLineEditQt* widget = m_impl->Widget();
    if (!widget)
        return;
    switch (policy) {
    case ScrollBarAlwaysOff:
        widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        break;
    case ScrollBarAlwaysOn:
        widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        break;
    default:
        widget->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        break;
    }
}

MultiLineEdit::Selection MultiLineEdit::GetSel()
{
    return m_impl->GetSel();
}

void MultiLineEdit::SetSel(Selection selection)
{
    m_impl->SetSel(selection);
}

void MultiLineEdit::SetAdaptiveHeight(bool adaptive)
{
    m_impl->SetAdaptiveHeight(adaptive);
}

void MultiLineEdit::SetLimitText(int limit)
{
    m_impl->SetLimitText(limit);
}

} // namespace AUILib
