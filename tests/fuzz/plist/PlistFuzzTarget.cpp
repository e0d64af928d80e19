#include "PlistFuzzTarget.h"

#include "platform/PlistCodec.h"
#include "platform/PlistScreening.h"

#include <QByteArray>
#include <QDateTime>
#include <QVariant>

#include <plist/plist.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

void fail(const char* why)
{
    std::fprintf(stderr, "plist fuzz: %s\n", why);
    std::abort();
}

// The deepest level and the number of nodes of a tree the library built, found without recursion.
std::pair<int, quint64> measure(plist_t root)
{
    std::vector<std::pair<plist_t, int>> pending{{root, 0}};
    int deepest = 0;
    quint64 nodes = 0;
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        ++nodes;
        deepest = std::max(deepest, depth);
        if (plist_get_node_type(node) == PLIST_ARRAY) {
            for (uint32_t i = 0; i < plist_array_get_size(node); ++i)
                pending.push_back({plist_array_get_item(node, i), depth + 1});
        } else if (plist_get_node_type(node) == PLIST_DICT) {
            plist_dict_iter iterator = nullptr;
            plist_dict_new_iter(node, &iterator);
            for (plist_t item = nullptr;;) {
                plist_dict_next_item(node, iterator, nullptr, &item);
                if (!item)
                    break;
                pending.push_back({item, depth + 1});
            }
            std::free(iterator);
        }
    }
    return {deepest, nodes};
}

// Whatever the screening lets through, the library must build within the bounds: the reader frees
// and converts what it builds, and both recurse.
void checkScreening(const QByteArray& bytes)
{
    const auto length = static_cast<uint32_t>(bytes.size());
    const bool binary = plist_is_binary(bytes.constData(), length);
    const Plist::Screening screening = binary ? Plist::screenBinary(bytes) : Plist::screenXml(bytes);
    if (screening == Plist::Screening::BeyondBounds || (binary && screening == Plist::Screening::Malformed))
        return;
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(bytes.constData(), length, &root);
    else
        plist_from_xml(bytes.constData(), length, &root);
    if (!root)
        return;
    const auto [depth, nodes] = measure(root);
    plist_free(root);
    if (depth > Plist::kMaxNesting)
        fail("screening let a list through that nests beyond the bound");
    if (nodes > Plist::kMaxObjects)
        fail("screening let a list through with more objects than the bound");
}

// Equal as values, counting NaN equal to NaN, -0.0 equal to 0.0 and dates less than a second apart
// equal: the library writes every zero without its sign and XML dates without their fraction.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.type() == QVariant::Double && b.type() == QVariant::Double) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x == y || (std::isnan(x) && std::isnan(y));
    }
    if (a.type() == QVariant::DateTime && b.type() == QVariant::DateTime)
        return std::abs(a.toDateTime().toMSecsSinceEpoch() - b.toDateTime().toMSecsSinceEpoch()) < 1000;
    if (a.type() == QVariant::List && b.type() == QVariant::List) {
        const QVariantList x = a.toList();
        const QVariantList y = b.toList();
        if (x.size() != y.size())
            return false;
        for (int i = 0; i < x.size(); ++i)
            if (!sameValue(x[i], y[i]))
                return false;
        return true;
    }
    if (a.type() == QVariant::Map && b.type() == QVariant::Map) {
        const QVariantMap x = a.toMap();
        const QVariantMap y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto entry = x.cbegin(); entry != x.cend(); ++entry)
            if (!sameValue(entry.value(), y.value(entry.key())))
                return false;
        return true;
    }
    return a == b;
}

void checkRoundTrip(const QVariant& value)
{
    const auto xml = Plist::toXml(value);
    if (!xml)
        fail("a list that was read cannot be written");
    const auto again = Plist::parseList(*xml);
    if (again.status != Plist::ReadStatus::Ok)
        fail("a list that was written cannot be read back");
    if (!sameValue(value, again.value))
        fail("a list changed on its way through a write and a read");
}

} // namespace

int readPlistFuzzInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    checkScreening(bytes);
    const Plist::ReadResult result = Plist::parseList(bytes);
    if (result.status == Plist::ReadStatus::Ok)
        checkRoundTrip(result.value);
    return static_cast<int>(result.status);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    readPlistFuzzInput(data, size);
    return 0;
}
