#pragma once

#include <QString>

#include <vector>

class QFontMetrics;

// The label's text layout: paragraphs with a line height, ellipsis cutting, and hyperlinks taken
// out of a text before it is cut and put back afterwards.
namespace AUILib::LabelTextLayout {

struct RemovedAnchor
{
    QString anchor;   // the whole "<a ...>text</a>"
    int position = 0; // where its text starts in the stripped text
};

// " text-align: left;" and the like, for a label's alignment flags.
QString AlignmentClause(Qt::Alignment alignment);
// `text` in a pre-wrapped paragraph of that line height (percent), with an optional alignment clause.
QString Paragraph(const QString& text, int lineHeight, const QString& alignmentClause);
// Every CR and every LF as "<br>".
QString LineBreaksAsHtml(QString text);
// The anchors replaced by their texts; `removed` receives them in order.
QString StripAnchors(const QString& text, std::vector<RemovedAnchor>& removed);
// Puts the anchors back into a text cut with an ellipsis; `linkText` is the hyperlink's text, cut
// inside its anchor when the ellipsis cut it too.
QString RestoreAnchors(const QString& text, const std::vector<RemovedAnchor>& removed, const QString& linkText);
// Lines narrower than `width` before the first one that is not, plus `width`.
int ElisionWidth(const QString& text, const QFontMetrics& metrics, int width);

} // namespace AUILib::LabelTextLayout
