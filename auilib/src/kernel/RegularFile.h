#pragma once

#include <optional>
#include <string>
#include <vector>

namespace AUILib::RegularFile {

// The whole content of a regular file at a UTF-8 path. Anything else (a folder, a FIFO, a device)
// is refused without blocking on it, as is a file that cannot be read to its end.
std::optional<std::vector<unsigned char>> Read(const std::string& utf8Path);

} // namespace AUILib::RegularFile
