#pragma once

#include "IsolatedEnvironment.h"
#include "TestUpdateRun.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <memory>

// One updater run inside the test's own environment: a parsed command line, the run that the
// engine reports to, and the engine for an update type.
class EngineRun : public IsolatedTest
{
protected:
    ~EngineRun() override;

    // Replaces the run's command line and run; the engine made before stays valid.
    void startRun(const QString& commandLine);
    CReaderModuleManager& engine(const QString& type = "Update List");

    std::unique_ptr<CSetup_CommandLine> m_commandLine;
    std::unique_ptr<TestUpdateRun> m_run;
    std::unique_ptr<CReaderModuleManager> m_engine;
};
