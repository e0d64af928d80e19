#pragma once

// Private to the LZMA adapters: includes the SDK's own type header.
#include <lzma/Types.h>

#include <cstdio>

// The SDK's sequential stream interfaces over stdio files, and its allocator over the system heap.
// The SDK calls through the leading interface member, so each adapter must stay standard-layout with
// that member first.

struct LzmaFileInStream
{
    ISeqInStream vt;
    FILE* file;
};

struct LzmaFileOutStream
{
    ISeqOutStream vt;
    FILE* file;
};

// `file` stays owned by the caller.
LzmaFileInStream makeLzmaFileInStream(FILE* file);
LzmaFileOutStream makeLzmaFileOutStream(FILE* file);

ISzAlloc* lzmaSystemAllocator();
