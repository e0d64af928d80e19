#include "UpdaterApp.h"

#include "UpdateListener.h"
#include "dlgfound.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QLocalSocket>

UpdaterApp* theApp = nullptr;
dlgfound* g_curr_dlgfound_ptr = nullptr;

UpdaterApp::UpdaterApp(CSetup_CommandLine* commandLine, QObject* parent)
    : QObject(parent)
    , UpdateRun(commandLine)
    , m_strServerName("updater_check_state")
    , m_pListener(std::make_unique<UpdateListener>(nullptr))
{
    // The parser may have seen roll-back pieces before the conductor existed.
    bRollback = m_pCommandLine && m_pCommandLine->IsRollback();
}

UpdaterApp::~UpdaterApp()
{
    delete m_pModuleManager.data();
    if (m_pReportSocket) {
        m_pReportSocket->close();
        m_pReportSocket->deleteLater();
    }
}

void UpdaterApp::setEngine(CReaderModuleManager* engine)
{
    if (engine != m_pModuleManager)
        releaseEngine();
    m_pModuleManager = engine;
}

void UpdaterApp::releaseEngine()
{
    // A dialog may release the engine from inside the engine's own signal (the update list runs in
    // the query's finished chain): the event loop frees it once that chain has unwound.
    if (m_pModuleManager)
        m_pModuleManager->deleteLater();
    m_pModuleManager.clear();
}

void UpdaterApp::ShowDownloadDlg(std::string title, bool& flag, bool a, bool b, bool c, CReaderModuleManager* engine)
{
    dlgfound dialog(std::move(title), flag, a, b, c, engine, nullptr);
    g_curr_dlgfound_ptr = &dialog;
    dialog.exec();
    g_curr_dlgfound_ptr = nullptr;
}

bool UpdaterApp::RunCommandLine(std::string, bool&)
{
    return true;
}

bool RunUpdaterFromService(QString)
{
    return true;
}
