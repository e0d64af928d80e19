#include "PromptsPopup.h"

#include "PromptsPopupImpl.h"
#include "WideText.h"

#include <QApplication>
#include <QBuffer>
#include <QIcon>
#include <QToolTip>
#include <QUrl>

namespace AUILib {

namespace {

QString WithLineBreaks(const std::wstring& text)
{
    return ToQString(text).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

const char* const kIconStyle = "<style>td { text-align: left; vertical-align: top; }"
                               " p.small2 { margin: 5px; color: #4A5458; font-size: 12px; font-weight:normal; }"
                               "</style>";

QString TitledStyle(bool boldTitle)
{
    return QStringLiteral("<style>p.small { margin: 0px 5px 0px 10px; line-height: 20px; color: #3E75C7;"
                          " font-size: 18px;%1 }"
                          " p.small2 { margin: 0px 5px 0px 10px; line-height: 20px; color: #4A5458;"
                          " font-size: 12px; font-weight:normal; }</style>")
        .arg(boldTitle ? QStringLiteral(" font-weight:bold;") : QString());
}

} // namespace

PromptsPopup::impl::impl()
    : m_label(new PromptsPopupQt)
{
}

PromptsPopup::impl::~impl()
{
    // The label shows this pop-up's content only: it goes with it.
    delete m_label.data();
}

void PromptsPopup::impl::Create(QWidget* anchor, const std::wstring& text, int timeoutMs, bool closeOnInput)
{
    if (!m_label)
        m_label = new PromptsPopupQt;
    m_label->WatchWindow(anchor->window());
    m_label->WatchAnchor(anchor);
    m_label->setParent(anchor);
    m_label->SetCloseOnInput(closeOnInput);
    m_label->SetTimeout(timeoutMs);
    const int margin = PromptsPopupQt::TextMargin;
    const int topMargin = PromptsPopupQt::TopOffset + PromptsPopupQt::ArrowHeight + margin;
    m_label->setStyleSheet(QStringLiteral("QLabel{border-radius: 5px; margin: %1px; margin-top:%2px;}")
                               .arg(margin)
                               .arg(topMargin));
    m_anchor = anchor;
    m_text = text;

    m_label->setForegroundRole(QPalette::ToolTipText);
    m_label->setBackgroundRole(QPalette::ToolTipBase);
    m_label->setPalette(QToolTip::palette());
    m_label->ensurePolished();
    m_label->setAlignment(Qt::AlignLeft);
    m_label->setIndent(1);
    m_label->setWindowFlags(m_label->windowFlags() | Qt::ToolTip | Qt::FramelessWindowHint);
    m_label->setWindowOpacity(m_label->style()->styleHint(QStyle::SH_ToolTipLabel_Opacity, nullptr, m_label) / 255.0);
    m_label->setFocusPolicy(Qt::StrongFocus);
    m_label->setAttribute(Qt::WA_TranslucentBackground);
}

QString PromptsPopup::impl::IconCell(const QString& attributes) const
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_titleImage.save(&buffer, "PNG", 100);
    return QStringLiteral("<td%1><img height=\"16\" src=\"data:image/png;base64, %2\"></td>")
        .arg(attributes, QString::fromLatin1(png.toBase64()));
}

QString PromptsPopup::impl::Content() const
{
    const bool hasIcon = m_iconKind != IconKind::None;
    if (m_title.empty() && !hasIcon)
        return ToQString(m_text);
    // Title and message are markup of the caller's: they go in as they are.
    if (m_title.empty()) {
        return QLatin1String(kIconStyle) + QStringLiteral("<table><tr>") + IconCell(QString())
            + QStringLiteral("<td><p class=\"small2\"><b>") + WithLineBreaks(m_text)
            + QStringLiteral("</b> </p></td></tr></table>");
    }
    const QString title = ToQString(m_title);
    if (!hasIcon) {
        return TitledStyle(true) + QStringLiteral("<table><tr><td><p class=\"small\"><b>") + title
            + QStringLiteral("</b></p></td></tr><tr><td><p class=\"small2\"><b>") + ToQString(m_text)
            + QStringLiteral("</b></p></td></tr></table>");
    }
    return TitledStyle(false) + QStringLiteral("<table><tr>")
        + IconCell(QStringLiteral(" align=\"middle\" valign=\"middle\""))
        + QStringLiteral("<td><p class=\"small\"><b>") + title
        + QStringLiteral("</b> </p></td></tr><tr><td></td><td><p class=\"small2\"><b>") + WithLineBreaks(m_text)
        + QStringLiteral("</b></p></td></tr></table>");
}

void PromptsPopup::impl::Show(bool show, int x, int y)
{
    if (!m_label)
        return;
    if (!show) {
        m_label->Dismiss();
        return;
    }
    const QPoint requested(x, y);
    QPoint anchorPoint = requested;
    if ((x < 0 || y < 0) && m_anchor)
        anchorPoint = m_anchor->mapToGlobal(QPoint(0, 0));
    m_label->setText(Content());
    if (m_title.empty())
        m_label->FitToText(requested);
    m_label->Present(anchorPoint, m_anchor);
}

bool PromptsPopup::impl::SetTitleIcon(BalloonTipIconType type)
{
    switch (type) {
    case BalloonTipIconType::Information:
        m_standardIcon = QStyle::SP_MessageBoxInformation;
        break;
    case BalloonTipIconType::Warning:
        m_standardIcon = QStyle::SP_MessageBoxWarning;
        break;
    case BalloonTipIconType::Critical:
        m_standardIcon = QStyle::SP_MessageBoxCritical;
        break;
    default:
        m_standardIcon = QStyle::SP_CustomBase;
        m_iconKind = IconKind::None;
        return false;
    }
    m_titleImage = QApplication::style()->standardIcon(m_standardIcon).pixmap(16, 16, QIcon::Normal, QIcon::Off).toImage();
    m_iconKind = IconKind::Standard;
    return true;
}

void PromptsPopup::impl::SetTitleIcon(const std::wstring& path)
{
    const QUrl url(ToQString(path), QUrl::TolerantMode);
    if (!url.isValid())
        return;
    m_titleImage.load(url.path(QUrl::FullyDecoded));
    m_iconKind = IconKind::Picture;
}

bool PromptsPopup::impl::SetTitleIcon(const unsigned char* data, int length)
{
    // No bytes is a failed load: a negative length would read far past the data.
    if (!data || length <= 0)
        return false;
    if (!m_titleImage.loadFromData(data, length))
        return false;
    m_iconKind = IconKind::Picture;
    return true;
}

void PromptsPopup::impl::SetTitle(const std::wstring& title)
{
    if (!title.empty())
        m_title = title;
}

PromptsPopup::PromptsPopup() = default;

PromptsPopup::~PromptsPopup() = default;

bool PromptsPopup::Create(QWidget* anchor, const std::wstring& text, int, int timeoutMs, bool closeOnInput)
{
    if (!anchor)
        return false;
    if (!m_impl)
        m_impl = std::make_unique<impl>();
    m_impl->Create(anchor, text, timeoutMs, closeOnInput);
    return true;
}

void PromptsPopup::Show(bool show, int x, int y)
{
    if (m_impl)
        m_impl->Show(show, x, y);
}

bool PromptsPopup::SetTitleIcon(BalloonTipIconType type)
{
    return m_impl && m_impl->SetTitleIcon(type);
}

void PromptsPopup::SetTitleIcon(const std::wstring& path)
{
    if (m_impl)
        m_impl->SetTitleIcon(path);
}

bool PromptsPopup::SetTitleIcon(const unsigned char* data, int length)
{
    return m_impl && m_impl->SetTitleIcon(data, length);
}

void PromptsPopup::SetTitle(const std::wstring& title)
{
    if (m_impl)
        m_impl->SetTitle(title);
}

bool PromptsPopup::IsDisplayed() const
{
    return m_impl && m_impl->IsDisplayed();
}

QWidget* PromptsPopup::GetWidget() const
{
    return m_impl ? m_impl->GetWidget() : nullptr;
}

} // namespace AUILib
