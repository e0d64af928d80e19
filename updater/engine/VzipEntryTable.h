#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// One name of a package's entry table, checked and read as UTF-8.
struct VzipEntry
{
    QString name;
    std::uint32_t size = 0;
};

// A package's entry table: a 16-bit count, then per entry a length byte, a skipped byte, the name
// and a 32-bit size. The table arrives from the network, so it is read and checked in full before
// anything is decoded or written.
class VzipEntryTable
{
public:
    // Null when the table is short of its count, or an entry's name is empty, holds a NUL byte,
    // starts at a separator or has a ".." level.
    static std::optional<VzipEntryTable> readFile(const QString& path);

    const std::vector<VzipEntry>& entries() const { return m_entries; }
    // The bytes the entries take from the decoded contents together.
    std::uint64_t totalSize() const { return m_totalSize; }

    // A folder entry has size 0 and a name ending with either separator; it writes no file.
    static bool isFolder(const VzipEntry& entry);
    static bool isSafeName(const QByteArray& name);

private:
    std::vector<VzipEntry> m_entries;
    std::uint64_t m_totalSize = 0;
};
