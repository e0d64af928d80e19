#include "IsolatedEnvironment.h"
#include "LocalHttpServer.h"
#include "app/UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Makes `app` the process's conductor for the test's duration.
class AsTheApp
{
public:
    explicit AsTheApp(UpdaterApp& app) { theApp = &app; }
    ~AsTheApp() { theApp = nullptr; }
};

TEST(Conductor, StartsWithEverythingCleared)
{
    CSetup_CommandLine commandLine;
    commandLine.ProcessCmdLine("-updater -type \"Update List\" -version 12.1.3 -readerpath /Applications/R.app");
    const UpdaterApp app(&commandLine, nullptr);

    EXPECT_EQ(app.commandLine(), &commandLine);
    EXPECT_EQ(app.engine(), nullptr);
    for (bool flag : {app.bCheckHandled, app.bQueryReplied, app.bMajorUpdate, app.bInternalUpdate, app.bRollback,
                      app.bForcedOnly, app.bRunFinished})
        EXPECT_FALSE(flag);
    EXPECT_TRUE(app.m_strMajorTipButton.isEmpty() && app.m_strMajorTipTitle.isEmpty() &&
                app.m_strMajorTipContent.isEmpty());
    EXPECT_TRUE(app.m_strReaderVersion.empty() && app.m_strReaderPath.empty());
    EXPECT_EQ(app.GetProductName(), "Kelvrin PDF Reader");
}

TEST(Conductor, RollbackSeenByTheParserBeforeTheConductorIsCopied)
{
    CSetup_CommandLine commandLine;
    commandLine.ProcessCmdLine("-VzipPath a.vzip;https://rollback;me@example.com;");
    ASSERT_TRUE(commandLine.IsRollback());
    const UpdaterApp app(&commandLine, nullptr);
    EXPECT_TRUE(app.bRollback);
}

TEST(Conductor, ParserMarksTheRunningConductorForRollback)
{
    CSetup_CommandLine commandLine;
    UpdaterApp app(&commandLine, nullptr);
    AsTheApp current(app);

    commandLine.ProcessCmdLine("-VzipPath a.vzip");
    EXPECT_FALSE(app.bRollback);
    commandLine.ProcessCmdLine("-VzipPath a.vzip;https://rollback");
    EXPECT_TRUE(app.bRollback);
}

TEST(Conductor, EngineDeletedElsewhereLeavesNoDanglingPointer)
{
    auto app = std::make_unique<UpdaterApp>(nullptr, nullptr);
    auto* engine = new CReaderModuleManager("Update List", nullptr);
    app->setEngine(engine);
    ASSERT_EQ(app->engine(), engine);

    delete engine;
    EXPECT_EQ(app->engine(), nullptr);
    app.reset(); // must not delete it a second time
}

TEST(Conductor, ReleasingOrReplacingTheEngineDeletesItOnce)
{
    UpdaterApp app(nullptr, nullptr);
    QPointer<CReaderModuleManager> first = new CReaderModuleManager("Update List", &app);
    app.setEngine(first);
    app.setEngine(first);
    ASSERT_FALSE(first.isNull());

    QPointer<CReaderModuleManager> second = new CReaderModuleManager("Auto Updater", &app);
    app.setEngine(second);
    EXPECT_EQ(app.engine(), second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    app.releaseEngine();
    EXPECT_EQ(app.engine(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
}

TEST(Conductor, AnEngineReleasedFromInsideItsOwnQuerySignalIsFreedAfterTheChain)
{
    IsolatedEnvironment env;
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.setFile("/svc/check", "<modules><module name=\"OCR\" version=\"2\" result=\"true\"/></modules>");
    CSetup_CommandLine commandLine;
    ASSERT_TRUE(commandLine.ProcessCmdLine("-InternalUpdateURL " + server.url("/svc/check").toString()));
    UpdaterApp app(&commandLine, nullptr);
    AsTheApp current(app);
    QPointer<CReaderModuleManager> engine = new CReaderModuleManager("Update List", nullptr);
    app.setEngine(engine);

    bool stillThereAfterRelease = false;
    QObject::connect(engine, &CReaderModuleManager::sQueryModuleInfoFinish, [&] {
        app.releaseEngine();
        // The rest of the chain still runs on the engine and its transfer.
        stillThereAfterRelease = !engine.isNull() && engine->CountAvailableModule() == 1;
    });
    ASSERT_EQ(engine->QueryModuleInfo(nullptr, false), 0);
    for (int i = 0; i < 500 && !engine.isNull(); ++i)
        QTest::qWait(10);
    EXPECT_TRUE(stillThereAfterRelease);
    EXPECT_TRUE(engine.isNull());
    EXPECT_EQ(app.engine(), nullptr);
}

TEST(Conductor, DestructionDeletesTheEngine)
{
    auto app = std::make_unique<UpdaterApp>(nullptr, nullptr);
    QPointer<CReaderModuleManager> engine = new CReaderModuleManager("Update List", nullptr);
    app->setEngine(engine);
    app.reset();
    EXPECT_TRUE(engine.isNull());
}

} // namespace
