#pragma once

#include <cstddef>
#include <cstdint>

// Writes `data` as a package (its checksum set to match, see the .cpp) in a private folder, unpacks it into a destination beside it and
// aborts when anything appeared outside the destination and the unpacker's scratch folder.
// Returns the unpacker's result.
int unpackFuzzInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
