#include "FolderCallFault.h"

#include <QFile>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

struct Fault {
    std::mutex lock;
    std::string prefix; // empty: no fault
    int error = 0;
    std::atomic<int> failures{0};
};

// Never destroyed: folders are made until the very end of the program.
Fault& fault()
{
    static Fault* const instance = new Fault;
    return *instance;
}

// Whether a call on `path` is to fail, with errno set as it then is.
bool failsHere(const char* path)
{
    Fault& f = fault();
    const std::lock_guard<std::mutex> locked(f.lock);
    if (f.prefix.empty() || std::strncmp(path, f.prefix.c_str(), f.prefix.size()) != 0)
        return false;
    ++f.failures;
    errno = f.error;
    return true;
}

template <typename Function>
Function systemCall(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int mkdir(const char* path, mode_t mode) noexcept
{
    static const auto real = systemCall<int (*)(const char*, mode_t)>("mkdir");
    return failsHere(path) ? -1 : real(path, mode);
}

extern "C" char* mkdtemp(char* pattern) noexcept
{
    static const auto real = systemCall<char* (*)(char*)>("mkdtemp");
    return failsHere(pattern) ? nullptr : real(pattern);
}

FolderCallFault::FolderCallFault(const QString& prefix, int error)
{
    Fault& f = fault();
    const std::lock_guard<std::mutex> locked(f.lock);
    f.prefix = QFile::encodeName(prefix).toStdString();
    f.error = error;
    f.failures = 0;
}

FolderCallFault::~FolderCallFault()
{
    Fault& f = fault();
    const std::lock_guard<std::mutex> locked(f.lock);
    f.prefix.clear();
}

int FolderCallFault::failures() const
{
    return fault().failures;
}
