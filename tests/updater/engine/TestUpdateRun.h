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
};
