#include "Comm.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cwchar>

namespace {

QString withoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && (path.endsWith('/') || path.endsWith(QDir::separator())))
        path.chop(1);
    return path;
}

bool removeEntry(const QString& fullPath)
{
    QFile file(fullPath);
    // chmod follows a link, and the link's target may lie outside the tree.
    if (!QFileInfo(fullPath).isSymLink())
        file.setPermissions(QFile::WriteOwner);
    if (file.remove())
        return true;
    qDebug().noquote() << "remove file" + fullPath + " faild!";
    return false;
}

} // namespace

namespace Comm {

bool deleteDir(const QString& path)
{
    const QFileInfo top(withoutTrailingSeparators(path));
    if (top.isSymLink())
        return removeEntry(top.filePath());

    QDir dir(path);
    if (!dir.exists())
        return true;

    QString base = QDir::toNativeSeparators(path);
    if (!base.endsWith(QDir::separator()))
        base += QDir::separator();

    bool ok = true;
    // System lists dangling links too, which would otherwise keep the folder from going.
    const QStringList names = dir.entryList(QDir::Dirs | QDir::Files | QDir::Drives | QDir::Hidden | QDir::System |
                                                QDir::NoDotAndDotDot,
                                            QDir::Unsorted);
    for (const QString& name : names) {
        const QString full = base + name;
        const QFileInfo entry(full);
        if (entry.isSymLink() || entry.isFile())
            ok = removeEntry(full) && ok;
        else if (entry.isDir())
            ok = deleteDir(full) && ok;
    }

    if (!dir.rmdir(dir.absolutePath())) {
        qDebug().noquote() << "remove dir" + path + " faild!";
        ok = false;
    }
    return ok;
}

} // namespace Comm

QString Comm::ws2qs(const wchar_t* text)
{
    return text ? QString::fromWCharArray(text, static_cast<int>(wcslen(text))) : QString();
}
