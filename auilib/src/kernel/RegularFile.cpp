#include "RegularFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AUILib::RegularFile {

std::optional<std::vector<unsigned char>> Read(const std::string& utf8Path)
{
    const int descriptor = ::open(utf8Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    std::optional<std::vector<unsigned char>> contents;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        std::vector<unsigned char> bytes(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            const ssize_t got = ::read(descriptor, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            ok = got > 0;
            if (ok)
                done += static_cast<std::size_t>(got);
        }
        if (ok)
            contents = std::move(bytes);
    }
    ::close(descriptor);
    return contents;
}

} // namespace AUILib::RegularFile
