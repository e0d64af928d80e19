#pragma once

#include "LzmaAloneEncoder.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>
#include <vector>

// Hand-made Vzip packages, well-formed or deliberately not.
struct VzipFixtureEntry
{
    QByteArray name;
    QByteArray contents;
};

class VzipFixture
{
public:
    VzipFixture& file(const QByteArray& name, const QByteArray& contents);
    VzipFixture& folder(const QByteArray& name);

    // The concatenated file contents, the LZMA part over them and the table, each replaceable.
    QByteArray contents() const;
    QByteArray lzmaPart(const LzmaEncodeOptions& options = smallDictionary()) const;
    QByteArray table() const;
    QByteArray table(std::uint16_t count) const;

    QByteArray package(const LzmaEncodeOptions& options = smallDictionary()) const;
    // The package with a last file "padding.bin" of incompressible bytes that makes it exactly `size`
    // bytes long; empty when it is larger than that without any.
    QByteArray packageOfSize(int size) const;
    // Header with the right checksum and N over the given parts.
    static QByteArray assemble(const QByteArray& lzmaPart, const QByteArray& table);
    static LzmaEncodeOptions smallDictionary();

private:
    std::vector<VzipFixtureEntry> m_entries;
};

// Every folder and file below `root`, by relative path; folders map to "<folder>".
QMap<QString, QByteArray> treeOf(const QString& root);
