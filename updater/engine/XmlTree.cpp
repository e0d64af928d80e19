#include "XmlTree.h"

#include "CUP_Log.h"
#include "Comm.h"

#include <QByteArray>
#include <QTextCodec>
#include <QXmlStreamReader>

namespace XmlTree {

namespace {

// The check's reader compares each attribute of a start tag with every earlier one of the tag, so a
// tag of a hundred thousand attributes would hold it for minutes: no file of ours has a tag of more
// than this.
constexpr int kMostAttributes = 4096;

// The core parser reads every document as UTF-8, and so does the check. A byte that is no UTF-8
// becomes a NUL, which no document may hold: it fails the check only when it lies before the root's
// end.
QString asUtf8(const QByteArray& bytes)
{
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    return QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
}

struct TagScan
{
    int end = -1;
    int equalSigns = 0;
    bool opensSubset = false;
};

// A tag or declaration from after its '<' to past its '>', quoted values skipped whole; `end` stays
// -1 when the text ends first.
TagScan scanTag(const QString& text, int from)
{
    TagScan scan;
    QChar quote;
    for (int i = from; i < text.size() && scan.end < 0; ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '=')
            ++scan.equalSigns;
        else if (c == '[')
            scan.opensSubset = true;
        else if (c == '>')
            scan.end = i + 1;
    }
    return scan;
}

int pastLiteral(const QString& text, int from, QLatin1String literal)
{
    const int found = text.indexOf(literal, from);
    return found < 0 ? text.size() : found + literal.size();
}

// Whether the reader would take too long over the text before the root's end: a start tag of too
// many attributes, or a document type with declarations of its own, whose attribute defaults the
// reader gives every start tag of their element. The core parser knows none of those declarations,
// so a document that has them would read otherwise there and is refused all the same. The text is
// taken as a reader takes a well-formed document: the reader stops at the first fault of any other,
// before whatever this scan might take differently.
bool asksTooMuchOfTheReader(const QString& text)
{
    int depth = 0;
    for (int at = text.indexOf('<'); at >= 0; at = text.indexOf('<', at)) {
        const QStringRef markup = text.midRef(at);
        if (markup.startsWith(QLatin1String("<!--"))) {
            at = pastLiteral(text, at + 4, QLatin1String("-->"));
            continue;
        }
        if (markup.startsWith(QLatin1String("<![CDATA["))) {
            at = pastLiteral(text, at + 9, QLatin1String("]]>"));
            continue;
        }
        if (markup.startsWith(QLatin1String("<?"))) {
            at = pastLiteral(text, at + 2, QLatin1String("?>"));
            continue;
        }
        const bool declaration = markup.startsWith(QLatin1String("<!"));
        const TagScan tag = scanTag(text, at + 1);
        if (tag.equalSigns > kMostAttributes || (declaration && tag.opensSubset))
            return true;
        if (tag.end < 0)
            return false;
        if (!declaration) {
            depth += markup.startsWith(QLatin1String("</")) ? -1 : text.at(tag.end - 2) == '/' ? 0 : 1;
            if (depth <= 0)
                return false;
        }
        at = tag.end;
    }
    return false;
}

bool isWellFormedToRootEnd(const QString& text)
{
    if (asksTooMuchOfTheReader(text))
        return false;
    // Given as text, the reader takes no encoding from the declaration.
    QXmlStreamReader reader(text);
    // The core parser knows no namespaces: to both, a prefix is a part of the name.
    reader.setNamespaceProcessing(false);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        // The core parser builds no deeper levels: it reads what lies below as text, and the end
        // tags there close their ancestors early.
        if (token == QXmlStreamReader::StartElement && ++depth > CZR_XMLElement::kMostLevels)
            return false;
        if (token == QXmlStreamReader::EndElement && --depth == 0)
            return true;
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
