#include "PicaPoints.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace AUILib {

namespace {

constexpr std::int64_t kMillionths = 1000000;

QString WholeNumber(double value)
{
    return QString::number(value, 'f', 0);
}

} // namespace

std::int32_t TruncatedToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

PicaPoint FoldedPicaPoint(PicaPoint value)
{
    // Points fold by their magnitude: a negative length folds as its positive one, the sign kept.
    const bool negative = value.picas < 0 || value.points < 0;
    const double magnitude = std::fabs(value.points);
    const std::int64_t carried = TruncatedToInt32(magnitude) / 12;
    const double points = carried > 0 ? std::fmod(magnitude, kPointsPerPica) : magnitude;
    if (value.picas < 0)
        return {value.picas - carried, points};
    const std::int64_t picas = value.picas + carried;
    if (!negative)
        return {picas, points};
    // Without picas the points carry the sign.
    return picas == 0 ? PicaPoint{0, -points} : PicaPoint{-picas, points};
}

double PicaToValue(PicaPoint value)
{
    const PicaPoint folded = FoldedPicaPoint(value);
    const double magnitude =
        std::fabs(static_cast<double>(folded.picas)) + std::fabs(folded.points / kPointsPerPica);
    return folded.picas < 0 || folded.points < 0 ? -magnitude : magnitude;
}

QString PicaText(PicaPoint value, int decimals, QChar decimalChar)
{
    // Rounded first, so that points which would show as 12 fold into a pica.
    value.points = QString::number(value.points, 'f', decimals).toDouble();
    const PicaPoint folded = FoldedPicaPoint(value);
    QString text = folded.picas == 0 && folded.points < 0 ? QStringLiteral("-") : QString();
    text += QString::number(folded.picas) + QLatin1Char('p') + QString::number(std::fabs(folded.points), 'f', decimals);
    return text.replace(QLatin1Char('.'), decimalChar);
}

QStringList PicaParse(QString text, QChar separator, QChar localeDecimalPoint)
{
    if (text.startsWith(separator))
        text.prepend(QLatin1Char('0'));
    if (text.contains(separator)) {
        const QRegularExpression pattern(QStringLiteral("(-?\\d+)") + QRegularExpression::escape(separator)
                                         + QStringLiteral("(\\d*)(") + QRegularExpression::escape(localeDecimalPoint)
                                         + QStringLiteral("\\d*)?"));
        const QRegularExpressionMatch match = pattern.match(text);
        if (!match.hasMatch())
            return {};
        return {match.captured(0), match.captured(1), match.captured(2), match.captured(3)};
    }
    // The pica field admits only "." as a decimal point.
    bool ok = false;
    double number = text.toDouble(&ok);
    // A number too long for a double reads as an infinity: it stands at the largest one on its side.
    if (!ok && !std::isinf(number))
        return {};
    number = std::clamp(number, std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max());
    // A negative number is the mirror of the positive one: both parts carry the sign.
    const QString sign = number < 0 ? QStringLiteral("-") : QString();
    double picas = 0;
    const double fractionOfPica = std::modf(std::fabs(number), &picas);
    // Counted in whole millionths of a point, so that 2.3333333 (3.9999996 points) is 2p4 and the
    // fraction is written in digits, never with an exponent.
    std::int64_t millionths = std::llround(fractionOfPica * kPointsPerPica * kMillionths);
    if (millionths == static_cast<std::int64_t>(kPointsPerPica * kMillionths)) {
        picas += 1;
        millionths = 0;
    }
    const std::int64_t wholePoints = millionths / kMillionths;
    QString fraction = QStringLiteral(".%1").arg(millionths % kMillionths, 6, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')) || fraction.endsWith(QLatin1Char('.')))
        fraction.chop(1);
    return {text, sign + WholeNumber(picas), sign + QString::number(wholePoints), fraction};
}

PicaPoint PicaPointFromEntries(const QStringList& entries)
{
    QString fraction = entries.at(3);
    if (!fraction.isEmpty())
        fraction[0] = QLatin1Char('.');
    // Read through a double, so that a count too long for 32 bits stands at the end on its side.
    const std::int64_t picas = TruncatedToInt32(entries.at(1).toDouble());
    double points = (entries.at(2) + fraction).toDouble();
    // Zero picas cannot carry a sign, so "-0" hands it to the points.
    if (picas == 0 && entries.at(1).startsWith(QLatin1Char('-')))
        points = -std::fabs(points);
    return {picas, points};
}

PicaPoint PicaPointFromValue(double picas)
{
    double whole = 0;
    const double fraction = std::modf(picas, &whole);
    return {TruncatedToInt32(whole), fraction * kPointsPerPica};
}

} // namespace AUILib
