#pragma once

#include "xml/CZR_XMLElement.h"

#include <QString>

#include <memory>

class QByteArray;

// The engine's own XML files (module lists, installer lists, updater information) read whole.
namespace XmlTree {

using Tree = std::unique_ptr<CZR_XMLElement>;

// Null unless the bytes are well-formed XML from their root's start tag to its end tag, as UTF-8 or
// in a declared encoding that leaves the bytes of the markup as they are. The core parser alone
// would take a document cut short, or one with a tag it cannot read, for the shorter document it
// could read. What stands before the root and what follows it are read as the core parser reads
// them, and so are a repeated attribute (the later value holds) and an entity that nothing declares.
// A refusal is logged with `source`, the file the bytes come from.
Tree parseWellFormed(const QByteArray& bytes, const QString& source);
// An attribute's value as Qt text.
QString text(const CZR_WideString& value);

} // namespace XmlTree
