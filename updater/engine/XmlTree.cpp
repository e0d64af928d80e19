#include "XmlTree.h"

#include "Comm.h"

#include <QByteArray>

namespace XmlTree {

Tree parse(const QByteArray& bytes)
{
    return Tree(CZR_XMLElement::Parse(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QString text(const CZR_WideString& value)
{
    return Comm::ws2qs(value.c_str());
}

} // namespace XmlTree
