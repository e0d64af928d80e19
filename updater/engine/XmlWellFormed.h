#pragma once

class QByteArray;

namespace XmlTree {

// Whether the bytes are well-formed XML from their root's start tag to its end tag, as UTF-8 or in
// the encoding they declare when that encoding leaves the bytes of the markup as they are. What
// stands before the root and what follows it are left to the core parser, as are a repeated
// attribute (the later value holds there) and an entity that nothing declares.
bool isWellFormedToRootEnd(const QByteArray& bytes);

} // namespace XmlTree
