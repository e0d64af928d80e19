#include "XmlTree.h"

#include "CUP_Log.h"
#include "Comm.h"

#include <QByteArray>
#include <QTextCodec>
#include <QXmlStreamReader>

namespace XmlTree {

namespace {

// The check's reader compares each attribute of a start tag with every earlier one of the tag, so a
// tag of a hundred thousand attributes would hold it for minutes. It gets the text piece by piece,
// and no further piece once what it holds unread could carry more attributes than a file of ours
// ever has: every attribute takes one '=' outside its value.
constexpr int kPieceLength = 1024;
constexpr int kMostUnreadAttributes = 4096;

// The core parser reads every document as UTF-8, and so does the check. A byte that is no UTF-8
// becomes a NUL, which no document may hold: it fails the check only when it lies before the root's
// end.
QString asUtf8(const QByteArray& bytes)
{
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    return QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
}

enum class Reading { RootEnded, WantsMore, Refused };

// Reads the tokens of the text given so far; `tokenRead` tells whether it held one.
Reading readTokens(QXmlStreamReader& reader, int& depth, bool& tokenRead)
{
    tokenRead = false;
    for (;;) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Invalid)
            return reader.error() == QXmlStreamReader::PrematureEndOfDocumentError ? Reading::WantsMore
                                                                                    : Reading::Refused;
        tokenRead = true;
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement && --depth == 0)
            return Reading::RootEnded;
        // The core parser knows no declared entities, and would read their references otherwise.
        else if (token == QXmlStreamReader::DTD && !reader.entityDeclarations().isEmpty())
            return Reading::Refused;
    }
}

bool isWellFormedToRootEnd(const QString& text)
{
    QXmlStreamReader reader;
    // The core parser knows no namespaces: to both, a prefix is a part of the name.
    reader.setNamespaceProcessing(false);
    int depth = 0;
    int unreadAttributes = 0;
    for (int start = 0; start < text.size() && unreadAttributes <= kMostUnreadAttributes;) {
        int end = qMin(start + kPieceLength, text.size());
        if (end < text.size() && text.at(end - 1).isHighSurrogate())
            ++end;
        const QString piece = text.mid(start, end - start);
        start = end;
        reader.addData(piece);
        bool tokenRead = false;
        const Reading reading = readTokens(reader, depth, tokenRead);
        if (reading != Reading::WantsMore)
            return reading == Reading::RootEnded;
        unreadAttributes = piece.count('=') + (tokenRead ? 0 : unreadAttributes);
    }
    return false;
}

} // namespace

Tree parseWellFormed(const QByteArray& bytes, const QString& source)
{
    Tree root;
    if (isWellFormedToRootEnd(asUtf8(bytes)))
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
