#pragma once

#include "xml/CZR_XMLElement.h"

#include <QString>

#include <memory>

class QByteArray;

// The engine's own XML files (module lists, installer lists, updater information) read whole.
namespace XmlTree {

using Tree = std::unique_ptr<CZR_XMLElement>;

// Null when the bytes hold no XML document.
Tree parse(const QByteArray& bytes);
// The same, and null as well when the bytes end before the root element does: a document cut
// short, or one whose root is never closed, which parse() would take as a tree of what it got.
Tree parseWhole(const QByteArray& bytes);
// An attribute's value as Qt text.
QString text(const CZR_WideString& value);

} // namespace XmlTree
