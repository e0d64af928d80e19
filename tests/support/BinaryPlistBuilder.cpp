#include "BinaryPlistBuilder.h"

namespace {

QByteArray bigEndian(quint64 value, int width)
{
    QByteArray bytes;
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xFF));
    return bytes;
}

// An object marker with its length: in the marker's low bits, or in a following integer.
QByteArray marker(int type, int count)
{
    if (count < 15)
        return QByteArray(1, char((type << 4) | count));
    return QByteArray(1, char((type << 4) | 0xF)) + char(0x12) + bigEndian(quint64(count), 4);
}

QByteArray references(const QVector<int>& items, int refSize)
{
    QByteArray bytes;
    for (int item : items)
        bytes += bigEndian(quint64(item), refSize);
    return bytes;
}

} // namespace

int BinaryPlistBuilder::add(const QByteArray& object)
{
    m_objects.append(object);
    return m_objects.size() - 1;
}

int BinaryPlistBuilder::addAscii(const QByteArray& text)
{
    return add(marker(0x5, text.size()) + text);
}

int BinaryPlistBuilder::addUtf16(const QString& text)
{
    QByteArray units;
    for (const QChar c : text)
        units += bigEndian(c.unicode(), 2);
    return add(marker(0x6, text.size()) + units);
}

int BinaryPlistBuilder::addData(int size)
{
    return add(marker(0x4, size) + QByteArray(size, 'd'));
}

QByteArray BinaryPlistBuilder::array(const QVector<int>& items, int refSize)
{
    return marker(0xA, items.size()) + references(items, refSize);
}

QByteArray BinaryPlistBuilder::dictionary(const QVector<int>& keys, const QVector<int>& values, int refSize)
{
    return marker(0xD, keys.size()) + references(keys, refSize) + references(values, refSize);
}

QByteArray BinaryPlistBuilder::build(int top, int refSize) const
{
    QByteArray bytes = "bplist00";
    QVector<quint64> offsets;
    for (const QByteArray& object : m_objects) {
        offsets.append(quint64(bytes.size()));
        bytes += object;
    }
    const quint64 offsetTable = quint64(bytes.size());
    for (quint64 offset : offsets)
        bytes += bigEndian(offset, 4);
    bytes += QByteArray(6, '\0') + char(4) + char(refSize);
    bytes += bigEndian(quint64(m_objects.size()), 8) + bigEndian(quint64(top), 8) + bigEndian(offsetTable, 8);
    return bytes;
}
