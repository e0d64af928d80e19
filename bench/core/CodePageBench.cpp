// Code-page decoding and encoding of a 16 MiB text against glibc's iconv on the same input.
#include "codecs/CZR_CodePage.h"
#include "codecs/ZRCodePage.h"

#include <benchmark/benchmark.h>

#include <iconv.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kTextBytes = 16 << 20;

// Codes that both converters decode to the same character.
std::vector<std::string> commonAlphabet(uint16_t number)
{
    std::vector<std::string> alphabet;
    IZR_CodePage* page = IZR_CodePage::Create(number);
    std::string name = "CP" + std::to_string(number);
    iconv_t probe = iconv_open("WCHAR_T", name.c_str());
    for (uint32_t code = 0x20; code <= page->GetMaxCharcode(); ++code) {
        bool twoBytes = code > 0xFF;
        if (twoBytes != page->IsLeadByte(uint8_t(code >> (twoBytes ? 8 : 0))) || !page->IsValidCharcode(uint16_t(code)))
            continue;
        std::string bytes = twoBytes ? std::string{char(code >> 8), char(code)} : std::string(1, char(code));
        wchar_t out = 0;
        char* in = &bytes[0];
        size_t inLeft = bytes.size();
        char* outPtr = reinterpret_cast<char*>(&out);
        size_t outLeft = sizeof(out);
        iconv(probe, nullptr, nullptr, nullptr, nullptr);
        if (iconv(probe, &in, &inLeft, &outPtr, &outLeft) != size_t(-1) && inLeft == 0
            && uint32_t(out) == page->GetUnicode(uint16_t(code)))
            alphabet.push_back(bytes);
    }
    iconv_close(probe);
    page->Release();
    return alphabet;
}

// Mostly double-byte text for the Asian pages, with a third of ASCII, as real documents mix them.
const std::string& textFor(uint16_t number)
{
    static std::string texts[3];
    std::string& text = texts[number == 932 ? 0 : number == 936 ? 1 : 2];
    if (!text.empty())
        return text;
    std::vector<std::string> alphabet = commonAlphabet(number);
    std::mt19937 random(number);
    while (text.size() < kTextBytes) {
        if (random() % 3 == 0)
            text += char('a' + random() % 26);
        else
            text += alphabet[random() % alphabet.size()];
    }
    return text;
}

const std::wstring& wideTextFor(uint16_t number)
{
    static std::wstring texts[3];
    std::wstring& wide = texts[number == 932 ? 0 : number == 936 ? 1 : 2];
    if (wide.empty()) {
        const std::string& text = textFor(number);
        wide.resize(text.size());
        int srcLen = int(text.size()), dstLen = int(wide.size());
        ZR_DecodeString(number, text.data(), &srcLen, &wide[0], &dstLen, false);
        wide.resize(size_t(dstLen));
    }
    return wide;
}

void BM_Decode_CodePage(benchmark::State& state)
{
    auto number = uint16_t(state.range(0));
    const std::string& text = textFor(number);
    std::wstring out(text.size(), L'\0');
    for (auto _ : state) {
        int srcLen = int(text.size()), dstLen = int(out.size());
        ZR_DecodeString(number, text.data(), &srcLen, &out[0], &dstLen, false);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Decode_Iconv(benchmark::State& state)
{
    auto number = uint16_t(state.range(0));
    const std::string& text = textFor(number);
    std::wstring out(text.size(), L'\0');
    iconv_t converter = iconv_open("WCHAR_T", ("CP" + std::to_string(number)).c_str());
    for (auto _ : state) {
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        char* outPtr = reinterpret_cast<char*>(&out[0]);
        size_t outLeft = out.size() * sizeof(wchar_t);
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(converter);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_Encode_CodePage(benchmark::State& state)
{
    auto number = uint16_t(state.range(0));
    const std::wstring& text = wideTextFor(number);
    std::string out(textFor(number).size(), '\0');
    for (auto _ : state) {
        int srcLen = int(text.size()), dstLen = int(out.size());
        ZR_EncodeString(number, text.data(), &srcLen, &out[0], &dstLen, false);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void BM_Encode_Iconv(benchmark::State& state)
{
    auto number = uint16_t(state.range(0));
    const std::wstring& text = wideTextFor(number);
    std::string out(textFor(number).size(), '\0');
    iconv_t converter = iconv_open(("CP" + std::to_string(number)).c_str(), "WCHAR_T");
    for (auto _ : state) {
        char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
        size_t inLeft = text.size() * sizeof(wchar_t);
        char* outPtr = &out[0];
        size_t outLeft = out.size();
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(converter);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

} // namespace

BENCHMARK(BM_Decode_CodePage)->Arg(932)->Arg(936)->Arg(1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode_Iconv)->Arg(932)->Arg(936)->Arg(1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode_CodePage)->Arg(932)->Arg(936)->Arg(1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode_Iconv)->Arg(932)->Arg(936)->Arg(1252)->Unit(benchmark::kMillisecond);
