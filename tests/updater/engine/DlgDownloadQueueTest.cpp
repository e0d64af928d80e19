#include "DebugLog.h"
#include "FileSizeLimit.h"
#include "WorkerWindowRun.h"
#include "WaitBound.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QSignalSpy>
#include <QCryptographicHash>
#include <QDir>
#include <QTest>

#include <algorithm>

namespace {

using DlgDownloadQueueTest = WorkerWindowRun;

} // namespace

TEST_F(DlgDownloadQueueTest, AnEmptyQueueDoesNothing)
{
    startQueue({});
    QTest::qWait(50);
    EXPECT_TRUE(startedModules.isEmpty());
    EXPECT_TRUE(installProgress.isEmpty());
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(DlgDownloadQueueTest, AFailedDownloadEndsItsModuleAndTheNextOneStarts)
{
    MODULEINFO* missing = module("Missing", "/missing.vzip");
    MODULEINFO* next = module("Next", "/next.vzip");
    startQueue({missing, next});

    ASSERT_TRUE(waitForProgress("Next", -1));
    EXPECT_EQ(progressOf("Missing"), QVector<int>{-1});
    EXPECT_EQ(startedModules, (QStringList{"Missing", "Next"}));
    EXPECT_EQ(server.requestsFor("/next.vzip").size(), 1);
    // Nothing of the failed transfer is left to be taken for a complete package later.
    EXPECT_FALSE(QFileInfo::exists(downloadFolder() + "/missing.vzip"));
}

// Each failed module's line in the log says why it failed, and the queue goes on past every one.
TEST_F(DlgDownloadQueueTest, AFailedDownloadSaysWhy)
{
    const DebugLog log(env);
    HttpRoute stalling;
    stalling.body = QByteArray(200 * 1000, 's');
    stalling.stallAfter = 50 * 1000;
    server.setRoute("/stalling.vzip", stalling);
    HttpRoute silent;
    silent.neverAnswer = true;
    server.setRoute("/silent.vzip", silent);
    HttpRoute cut;
    cut.body = QByteArray(100 * 1000, 'c');
    cut.truncateAfter = 40 * 1000;
    server.setRoute("/cut.vzip", cut);
    const struct {
        const char* title;
        QString path;
        QStringList causes; // any one of them
    } cases[] = {
        {"Missing", "/missing.vzip", {"the server answered with HTTP status 404"}},
        {"Stalling", "/stalling.vzip", {"timed out: the transfer stalled, no data for 1 s"}},
        {"Silent", "/silent.vzip", {"timed out: no answer within 1 s"}},
        // Whether Qt sees the close as an error or as an end before the length depends on when it arrives.
        {"Cut", "/cut.vzip", {"network error RemoteHostClosedError: ", "received 40000 of 100000 bytes"}},
        {"Large", "/large.vzip", {"cannot write " + downloadFolder() + "/large.vzip: File too large"}},
        {"Tampered", "/tampered.vzip", {"the package does not match its MD5: its MD5 is "}},
    };
    QVector<MODULEINFO*> queue;
    for (const auto& c : cases)
        queue.append(module(c.title, c.path));
    server.setFile("/large.vzip", QByteArray(3 * 1000 * 1000, 'l'));
    MODULEINFO* tampered = announcedModule("Tampered", "/tampered.vzip", "the package as announced");
    server.setFile("/tampered.vzip", "the package as it arrives");
    queue.last() = tampered;
    window->setTransferTimerIntervals(1000, 1000);
    {
        FileSizeLimit limit(1000 * 1000);
        ASSERT_TRUE(limit.isActive());
        startQueue(queue);
        ASSERT_TRUE(waitForProgress("Tampered", -1));
    }
    for (const auto& c : cases) {
        EXPECT_EQ(progressOf(c.title), QVector<int>{-1}) << c.title;
        const QString prefix = QString("skip module %1: ").arg(c.title);
        const QString failed = prefix + (QString(c.title) == "Tampered" ? "" : "the download failed: ");
        const bool saidWhy = std::any_of(c.causes.begin(), c.causes.end(),
                                         [&](const QString& cause) { return log.text().contains(failed + cause); });
        EXPECT_TRUE(saidWhy) << c.title << "\n" << log.text().toStdString();
    }
}

TEST_F(DlgDownloadQueueTest, UnusableFileNamesFailWithoutARequest)
{
    const QString urls[] = {"/", "/pkg/.", "/pkg/.."};
    QVector<MODULEINFO*> queue;
    for (const QString& url : urls)
        queue.append(module(url, url));
    IsolatedEnvironment::writeFile(downloadFolder() + "/kept", "a file of the folder");
    startQueue(queue);

    for (const QString& url : urls)
        EXPECT_EQ(progressOf(url), QVector<int>{-1}) << url.toStdString();
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(QFileInfo(downloadFolder() + "/kept").isFile());
}

TEST_F(DlgDownloadQueueTest, AQueryAfterThePackageExtensionIsNotPartOfTheFileName)
{
    const QByteArray stale = "not the package of that name";
    MODULEINFO* record = module("Query", "/x.vzip?t=1", stale);
    record->md5 = "00000000000000000000000000000000";
    startQueue({record});

    ASSERT_TRUE(waitForProgress("Query", -1));
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().at(0).target, "/x.vzip?t=1");
    // The MD5 did not match, so the file is gone again; its name showed in the log of the failure.
    EXPECT_FALSE(QFileInfo::exists(downloadFolder() + "/x.vzip"));
    EXPECT_FALSE(QFileInfo::exists(downloadFolder() + "/x.vzip?t=1"));
}

TEST_F(DlgDownloadQueueTest, ACompletePackageOnDiskIsOnlyUsedWhenItsDigestMatches)
{
    const QByteArray package = "package bytes of the right size";
    const QByteArray tampered = "package bytes of the wrong kind";
    ASSERT_EQ(package.size(), tampered.size());
    installOnStartInstall = false;
    struct Case {
        const char* md5;
        bool downloaded;
    } cases[] = {{"right", false}, {"wrong", true}, {"absent", false}};
    for (const Case& c : cases) {
        installProgress.clear();
        startInstallPaths.clear();
        const QString path = QString("/%1.vzip").arg(c.md5);
        MODULEINFO* record = announcedModule(c.md5, path, tampered);
        if (QByteArray(c.md5) == "right")
            record->md5 = QCryptographicHash::hash(package, QCryptographicHash::Md5).toHex().toUpper().toStdString();
        else if (QByteArray(c.md5) == "wrong")
            record->md5 = QCryptographicHash::hash(package, QCryptographicHash::Md5).toHex().toStdString();
        else
            record->md5.clear();
        IsolatedEnvironment::writeFile(downloadFolder() + path, QByteArray(c.md5) == "wrong" ? tampered : package);
        QSignalSpy startInstall(window.get(), SIGNAL(SignalStartInstall(QString)));
        QSignalSpy downloadProgress(window.get(), SIGNAL(SignalCurrentProgress(QString, double)));
        startQueue({record});

        if (c.downloaded) {
            // The server's copy is the tampered one as well: downloaded, checked, removed, failed.
            ASSERT_TRUE(waitForProgress(c.md5, -1)) << c.md5;
            EXPECT_EQ(server.requestsFor(path).size(), 1) << c.md5;
            EXPECT_TRUE(startInstall.isEmpty()) << c.md5;
            EXPECT_FALSE(QFileInfo::exists(downloadFolder() + path)) << c.md5;
        } else {
            ASSERT_TRUE(startInstall.wait(kWaitBoundMs)) << c.md5;
            EXPECT_EQ(startInstall.at(0).at(0).toString(), downloadFolder() + path) << c.md5;
            EXPECT_TRUE(server.requestsFor(path).isEmpty()) << c.md5;
            EXPECT_EQ(progressOf(c.md5).value(0), 0) << c.md5;
            EXPECT_TRUE(m_run->bRunFinished) << c.md5;
            ASSERT_EQ(downloadProgress.size(), 1) << c.md5;
            EXPECT_EQ(downloadProgress.at(0).at(0).toString(), c.md5);
            EXPECT_DOUBLE_EQ(downloadProgress.at(0).at(1).toDouble(), 100.0) << c.md5;
        }
        window->setSelectUpdates({});
        QFile::remove(downloadFolder() + path);
    }
}

TEST_F(DlgDownloadQueueTest, TheRemainingTimeNeverShowsAnImpossibleNumber)
{
    auto* label = window->findChild<QLabel*>("timeRemainLabel");
    window->updateProgress(0, 1000);
    EXPECT_TRUE(label->text().startsWith("Time Remaining: -- seconds ( 0.00/0.00 MB)")) << label->text().toStdString();
    QSignalSpy progress(window.get(), SIGNAL(SignalCurrentProgress(QString, double)));
    window->updateProgress(3LL * 1024 * 1024 * 1024, 4LL * 1024 * 1024 * 1024);
    EXPECT_TRUE(label->text().endsWith("( 3072.00/4096.00 MB)")) << label->text().toStdString();
    EXPECT_DOUBLE_EQ(progress.at(0).at(1).toDouble(), 75.0);
}

TEST_F(DlgDownloadQueueTest, ATargetThatCannotBeWrittenEndsItsModuleAndTheNextOneStarts)
{
    ASSERT_TRUE(QDir().mkpath(downloadFolder() + "/blocked.vzip/inside"));
    MODULEINFO* blocked = module("Blocked", "/blocked.vzip", "package");
    MODULEINFO* next = module("Next", "/next.vzip");
    startQueue({blocked, next});

    ASSERT_TRUE(waitForProgress("Next", -1));
    EXPECT_EQ(progressOf("Blocked"), QVector<int>{-1});
    EXPECT_TRUE(server.requestsFor("/blocked.vzip").isEmpty());
}

TEST_F(DlgDownloadQueueTest, SizesBeyondTwoGigabytesAreReadWhole)
{
    const qint64 size = 3LL * 1024 * 1024 * 1024;
    QFile sparse(downloadFolder() + "/large.vzip");
    ASSERT_TRUE(QDir().mkpath(downloadFolder()));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(size));
    sparse.close();
    installOnStartInstall = false;
    MODULEINFO* large = module("Large", "/large.vzip");
    large->size = QString("%1B").arg(size).toStdString();
    QSignalSpy startInstall(window.get(), SIGNAL(SignalStartInstall(QString)));
    startQueue({large});

    ASSERT_TRUE(startInstall.wait(kWaitBoundMs));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(DlgDownloadQueueTest, TheWindowIsBuiltHiddenAndFixed)
{
    EXPECT_EQ(window->objectName(), "DlgDownload");
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(window->windowTitle(), "Kelvrin Updater");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->minimumSize(), QSize(604, 222));
    EXPECT_EQ(window->maximumSize(), QSize(604, 222));
    EXPECT_TRUE(window->findChild<QTextEdit*>("descriptionEdit")->isReadOnly());
    for (const char* name : {"timeRemainLabel", "progressBar", "descriptionLabel", "cancelButton"})
        EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
    window->show();
    window->findChild<QPushButton*>("cancelButton")->click();
    EXPECT_TRUE(window->isHidden());
}
