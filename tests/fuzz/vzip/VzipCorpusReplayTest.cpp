#include "VzipFuzzTarget.h"

#include "IsolatedEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QList<QByteArray> seeds()
{
    QList<QByteArray> packages;
    const QDir corpus(VZIP_CORPUS_DIR);
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name)) {
        QFile file(corpus.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            packages.append(file.readAll());
    }
    return packages;
}

int unpack(const QByteArray& bytes)
{
    return unpackFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
}

} // namespace

// One test, because the fuzz entry point keeps its playground for the life of the process.
TEST_F(IsolatedTest, FuzzCorpusUnpacksAndEveryTruncationFailsCleanly)
{
    const QList<QByteArray> packages = seeds();
    ASSERT_GE(packages.size(), 3);
    for (const QByteArray& package : packages) {
        EXPECT_EQ(unpack(package), 1);
        for (int length = 0; length < package.size(); ++length)
            EXPECT_LT(unpack(package.left(length)), 0) << "truncated to " << length;
    }
}
