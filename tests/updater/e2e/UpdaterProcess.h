#pragma once

#include "IsolatedEnvironment.h"
#include "ReaderBundle.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// One module of the service stand-in's manifest, with the installers its package lists: each
// installer is a stand-in package (see tools/standin); the first is named `<name>.pkg`, or
// `<name>-fail.pkg`, the next ones `<name>-2.pkg` and so on.
struct DemoModule {
    QString name;
    QString type = "service";
    bool silent = false;
    bool failingInstaller = false; // the first
    QStringList installerDirectives{QString()}; // more directive lines of each installer, in order
    bool damagedPackage = false; // served, and announced, with a body that fails its checksum
    QString announcedMd5;        // empty: the package's own
};

inline DemoModule demoModule(const QString& name, const QString& type = "service")
{
    DemoModule module;
    module.name = name;
    module.type = type;
    return module;
}

// The robot's way through a whole update: ticks every module, downloads, waits until every row of
// the download list has ended and closes it.
inline const char* const kEveryModuleScript = "window DlgUpdatesTree\n"
                                              "tick treeView_4 *\n"
                                              "press button_download\n"
                                              "window dlgfound\n"
                                              "text btn_close Close\n"
                                              "press btn_close\n";

// What a finished (or killed) updater run left for the test to look at.
struct RunResult {
    int exitCode = -1;
    bool overran = false; // killed at its bound
    QString output;       // standard output and error together
};

// A reader bundle with the built updater, the stand-in Installer and "open" in the system root,
// the reader's preferences with the debug log on, the update service stand-in with packages, and
// the dialog robot for the windows.
class UpdaterProcessTest : public IsolatedTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes each module's package and starts the service with `serviceOptions` ("--status 404"...).
    void startService(const QVector<DemoModule>& modules, const QStringList& serviceOptions = {});
    QString checkUrl() const;
    // "request GET TARGET RANGE" lines the service printed so far.
    QStringList serviceRequests();

    // The command line as the reader gives it: values with blanks in quotes.
    QStringList readerArguments(const QString& type) const;
    // Runs the updater with the robot playing `robotScript` (none: windows only logged), killed
    // after `boundMs`.
    RunResult runUpdater(const QStringList& arguments, const QString& robotScript = QString(),
                         int boundMs = 60000);
    // Starts the updater and leaves it running; the fixture kills it at the end.
    QProcess& startUpdater(const QStringList& arguments);

    QString robotLog() const;
    QString updateLog() const;
    QStringList installedPackages() const;
    QStringList installerStarts() const;
    QString packageFolder() const { return env.root() + "/packages"; }
    QString markerFolder() const;

    // The package of `module` as made by startService (or by makePackage).
    QString makePackage(const DemoModule& module) const;

    const ReaderBundle bundle{env.root() + "/Applications"};

private:
    std::unique_ptr<QProcess> m_service;
    std::unique_ptr<QProcess> m_lingering;
    QByteArray m_serviceOutput;
    quint16 m_port = 0;
};

// True when something answers on the presence port 127.0.0.1:8999.
bool presencePortAnswers();
