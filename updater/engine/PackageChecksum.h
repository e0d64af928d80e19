#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// The MD5 that the update service sends with a package.
namespace PackageChecksum {

// Exactly 32 hexadecimal digits, in either case. Anything else (empty, short, not hex) is no
// digest at all, and the package is taken as it is.
bool isUsableMd5(const std::string& md5);

// The file's MD5 in lower-case hexadecimal; empty when the file cannot be read.
QByteArray md5Of(const QString& filePath);

// `digest`, as md5Of gives it, equals `md5` (ignoring letter case).
bool sameMd5(const QByteArray& digest, const std::string& md5);

} // namespace PackageChecksum
