#include "xml/ZRXMLNames.h"

void ZR_XML_SplitQualifiedName(const CZR_ByteStringC& qualifiedName, CZR_ByteStringC& prefix, CZR_ByteStringC& name)
{
    const char* p = qualifiedName.GetPtr();
    int length = qualifiedName.GetLength();
    const void* colon = length ? memchr(p, ':', size_t(length)) : nullptr;
    if (!colon) {
        prefix = CZR_ByteStringC();
        name = qualifiedName;
        return;
    }
    int at = int(static_cast<const char*>(colon) - p);
    prefix = CZR_ByteStringC(p, at);
    name = CZR_ByteStringC(p + at + 1, length - at - 1);
}
