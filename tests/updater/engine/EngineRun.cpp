#include "EngineRun.h"

EngineRun::~EngineRun()
{
    m_engine.reset();
}

void EngineRun::startRun(const QString& commandLine)
{
    auto parsed = std::make_unique<CSetup_CommandLine>();
    ASSERT_TRUE(parsed->ProcessCmdLine(commandLine)) << commandLine.toStdString();
    m_run = std::make_unique<TestUpdateRun>(parsed.get());
    m_commandLine = std::move(parsed);
}

CReaderModuleManager& EngineRun::engine(const QString& type)
{
    if (!m_run)
        startRun(QString());
    m_engine = std::make_unique<CReaderModuleManager>(type, nullptr);
    return *m_engine;
}
