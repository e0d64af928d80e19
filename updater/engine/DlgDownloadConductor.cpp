// Everything the worker window asks of the run goes through these few members.
#include "DlgDownload.h"

#include "CSetup_CommandLine.h"
#include "UpdateRun.h"

QString DlgDownload::appDataRootPath()
{
    return UpdateRun::GetAppDateRootPath();
}

QString DlgDownload::appDataPath()
{
    return UpdateRun::GetAppDatePath();
}

bool DlgDownload::installMode()
{
    const UpdateRun* run = UpdateRun::current();
    return run && run->commandLine() && run->commandLine()->IsInsatll();
}

void DlgDownload::markRunFinished()
{
    if (UpdateRun* run = UpdateRun::current())
        run->bRunFinished = true;
}

// Asks the user to close the reader; true for "Retry". Without a run nobody can answer: Cancel.
bool DlgDownload::askToCloseReader()
{
    UpdateRun* run = UpdateRun::current();
    return run &&
           run->askRetry(
               tr("Download completed. Please close %1 when you complete your job, and click \"Install\".")
                   .arg("Kelvrin PDF Reader"),
               tr("Retry"));
}
