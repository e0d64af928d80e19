#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

// Percent-encoding of URLs. Escapes are '%' and two upper-case hexadecimal digits. The Url pair
// works in the system's local encoding, the URI pair in UTF-8; both decoders keep a '%' that is not
// followed by two hexadecimal digits as it is.
CZR_ByteString ZR_UrlEncode(const CZR_WideString& s);
CZR_WideString ZR_UrlDecode(const CZR_ByteString& s);
CZR_ByteString ZR_EncodeURI(const CZR_WideString& s);
CZR_WideString ZR_DecodeURI(const CZR_ByteString& s);
