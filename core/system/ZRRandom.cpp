#include "system/ZRRandom.h"

#include "memory/ZRMemoryMgr.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/random.h>

namespace {

constexpr uint32_t kStateWords = 848;
constexpr uint32_t kMiddle = 456;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr uint32_t kMatrix = 0x9908B0DFu;

// The allocation is 3400 bytes: the index, the seeded flag in a 32-bit slot and the state words.
struct ZR_MTState
{
    uint32_t index;
    uint32_t seeded;
    uint32_t mt[kStateWords];
};
static_assert(sizeof(ZR_MTState) == 3400, "generator state layout");

uint32_t twist(uint32_t current, uint32_t next, uint32_t partner)
{
    uint32_t y = (current & kUpperMask) | (next & kLowerMask);
    return partner ^ (y >> 1) ^ ((next & 1) ? kMatrix : 0);
}

void regenerate(ZR_MTState* state)
{
    uint32_t* mt = state->mt;
    for (uint32_t k = 0; k < kStateWords; ++k) {
        uint32_t next = mt[(k + 1) % kStateWords];
        mt[k] = twist(mt[k], next, mt[(k + kMiddle) % kStateWords]);
    }
    state->index = 0;
}

uint32_t temper(uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

bool fillFromSystem(void* buffer, size_t size)
{
    unsigned char* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        ssize_t got = getrandom(bytes, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= size_t(got);
    }
    return true;
}

bool fillWordsFromSystem(uint32_t* buffer, int count)
{
    if (count <= 0 || !buffer)
        return false;
    return fillFromSystem(buffer, size_t(count) * sizeof(uint32_t));
}

}

void* ZR_Random_MT_Start(uint32_t seed)
{
    auto* state = static_cast<ZR_MTState*>(ZRMEM_DefaultAlloc(sizeof(ZR_MTState), ZRMEM_FLAG_MAYFAIL));
    if (!state)
        return nullptr;
    state->mt[0] = seed;
    for (uint32_t i = 1; i < kStateWords; ++i)
        state->mt[i] = 1812433253u * (state->mt[i - 1] ^ (state->mt[i - 1] >> 30)) + i;
    state->index = kStateWords;
    state->seeded = 1;
    return state;
}

uint32_t ZR_Random_MT_Generate(void* context)
{
    auto* state = static_cast<ZR_MTState*>(context);
    if (!state)
        return 0;
    if (state->index >= kStateWords) {
        if (!state->seeded)
            return 0;
        regenerate(state);
    }
    return temper(state->mt[state->index++]);
}

void ZR_Random_MT_Close(void* context)
{
    if (context)
        ZRMEM_DefaultFree(context, 0);
}

bool ZR_Random_GenerateMT(uint32_t* buffer, int count)
{
    uint32_t seed;
    if (count <= 0 || !buffer || !fillFromSystem(&seed, sizeof seed))
        return false;
    void* generator = ZR_Random_MT_Start(seed);
    if (!generator)
        return false;
    for (int i = 0; i < count; ++i)
        buffer[i] = ZR_Random_MT_Generate(generator);
    ZR_Random_MT_Close(generator);
    return true;
}

bool ZR_Random_GenerateBase(uint32_t* buffer, int count) { return fillWordsFromSystem(buffer, count); }

bool ZR_Random_GenerateCrypto(uint32_t* buffer, int count) { return fillWordsFromSystem(buffer, count); }

bool ZR_GUID_CreateV4(ZR_GUID* guid)
{
    ZR_GUID drawn;
    if (!guid || !fillFromSystem(drawn.bytes, sizeof drawn.bytes))
        return false;
    drawn.bytes[6] = static_cast<unsigned char>((drawn.bytes[6] & 0x0F) | 0x40);
    *guid = drawn;
    return true;
}
