#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Looks into property-list files with the property-list library itself, independently of the
// updater's own reader, so a test sees what another program would read.
namespace PlistFileView {

// The top-level keys of the dictionary in `path`; empty when the file is not a dictionary list.
QStringList topLevelKeys(const QString& path);

// The string value at `keyPath` (dictionary keys from the top); a null string when absent or not a string.
QString stringAt(const QString& path, const QStringList& keyPath);

// The string at `key` in each dictionary of the array in `path`, in order (a null string where there
// is none); empty when the file is not an array list.
QStringList stringOfEachRecord(const QString& path, const QString& key);

// The integer value at `keyPath`; nothing when absent or not an integer.
std::optional<qint64> integerAt(const QString& path, const QStringList& keyPath);

// Converts an XML list to the binary form.
QByteArray xmlToBinary(const QByteArray& xml);

} // namespace PlistFileView
