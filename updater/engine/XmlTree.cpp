#include "XmlTree.h"

#include "CUP_Log.h"
#include "Comm.h"
#include "XmlWellFormed.h"

#include <QByteArray>

namespace XmlTree {

Tree parseWellFormed(const QByteArray& bytes, const QString& source)
{
    Tree root;
    if (isWellFormedToRootEnd(bytes))
        root.reset(CZR_XMLElement::Parse(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!root)
        CUP_Log::PrintLog("Not a well-formed XML document: " + source);
    return root;
}

QString text(const CZR_WideString& value)
{
    return Comm::ws2qs(value.c_str());
}

} // namespace XmlTree
