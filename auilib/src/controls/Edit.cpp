#include "Edit.h"

#include "AUILibConfig.h"
#include "EditImpl.h"
#include "UntilNul.h"
#include "WideText.h"

#include <QAction>
#include <QTemporaryFile>

#include <algorithm>

namespace AUILib {

Edit::impl::impl(Edit& owner)
    : m_owner(owner)
    , m_widget(new EditQt(owner))
{
    m_focusWatcher = new FocusWatcher(m_widget);
    TrackConnection(QObject::connect(m_widget, &QLineEdit::textChanged,
                                     [this](const QString& text) { ApplyTextRule(text); }));
    TrackConnection(QObject::connect(m_widget, &QLineEdit::textChanged,
                                     [&owner](const QString& text) { FireHandlers(owner.onTextChanged, ToWString(text)); }));
    TrackConnection(QObject::connect(m_widget, &QLineEdit::textEdited,
                                     [&owner](const QString& text) { FireHandlers(owner.onTextEdited, ToWString(text)); }));
    TrackConnection(QObject::connect(m_focusWatcher, &FocusWatcher::focusChanged, [&owner](bool in) {
        if (!in)
            FireHandlers(owner.onFocusLost);
    }));
}

Edit::impl::~impl()
{
    if (m_widget)
        m_widget->ReleaseOwner();
    ReleaseWidget(m_widget);
}

void Edit::impl::SetTextSuppressed(const QString& text)
{
    SetProgrammaticChange(true);
    m_widget->setText(text);
    SetProgrammaticChange(false);
}

void Edit::impl::Rewrite(const QString& text, int cursor)
{
    m_rewriting = true;
    SetProgrammaticChange(true);
    m_widget->setText(text);
    if (cursor >= 0)
        m_widget->setCursorPosition(cursor);
    SetProgrammaticChange(false);
    m_rewriting = false;
}

void Edit::impl::ApplyTextRule(const QString& changed)
{
    if (!m_widget || m_rewriting)
        return;
    const int cursor = m_widget->cursorPosition();
    const QString suffix = ToQString(m_suffix);
    QString text = changed;
    if (m_settingText) {
        // The program's text is taken as given; only the suffix goes back to the end.
        if (!suffix.isEmpty() && text.endsWith(suffix))
            text.chop(suffix.size());
    } else if (!suffix.isEmpty() && !text.isEmpty()) {
        if (text.contains(suffix) && cursor != text.size()) {
            text.chop(suffix.size());
        } else {
            // Typed into the suffix or after it: the last good text comes back.
            text = m_lastAccepted;
            if (text.isEmpty())
                Rewrite(suffix, -1);
        }
    }
    std::wstring filtered = ToWString(text);
    FilterNumberText(m_numbers, filtered, false);
    m_lastAccepted = ToQString(filtered);
    if (suffix.isEmpty() && m_lastAccepted == text)
        return;
    Rewrite(m_lastAccepted + suffix, cursor);
}

void Edit::impl::SetText(const QString& text)
{
    if (!m_widget)
        return;
    m_settingText = true;
    SetTextSuppressed(text);
    m_settingText = false;
    m_widget->home(false);
    m_widget->deselect();
}

void Edit::impl::SetSuffix(const std::wstring& suffix)
{
    if (!m_widget)
        return;
    QString text = m_widget->text();
    const QString previous = ToQString(m_suffix);
    if (!previous.isEmpty()) {
        const int found = text.indexOf(previous);
        if (found >= 0)
            text.remove(found, previous.size());
    }
    m_suffix = suffix;
    SetText(text + ToQString(suffix));
}

void Edit::impl::SetColour(int rgb, bool text)
{
    if (!m_widget)
        return;
    m_colour = rgb;
    m_widget->setAutoFillBackground(true);
    QPalette palette = m_widget->palette();
    palette.setBrush(QPalette::All, text ? m_widget->foregroundRole() : m_widget->backgroundRole(),
                     QBrush(QColor(static_cast<QRgb>(rgb))));
    m_widget->setPalette(palette);
}

void Edit::impl::SetAutoComplete(const std::vector<std::wstring>& words)
{
    if (!m_widget)
        return;
    auto record = std::make_unique<AutoComplete>();
    for (const std::wstring& word : words)
        record->words.append(ToQString(word));
    // The widget owns its completers: a replaced one goes with it.
    record->completer = new QCompleter(record->words, m_widget);
    record->completer->setCaseSensitivity(Qt::CaseInsensitive);
    record->lineEdit = m_widget;
    m_widget->setCompleter(record->completer);
    m_autoComplete = std::move(record);
}

void Edit::impl::EnableAutoComplete(bool enable)
{
    if (m_autoComplete && m_widget)
        m_widget->setCompleter(enable ? m_autoComplete->completer.data() : nullptr);
}

void Edit::impl::SetSelection(int start, int length)
{
    if (!m_widget)
        return;
    const int textLength = m_widget->text().size();
    start = std::clamp(start, 0, textLength);
    if (length < 0 || length > textLength - start)
        length = textLength - start;
    m_widget->setSelection(start, length);
}

bool Edit::impl::ShowBalloonTip(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon)
{
    if (!m_balloonTip)
        m_balloonTip = std::make_unique<PromptsPopup>();
    m_balloonTip->Create(m_widget, text, 0, 3000, true);
    m_balloonTip->SetTitle(title);
    m_balloonTip->SetTitleIcon(icon);
    m_balloonTip->Show(true, -1, -1);
    return true;
}

bool Edit::impl::HideBalloonTip()
{
    if (m_balloonTip)
        m_balloonTip->Show(false, -1, -1);
    return true;
}

void Edit::impl::EnableExtendedButton(const std::wstring& normalImage, const std::wstring& hoverImage)
{
    if (!m_widget || m_widget->IsExtendedButtonEnabled())
        return;
    const QIcon normal(ToQString(normalImage));
    QAction* action = m_widget->addAction(normal, QLineEdit::TrailingPosition);
    Edit& owner = m_owner;
    TrackConnection(QObject::connect(action, &QAction::triggered, [&owner] { FireHandlers(owner.onExtendedButtonClicked); }));
    TrackConnection(QObject::connect(action, &QAction::hovered, m_widget, &EditQt::ShowHoverIcon));
    m_widget->EnableExtendedButton(normal, QIcon(ToQString(hoverImage)));
}

void Edit::impl::ExtendedButtonSetImage(const unsigned char* data, int length, ImageTypes type, bool hover)
{
    if (!m_widget || !data || length <= 0)
        return;
    QIcon icon;
    if (type == ImageTypes::ICO) {
        QTemporaryFile file;
        if (!file.open())
            return;
        file.write(reinterpret_cast<const char*>(data), length);
        file.flush();
        icon = QIcon(file.fileName());
    } else {
        QPixmap pixmap;
        if (!pixmap.loadFromData(data, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str()))
            return;
        pixmap.setDevicePixelRatio(m_widget->devicePixelRatio());
        icon = QIcon(pixmap);
    }
    if (icon.availableSizes().isEmpty())
        return;
    m_widget->SetExtendedButtonIcon(icon, hover);
}

Edit::Edit()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::Edit);
}

Edit::~Edit()
{
    m_impl.reset();
}

bool Edit::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size Edit::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> Edit::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Edit::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void Edit::SetTextAlign(TextAlign align)
{
    EditQt* widget = m_impl->Widget();
    if (!widget)
        return;
    switch (align) {
    case TextAlign::Left:
        widget->setAlignment(Qt::AlignLeft);
        break;
    case TextAlign::Center:
        widget->setAlignment(Qt::AlignHCenter);
        break;
    default:
        widget->setAlignment(Qt::AlignRight);
        break;
    }
}

void Edit::SetSelectAll()
{
    if (EditQt* widget = m_impl->Widget()) {
        widget->setFocus(Qt::OtherFocusReason);
        widget->selectAll();
    }
}

void Edit::SetFocus()
{
    if (EditQt* widget = m_impl->Widget())
        widget->setFocus(Qt::OtherFocusReason);
}

void Edit::SetLimitText(int limit)
{
    if (EditQt* widget = m_impl->Widget())
        widget->setMaxLength(limit);
}

void Edit::SetReadOnly(bool readOnly)
{
    if (EditQt* widget = m_impl->Widget())
        widget->setReadOnly(readOnly);
}

bool Edit::IsReadOnly()
{
    const EditQt* widget = m_impl->Widget();
    return widget && widget->isReadOnly();
}

void Edit::OnlyNumbers(bool enable, int min, int max, std::shared_ptr<PromptsPopup> rejected,
                       std::shared_ptr<PromptsPopup> outOfRange)
{
    OnlyNumbersData& numbers = m_impl->Numbers();
    numbers.enabled = enable ? 1 : 0;
    numbers.integersOnly = true;
    numbers.allowNegative = min < 0;
    numbers.minInt = min;
    numbers.maxInt = max;
    numbers.invalidPrompt = std::move(rejected);
    numbers.rangePrompt = std::move(outOfRange);
}

void Edit::OnlyNumbers(bool enable, double min, double max, std::shared_ptr<PromptsPopup> rejected, int decimals)
{
    OnlyNumbers(enable, min, max, std::move(rejected), nullptr, decimals);
}

void Edit::OnlyNumbers(bool enable, double min, double max, std::shared_ptr<PromptsPopup> rejected,
                       std::shared_ptr<PromptsPopup> outOfRange, int decimals)
{
    OnlyNumbersData& numbers = m_impl->Numbers();
    numbers.enabled = enable ? 1 : 0;
    numbers.integersOnly = false;
    numbers.allowNegative = min < 0;
    numbers.minDouble = min;
    numbers.maxDouble = max;
    numbers.decimals = decimals;
    numbers.invalidPrompt = std::move(rejected);
    numbers.rangePrompt = std::move(outOfRange);
}

void Edit::SetBackgroundColor(int rgb)
{
    m_impl->SetColour(rgb, false);
}

int Edit::GetBackgroundColor()
{
    return m_impl->Colour();
}

void Edit::SetTextColor(int rgb)
{
    m_impl->SetColour(rgb, true);
}

void Edit::SetPlaceHolderTextColor(RGBColor colour)
{
    EditQt* widget = m_impl->Widget();
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::PlaceholderText, QBrush(QColor(static_cast<QRgb>(colour))));
    widget->setPalette(palette);
}

int Edit::GetTextColor()
{
    return m_impl->Colour();
}

void Edit::SetText(const std::wstring& text)
{
    m_impl->SetText(ToQString(UntilNul(text)));
}

std::wstring Edit::GetText() const
{
    const EditQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->text()) : std::wstring();
}

std::wstring Edit::GetTextRaw() const
{
    return GetText();
}

void Edit::SetPasswordMode(PasswordMode mode)
{
    if (EditQt* widget = m_impl->Widget())
        widget->setEchoMode(mode == Password ? QLineEdit::Password : QLineEdit::Normal);
}

Edit::PasswordMode Edit::GetPasswordMode()
{
    const EditQt* widget = m_impl->Widget();
    return widget && widget->echoMode() == QLineEdit::Password ? Password : Normal;
}

void Edit::SetFrameMode(bool frame)
{
    if (EditQt* widget = m_impl->Widget())
        widget->setFrame(frame);
}

bool Edit::GetFrameMode()
{
    const EditQt* widget = m_impl->Widget();
    return widget && widget->hasFrame();
}

int Edit::IsSetOnlyNumbers()
{
    const OnlyNumbersData& numbers = m_impl->Numbers();
    if (numbers.enabled == 0)
        return 0;
    return numbers.integersOnly ? 1 : 2;
}

void Edit::SetSuffix(const std::wstring& suffix)
{
    m_impl->SetSuffix(UntilNul(suffix));
}

void Edit::SetPlaceHolderText(const std::wstring& text)
{
    if (EditQt* widget = m_impl->Widget())
        widget->setPlaceholderText(ToQString(UntilNul(text)));
}

void Edit::SetBorderColor(unsigned int colour)
{
    if (EditQt* widget = m_impl->Widget()) {
        widget->setStyleSheet(QStringLiteral("border-style: outset; border-width: 1px;  border-color:")
                              + QColor(static_cast<QRgb>(colour)).name(QColor::HexArgb) + QStringLiteral(";"));
    }
}

void Edit::SetAutoComplete(const std::vector<std::wstring>& words)
{
    m_impl->SetAutoComplete(words);
}

void Edit::EnableAutoComplete(bool enable)
{
    m_impl->EnableAutoComplete(enable);
}

void Edit::SetCursorPosition(int position)
{
    EditQt* widget = m_impl->Widget();
    if (!widget || position < 0)
        return;
    widget->setCursorPosition(std::min(position, widget->text().size()));
    widget->setFocus(Qt::OtherFocusReason);
}

int Edit::GetCursorPosition()
{
    const EditQt* widget = m_impl->Widget();
    return widget ? widget->cursorPosition() : 0;
}

void Edit::SetSelection(int start, int length)
{
    m_impl->SetSelection(start, length);
}

int Edit::SelectionStart() const
{
    const EditQt* widget = m_impl->Widget();
    return widget ? widget->selectionStart() : -1;
}

int Edit::SelectionLength() const
{
    const EditQt* widget = m_impl->Widget();
    return widget ? widget->selectionLength() : 0;
}

void Edit::InsertContextMenu(const std::shared_ptr<ContextMenu>& menu)
{
    m_impl->InsertedMenu() = menu;
}

void Edit::RemoveContextMenu()
{
    m_impl->InsertedMenu().reset();
}

std::shared_ptr<ContextMenu> Edit::GetContextMenu()
{
    return m_impl->InsertedMenu();
}

bool Edit::ShowBalloonTip(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon)
{
    return m_impl->ShowBalloonTip(title, text, icon);
}

bool Edit::HideBalloonTip()
{
    return m_impl->HideBalloonTip();
}

void Edit::EnableExtendedButton(const std::wstring& normalImage, const std::wstring& hoverImage)
{
    m_impl->EnableExtendedButton(normalImage, hoverImage);
}

void Edit::ExtendedButtonSetImage(const std::wstring& normalImage, const std::wstring& hoverImage)
{
    EditQt* widget = m_impl->Widget();
    if (widget && widget->IsExtendedButtonEnabled() && widget->ExtendedButton())
        widget->SetExtendedButtonIcons(QIcon(ToQString(normalImage)), QIcon(ToQString(hoverImage)));
}

void Edit::ExtendedButtonSetImage(const unsigned char* data, int length, ImageTypes type, bool hover)
{
    m_impl->ExtendedButtonSetImage(data, length, type, hover);
}

QWidget* Edit::GetWndPtr()
{
    return m_impl->GetWidget();
}

} // namespace AUILib
