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

QByteArray md5Of(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

bool sameMd5(const QByteArray& digest, const std::string& md5)
{
    return !digest.isEmpty() && digest == QByteArray::fromStdString(md5).toLower();
}

} // namespace PackageChecksum
