// Everything the worker window asks of the run's conductor goes through these few members.
#include "DlgDownload.h"

#include "CSetup_CommandLine.h"
#include "app/DlgMessage.h"
#include "app/UpdaterApp.h"

QString DlgDownload::appDataRootPath()
{
    return UpdaterApp::GetAppDateRootPath();
}

QString DlgDownload::appDataPath()
{
    return UpdaterApp::GetAppDatePath();
}

bool DlgDownload::installMode()
{
    return theApp && theApp->commandLine() && theApp->commandLine()->IsInsatll();
}

void DlgDownload::markRunFinished()
{
    if (theApp)
        theApp->bRunFinished = true;
}

// Asks the user to close the reader, in front of the reader's window; true for "Retry".
bool DlgDownload::askToCloseReader()
{
    DlgMessage message(nullptr);
    message.setInformation(
        tr("Download completed. Please close %1 when you complete your job, and click \"Install\".")
            .arg("Kelvrin PDF Reader"));
    message.setOkButtonText(tr("Retry"));
    const QPoint centre = UpdaterApp::GetMainAppCenterPos();
    message.move(centre.x() - message.width() / 2, centre.y() - message.height() / 2);
    message.exec();
    return message.bOk;
}
