#pragma once

#include <QString>

// The system's install history, "/Library/Receipts/InstallHistory.plist": an array of one
// dictionary per installation, the newest last.
namespace InstallHistory {

// Appends the record of `packagePath`'s installation. Installers that end together take turns
// through an exclusive lock, and the list is replaced atomically, so no record is lost and no
// reader sees half a list. With `keptRecords` above 0 the history stays at that many records at most,
// its oldest dropped as a history of fixed length drops them. False when the lock cannot be taken or
// the history is not a list.
bool appendRecord(const QString& packagePath, const QString& version, int keptRecords = 0);

} // namespace InstallHistory
