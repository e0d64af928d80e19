#pragma once

#include <QString>

// The macOS programs and files that install a package, each resolved through systemPath(). Linux has
// no Installer and no "open" of its own (its /usr/bin/open belongs to unrelated tools), so outside a
// system root the program paths are empty: starting them must fail, never run something else.
namespace InstallerPrograms {

QString installerProgram();     // ".../Installer.app/Contents/MacOS/Installer"; empty outside a system root
QString installerApplication(); // ".../Installer.app", the argument that brings the Installer to the front
QString openProgram();          // "/usr/bin/open"; empty outside a system root
QString installHistory();       // "/Library/Receipts/InstallHistory.plist"

} // namespace InstallerPrograms
