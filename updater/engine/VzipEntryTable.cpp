#include "engine/VzipEntryTable.h"

#include <QByteArray>
#include <QFile>

namespace {

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::uint32_t littleEndian32(const QByteArray& bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace

bool VzipEntryTable::isSafeName(const QByteArray& name)
{
    if (name.isEmpty() || name.contains('\0') || isSeparator(name.front()))
        return false;
    int levelStart = 0;
    for (int i = 0; i <= name.size(); ++i) {
        if (i == name.size() || isSeparator(name[i])) {
            if (name.mid(levelStart, i - levelStart) == "..")
                return false;
            levelStart = i + 1;
        }
    }
    return true;
}

bool VzipEntryTable::isFolder(const VzipEntry& entry)
{
    return entry.size == 0 && (entry.name.endsWith('/') || entry.name.endsWith('\\'));
}

std::optional<VzipEntryTable> VzipEntryTable::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray countBytes = file.read(2);
    if (countBytes.size() != 2)
        return std::nullopt;
    const unsigned count = static_cast<unsigned char>(countBytes[0]) | static_cast<unsigned char>(countBytes[1]) << 8;

    VzipEntryTable table;
    table.m_entries.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const QByteArray lengthAndReserved = file.read(2);
        if (lengthAndReserved.size() != 2)
            return std::nullopt;
        const int length = static_cast<unsigned char>(lengthAndReserved[0]);
        const QByteArray name = file.read(length);
        const QByteArray size = file.read(4);
        if (name.size() != length || size.size() != 4 || !isSafeName(name))
            return std::nullopt;
        table.m_entries.push_back(VzipEntry{QString::fromUtf8(name), littleEndian32(size)});
        table.m_totalSize += table.m_entries.back().size;
    }
    return table;
}
