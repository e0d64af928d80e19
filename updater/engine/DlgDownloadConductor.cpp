// Everything the worker window asks of the run that drives it goes through these few members.
#include "DlgDownload.h"

#include "CSetup_CommandLine.h"
#include "DlgMessage.h"
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

// Asks the user to close the reader, in front of the reader's window; true for "Retry".
bool DlgDownload::askToCloseReader()
{
    DlgMessage message(nullptr);
    message.setInformation(
        tr("Download completed. Please close %1 when you complete your job, and click \"Install\".")
            .arg("Kelvrin PDF Reader"));
    message.setOkButtonText(tr("Retry"));
    const QPoint centre = UpdateRun::GetMainAppCenterPos();
    message.move(centre.x() - message.width() / 2, centre.y() - message.height() / 2);
    message.exec();
    return message.bOk;
}
