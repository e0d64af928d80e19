#pragma once

#include <cstdint>

// Atomic additions with full ordering; each answers the value after the change.
int32_t ZR_Atom_Add32(int32_t* value, int32_t amount);
int32_t ZR_Atom_Subtract32(int32_t* value, int32_t amount);
int64_t ZR_Atom_Add64(int64_t* value, int64_t amount);
int64_t ZR_Atom_Subtract64(int64_t* value, int64_t amount);
