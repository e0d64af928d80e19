#pragma once

#include <QString>

namespace Comm {

// Removes the folder `path` and everything in it; true when all of it went or nothing was there.
// A symbolic link is removed as a link: nothing it points to is entered, changed or removed.
bool deleteDir(const QString& path);

// The wide characters of `text` up to its first NUL.
QString ws2qs(const wchar_t* text);

} // namespace Comm
