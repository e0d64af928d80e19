#pragma once

// Enciphered form and language files for the widget library's tests: fixtures stay plain under
// tests/data/auilib/ and are enciphered when a test lays them out.
#include "Encrypter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

// The bytes of an enciphered file holding `utf8`: the text under the library's cipher, then the
// digest of the enciphered bytes.
inline QByteArray encipheredBytes(const QByteArray& utf8)
{
    std::vector<unsigned char> bytes(utf8.begin(), utf8.end());
    AUILib::Encrypter::RC4CryptBlock(bytes);
    unsigned char digest[16];
    AUILib::Encrypter::MD5Generate(bytes.data(), static_cast<unsigned int>(bytes.size()), digest);
    bytes.insert(bytes.end(), digest, digest + 16);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

// Writes `utf8` enciphered to `path`, creating its folders; fails the test when it cannot.
inline void writeEnciphered(const QString& path, const QByteArray& utf8)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath())) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    const QByteArray bytes = encipheredBytes(utf8);
    ASSERT_EQ(file.write(bytes), bytes.size());
}
