#include "EngineRun.h"

EngineRun::~EngineRun()
{
    m_engine.reset();
    theApp = nullptr;
}

void EngineRun::startRun(const QString& commandLine)
{
    auto parsed = std::make_unique<CSetup_CommandLine>();
    ASSERT_TRUE(parsed->ProcessCmdLine(commandLine)) << commandLine.toStdString();
    auto app = std::make_unique<UpdaterApp>(parsed.get(), nullptr);
    theApp = app.get();
    m_app = std::move(app);
    m_commandLine = std::move(parsed);
}

CReaderModuleManager& EngineRun::engine(const QString& type)
{
    if (!theApp)
        startRun(QString());
    m_engine = std::make_unique<CReaderModuleManager>(type, nullptr);
    return *m_engine;
}
