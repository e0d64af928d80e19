#pragma once

#include <cstddef>

// Tracks the bytes the process holds on the C heap (every malloc, whichever library calls it).
namespace HeapMeter {

size_t peak();
// Metering is off by default so that timed loops pay nothing for it; `start` turns it on with a
// new peak at zero, `stop` turns it off again.
void start();
void stop();

} // namespace HeapMeter
