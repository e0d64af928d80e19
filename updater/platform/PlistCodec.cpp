#include "PlistCodec.h"

#include <QDateTime>
#include <QFile>
#include <QPoint>
#include <QRect>
#include <QSaveFile>
#include <QSize>
#include <QStringList>

#include <plist/plist.h>

#include <limits>
#include <memory>
#include <vector>

namespace Plist {
namespace {

// Preference lists are small; anything near these bounds is not one of ours.
constexpr qint64 kMaxPlistBytes = 16 * 1024 * 1024;
constexpr int kMaxNesting = 128;

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
constexpr qint64 kPlistEpochOffset = 978307200;

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using NodePtr = std::unique_ptr<void, NodeDeleter>;

// Both parsers of the property-list library recurse once per container level, so a hostile list
// nested deeply enough would exhaust the stack before we ever see the tree: count levels first.
bool xmlNestingWithinBound(const QByteArray& bytes)
{
    int depth = 0;
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '<')
            continue;
        const char* tag = bytes.constData() + i + 1;
        const int remaining = bytes.size() - i - 1;
        auto startsWith = [&](const char* word, int length) { return remaining >= length && qstrncmp(tag, word, length) == 0; };
        if (startsWith("dict>", 5) || startsWith("array>", 6)) {
            if (++depth > kMaxNesting)
                return false;
        } else if (startsWith("/dict>", 6) || startsWith("/array>", 7)) {
            --depth;
        }
    }
    return true;
}

// Reads a big-endian unsigned number of `width` bytes at `offset`; nothing when it lies outside `bytes`.
std::optional<quint64> bigEndianAt(const QByteArray& bytes, quint64 offset, int width)
{
    if (width < 1 || width > 8 || offset > quint64(bytes.size()) || quint64(bytes.size()) - offset < quint64(width))
        return std::nullopt;
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[int(offset) + i]);
    return value;
}

// The binary reader follows object references recursively and copies an object each time it is
// referenced again, so a small hostile list can nest deeply or expand exponentially. Walk the
// reference graph ourselves, iteratively, and refuse before the library sees such a list.
bool binaryShapeWithinBounds(const QByteArray& bytes)
{
    constexpr int kTrailerSize = 32;
    constexpr quint64 kMaxExpandedObjects = 1000000;
    if (bytes.size() < 8 + kTrailerSize)
        return false;
    const quint64 trailer = quint64(bytes.size()) - kTrailerSize;
    const int offsetSize = static_cast<unsigned char>(bytes[int(trailer) + 6]);
    const int refSize = static_cast<unsigned char>(bytes[int(trailer) + 7]);
    const auto objectCount = bigEndianAt(bytes, trailer + 8, 8);
    const auto topObject = bigEndianAt(bytes, trailer + 16, 8);
    const auto offsetTable = bigEndianAt(bytes, trailer + 24, 8);
    if (!objectCount || !topObject || !offsetTable || *topObject >= *objectCount || refSize < 1 || refSize > 8)
        return false;

    struct Pending {
        quint64 object;
        int depth;
    };
    std::vector<Pending> stack{{*topObject, 0}};
    quint64 visited = 0;
    while (!stack.empty()) {
        const Pending current = stack.back();
        stack.pop_back();
        if (current.depth > kMaxNesting || ++visited > kMaxExpandedObjects || current.object >= *objectCount)
            return false;
        const auto offset = bigEndianAt(bytes, *offsetTable + current.object * quint64(offsetSize), offsetSize);
        const auto marker = offset ? bigEndianAt(bytes, *offset, 1) : std::nullopt;
        if (!marker)
            return false;
        const int type = int(*marker >> 4);
        if (type != 0xA && type != 0xC && type != 0xD)
            continue;
        quint64 count = *marker & 0xF;
        quint64 refs = *offset + 1;
        if (count == 0xF) {
            const auto sizeMarker = bigEndianAt(bytes, refs, 1);
            if (!sizeMarker || (*sizeMarker >> 4) != 0x1 || (*sizeMarker & 0xF) > 3)
                return false;
            const int width = 1 << (*sizeMarker & 0xF);
            const auto longCount = bigEndianAt(bytes, refs + 1, width);
            if (!longCount)
                return false;
            count = *longCount;
            refs += 1 + quint64(width);
        }
        if (type == 0xD)
            count *= 2;
        if (count > kMaxExpandedObjects - visited - stack.size())
            return false;
        for (quint64 i = 0; i < count; ++i) {
            const auto child = bigEndianAt(bytes, refs + i * quint64(refSize), refSize);
            if (!child)
                return false;
            stack.push_back({*child, current.depth + 1});
        }
    }
    return true;
}

std::optional<QVariant> toVariant(plist_t node, int depth);

std::optional<QVariant> arrayToVariant(plist_t node, int depth)
{
    QVariantList list;
    const uint32_t count = plist_array_get_size(node);
    for (uint32_t i = 0; i < count; ++i) {
        auto item = toVariant(plist_array_get_item(node, i), depth + 1);
        if (!item)
            return std::nullopt;
        list.append(*item);
    }
    return list;
}

std::optional<QVariant> dictToVariant(plist_t node, int depth)
{
    QVariantMap map;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    bool ok = iterator != nullptr;
    while (ok) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!value) {
            free(key);
            break;
        }
        auto converted = toVariant(value, depth + 1);
        if (converted)
            map.insert(QString::fromUtf8(key), *converted);
        else
            ok = false;
        free(key);
    }
    free(iterator);
    if (!ok)
        return std::nullopt;
    return map;
}

// A string that starts with '@' carries a Qt value type ("@Point(1 2)") or an escaped '@' ("@@").
QVariant stringToVariant(const QString& text)
{
    if (!text.startsWith('@'))
        return text;
    if (text.startsWith("@@"))
        return text.mid(1);
    const int open = text.indexOf('(');
    if (open < 0 || !text.endsWith(')'))
        return text;
    const QString type = text.mid(1, open - 1);
    const QStringList numbers = text.mid(open + 1, text.size() - open - 2).split(' ');
    QVector<int> values;
    for (const QString& number : numbers) {
        if (number.isEmpty())
            continue;
        bool ok = false;
        values.append(number.toInt(&ok));
        if (!ok)
            return text;
    }
    if (type == "Point" && values.size() == 2)
        return QPoint(values[0], values[1]);
    if (type == "Size" && values.size() == 2)
        return QSize(values[0], values[1]);
    if (type == "Rect" && values.size() == 4)
        return QRect(values[0], values[1], values[2], values[3]);
    if (type == "Invalid" && values.isEmpty())
        return QVariant();
    return text;
}

std::optional<QVariant> toVariant(plist_t node, int depth)
{
    if (!node || depth > kMaxNesting)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return QVariant(value != 0);
    }
    case PLIST_UINT: {
        uint64_t raw = 0;
        plist_get_uint_val(node, &raw);
        const qint64 value = static_cast<qint64>(raw);
        if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
            return QVariant(static_cast<int>(value));
        return QVariant(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value);
    }
    case PLIST_STRING: {
        char* text = nullptr;
        plist_get_string_val(node, &text);
        const QString value = QString::fromUtf8(text ? text : "");
        free(text);
        return stringToVariant(value);
    }
    case PLIST_DATA: {
        char* data = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &data, &length);
        const QByteArray value(data, static_cast<int>(qMin<uint64_t>(length, kMaxPlistBytes)));
        free(data);
        return QVariant(value);
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        const qint64 msecs = (kPlistEpochOffset + seconds) * 1000 + microseconds / 1000;
        return QVariant(QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC));
    }
    case PLIST_ARRAY:
        return arrayToVariant(node, depth);
    case PLIST_DICT:
        return dictToVariant(node, depth);
    default:
        return std::nullopt;
    }
}

QString variantToString(const QVariant& value)
{
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::QPoint: {
        const QPoint point = value.toPoint();
        return QString("@Point(%1 %2)").arg(point.x()).arg(point.y());
    }
    case QMetaType::QSize: {
        const QSize size = value.toSize();
        return QString("@Size(%1 %2)").arg(size.width()).arg(size.height());
    }
    case QMetaType::QRect: {
        const QRect rect = value.toRect();
        return QString("@Rect(%1 %2 %3 %4)").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
    }
    default: {
        const QString text = value.toString();
        return text.startsWith('@') ? '@' + text : text;
    }
    }
}

plist_t fromVariant(const QVariant& value, int depth)
{
    if (depth > kMaxNesting)
        return nullptr;
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::UnknownType:
        return plist_new_string("@Invalid()");
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), static_cast<uint64_t>(bytes.size()));
    }
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const qint64 msecs = value.toDateTime().toMSecsSinceEpoch() - kPlistEpochOffset * 1000;
        const qint64 seconds = msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000);
        return plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>((msecs - seconds * 1000) * 1000));
    }
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        plist_t array = plist_new_array();
        for (const QVariant& item : value.toList()) {
            plist_t node = fromVariant(item, depth + 1);
            if (!node) {
                plist_free(array);
                return nullptr;
            }
            plist_array_append_item(array, node);
        }
        return array;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
            plist_t node = fromVariant(entry.value(), depth + 1);
            if (!node) {
                plist_free(dict);
                return nullptr;
            }
            plist_dict_set_item(dict, entry.key().toUtf8().constData(), node);
        }
        return dict;
    }
    case QMetaType::QString:
    case QMetaType::QPoint:
    case QMetaType::QSize:
    case QMetaType::QRect:
        return plist_new_string(variantToString(value).toUtf8().constData());
    default:
        return nullptr;
    }
}

} // namespace

std::optional<QVariant> parse(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxPlistBytes)
        return std::nullopt;
    const auto length = static_cast<uint32_t>(bytes.size());
    plist_t root = nullptr;
    if (plist_is_binary(bytes.constData(), length)) {
        if (!binaryShapeWithinBounds(bytes))
            return std::nullopt;
        plist_from_bin(bytes.constData(), length, &root);
    } else {
        if (!xmlNestingWithinBound(bytes))
            return std::nullopt;
        plist_from_xml(bytes.constData(), length, &root);
    }
    NodePtr owner(root);
    return toVariant(root, 0);
}

std::optional<QByteArray> toXml(const QVariant& value)
{
    NodePtr root(fromVariant(value, 0));
    if (!root)
        return std::nullopt;
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    if (!xml)
        return std::nullopt;
    QByteArray bytes(xml, static_cast<int>(length));
    plist_to_xml_free(xml);
    return bytes;
}

std::optional<QVariant> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPlistBytes)
        return std::nullopt;
    return parse(file.read(kMaxPlistBytes + 1));
}

bool writeFile(const QString& path, const QVariant& value)
{
    const auto xml = toXml(value);
    if (!xml)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(*xml) != xml->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace Plist
