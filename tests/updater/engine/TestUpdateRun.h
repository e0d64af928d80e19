#pragma once

#include "engine/UpdateRun.h"

#include <QStringList>

#include <functional>

// The run an engine test drives the engine for, in place of the conductor.
class TestUpdateRun : public UpdateRun
{
public:
    explicit TestUpdateRun(CSetup_CommandLine* commandLine)
        : UpdateRun(commandLine)
    {
    }

    bool askRetry(QString information, QString) override
    {
        asked.append(information);
        return answer && answer();
    }

    // What the user answers to each question; none answers Cancel.
    std::function<bool()> answer;
    QStringList asked;

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
