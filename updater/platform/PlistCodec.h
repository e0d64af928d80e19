#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// Property lists as QVariant trees: string, integer, real, boolean, date, data, array and dictionary
// map to QString, int/qlonglong, double, bool, QDateTime, QByteArray, QVariantList and QVariantMap.
namespace Plist {

// Reads an XML or binary property list. Corrupt, truncated, oversized or too deeply nested input
// gives nothing rather than a partial tree.
std::optional<QVariant> parse(const QByteArray& bytes);

// Writes `value` as an XML property list; nothing when it holds a type a property list cannot store.
std::optional<QByteArray> toXml(const QVariant& value);

std::optional<QVariant> readFile(const QString& path);

// Replaces `path` as a whole (temporary file, then rename): a reader never sees half a list, and a
// failed write leaves the previous file as it was.
bool writeFile(const QString& path, const QVariant& value);

} // namespace Plist
