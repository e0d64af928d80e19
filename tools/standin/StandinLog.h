#pragma once

#include <QString>

// The stand-in programs log every call, one line each, to a file under the system root, so a test
// sees what ran and when: "<time> <word> <argument>", the time in UTC with milliseconds.
namespace StandinLog {

// "/var/log/kelvrin-standin-installer.log" and "/var/log/kelvrin-standin-open.log", as mapped.
QString installerLogPath();
QString openLogPath();

// Appends the line in one write, so lines of programs running side by side never mix.
void append(const QString& logPath, const QString& word, const QString& argument);

} // namespace StandinLog
