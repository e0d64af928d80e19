#include "LabelTextLayout.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace AUILib::LabelTextLayout {

namespace {

const QRegularExpression& LineBreak()
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    return lineBreak;
}

const QChar kEllipsis(0x2026);

} // namespace

QString AlignmentClause(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral(" text-align: right;");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral(" text-align: center;");
    return QStringLiteral(" text-align: left;");
}

QString Paragraph(const QString& text, int lineHeight, const QString& alignmentClause)
{
    return QStringLiteral("<p style=\"white-space: pre-wrap;") + alignmentClause + QStringLiteral(" line-height:")
        + QString::number(lineHeight) + QStringLiteral("%\">") + text + QStringLiteral("</p>");
}

QString LineBreaksAsHtml(QString text)
{
    return text.replace(LineBreak(), QStringLiteral("<br>"));
}

QString StripAnchors(const QString& text, std::vector<RemovedAnchor>& removed)
{
    static const QRegularExpression anchor(QStringLiteral("<a[^>]*>([^<]*)</a>"));
    QString stripped = text;
    int correction = 0;
    QRegularExpressionMatchIterator matches = anchor.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString whole = match.captured(0);
        const QString inner = match.captured(1);
        const int position = match.capturedStart(0) - correction;
        removed.push_back({whole, position});
        stripped.replace(position, whole.size(), inner);
        correction += whole.size() - inner.size();
    }
    return stripped;
}

QString RestoreAnchors(const QString& text, const std::vector<RemovedAnchor>& removed, const QString& linkText)
{
    QString restored = text;
    if (!text.endsWith(kEllipsis))
        return restored;
    // From the last anchor back, so that the positions of the earlier ones still hold.
    for (auto record = removed.rbegin(); record != removed.rend(); ++record) {
        const int position = record->position;
        if (position >= text.size())
            continue;
        QString anchor = record->anchor;
        QString shownLink = linkText;
        if (text.size() <= position + linkText.size()) {
            shownLink = linkText.left(text.size() - position - 1);
            if (!shownLink.isEmpty()) {
                anchor.replace(QLatin1Char('>') + linkText + QLatin1Char('<'),
                               QLatin1Char('>') + shownLink + QLatin1Char('<'));
            }
        }
        restored.replace(position, shownLink.size(), anchor);
    }
    return restored;
}

int ElisionWidth(const QString& text, const QFontMetrics& metrics, int width)
{
    int linesBefore = 0;
    for (const QString& line : text.split(LineBreak())) {
        if (line.isEmpty())
            continue;
        const int lineWidth = metrics.boundingRect(line).width();
        if (lineWidth >= width)
            break;
        linesBefore += lineWidth;
    }
    return linesBefore + width;
}

} // namespace AUILib::LabelTextLayout
