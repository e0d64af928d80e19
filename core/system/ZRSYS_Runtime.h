#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>

// Platform-neutral replacements for the C runtime's string, number and memory routines.
extern "C" {
int ZRSYS_atoi(const char* s);
int ZRSYS_wtoi(const wchar_t* s);
long long ZRSYS_atoi64(const char* s);
long long ZRSYS_wtoi64(const wchar_t* s);

char* ZRSYS_itoa(int value, char* buf, int radix);
char* ZRSYS_i64toa(long long value, char* buf, int radix);
wchar_t* ZRSYS_i64tow(long long value, wchar_t* buf);

char* ZRSYS_strlwr(char* s);
char* ZRSYS_strupr(char* s);
wchar_t* ZRSYS_wcslwr(wchar_t* s);
wchar_t* ZRSYS_wcsupr(wchar_t* s);
int ZRSYS_stricmp(const char* a, const char* b);
int ZRSYS_wcsicmp(const wchar_t* a, const wchar_t* b);
int ZRSYS_strnicmp(const char* a, const char* b, size_t n);
int ZRSYS_wcsnicmp(const wchar_t* a, const wchar_t* b, size_t n);

void* ZRSYS_memcpy32(void* dst, const void* src, size_t n);
int ZRSYS_memcmp32(const void* a, const void* b, size_t n);
void* ZRSYS_memset32(void* dst, int c, size_t n);
void* ZRSYS_memset8(void* dst, int c, size_t n);
void* ZRSYS_memmove32(void* dst, const void* src, size_t n);
wchar_t* ZRSYS_wcsncpy(wchar_t* dst, const wchar_t* src, size_t n);

int ZRSYS_GetFullPathName(const char* path, int bufLen, char* buf);
int ZRSYS_GetModuleFileName(void* module, char* buf, int bufLen);
FILE* ZRSYS_wfopen(const wchar_t* name, const wchar_t* mode);
int ZRSYS_WideCharToMultiByte(unsigned codePage, unsigned flags, const wchar_t* src, int srcLen, char* dst,
                              int dstLen);
int ZRSYS_MultiByteToWideChar(unsigned codePage, unsigned flags, const char* src, int srcLen, wchar_t* dst,
                              int dstLen);
int _vsnprintf(char* buf, size_t size, const char* format, va_list args);

float ZRSYS_tan(float x);
float ZRSYS_logb(float base, float x);
int ZRSYS_round(float x);
float ZRSYS_wcstof(const wchar_t* s, int len, int* used);
float ZRSYS_strtof(const char* s, int len, int* used);

unsigned ZR_HashCode_String_GetA(const char* s, int len, bool ignoreCase);
unsigned ZR_HashCode_String_GetW(const wchar_t* s, int len, bool ignoreCase);
}
