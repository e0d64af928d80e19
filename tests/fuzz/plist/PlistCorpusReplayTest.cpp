#include "PlistFuzzTarget.h"

#include "platform/PlistCodec.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// A corpus file's name starts with what reading it must give: "ok-", "malformed-" or "refused-".
Plist::ReadStatus expectedStatus(const QString& name)
{
    if (name.startsWith("ok-"))
        return Plist::ReadStatus::Ok;
    if (name.startsWith("malformed-"))
        return Plist::ReadStatus::Malformed;
    return Plist::ReadStatus::Refused;
}

// Every input the fuzzer was seeded with or once failed on stays covered here.
TEST(PlistCorpusReplay, EveryInputReadsAsItsNameSaysAndEveryTruncationReadsCleanly)
{
    const QDir corpus(PLIST_CORPUS_DIR);
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 10);
    for (const QString& name : names) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        EXPECT_EQ(readPlistFuzzInput(data, std::size_t(bytes.size())), int(expectedStatus(name))) << name.toStdString();
        for (int length = 0; length < bytes.size(); length += 1 + bytes.size() / 64)
            readPlistFuzzInput(data, std::size_t(length));
    }
}

} // namespace
