#include "engine/DlgDownload.h"
#include "WaitBound.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kReader = "Kelvrin PDF Reader";

// A process whose command line is exactly the reader's name; it runs until its input closes.
class ReaderLookalike
{
public:
    ReaderLookalike()
    {
        m_process.start("/bin/bash", {"-c", "exec -a '" + kReader + "' cat"});
        m_started = m_process.waitForStarted(kWaitBoundMs) && waitForItsName();
    }
    ~ReaderLookalike() { quit(); }

    bool started() const { return m_started; }
    void quit()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }

private:
    // The shell takes the name only when it executes the program, a moment after it has started:
    // on a busy machine the process list can still show the shell before that.
    bool waitForItsName()
    {
        QFile commandLine(QString("/proc/%1/cmdline").arg(m_process.processId()));
        const QDeadlineTimer bound(kWaitBoundMs);
        while (!bound.hasExpired()) {
            if (commandLine.open(QIODevice::ReadOnly)) {
                const bool named = commandLine.readAll().startsWith(kReader.toUtf8() + '\0');
                commandLine.close();
                if (named)
                    return true;
            }
            QThread::msleep(10);
        }
        return false;
    }

    QProcess m_process;
    bool m_started = false;
};

} // namespace

TEST(ReaderProcessTest, TheProcessListTellsWhetherTheReaderRuns)
{
    DlgDownload window(nullptr);
    ASSERT_FALSE(CheckMacProcessRunning(kReader)) << "a reader is running on this machine";
    {
        ReaderLookalike reader;
        ASSERT_TRUE(reader.started());
        EXPECT_TRUE(CheckMacProcessRunning(kReader));
        EXPECT_TRUE(window.IsDurnisRun());
        // Only a line that ends with the name counts.
        EXPECT_FALSE(CheckMacProcessRunning("Kelvrin PDF"));
        reader.quit();
    }
    EXPECT_FALSE(window.IsDurnisRun());
    EXPECT_FALSE(CheckMacProcessRunning("it's quoted' ; echo Kelvrin PDF Reader"));
}
