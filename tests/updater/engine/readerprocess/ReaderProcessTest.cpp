#include "engine/DlgDownload.h"
#include "WaitBound.h"

#include <QProcess>

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
        m_started = m_process.waitForStarted(kWaitBoundMs);
    }
    ~ReaderLookalike() { quit(); }

    bool started() const { return m_started; }
    void quit()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }

private:
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
