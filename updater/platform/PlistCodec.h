#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// Property lists as QVariant trees: string, integer, real, boolean, date, data, array and dictionary
// map to QString, int/qlonglong, double, bool, QDateTime, QByteArray, QVariantList and QVariantMap.
namespace Plist {

// Bounds on what this layer takes into memory. No plausible preference list comes near them; a list
// beyond them is refused as a whole rather than read in part.
constexpr qint64 kMaxBytes = 256 * 1024 * 1024;
constexpr int kMaxNesting = 128;
constexpr quint64 kMaxObjects = 1000000;

enum class ReadStatus {
    Ok,
    Missing,    // no such file
    Unreadable, // the file exists but cannot be opened
    Malformed,  // not a property list at all: garbage, truncated, a wrong header
    Refused,    // possibly a valid list, but beyond the bounds above, holding a string or key with
                // U+0000, or holding a type this layer does not map
};

struct ReadResult {
    ReadStatus status = ReadStatus::Malformed;
    QVariant value; // the list when status is Ok
};

// Reads an XML or binary property list, telling why when it cannot.
ReadResult parseList(const QByteArray& bytes);
ReadResult readListFile(const QString& path);

// The same, for callers to whom any failure is simply no list.
std::optional<QVariant> parse(const QByteArray& bytes);
std::optional<QVariant> readFile(const QString& path);

// Writes `value` as an XML property list; nothing when it holds a type a property list cannot store.
std::optional<QByteArray> toXml(const QVariant& value);

// Replaces `path` as a whole (temporary file, then rename): a reader never sees half a list, and a
// failed write leaves the previous file as it was. A failure says why in `failure`, when given.
bool writeFile(const QString& path, const QVariant& value, QString* failure = nullptr);

} // namespace Plist
