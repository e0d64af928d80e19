#include "PackageChecksum.h"

#include <QCryptographicHash>
#include <QFile>

#include <cctype>

namespace PackageChecksum {

bool isUsableMd5(const std::string& md5)
{
    if (md5.size() != 32)
        return false;
    for (const char c : md5) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

bool matches(const QString& filePath, const std::string& md5)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file))
        return false;
    return hash.result().toHex() == QByteArray::fromStdString(md5).toLower();
}

} // namespace PackageChecksum
