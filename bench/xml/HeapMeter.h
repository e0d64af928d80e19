#pragma once

#include <cstddef>

// Tracks the bytes the process holds on the C heap (every malloc, whichever library calls it).
namespace HeapMeter {

size_t current();
size_t peak();
// Starts a new peak at the present level.
void resetPeak();

} // namespace HeapMeter
