#pragma once
#include "WaitBound.h"

#include <QString>
#include <QStringList>

// The stand-in Installer and "open" (tools/standin) in the current test's system root, at the paths
// where the updater looks for the macOS programs, and what they logged.
namespace StandinPrograms {

// Links both programs into the system root of the current environment; false when it cannot.
bool place();

// The lines each program logged so far: "<time> start|end <package>[ exit=N]" and
// "<time> front|open <path>".
QStringList installerLog();
QStringList openLog();

// The log lines whose word (after the time) is `word`.
QStringList linesWith(const QStringList& log, const QString& word);

// Runs the event loop until the Installer has logged `count` ends, or the bound has passed.
bool waitForInstallerEnds(int count, int timeoutMs = kWaitBoundMs);

} // namespace StandinPrograms
