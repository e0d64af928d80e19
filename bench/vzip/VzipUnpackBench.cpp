// Driver for bench/vzip_unpack.sh:
//   vzip_unpack_bench payload FOLDER MIB   writes MIB mebibytes of mixed files into FOLDER
//   vzip_unpack_bench unpack PACKAGE FOLDER unpacks PACKAGE into FOLDER; exits with 0 on result 1
#include "engine/CZR_Vzip.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class Xorshift
{
public:
    explicit Xorshift(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }

private:
    std::uint64_t m_state;
};

const char* const kWords[] = {"page", "reader", "annotation", "the", "of", "font", "stream", "object", "and", "glyph",
                              "update", "module", "layer", "a", "to", "render", "table", "index", "bookmark", "form"};

// Noise (already compressed data), text, and sparse binary structures, in about equal shares.
void fillBlock(QByteArray& block, int kind, Xorshift& random)
{
    char* out = block.data();
    const int size = block.size();
    if (kind == 0) {
        for (int i = 0; i + 8 <= size; i += 8) {
            const std::uint64_t value = random.next();
            std::memcpy(out + i, &value, 8);
        }
        return;
    }
    if (kind == 1) {
        int i = 0;
        while (i < size) {
            const std::uint64_t pick = random.next();
            const char* word = (pick & 0xF00) == 0 ? nullptr : kWords[pick % 20];
            char number[24];
            if (!word) {
                std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(pick >> 40));
                word = number;
            }
            for (const char* c = word; *c && i < size; ++c)
                out[i++] = *c;
            if (i < size)
                out[i++] = (pick & 0x3F000) == 0 ? '\n' : ' ';
        }
        return;
    }
    block.fill('\0');
    for (int i = 0; i + 16 <= size; i += 16) {
        const std::uint64_t value = random.next();
        if ((value & 7) == 0)
            std::memcpy(out + i, &value, 8);
        out[i + 8] = static_cast<char>(i >> 4);
    }
}

int writePayload(const QString& folder, qint64 mebibytes)
{
    Xorshift random(0x9E3779B97F4A7C15ull);
    QByteArray block(1 << 20, '\0');
    qint64 written = 0;
    for (int fileIndex = 0; written < mebibytes; ++fileIndex) {
        const QString sub = QString("%1/part%2").arg(folder).arg(fileIndex / 64);
        QDir().mkpath(sub);
        QFile file(QString("%1/file%2.bin").arg(sub).arg(fileIndex));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        const qint64 blocks = qMin<qint64>(1 + static_cast<qint64>(random.next() % 16), mebibytes - written);
        for (qint64 b = 0; b < blocks; ++b) {
            fillBlock(block, static_cast<int>(random.next() % 3), random);
            if (file.write(block) != block.size())
                return 1;
        }
        written += blocks;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "payload")
        return writePayload(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toLongLong());
    if (argc == 4 && QByteArray(argv[1]) == "unpack") {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        QString package = QString::fromLocal8Bit(argv[2]);
        QString folder = QString::fromLocal8Bit(argv[3]);
        const int result = CZR_Vzip().Unzip2(package, folder);
        std::printf("Unzip2 result %d\n", result);
        return result == 1 ? 0 : 1;
    }
    std::fputs("usage: vzip_unpack_bench payload FOLDER MIB | unpack PACKAGE FOLDER\n", stderr);
    return 2;
}
