#include "IsolatedEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace {

const QString kServerName = QStringLiteral("Kelvrin PDF Reader Update");

// The first instance: started, and killed again when the test ends.
class FirstInstance
{
public:
    FirstInstance()
    {
        m_process.start(UPDATER_APP_PROBE, {"first-instance"});
        QElapsedTimer clock;
        clock.start();
        while (!m_process.readAllStandardOutput().contains("serving") && clock.elapsed() < 20000)
            m_process.waitForReadyRead(200);
        ready = clock.elapsed() < 20000;
    }
    ~FirstInstance()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Debug lines of the first instance until one starts with `prefix` (bounded).
    QString lineStartingWith(const QString& prefix)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            m_errors += QString::fromUtf8(m_process.readAllStandardError());
            for (const QString& line : m_errors.split('\n')) {
                if (line.startsWith(prefix) && m_errors.contains(line + '\n'))
                    return line;
            }
            m_process.waitForReadyRead(200);
        }
        return QString();
    }

    bool ready = false;

private:
    QProcess m_process;
    QString m_errors;
};

int runSecondInstance(const QStringList& arguments)
{
    QProcess second;
    second.start(UPDATER_EXECUTABLE, arguments);
    if (!second.waitForFinished(30000)) {
        second.kill();
        second.waitForFinished(5000);
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

// A socket file such as an updater that died leaves behind: bound, never unlinked, nobody listening.
bool leaveStaleSocketFile(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (bytes.size() >= static_cast<int>(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, bytes.constData(), bytes.size());
    const int descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = descriptor >= 0 && bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (descriptor >= 0)
        close(descriptor);
    return bound;
}

class SingleInstance : public IsolatedTest {};

TEST_F(SingleInstance, SecondInstanceHandsOverItsLastArgumentAndEnds)
{
    FirstInstance first;
    ASSERT_TRUE(first.ready);

    EXPECT_EQ(runSecondInstance({"-updater", "second word"}), 0);
    // One blank-delimited word is read: the hand-over carries no terminator or length.
    EXPECT_EQ(first.lineStartingWith("The value is: "), "The value is: second");
}

TEST_F(SingleInstance, SecondInstanceWithoutArgumentsHandsOverNothing)
{
    FirstInstance first;
    ASSERT_TRUE(first.ready);

    EXPECT_EQ(runSecondInstance({}), 0);
    EXPECT_EQ(first.lineStartingWith("The value is: "), "The value is: ");
}

TEST_F(SingleInstance, StaleServerFileIsRemovedAndServedAgain)
{
    const QString serverFile = env.tempDir() + "/" + kServerName;
    ASSERT_TRUE(leaveStaleSocketFile(serverFile));
    ASSERT_TRUE(QFileInfo::exists(serverFile));

    FirstInstance first;
    ASSERT_TRUE(first.ready);

    EXPECT_EQ(runSecondInstance({"handed"}), 0);
    EXPECT_EQ(first.lineStartingWith("The value is: "), "The value is: handed");
}

} // namespace
