#pragma once

#include <cstdint>

// A version-4 GUID: four 32-bit words in host order, the high nibble of byte 6 set to 4.
struct ZR_GUID
{
    unsigned char bytes[16];
};

// The library's Mersenne Twister (848 state words, middle distance 456). Start returns null when
// memory is short; Generate answers 0 for a null context.
void* ZR_Random_MT_Start(uint32_t seed);
uint32_t ZR_Random_MT_Generate(void* context);
void ZR_Random_MT_Close(void* context);

// Fill `count` words (nothing for a count of 0 or less). The base and crypto forms take every
// word from the system's random source; the MT form runs the twister from one such seed. False
// when the random source or memory fails.
bool ZR_Random_GenerateMT(uint32_t* buffer, int count);
bool ZR_Random_GenerateBase(uint32_t* buffer, int count);
bool ZR_Random_GenerateCrypto(uint32_t* buffer, int count);

// Fills all 16 bytes from the system's random source and marks the version; false (the GUID
// untouched) when the source fails. The variant bits are left as drawn.
bool ZR_GUID_CreateV4(ZR_GUID* guid);
