#pragma once

// Reading and writing lengths in picas and points, such as 3p6 (3 picas 6 points), and their
// value in picas (3.5). Everything they depend on comes in as an argument.
#include "PicaPoint.h"

#include <QChar>
#include <QString>
#include <QStringList>

namespace AUILib {

constexpr double kPointsPerPica = 12.0;

// Points of 12 or more, by magnitude, move whole picas out of the points, away from zero: {1, 14} is
// {2, 2}, {-1, 14} is {-2, 2} and {0, -14} is {-1, 2}. A negative length comes back with its sign on
// the picas, or on the points when it has no picas: {2, -6} is {-2, 6}.
PicaPoint FoldedPicaPoint(PicaPoint value);

// The length in picas; negative when either part is.
double PicaToValue(PicaPoint value);

// Folded, then written as picas, "p" and the points with `decimals` decimals, every "." of it as
// `decimalChar`: (3, 6) with 2 decimals is 3p6.00, (0, -14) is -1p2.00 and (0, 11.999) is 1p0.00.
QString PicaText(PicaPoint value, int decimals, QChar decimalChar);

// Empty when the text holds no pica length, else four texts: what was read, the picas, the whole
// points, and the points' fraction with its decimal point. A text with `separator` reads as picas
// (with their sign, "-0" for a negative length under one pica), separator, points and a fraction
// after `localeDecimalPoint` ("p6" as "0p6"); a plain decimal number reads as picas, to a millionth
// of a point, so 2.5 is 2 picas 6 points and -2.3 is -2 picas -3.6 points.
QStringList PicaParse(QString text, QChar separator, QChar localeDecimalPoint);

// The length that a non-empty result of PicaParse holds; the picas are read as a 32-bit number,
// saturated at its ends, and the sign of "-0" picas goes to the points.
PicaPoint PicaPointFromEntries(const QStringList& entries);

// The length of a value in picas: its whole picas, saturated to 32 bits, and the rest as points.
PicaPoint PicaPointFromValue(double picas);

// Saturated at the ends of the 32-bit range; NaN gives 0.
std::int32_t TruncatedToInt32(double value);

} // namespace AUILib
