#include "system/ZRAtom.h"

// Subtraction is done as such rather than as the addition of a negation, which overflows for the
// smallest value.
int32_t ZR_Atom_Add32(int32_t* value, int32_t amount) { return __atomic_add_fetch(value, amount, __ATOMIC_SEQ_CST); }

int32_t ZR_Atom_Subtract32(int32_t* value, int32_t amount)
{
    return __atomic_sub_fetch(value, amount, __ATOMIC_SEQ_CST);
}

int64_t ZR_Atom_Add64(int64_t* value, int64_t amount) { return __atomic_add_fetch(value, amount, __ATOMIC_SEQ_CST); }

int64_t ZR_Atom_Subtract64(int64_t* value, int64_t amount)
{
    return __atomic_sub_fetch(value, amount, __ATOMIC_SEQ_CST);
}
