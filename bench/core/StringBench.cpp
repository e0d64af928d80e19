#include "AllocationCounter.h"

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Uniform access to the four string types so that each benchmark is written once.
template <class S> struct Ops;

template <> struct Ops<CZR_ByteString>
{
    using Char = char;
    static void append(CZR_ByteString& s, const char* p, int n) { s += CZR_ByteStringC(p, n); }
    static void appendChar(CZR_ByteString& s, char c) { s += c; }
    static int length(const CZR_ByteString& s) { return s.GetLength(); }
    static void clear(CZR_ByteString& s) { s.Empty(); }
    static CZR_ByteString make(const std::string& text) { return CZR_ByteString(text.data(), int(text.size())); }
    static int find(const CZR_ByteString& s, const std::string& needle) { return s.Find(needle.c_str()); }
    static int replace(CZR_ByteString& s, const char* from, const char* to) { return s.Replace(from, to); }
};

template <> struct Ops<std::string>
{
    using Char = char;
    static void append(std::string& s, const char* p, int n) { s.append(p, size_t(n)); }
    static void appendChar(std::string& s, char c) { s += c; }
    static int length(const std::string& s) { return int(s.size()); }
    static void clear(std::string& s) { std::string().swap(s); }
    static std::string make(const std::string& text) { return text; }
    static int find(const std::string& s, const std::string& needle) { return int(s.find(needle)); }
    static int replace(std::string& s, const char* from, const char* to)
    {
        std::string out;
        size_t fromLength = strlen(from), at = 0, next;
        int count = 0;
        while ((next = s.find(from, at, fromLength)) != std::string::npos) {
            out.append(s, at, next - at).append(to);
            at = next + fromLength;
            ++count;
        }
        out.append(s, at, std::string::npos);
        s.swap(out);
        return count;
    }
};

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

template <> struct Ops<CZR_WideString>
{
    using Char = wchar_t;
    static void append(CZR_WideString& s, const wchar_t* p, int n) { s += CZR_WideStringC(p, n); }
    static void appendChar(CZR_WideString& s, wchar_t c) { s += c; }
    static int length(const CZR_WideString& s) { return s.GetLength(); }
    static void clear(CZR_WideString& s) { s.Empty(); }
    static CZR_WideString make(const std::string& text)
    {
        std::wstring wide = widen(text);
        return CZR_WideString(wide.data(), int(wide.size()));
    }
    static int find(const CZR_WideString& s, const std::string& needle) { return s.Find(widen(needle).c_str()); }
};

template <> struct Ops<std::wstring>
{
    using Char = wchar_t;
    static void append(std::wstring& s, const wchar_t* p, int n) { s.append(p, size_t(n)); }
    static void appendChar(std::wstring& s, wchar_t c) { s += c; }
    static int length(const std::wstring& s) { return int(s.size()); }
    static void clear(std::wstring& s) { std::wstring().swap(s); }
    static std::wstring make(const std::string& text) { return widen(text); }
    static int find(const std::wstring& s, const std::string& needle) { return int(s.find(widen(needle))); }
};

constexpr int kMiB = 1 << 20;

template <class S> void BM_AppendChunk(benchmark::State& state)
{
    using Char = typename Ops<S>::Char;
    const int chunk = int(state.range(0));
    std::basic_string<Char> piece(size_t(chunk), Char('a'));
    S s;
    uint64_t start = AllocationCounter::count();
    for (auto _ : state) {
        if (chunk == 1)
            Ops<S>::appendChar(s, Char('a'));
        else
            Ops<S>::append(s, piece.data(), chunk);
        if (Ops<S>::length(s) >= kMiB)
            Ops<S>::clear(s);
    }
    AllocationCounter::report(state, start);
}

template <class S> void BM_Copy(benchmark::State& state)
{
    S source = Ops<S>::make(std::string(size_t(state.range(0)), 'x'));
    uint64_t start = AllocationCounter::count();
    for (auto _ : state) {
        S copy(source);
        benchmark::DoNotOptimize(copy);
    }
    AllocationCounter::report(state, start);
}

template <class S> void BM_Assign(benchmark::State& state)
{
    S source = Ops<S>::make(std::string(size_t(state.range(0)), 'x'));
    S target;
    uint64_t start = AllocationCounter::count();
    for (auto _ : state) {
        target = source;
        benchmark::DoNotOptimize(target);
        benchmark::ClobberMemory();
    }
    AllocationCounter::report(state, start);
}

std::string haystack()
{
    std::string text(size_t(kMiB), 'a');
    for (size_t i = 0; i < text.size(); i += 7)
        text[i] = char('b' + i % 13);
    const char needle[] = "needle-0123456789";
    memcpy(&text[text.size() - 32], needle, 16);
    return text;
}

template <class S> void BM_Find16In1MiB(benchmark::State& state)
{
    S text = Ops<S>::make(haystack());
    std::string needle = "needle-012345678";
    uint64_t start = AllocationCounter::count();
    for (auto _ : state)
        benchmark::DoNotOptimize(Ops<S>::find(text, needle));
    AllocationCounter::report(state, start);
}

void BM_Find16In1MiB_memmem(benchmark::State& state)
{
    std::string text = haystack();
    const char needle[] = "needle-012345678";
    for (auto _ : state)
        benchmark::DoNotOptimize(memmem(text.data(), text.size(), needle, 16));
}

template <class S> void BM_ReplaceAll(benchmark::State& state)
{
    std::string base;
    while (base.size() < size_t(64 * 1024))
        base += "lorem ipsum, dolor sit amet; ";
    S source = Ops<S>::make(base);
    uint64_t start = AllocationCounter::count();
    for (auto _ : state) {
        S text = source;
        benchmark::DoNotOptimize(Ops<S>::replace(text, "or", "OR!"));
    }
    AllocationCounter::report(state, start);
}

void BM_Format_ByteString(benchmark::State& state)
{
    CZR_ByteString s;
    uint64_t start = AllocationCounter::count();
    for (auto _ : state) {
        s.Format("%d-%s-%08x", 12345, "name", 0xBEEFu);
        benchmark::DoNotOptimize(s);
    }
    AllocationCounter::report(state, start);
}

void BM_Format_snprintf(benchmark::State& state)
{
    char buffer[64];
    for (auto _ : state) {
        snprintf(buffer, sizeof(buffer), "%d-%s-%08x", 12345, "name", 0xBEEFu);
        benchmark::DoNotOptimize(buffer);
    }
}

} // namespace

#define KELVRIN_STRING_BENCHMARKS(Type)                                                                                \
    BENCHMARK_TEMPLATE(BM_AppendChunk, Type)->Arg(1)->Arg(16)->Arg(4096);                                              \
    BENCHMARK_TEMPLATE(BM_Copy, Type)->Arg(8)->Arg(64)->Arg(1024)->Arg(kMiB);                                         \
    BENCHMARK_TEMPLATE(BM_Assign, Type)->Arg(8)->Arg(64)->Arg(1024)->Arg(kMiB);                                       \
    BENCHMARK_TEMPLATE(BM_Find16In1MiB, Type);

KELVRIN_STRING_BENCHMARKS(CZR_ByteString)
KELVRIN_STRING_BENCHMARKS(std::string)
KELVRIN_STRING_BENCHMARKS(CZR_WideString)
KELVRIN_STRING_BENCHMARKS(std::wstring)
BENCHMARK_TEMPLATE(BM_ReplaceAll, CZR_ByteString);
BENCHMARK_TEMPLATE(BM_ReplaceAll, std::string);
BENCHMARK(BM_Find16In1MiB_memmem);
BENCHMARK(BM_Format_ByteString);
BENCHMARK(BM_Format_snprintf);

int main(int argc, char** argv)
{
    AllocationCounter::installCountingDefaultManager();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
