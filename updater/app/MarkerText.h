#pragma once

#include <QPair>
#include <QString>
#include <QVector>

// Fills printf-style markers ("%s", "%d") of a translatable pattern with ready texts, in one pass from
// left to right: a filled-in text is never read as a marker, and a marker the caller does not give
// stays as it is. Translations are data, so they never reach a printf-style formatter.
QString fillMarkers(const QString& pattern, const QVector<QPair<QString, QString>>& values);
