#pragma once

#include "IsolatedEnvironment.h"
#include "app/UpdaterApp.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QPointer>
#include <QStandardItem>

#include <functional>
#include <memory>
#include <string>

// The conductor of a dialog test. It can stand in for the download list that the update list's OK
// runs, so a test sees the selection handed over without running that dialog.
class DialogTestApp : public UpdaterApp
{
public:
    using UpdaterApp::UpdaterApp;

    void ShowDownloadDlg(std::string title, bool& flag, bool a, bool b, bool c, CReaderModuleManager* engine) override;

    // Replaces the download list when set.
    std::function<void(const std::string& title, CReaderModuleManager* engine)> downloadList;
};

// A run of the updater as the dialogs see it: a command line, the conductor as `theApp` and its
// engine, whose available modules the test offers.
class DialogRun : public IsolatedTest
{
protected:
    ~DialogRun() override;

    void startRun(const QString& commandLine = "-updater -type \"Update List\" -version 12.1.3");
    MODULEINFO* offer(const std::string& type, const std::string& title, const std::string& size = "1048576B",
                      bool ocrPack = false);

    // The tree below `parent` as "text (size)[children]" items joined with "|".
    static QString describe(const QStandardItemModel* model, const QModelIndex& parent = QModelIndex());

    std::unique_ptr<CSetup_CommandLine> m_commandLine;
    std::unique_ptr<DialogTestApp> m_app;
    QPointer<CReaderModuleManager> m_engine;
};
