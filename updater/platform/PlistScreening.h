#pragma once

#include <QByteArray>

// Checks a property list before the property-list library parses it. The library recurses once per
// container level when it frees a tree, copies a shared object of a binary list once per reference,
// and aborts the process when a string or key it hands out holds U+0000; none of that can be undone
// once it has started, so a list is screened first, without recursion.
namespace Plist {

enum class Screening {
    Plain,        // safe to parse
    HoldsNul,     // safe to parse, but a string or key holds U+0000 (or the text a NUL byte)
    Malformed,    // not a binary property list at all; XML is left to the library to judge
    BeyondBounds, // too deep, too many objects, or too large once shared objects are expanded
};

Screening screenXml(const QByteArray& bytes);
Screening screenBinary(const QByteArray& bytes);

} // namespace Plist
