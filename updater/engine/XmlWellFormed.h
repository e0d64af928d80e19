#pragma once

class QByteArray;

namespace XmlTree {

// Whether the bytes are well-formed XML, in the encoding they declare, from their root's start tag
// to its end tag. What stands before the root and what follows it are left to the core parser, as
// are a repeated attribute (the later value holds there) and an entity that nothing declares.
bool isWellFormedToRootEnd(const QByteArray& bytes);

} // namespace XmlTree
