#include "LanguageFileFuzzTarget.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

int read(const QByteArray& bytes)
{
    return readLanguageFileFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size()));
}

} // namespace

// The seeds are the widget library's test fixtures: forms, Linguist and string files.
TEST(LanguageFileFuzzCorpus, SeedsAreReadAndEveryTruncationIsHandled)
{
    const QDir corpus(AUILIB_CORPUS_DIR);
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 4);
    const QStringList german = {"loader_de-DE.ts", "pdf_de-DE.ts", "strings_de-DE.xml"};
    for (const QString& name : names) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray seed = file.readAll();
        if (german.contains(name))
            EXPECT_GT(read(seed), 0) << name.toStdString();
        else
            EXPECT_GE(read(seed), 0) << name.toStdString();
        for (int length = 0; length < seed.size(); ++length)
            read(seed.left(length));
    }
}
