#pragma once

#include "strings/ZRStringViews.h"

// Splits at the first ':' into prefix and name; without ':' the whole text is the name.
void ZR_XML_SplitQualifiedName(const CZR_ByteStringC& qualifiedName, CZR_ByteStringC& prefix, CZR_ByteStringC& name);

// An empty wanted prefix matches any stored prefix; names always compare byte for byte.
// Inline: every attribute of a start tag is checked against the ones before it.
inline bool ZR_XML_NameMatches(const CZR_ByteStringC& wantedPrefix, const CZR_ByteStringC& wantedName,
                               const CZR_ByteStringC& storedPrefix, const CZR_ByteStringC& storedName)
{
    if (!(wantedName == storedName))
        return false;
    return wantedPrefix.IsEmpty() || wantedPrefix == storedPrefix;
}
