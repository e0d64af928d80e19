#include "PlistCodec.h"

#include "PlistScreening.h"

#include <QDateTime>
#include <QFile>
#include <QPoint>
#include <QRect>
#include <QSaveFile>
#include <QSize>
#include <QStringList>

#include <plist/plist.h>

#include <cstring>
#include <limits>
#include <memory>

namespace Plist {
namespace {

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
constexpr qint64 kPlistEpochOffset = 978307200;

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using NodePtr = std::unique_ptr<void, NodeDeleter>;

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
        // The library's copying accessor aborts on a string holding U+0000; such a list was refused
        // before parsing, and the length check keeps it from ever reaching here.
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        if (!text || length > uint64_t(kMaxBytes) || std::strlen(text) != length)
            return std::nullopt;
        return stringToVariant(QString::fromUtf8(text, int(length)));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* data = plist_get_data_ptr(node, &length);
        if (length > uint64_t(kMaxBytes))
            return std::nullopt;
        return QVariant(QByteArray(data, int(length)));
    }
    case PLIST_DATE: {
        // The library hands a date out as whole seconds cut toward zero, the smallest number
        // standing for every date it cannot express that way, and the fraction without its sign.
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        if (seconds == std::numeric_limits<int32_t>::min())
            return std::nullopt;
        const qint64 fraction = (seconds < 0 ? -microseconds : microseconds) / 1000;
        return QVariant(QDateTime::fromMSecsSinceEpoch((kPlistEpochOffset + seconds) * 1000 + fraction, Qt::UTC));
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

// The library keeps strings NUL-terminated: one holding U+0000 would be cut short without a word.
plist_t newString(const QString& text)
{
    return text.contains(QChar(0)) ? nullptr : plist_new_string(text.toUtf8().constData());
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
        if (seconds <= std::numeric_limits<int32_t>::min() || seconds > std::numeric_limits<int32_t>::max())
            return nullptr;
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
            plist_t node = entry.key().contains(QChar(0)) ? nullptr : fromVariant(entry.value(), depth + 1);
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
        return newString(variantToString(value));
    default:
        return nullptr;
    }
}

} // namespace

ReadResult parseList(const QByteArray& bytes)
{
    if (bytes.size() > kMaxBytes)
        return {ReadStatus::Refused, {}};
    if (bytes.isEmpty())
        return {ReadStatus::Malformed, {}};
    const auto length = static_cast<uint32_t>(bytes.size());
    const bool binary = plist_is_binary(bytes.constData(), length);
    const Screening screening = binary ? screenBinary(bytes) : screenXml(bytes);
    if (screening == Screening::Malformed)
        return {ReadStatus::Malformed, {}};
    if (screening == Screening::BeyondBounds)
        return {ReadStatus::Refused, {}};
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(bytes.constData(), length, &root);
    else
        plist_from_xml(bytes.constData(), length, &root);
    const NodePtr owner(root);
    if (!root)
        return {ReadStatus::Malformed, {}};
    if (screening == Screening::HoldsNul)
        return {ReadStatus::Refused, {}};
    auto value = toVariant(root, 0);
    if (!value)
        return {ReadStatus::Refused, {}};
    return {ReadStatus::Ok, *value};
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

ReadResult readListFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {ReadStatus::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {ReadStatus::Unreadable, {}};
    if (file.size() > kMaxBytes)
        return {ReadStatus::Refused, {}};
    return parseList(file.readAll());
}

std::optional<QVariant> parse(const QByteArray& bytes)
{
    ReadResult result = parseList(bytes);
    if (result.status != ReadStatus::Ok)
        return std::nullopt;
    return std::move(result.value);
}

std::optional<QVariant> readFile(const QString& path)
{
    ReadResult result = readListFile(path);
    if (result.status != ReadStatus::Ok)
        return std::nullopt;
    return std::move(result.value);
}

bool writeFile(const QString& path, const QVariant& value, QString* failure)
{
    const auto failed = [failure](const QString& cause) {
        if (failure)
            *failure = cause;
        return false;
    };
    const auto xml = toXml(value);
    if (!xml)
        return failed("it holds a value that a property list cannot store");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    // A short write says nothing of its cause; the write of the rest then fails with it.
    for (qint64 written = 0; written < xml->size();) {
        const qint64 step = file.write(xml->constData() + written, xml->size() - written);
        if (step <= 0) {
            const QString cause = file.errorString();
            file.cancelWriting();
            return failed(cause);
        }
        written += step;
    }
    return file.commit() || failed(file.errorString());
}

} // namespace Plist
