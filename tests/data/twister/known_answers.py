#!/usr/bin/env python3
"""Known answers for the core library's 848-word Mersenne Twister.

Transcribed on its own from the generator's description (state of 848 words, middle distance 456,
the usual seeding multiplier, matrix value and tempering), so that the C++ test compares two
independent readings of it. Prints the C++ table that RandomTest.cpp holds.
"""

N, M = 848, 456
MASK32 = 0xFFFFFFFF


def seeded(seed):
    mt = [seed & MASK32]
    for i in range(1, N):
        prev = mt[i - 1]
        mt.append((1812433253 * (prev ^ (prev >> 30)) + i) & MASK32)
    return mt


def regenerate(mt):
    for k in range(N):
        nxt = mt[0] if k == N - 1 else mt[k + 1]
        if k < N - M:
            partner = mt[k + M]
        elif k < N - 1:
            partner = mt[k - (N - M)]
        else:
            partner = mt[M - 1]
        y = (mt[k] & 0x80000000) | (nxt & 0x7FFFFFFF)
        mt[k] = partner ^ (y >> 1) ^ (0x9908B0DF if nxt % 2 else 0)


def words(seed, count):
    mt = seeded(seed)
    index = N
    out = []
    while len(out) < count:
        if index >= N:
            regenerate(mt)
            index = 0
        y = mt[index]
        index += 1
        y ^= y >> 11
        y ^= (y << 7) & 0x9D2C5680
        y ^= (y << 15) & 0xEFC60000
        y ^= y >> 18
        out.append(y & MASK32)
    return out


SEEDS = [0, 1, 5489, 0xFFFFFFFF, 20261210]
POSITIONS = [0, 1, 2, 3, 391, 392, 846, 847, 848, 849, 1695, 1696, 1697, 2999]

if __name__ == "__main__":
    print("const unsigned kPositions[] = {%s};" % ", ".join(str(p) for p in POSITIONS))
    print("const KnownAnswers kKnownAnswers[] = {")
    for seed in SEEDS:
        seq = words(seed, max(POSITIONS) + 1)
        values = ["0x%08Xu" % seq[p] for p in POSITIONS]
        print("    {0x%08Xu," % seed)
        print("     {%s," % ", ".join(values[:7]))
        print("      %s}}," % ", ".join(values[7:]))
    print("};")
