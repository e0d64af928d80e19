#pragma once

#include "strings/ZRStringViews.h"

// Digits after the decimal point of the float writers; 0 or less selects their ordinary rules.
extern int g_iPrecision;

void ZR_atofix32(const CZR_ByteStringC& s, int& integer, unsigned& fraction);
void ZR_atonum(const CZR_ByteStringC& s, bool& isInteger, void* out, int outSize);
float ZR_atof(const CZR_ByteStringC& s);
float ZR_wtof(const wchar_t* p, int len);
// Write the decimal text of d into buf (room for 64 bytes) and return the characters written.
int ZR_ftoa(float d, char* buf, int flag);
int ZR_ftoa_s(float d, char* buf, int flag);
