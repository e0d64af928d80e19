#include "XmlTree.h"

#include "Comm.h"

#include <QByteArray>

namespace XmlTree {

Tree parse(const QByteArray& bytes)
{
    return Tree(CZR_XMLElement::Parse(bytes.constData(), static_cast<size_t>(bytes.size())));
}

// The parser closes an element wherever the input ends, and reads nothing after the root's end.
// One blank more than the bytes tells the two apart: a root that ends before the input does
// leaves that blank unread.
Tree parseWhole(const QByteArray& bytes)
{
    const QByteArray padded = bytes + ' ';
    int64_t parsedSize = 0;
    Tree root(CZR_XMLElement::Parse(padded.constData(), static_cast<size_t>(padded.size()), false, &parsedSize));
    if (parsedSize >= padded.size())
        root.reset();
    return root;
}

QString text(const CZR_WideString& value)
{
    return Comm::ws2qs(value.c_str());
}

} // namespace XmlTree
