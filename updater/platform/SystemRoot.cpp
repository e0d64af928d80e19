#include "SystemRoot.h"

#include <QFile>

QString systemPath(const QString& absolutePath)
{
    const QByteArray root = qgetenv("KELVRIN_SYSTEM_ROOT");
    if (root.isEmpty())
        return absolutePath;
    QString prefix = QFile::decodeName(root);
    while (prefix.endsWith('/'))
        prefix.chop(1);
    return prefix + absolutePath;
}
