#include "XmlWellFormed.h"

#include "xml/CZR_XMLElement.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QSet>
#include <QTextCodec>
#include <QXmlStreamReader>

namespace XmlTree {

namespace {

// The check's reader compares each attribute of a start tag with every earlier one of the tag, so a
// tag of a hundred thousand attributes would hold it for minutes: no file of ours has a tag of more
// than this.
constexpr int kMostAttributes = 4096;

constexpr int kUtf8Mib = 106;

// The reader checks no character of an attribute's name, where the core parser ends the name at
// the first byte that cannot stand in one and drops the tag when no '=' follows there. A name is
// held to what both read whole: a letter, '_' or ':' first, then those, digits, '-' and '.', where
// a character beyond ASCII counts as a letter and a NUL (a byte that is no character) does not.
bool isAttributeName(QStringRef name)
{
    const auto isLetter = [](QChar c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c.unicode() >= 0x80;
    };
    if (!isLetter(name.at(0)))
        return false;
    for (const QChar c : name) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.')
            return false;
    }
    return true;
}

int pastLiteral(const QString& text, int from, QLatin1String literal)
{
    const int found = text.indexOf(literal, from);
    return found < 0 ? text.size() : found + literal.size();
}

int pastLiteral(const QByteArray& bytes, int from, QLatin1String literal)
{
    const int found = bytes.indexOf(literal.data(), from);
    return found < 0 ? bytes.size() : found + literal.size();
}

bool isXmlSpace(QChar c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Prolog
{
    int rootStart = -1;
    QByteArray declaration;
};

// The end of a document type, or -1 when it never ends or declares anything of its own: the reader
// would give every start tag the defaults it declares for the element, and the core parser knows
// none of them.
int pastDocumentType(const QByteArray& bytes, int from)
{
    char quote = 0;
    for (int i = from; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '[')
            return -1;
        else if (c == '>')
            return i + 1;
    }
    return -1;
}

// What stands before the root is the core parser's to read, and it is passed over here as it passes
// it over: processing instructions, comments, a document type and any byte outside them. Only a
// document type that declares anything of its own fails the check.
Prolog readProlog(const QByteArray& bytes)
{
    Prolog prolog;
    for (int at = bytes.indexOf('<'); at >= 0; at = bytes.indexOf('<', at)) {
        const QByteArray next = bytes.mid(at + 1, 2);
        if (next.startsWith('?')) {
            const int end = pastLiteral(bytes, at + 2, QLatin1String("?>"));
            const QByteArray instruction = bytes.mid(at, end - at);
            if (prolog.declaration.isNull() && instruction.startsWith("<?xml")
                && instruction.size() > 5 && isXmlSpace(QLatin1Char(instruction.at(5))))
                prolog.declaration = instruction;
            at = end;
        } else if (next.startsWith("!-")) {
            at = pastLiteral(bytes, at + 4, QLatin1String("-->"));
        } else if (next.startsWith('!')) {
            at = pastDocumentType(bytes, at + 2);
            if (at < 0)
                return Prolog();
        } else {
            prolog.rootStart = at;
            break;
        }
    }
    return prolog;
}

// The declared encoding, or null when there is none or it is unknown.
QTextCodec* declaredCodec(const QByteArray& declaration)
{
    static const QRegularExpression encoding(
        QStringLiteral("[ \\t\\r\\n]encoding[ \\t\\r\\n]*=[ \\t\\r\\n]*([\"'])([A-Za-z][A-Za-z0-9._-]*)\\1"));
    const QRegularExpressionMatch declared = encoding.match(QString::fromLatin1(declaration));
    return declared.hasMatch() ? QTextCodec::codecForName(declared.captured(2).toLatin1()) : nullptr;
}

// Whether a byte or a character stands outside the markup: NUL (a byte no character of the
// encoding became one) or beyond ASCII. The core parser takes the bytes 0xFE and 0xFF for blanks,
// so to it they are markup that no character beyond ASCII shows.
bool isOutsideMarkup(uchar byte)
{
    return byte == 0 || (byte >= 0x80 && byte < 0xFE);
}

bool isOutsideMarkup(QChar c)
{
    return c.isNull() || c.unicode() >= 0x80;
}

// The core parser finds markup by its ASCII bytes, so the text shows the markup the core parser
// reads only when its ASCII characters are the ASCII bytes, in their order, and each run of other
// bytes became a run of other characters. In a shifting encoding, or one whose characters may end in
// an ASCII byte (Shift_JIS or UTF-16, say), a byte of the markup can be a part of a character, or a
// character can stand for markup that is no markup to the core parser.
bool keepsMarkupBytes(const QByteArray& bytes, const QString& text)
{
    int b = 0;
    int t = 0;
    while (b < bytes.size() && t < text.size()) {
        const uchar byte = static_cast<uchar>(bytes.at(b));
        if (isOutsideMarkup(byte) != isOutsideMarkup(text.at(t)))
            return false;
        if (!isOutsideMarkup(byte)) {
            if (text.at(t) != QLatin1Char(static_cast<char>(byte)))
                return false;
            ++b;
            ++t;
            continue;
        }
        while (b < bytes.size() && isOutsideMarkup(static_cast<uchar>(bytes.at(b))))
            ++b;
        while (t < text.size() && isOutsideMarkup(text.at(t)))
            ++t;
    }
    return b == bytes.size() && t == text.size();
}

// A byte that is no character of the encoding becomes a NUL, which no document may hold: it fails
// the check only when it lies before the root's end.
QString decoded(const QByteArray& bytes, QTextCodec* codec)
{
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    return codec->toUnicode(bytes.constData(), bytes.size(), &state);
}

// The document from its root's start tag as the check's reader is to take it. The core parser lets
// a repeated attribute overwrite the earlier value, where the reader refuses it, so a repeat is given
// a name of its own; and a start tag of too many attributes is refused before the reader sees it.
// The text is taken as a reader takes a well-formed document: the reader stops at the first fault
// of any other, before whatever this scan might take differently, and where the scan cannot follow
// the text it leaves the rest to the reader as it is.
class ReaderText
{
public:
    explicit ReaderText(const QString& fromRoot) : m_text(fromRoot) {}

    // False when a start tag holds more attributes than the reader compares in good time, or an
    // attribute name that the core parser does not read whole.
    bool prepare();
    QString text() const { return m_out + m_text.midRef(m_copied); }

private:
    enum class Tag { Start, Empty, Lost, Refused };

    Tag startTag(int& at);
    void rename(QSet<QString>& names, int nameStart, int nameEnd, int index);
    int pastName(int at) const;
    int pastSpaces(int at) const;

    const QString& m_text;
    QString m_out;
    int m_copied = 0;
};

bool ReaderText::prepare()
{
    int depth = 0;
    for (int at = m_text.indexOf('<'); at >= 0; at = m_text.indexOf('<', at)) {
        const QStringRef markup = m_text.midRef(at);
        if (markup.startsWith(QLatin1String("<!--"))) {
            at = pastLiteral(m_text, at + 4, QLatin1String("-->"));
        } else if (markup.startsWith(QLatin1String("<![CDATA["))) {
            at = pastLiteral(m_text, at + 9, QLatin1String("]]>"));
        } else if (markup.startsWith(QLatin1String("<?"))) {
            at = pastLiteral(m_text, at + 2, QLatin1String("?>"));
        } else if (markup.startsWith(QLatin1String("</"))) {
            at = m_text.indexOf('>', at);
            if (at < 0 || --depth <= 0)
                return true;
        } else if (markup.startsWith(QLatin1String("<!"))) {
            return true;
        } else {
            switch (startTag(at)) {
            case Tag::Refused:
                return false;
            case Tag::Lost:
                return true;
            case Tag::Start:
                ++depth;
                break;
            case Tag::Empty:
                if (depth == 0)
                    return true;
                break;
            }
        }
    }
    return true;
}

// The start tag at `at`, its '<', through its '>', past which `at` moves.
ReaderText::Tag ReaderText::startTag(int& at)
{
    const int size = m_text.size();
    QSet<QString> names;
    int count = 0;
    for (int i = pastName(at + 1);;) {
        i = pastSpaces(i);
        if (i < size && m_text.at(i) == '>') {
            at = i + 1;
            return Tag::Start;
        }
        if (m_text.midRef(i).startsWith(QLatin1String("/>"))) {
            at = i + 2;
            return Tag::Empty;
        }
        const int nameStart = i;
        const int nameEnd = pastName(nameStart);
        i = pastSpaces(nameEnd);
        if (nameEnd == nameStart || i >= size || m_text.at(i) != '=')
            return Tag::Lost;
        if (!isAttributeName(m_text.midRef(nameStart, nameEnd - nameStart)))
            return Tag::Refused;
        i = pastSpaces(i + 1);
        const QChar quote = i < size ? m_text.at(i) : QChar();
        const int valueEnd = quote == '"' || quote == '\'' ? m_text.indexOf(quote, i + 1) : -1;
        if (valueEnd < 0)
            return Tag::Lost;
        if (++count > kMostAttributes)
            return Tag::Refused;
        rename(names, nameStart, nameEnd, count);
        i = valueEnd + 1;
    }
}

// Enters the attribute's name in `names`, renamed when it is there already: the attribute's index
// is appended until the name is new, so that it clashes neither with an earlier one nor with a
// later one, which is renamed in its turn.
void ReaderText::rename(QSet<QString>& names, int nameStart, int nameEnd, int index)
{
    QString name = m_text.mid(nameStart, nameEnd - nameStart);
    if (!names.contains(name)) {
        names.insert(name);
        return;
    }
    const QString suffix = '.' + QString::number(index);
    m_out += m_text.midRef(m_copied, nameEnd - m_copied);
    m_copied = nameEnd;
    do {
        name += suffix;
        m_out += suffix;
    } while (names.contains(name));
    names.insert(name);
}

// A name as far as the scan needs one: it ends where no name character can stand.
int ReaderText::pastName(int at) const
{
    static const QString ends = QStringLiteral(" \t\r\n=/><\"'");
    while (at < m_text.size() && !ends.contains(m_text.at(at)))
        ++at;
    return at;
}

int ReaderText::pastSpaces(int at) const
{
    while (at < m_text.size() && isXmlSpace(m_text.at(at)))
        ++at;
    return at;
}

// An entity that nothing declares is read by the core parser as it reads one (as nothing): it
// leaves the structure whole.
class UndeclaredEntities : public QXmlStreamEntityResolver
{
public:
    QString resolveUndeclaredEntity(const QString&) override { return QLatin1String(""); }
};

bool isWellFormedFromRoot(const QString& fromRoot)
{
    ReaderText readerText(fromRoot);
    if (!readerText.prepare())
        return false;
    QXmlStreamReader reader(readerText.text());
    // The core parser knows no namespaces: to both, a prefix is a part of the name.
    reader.setNamespaceProcessing(false);
    UndeclaredEntities entities;
    reader.setEntityResolver(&entities);
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

bool isWellFormedToRootEnd(const QByteArray& bytes)
{
    const Prolog prolog = readProlog(bytes);
    if (prolog.rootStart < 0)
        return false;
    const QByteArray fromRoot = bytes.mid(prolog.rootStart);
    // The core parser reads the bytes as UTF-8 whatever the document declares, so a document that is
    // well-formed as UTF-8 is read whole there even when it declares another encoding.
    QTextCodec* utf8 = QTextCodec::codecForMib(kUtf8Mib);
    if (isWellFormedFromRoot(decoded(fromRoot, utf8)))
        return true;
    QTextCodec* declared = declaredCodec(prolog.declaration);
    if (!declared || declared == utf8)
        return false;
    const QString text = decoded(fromRoot, declared);
    return keepsMarkupBytes(fromRoot, text) && isWellFormedFromRoot(text);
}

} // namespace XmlTree
