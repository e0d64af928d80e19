#include "InstallHistory.h"

#include "platform/InstallerPrograms.h"
#include "platform/PlistCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariantList>
#include <QVariantMap>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Holds an exclusive lock on a file beside the history for as long as it lives.
class HistoryLock
{
public:
    explicit HistoryLock(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~HistoryLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HistoryLock(const HistoryLock&) = delete;
    HistoryLock& operator=(const HistoryLock&) = delete;

    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

QVariantMap record(const QString& packagePath, const QString& version)
{
    const QString fileName = QFileInfo(packagePath).fileName();
    QVariantMap entry;
    entry.insert("date", QDateTime::currentDateTimeUtc());
    entry.insert("displayName", fileName);
    entry.insert("displayVersion", version);
    entry.insert("packageIdentifiers", QVariantList{"com.kelvrin.standin." + QFileInfo(packagePath).completeBaseName()});
    entry.insert("processName", "Installer");
    return entry;
}

} // namespace

namespace InstallHistory {

bool appendRecord(const QString& packagePath, const QString& version, int keptRecords)
{
    const QString historyPath = InstallerPrograms::installHistory();
    QDir().mkpath(QFileInfo(historyPath).absolutePath());
    const HistoryLock lock(historyPath + ".lock");
    if (!lock.held())
        return false;
    QVariantList records;
    if (QFileInfo::exists(historyPath)) {
        const std::optional<QVariant> history = Plist::readFile(historyPath);
        if (!history || history->type() != QVariant::List)
            return false;
        records = history->toList();
    }
    records.append(record(packagePath, version));
    if (keptRecords > 0 && records.size() > keptRecords)
        records.erase(records.begin(), records.end() - keptRecords);
    return Plist::writeFile(historyPath, records);
}

} // namespace InstallHistory
