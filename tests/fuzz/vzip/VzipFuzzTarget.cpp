#include "VzipFuzzTarget.h"

#include "engine/CZR_Vzip.h"
#include "engine/VzipChecksum.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

void dropMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Several levels deep, so that a name climbing out of the destination still lands where the
// check below can see it.
struct Playground {
    QString root;
    QString work;
    QString package;
    QString destination;
    QString temp;
};

const Playground& playground()
{
    static const Playground instance = [] {
        qInstallMessageHandler(dropMessages);
        QByteArray pattern = QFile::encodeName(QDir::tempPath() + "/vzip-fuzz-XXXXXX");
        if (!mkdtemp(pattern.data()))
            std::abort();
        Playground p;
        p.root = QFile::decodeName(pattern);
        p.work = p.root + "/l1/l2/l3/l4";
        p.package = p.work + "/package.vzip";
        p.destination = p.work + "/dest";
        p.temp = p.work + "/tmp";
        if (!QDir().mkpath(p.temp))
            std::abort();
        return p;
    }();
    return instance;
}

bool isExpected(const Playground& p, const QString& path)
{
    if (path == p.package || path == p.destination || path == p.temp)
        return true;
    if (path.startsWith(p.destination + "/") || path.startsWith(p.temp + "/"))
        return true;
    return p.work.startsWith(path + "/") || path == p.work;
}

void checkNothingEscaped(const Playground& p)
{
    QDirIterator it(p.root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!isExpected(p, path)) {
            std::fprintf(stderr, "written outside the destination: %s\n", qPrintable(path));
            std::abort();
        }
    }
}

// Mutations almost never keep the checksum right, which would stop nearly every input at the
// checksum check. So the checksum is set to match the body unless the lowest bit of the first
// reserved header byte, which the unpacker never reads, asks to keep the input's own.
QByteArray withMatchingChecksum(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    if (bytes.size() < 28 || (bytes[4] & 1) != 0)
        return bytes;
    VzipChecksum checksum;
    checksum.update(reinterpret_cast<const unsigned char*>(bytes.constData()) + 28, static_cast<std::size_t>(bytes.size() - 28));
    for (int i = 0; i < 4; ++i)
        bytes[8 + i] = static_cast<char>((checksum.value() >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

int unpackFuzzInput(const std::uint8_t* data, std::size_t size)
{
    const Playground& p = playground();
    qputenv("TMPDIR", QFile::encodeName(p.temp));
    QFile package(p.package);
    const QByteArray bytes = withMatchingChecksum(data, size);
    if (!package.open(QIODevice::WriteOnly | QIODevice::Truncate) || package.write(bytes) != bytes.size())
        std::abort();
    package.close();

    QString packagePath = p.package;
    QString destination = p.destination;
    const int result = CZR_Vzip().Unzip2(packagePath, destination);
    checkNothingEscaped(p);
    QDir(p.destination).removeRecursively();
    return result;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    unpackFuzzInput(data, size);
    return 0;
}
