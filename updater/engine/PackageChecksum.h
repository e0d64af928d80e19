#pragma once

#include <QString>

#include <string>

// The MD5 that the update service sends with a package.
namespace PackageChecksum {

// Exactly 32 hexadecimal digits, in either case. Anything else (empty, short, not hex) is no
// digest at all, and the package is taken as it is.
bool isUsableMd5(const std::string& md5);

// The file's MD5 equals `md5` (ignoring letter case); false when the file cannot be read.
bool matches(const QString& filePath, const std::string& md5);

} // namespace PackageChecksum
