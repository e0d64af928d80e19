#pragma once

#include <cstddef>
#include <cstdint>

// Reads `data` as a property list and aborts when the reader lets through a list the property-list
// library would build deeper or larger than the reader's bounds, or when a list it accepts does not
// come back the same after being written and read again. Returns the read status as a number.
int readPlistFuzzInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
