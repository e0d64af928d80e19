#include "HardwareIdentity.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString firstLineOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine(256)).trimmed();
}

QString uuidFromHex(QString hex)
{
    hex.remove('-');
    static const QRegularExpression hexDigits("^[0-9A-Fa-f]{32}$");
    if (!hexDigits.match(hex).hasMatch())
        return {};
    hex = hex.toUpper();
    return hex.mid(0, 8) + '-' + hex.mid(8, 4) + '-' + hex.mid(12, 4) + '-' + hex.mid(16, 4) + '-' + hex.mid(20, 12);
}

} // namespace

QString hardwareUuid()
{
    const QString fromFirmware = uuidFromHex(firstLineOf("/sys/class/dmi/id/product_uuid"));
    if (!fromFirmware.isEmpty())
        return fromFirmware;
    return uuidFromHex(firstLineOf("/etc/machine-id"));
}
