#include "Label.h"

#include "AUILibConfig.h"
#include "FontDataQt.h"
#include "LabelImpl.h"
#include "LabelTextLayout.h"
#include "UntilNul.h"
#include "WideText.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QMovie>
#include <QPainter>
#include <QTemporaryFile>

#include <algorithm>

namespace AUILib {

namespace {

constexpr Qt::Alignment kCentred = Qt::AlignHCenter | Qt::AlignVCenter;

// A disabled label's text: each channel three quarters of the way to white.
int Lightened(int channel)
{
    return static_cast<int>(channel + (255 - channel) * 0.75);
}

Size SizeOf(const QPixmap& pixmap)
{
    return {pixmap.width(), pixmap.height()};
}

} // namespace

Label::impl::impl(Label& owner)
    : m_widget(new LabelQt(owner))
{
    TrackConnection(QObject::connect(m_widget, &QLabel::linkActivated,
                                     [&owner](const QString&) { FireHandlers(owner.OnLinkClicked); }));
}

Label::impl::~impl()
{
    if (m_widget)
        m_widget->ReleaseOwner();
    ReleaseWidget(m_widget);
}

QString Label::impl::LaidOutPlain(const QString& text) const
{
    QString laidOut = LabelTextLayout::Paragraph(text, m_lineHeight,
                                                 LabelTextLayout::AlignmentClause(m_widget->alignment()));
    if (m_widget->textFormat() == Qt::RichText)
        laidOut = LabelTextLayout::LineBreaksAsHtml(laidOut);
    return laidOut;
}

QString Label::impl::LaidOutTruncated(const QString& text) const
{
    const QString& linkText = m_widget->LinkText();
    std::vector<LabelTextLayout::RemovedAnchor> anchors;
    const QString shown = linkText.isEmpty() ? text : LabelTextLayout::StripAnchors(text, anchors);
    const QFontMetrics metrics(m_widget->font());
    QString laidOut = metrics.elidedText(shown, Qt::ElideRight,
                                         LabelTextLayout::ElisionWidth(shown, metrics, m_widget->width()));
    if (m_lineHeight >= 0)
        laidOut = LabelTextLayout::Paragraph(laidOut, m_lineHeight, QString());
    if (!linkText.isEmpty())
        laidOut = LabelTextLayout::RestoreAnchors(laidOut, anchors, linkText);
    return laidOut;
}

void Label::impl::LayOutText(const std::wstring& text)
{
    m_text = text;
    if (!m_widget)
        return;
    const QString plain = ToQString(text);
    if (m_truncate)
        m_widget->setText(LaidOutTruncated(plain));
    else if (m_lineHeight < 0)
        m_widget->setText(plain);
    else
        m_widget->setText(LaidOutPlain(plain));
}

void Label::impl::LayOutAgain(const std::wstring& text)
{
    if (m_widget && !m_widget->ShowsPicture())
        LayOutText(text);
}

void Label::impl::SetPlainText(const std::wstring& text)
{
    if (m_widget)
        m_widget->ForgetLink();
    LayOutText(text);
}

void Label::impl::SetLinkText(const std::wstring& before, const std::wstring& link, const std::wstring& after,
                              const std::wstring& target)
{
    if (!m_widget)
        return;
    m_widget->setTextFormat(Qt::RichText);
    m_widget->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                      | Qt::LinksAccessibleByKeyboard);
    const QString href = target.empty() ? QStringLiteral("#") : ToQString(target);
    const std::wstring composed = before + L"<a style='color: "
        + ToWString(QColor(static_cast<QRgb>(m_widget->LinkColor())).name()) + L"' href='" + ToWString(href) + L"'>"
        + link + L"</a> " + after;
    // The parts go in first: cutting the text to the width takes the link out by its text.
    m_widget->SetLinkParts(ToQString(before), ToQString(link), ToQString(after), href);
    LayOutText(composed);
    if (!target.empty())
        m_widget->setOpenExternalLinks(true);
    m_widget->setBuddy(m_widget);
}

void Label::impl::SetHyperlinkColor(RGBColor link)
{
    if (!m_widget)
        return;
    m_widget->SetLinkColors(link, link, link);
    if (m_truncate) {
        // Where it stands, and in the stored text that the next layout cuts again.
        if (!m_widget->ShowsPicture())
            m_widget->setText(m_widget->Recoloured(m_widget->text()));
        m_text = ToWString(m_widget->Recoloured(ToQString(m_text)));
    } else if (!m_widget->LinkText().isEmpty()) {
        // Through the layout, which keeps the line height and the text for the layouts after.
        LayOutText(ToWString(m_widget->RebuiltLink(link)));
    }
    m_widget->repaint();
}

std::wstring Label::impl::GetText() const
{
    if (!m_text.empty() && (m_truncate || m_lineHeight >= 0))
        return m_text;
    return m_widget ? ToWString(m_widget->text()) : m_text;
}

void Label::impl::SetFont(const FontData& font)
{
    if (m_widget)
        m_widget->setFont(Overlaid(m_widget->font(), font));
}

FontData Label::impl::GetFont()
{
    if (m_widget)
        return FontDataOf(QFontInfo(m_widget->font()));
    FontData none;
    none.pointSize = -1.0;
    return none;
}

void Label::impl::SetTextAlign(TextAlign align)
{
    if (!m_widget)
        return;
    switch (align) {
    case TextAlign::Left:
        m_widget->setAlignment(Qt::AlignLeft);
        break;
    case TextAlign::Center:
        m_widget->setAlignment(Qt::AlignHCenter);
        break;
    default:
        m_widget->setAlignment(Qt::AlignRight);
        break;
    }
    if (m_lineHeight >= 0)
        LayOutAgain(GetText());
}

TextAlign Label::impl::GetTextAlign() const
{
    if (!m_widget)
        return TextAlign::Left;
    const Qt::Alignment alignment = m_widget->alignment();
    if (alignment & Qt::AlignRight)
        return TextAlign::Right;
    return alignment & Qt::AlignHCenter ? TextAlign::Center : TextAlign::Left;
}

void Label::impl::SetVCenter(bool center)
{
    if (m_widget)
        m_widget->setAlignment(m_widget->alignment() | (center ? Qt::AlignVCenter : Qt::AlignTop));
}

bool Label::impl::GetVCenter() const
{
    return m_widget && (m_widget->alignment() & Qt::AlignVCenter);
}

void Label::impl::SetRoleColor(QPalette::ColorRole role, const QColor& colour)
{
    m_widget->setAutoFillBackground(true);
    QPalette palette = m_widget->palette();
    palette.setBrush(QPalette::All, role, QBrush(colour));
    m_widget->setPalette(palette);
}

void Label::impl::SetBackgroundColor(int rgb)
{
    if (!m_widget)
        return;
    m_backgroundColor = rgb;
    SetRoleColor(m_widget->backgroundRole(), QColor(static_cast<QRgb>(rgb)));
}

void Label::impl::SetTextColor(int rgb)
{
    if (!m_widget)
        return;
    m_textColor = rgb;
    PaintTextColor();
}

void Label::impl::PaintTextColor()
{
    if (!m_widget)
        return;
    const QColor colour(static_cast<QRgb>(m_textColor));
    SetRoleColor(m_widget->foregroundRole(),
                 m_widget->isEnabled()
                     ? colour
                     : QColor(Lightened(colour.red()), Lightened(colour.green()), Lightened(colour.blue()), 255));
}

void Label::impl::SetWordWrap(bool wrap)
{
    if (!m_widget)
        return;
    m_wordWrap = wrap ? 1 : 0;
    if (wrap && m_truncate) {
        m_truncate = false;
        if (m_text.empty())
            m_text = GetText();
        LayOutAgain(m_text);
    }
    m_widget->setWordWrap(m_wordWrap != 0);
}

void Label::impl::TruncateTextToEllipses(bool truncate)
{
    if (!m_widget || truncate == m_truncate)
        return;
    m_truncate = truncate;
    if (truncate) {
        m_wordWrap = 0;
        m_widget->setWordWrap(false);
    }
    if (m_text.empty())
        m_text = GetText();
    LayOutAgain(m_text);
}

void Label::impl::SetLineSpacing(int percent)
{
    if (!m_widget)
        return;
    // The text is read under the old line height: under -1 the widget's text is the paragraph.
    const std::wstring text = GetText();
    m_lineHeight = percent;
    LayOutAgain(text);
}

int Label::impl::DevicePixelRatio() const
{
    return m_widget->devicePixelRatio();
}

int Label::impl::IconSize(int size) const
{
    return size < 1 ? std::min(m_widget->width(), m_widget->height()) : size;
}

Size Label::impl::SetScaledPixmap(const QPixmap& pixmap, ScalePicture scale, bool gif)
{
    if (pixmap.isNull())
        return {};
    const QSize target = scale == ScalePicture::Stretch ? m_widget->sizeHint() : m_widget->size();
    const QPixmap scaled = AUILibUtils::ScaleBitmap(pixmap, scale, target);
    if (scaled.isNull())
        return {};
    if (!gif) {
        m_widget->setAlignment(kCentred);
        ForgetText();
        m_widget->ShowPixmap(scaled);
    }
    return SizeOf(scaled);
}

Size Label::impl::SetScaledMovie(const QByteArray& bytes, const QPixmap& firstFrame, ScalePicture scale)
{
    const Size scaled = SetScaledPixmap(firstFrame, scale, true);
    if (scaled.width == 0 && scaled.height == 0)
        return {};
    auto* movie = new QMovie;
    auto* buffer = new QBuffer(movie);
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    movie->setDevice(buffer);
    if (!movie->isValid()) {
        delete movie;
        return {};
    }
    const int ratio = DevicePixelRatio();
    movie->setCacheMode(QMovie::CacheAll);
    movie->setScaledSize(QSize(scaled.width / ratio, scaled.height / ratio));
    movie->jumpToFrame(0);
    m_widget->setAlignment(kCentred);
    ForgetText();
    m_widget->ShowMovie(movie);
    return scaled;
}

Size Label::impl::LoadPicture(const std::wstring& path, ScalePicture scale, int size)
{
    if (!m_widget)
        return {};
    const QString file = ToQString(path);
    const QString suffix = QFileInfo(file).completeSuffix().toUpper();
    QPixmap pixmap;
    if (suffix == QLatin1String("ICO")) {
        pixmap = AUILibUtils::SelectIcon(QIcon(file), IconSize(size));
    } else {
        pixmap.load(file);
        pixmap.setDevicePixelRatio(DevicePixelRatio());
    }
    if (suffix != QLatin1String("GIF"))
        return SetScaledPixmap(pixmap, scale, false);
    QFile gif(file);
    if (!gif.open(QIODevice::ReadOnly))
        return {};
    return SetScaledMovie(gif.readAll(), pixmap, scale);
}

Size Label::impl::LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size)
{
    if (!m_widget)
        return {};
    if (!data) {
        ForgetText();
        m_widget->ShowNothing();
        return {};
    }
    if (length <= 0)
        return {};
    QPixmap pixmap;
    if (type == ImageTypes::ICO) {
        QTemporaryFile icon;
        if (!icon.open())
            return {};
        icon.write(reinterpret_cast<const char*>(data), length);
        icon.flush();
        pixmap = AUILibUtils::SelectIcon(QIcon(icon.fileName()), IconSize(size));
    } else {
        pixmap.loadFromData(data, static_cast<uint>(length), AUILibUtils::ImageTypeToStr(type).c_str());
        pixmap.setDevicePixelRatio(DevicePixelRatio());
    }
    if (type != ImageTypes::GIF)
        return SetScaledPixmap(pixmap, scale, false);
    return SetScaledMovie(QByteArray(reinterpret_cast<const char*>(data), length), pixmap, scale);
}

bool Label::impl::PlayGif()
{
    QMovie* movie = m_widget ? m_widget->movie() : nullptr;
    if (!movie || !movie->isValid())
        return false;
    movie->start();
    return true;
}

bool Label::impl::StopGif()
{
    QMovie* movie = m_widget ? m_widget->movie() : nullptr;
    if (!movie || !movie->isValid())
        return false;
    movie->stop();
    return true;
}

void Label::impl::DrawTxt(const std::wstring& text)
{
    if (!m_widget || m_widget->width() <= 0 || m_widget->height() <= 0)
        return;
    QPixmap picture(m_widget->size());
    picture.fill(m_widget->palette().brush(QPalette::Window).color());
    QPainter painter(&picture);
    painter.setFont(m_widget->font());
    painter.drawText(QRect(0, 0, m_widget->width(), m_widget->height()), static_cast<int>(m_widget->alignment()),
                     ToQString(text));
    painter.end();
    ForgetText();
    m_widget->ShowPixmap(picture);
}

Label::Label()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::Label);
}

Label::~Label()
{
    m_impl.reset();
}

bool Label::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size Label::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> Label::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Label::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void Label::SetFont(FontData& font)
{
    m_impl->SetFont(font);
}

void Label::SetTextAlign(TextAlign align)
{
    m_impl->SetTextAlign(align);
}

TextAlign Label::GetTextAlign()
{
    return m_impl->GetTextAlign();
}

void Label::SetVCenter(bool center)
{
    m_impl->SetVCenter(center);
}

bool Label::GetVCenter()
{
    return m_impl->GetVCenter();
}

void Label::SetBackgroundColor(int rgb)
{
    m_impl->SetBackgroundColor(rgb);
}

int Label::GetBackgroundColor()
{
    return m_impl->GetBackgroundColor();
}

void Label::SetTextColor(int rgb)
{
    m_impl->SetTextColor(rgb);
}

int Label::GetTextColor()
{
    return m_impl->GetTextColor();
}

FontData Label::GetFont()
{
    return m_impl->GetFont();
}

Size Label::LoadPicture(const std::wstring& path, ScalePicture scale, int size)
{
    return m_impl->LoadPicture(path, scale, size);
}

Size Label::LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size)
{
    return m_impl->LoadPicture(data, length, type, scale, size);
}

bool Label::PlayGif()
{
    return m_impl->PlayGif();
}

bool Label::StopGif()
{
    return m_impl->StopGif();
}

void Label::DrawTxt(const std::wstring& text)
{
    m_impl->DrawTxt(text);
}

QWidget* Label::GetWndPtr()
{
    return m_impl->GetWidget();
}

void Label::SetText(const std::wstring& text, bool)
{
    m_impl->SetPlainText(UntilNul(text));
}

void Label::SetText(const std::wstring& before, const std::wstring& link, const std::wstring& after,
                    const std::wstring& target)
{
    m_impl->SetLinkText(UntilNul(before), UntilNul(link), UntilNul(after), UntilNul(target));
}

void Label::SetHyperlinkColors(RGBColor link, RGBColor, RGBColor)
{
    m_impl->SetHyperlinkColor(link);
}

bool Label::HasHyperlink()
{
    const LabelQt* widget = m_impl->Widget();
    return widget && !widget->LinkText().isEmpty();
}

void Label::SetbDefaultClickProcess(bool handleClicks)
{
    if (LabelQt* widget = m_impl->Widget())
        widget->setOpenExternalLinks(!handleClicks);
}

std::wstring Label::GetText() const
{
    return m_impl->GetText();
}

void Label::SetToolTip(const std::wstring& text)
{
    if (LabelQt* widget = m_impl->Widget())
        widget->setToolTip(ToQString(UntilNul(text)));
}

std::wstring Label::GetToolTip() const
{
    const LabelQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->toolTip()) : std::wstring();
}

void Label::SetBorder()
{
    if (LabelQt* widget = m_impl->Widget())
        widget->setFrameShape(QFrame::Box);
}

void Label::SetWordWrap(bool wrap)
{
    m_impl->SetWordWrap(wrap);
}

void Label::TruncateTextToEllipses(bool truncate)
{
    m_impl->TruncateTextToEllipses(truncate);
}

void Label::SetLineSpacing(int percent)
{
    m_impl->SetLineSpacing(percent);
}

} // namespace AUILib
