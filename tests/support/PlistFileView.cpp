#include "PlistFileView.h"

#include <QFile>

#include <plist/plist.h>

#include <cstdlib>
#include <memory>

namespace PlistFileView {
namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using NodePtr = std::unique_ptr<void, NodeDeleter>;

NodePtr load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), static_cast<uint32_t>(bytes.size()), &root);
    return NodePtr(root);
}

// The node at `keyPath` (dictionary keys from the top), or null.
plist_t nodeAt(plist_t node, const QStringList& keyPath)
{
    for (const QString& key : keyPath) {
        if (!node || plist_get_node_type(node) != PLIST_DICT)
            return nullptr;
        node = plist_dict_get_item(node, key.toUtf8().constData());
    }
    return node;
}

QString stringOf(plist_t node)
{
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return {};
    char* text = nullptr;
    plist_get_string_val(node, &text);
    const QString value = QString::fromUtf8(text);
    free(text);
    return value;
}

} // namespace

QStringList topLevelKeys(const QString& path)
{
    const NodePtr root = load(path);
    QStringList keys;
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT)
        return keys;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(root.get(), &iterator);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(root.get(), iterator, &key, &value);
        if (!value)
            break;
        keys.append(QString::fromUtf8(key));
        free(key);
    }
    free(iterator);
    return keys;
}

QString stringAt(const QString& path, const QStringList& keyPath)
{
    const NodePtr root = load(path);
    return stringOf(nodeAt(root.get(), keyPath));
}

QStringList stringOfEachRecord(const QString& path, const QString& key)
{
    const NodePtr root = load(path);
    QStringList values;
    if (!root || plist_get_node_type(root.get()) != PLIST_ARRAY)
        return values;
    for (uint32_t i = 0; i < plist_array_get_size(root.get()); ++i) {
        plist_t record = plist_array_get_item(root.get(), i);
        if (plist_get_node_type(record) == PLIST_DICT)
            values.append(stringOf(plist_dict_get_item(record, key.toUtf8().constData())));
    }
    return values;
}

std::optional<qint64> integerAt(const QString& path, const QStringList& keyPath)
{
    const NodePtr root = load(path);
    const plist_t node = nodeAt(root.get(), keyPath);
    if (!node || plist_get_node_type(node) != PLIST_UINT)
        return std::nullopt;
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    return static_cast<qint64>(value);
}

QByteArray xmlToBinary(const QByteArray& xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), static_cast<uint32_t>(xml.size()), &root);
    const NodePtr owner(root);
    if (!root)
        return {};
    char* binary = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &binary, &length);
    const QByteArray bytes(binary, static_cast<int>(length));
    plist_to_bin_free(binary);
    return bytes;
}

} // namespace PlistFileView
