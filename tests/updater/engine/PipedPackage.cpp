#include "PipedPackage.h"

#include <QFile>

#include <chrono>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::chrono::milliseconds kPollInterval(5);

} // namespace

PipedPackage::PipedPackage(const QString& path, const QByteArray& bytes, int boundMs)
    : m_name(QFile::encodeName(path))
{
    m_made = ::mkfifo(m_name.constData(), 0600) == 0;
    QObject::connect(&m_feeder, &QTimer::timeout, [this, bytes] {
        if (writeOnce(bytes))
            m_fedByTheEventLoop = true;
    });
    m_feeder.start(int(kPollInterval.count()));
    m_fallback = std::thread([this, boundMs] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
        while (!m_written && !m_ending && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(kPollInterval);
        while (!m_written && !m_ending && !writeOnce(QByteArray()))
            std::this_thread::sleep_for(kPollInterval);
    });
}

PipedPackage::~PipedPackage()
{
    m_ending = true;
    m_fallback.join();
    ::unlink(m_name.constData());
}

bool PipedPackage::writeOnce(const QByteArray& bytes)
{
    if (m_written)
        return false;
    const int fd = ::open(m_name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool expected = false;
    const bool mine = m_written.compare_exchange_strong(expected, true);
    bool wrote = true;
    if (mine && !bytes.isEmpty())
        wrote = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    return mine && wrote;
}
