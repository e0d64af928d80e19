#pragma once

#include "EngineRun.h"
#include "LocalHttpServer.h"
#include "engine/DlgDownload.h"
#include "WaitBound.h"

#include <QPair>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

// A worker window of a run, fed with module records that point at the test's own server, with its
// 3-second and 1-second waits shortened and the reader reported as closed. What the window reports
// is recorded in order; the download list's part (install on SignalStartInstall) is played here.
class WorkerWindowRun : public EngineRun
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A module whose package is served at `path` (nothing is served when `body` is null).
    MODULEINFO* module(const QString& title, const QString& path, const QByteArray& body = QByteArray());
    // The same with the size and MD5 the service would announce for `body`.
    MODULEINFO* announcedModule(const QString& title, const QString& path, const QByteArray& body);

    // A package whose "Setup.xml" lists the installer files in order (file name, then contents).
    static QByteArray installPackage(const QVector<QPair<QByteArray, QByteArray>>& installers);

    void startQueue(const QVector<MODULEINFO*>& queue);
    // Runs the event loop until `title` has reported `value`, or the bound has passed.
    bool waitForProgress(const QString& title, int value, int timeoutMs = kWaitBoundMs);
    QVector<int> progressOf(const QString& title) const;
    QString downloadFolder() const;

    LocalHttpServer server;
    std::unique_ptr<DlgDownload> window;
    QVector<QPair<QString, int>> installProgress;
    QStringList startedModules;
    QStringList startInstallPaths;
    bool installOnStartInstall = true;

private:
    std::vector<std::unique_ptr<MODULEINFO>> m_records;
};
