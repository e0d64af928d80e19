#include "LabelQt.h"

#include "Label.h"
#include "LabelImpl.h"
#include "LabelTextLayout.h"

#include <QDesktopServices>
#include <QEvent>
#include <QMovie>
#include <QRegularExpression>
#include <QUrl>

namespace AUILib {

namespace {

const RGBColor kDefaultLinkColor = QColor(33, 137, 247, 255).rgb();

} // namespace

LabelQt::LabelQt(Label& owner)
    : m_owner(&owner)
    , m_linkColor(kDefaultLinkColor)
    , m_visitedColor(kDefaultLinkColor)
    , m_hoverColor(kDefaultLinkColor)
{
}

LabelQt::~LabelQt() = default;

void LabelQt::SetLinkParts(const QString& before, const QString& link, const QString& after, const QString& target)
{
    m_before = before;
    m_link = link;
    m_after = after;
    m_target = target;
}

void LabelQt::ForgetLink()
{
    SetLinkParts(QString(), QString(), QString(), QString());
}

void LabelQt::SetLinkColors(RGBColor link, RGBColor visited, RGBColor hover)
{
    m_linkColor = link;
    m_visitedColor = visited;
    m_hoverColor = hover;
}

QString LabelQt::Recoloured(QString text) const
{
    static const QRegularExpression colourStyle(QStringLiteral("<a\\s+style='color:\\s*([^']*)'\\s+href="));
    const QRegularExpressionMatch match = colourStyle.match(text);
    if (match.hasMatch()) {
        text.replace(QStringLiteral("color: ") + match.captured(1),
                     QStringLiteral("color: ") + QColor(static_cast<QRgb>(m_linkColor)).name());
    }
    return text;
}

QString LabelQt::RebuiltLink(RGBColor colour) const
{
    QString rebuilt = m_before + QStringLiteral("<a href='") + m_target + QStringLiteral("' style='color:")
        + QColor(static_cast<QRgb>(colour)).name() + QStringLiteral("'>") + m_link + QStringLiteral("</a>") + m_after;
    if (textFormat() == Qt::RichText)
        rebuilt = LabelTextLayout::LineBreaksAsHtml(rebuilt);
    return rebuilt;
}

void LabelQt::ShowMovie(QMovie* movie)
{
    movie->setParent(this);
    QPointer<QMovie> previous = m_movie;
    setMovie(movie);
    m_movie = movie;
    if (previous != movie)
        delete previous.data();
    ForgetLink();
}

void LabelQt::ShowPixmap(const QPixmap& pixmap)
{
    setPixmap(pixmap);
    DropMovieUnlessShown();
    ForgetLink();
}

void LabelQt::ShowNothing()
{
    clear();
    DropMovieUnlessShown();
    ForgetLink();
}

bool LabelQt::ShowsPicture() const
{
    // Qt 5.12 hands the picture out by pointer only.
#if QT_VERSION >= QT_VERSION_CHECK(5, 15, 0)
    const bool stillPicture = !pixmap(Qt::ReturnByValue).isNull();
#else
    const bool stillPicture = pixmap() && !pixmap()->isNull();
#endif
    return stillPicture || movie();
}

void LabelQt::DropMovieUnlessShown()
{
    if (m_movie && movie() != m_movie)
        delete m_movie.data();
}

bool LabelQt::event(QEvent* event)
{
    // The colour is set for every state alike, so the lightening has to follow each change,
    // the window's as well as the label's own.
    if (m_owner && event->type() == QEvent::EnabledChange) {
        const auto impl = std::static_pointer_cast<Label::impl>(m_owner->GetBaseImpl());
        if (impl && impl->GetTextColor() != -1)
            impl->PaintTextColor();
    }
    if (m_owner && !m_link.isEmpty() && event->type() == QEvent::Shortcut) {
        if (openExternalLinks())
            QDesktopServices::openUrl(QUrl(m_target, QUrl::TolerantMode));
        else
            FireHandlers(m_owner->OnLinkClicked);
    }
    return QLabel::event(event);
}

} // namespace AUILib
