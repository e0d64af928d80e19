#pragma once

#include <cstdio>
#include <memory>

// An owned stdio file that closes itself; writers release and close it explicitly to see the result.
struct StdioFileCloser
{
    void operator()(FILE* file) const { std::fclose(file); }
};
using StdioFile = std::unique_ptr<FILE, StdioFileCloser>;
