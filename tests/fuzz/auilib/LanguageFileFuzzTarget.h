#pragma once

#include <cstddef>
#include <cstdint>

// Reads `data` as a language file would be read: through the UTF-8 XML layer, then as a Linguist
// file and as a string file, in the language "de-DE" that the seed corpus is written for.
// Returns the number of messages and entries taken, or -1 when the layer refused the text.
int readLanguageFileFuzzInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
