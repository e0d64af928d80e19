#pragma once

#include "engine/UpdateRun.h"

// The run an engine test drives the engine for, in place of the conductor.
class TestUpdateRun : public UpdateRun
{
public:
    explicit TestUpdateRun(CSetup_CommandLine* commandLine)
        : UpdateRun(commandLine)
    {
    }

    void ShowDownloadDlg(std::string title, bool& flag, bool, bool, bool, CReaderModuleManager* engine) override
    {
        shownTitle = title;
        shownFlag = flag;
        shownEngine = engine;
    }

    std::string shownTitle;
    bool shownFlag = false;
    CReaderModuleManager* shownEngine = nullptr;
};
