// Sanitizer settings built into every test program, so a test behaves the same under ctest, when run
// by hand, and during test discovery.
#include "SanitizerDefaults.h"

#include <cstdlib>

#ifndef KELVRIN_LSAN_SUPPRESSIONS
#error "KELVRIN_LSAN_SUPPRESSIONS must name the leak suppression file"
#endif

namespace {

const char* const kAddressOptions = "halt_on_error=1:detect_leaks=1";
const char* const kUndefinedOptions = "halt_on_error=1:print_stacktrace=1";
const char* const kLeakOptions = "print_suppressions=0:suppressions=" KELVRIN_LSAN_SUPPRESSIONS;

} // namespace

extern "C" const char* __asan_default_options()
{
    return kAddressOptions;
}

extern "C" const char* __ubsan_default_options()
{
    return kUndefinedOptions;
}

extern "C" const char* __lsan_default_options()
{
    return kLeakOptions;
}

void exportSanitizerOptions()
{
    setenv("ASAN_OPTIONS", kAddressOptions, 0);
    setenv("UBSAN_OPTIONS", kUndefinedOptions, 0);
    setenv("LSAN_OPTIONS", kLeakOptions, 0);
}
