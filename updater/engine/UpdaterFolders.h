#pragma once

#include <QString>

// A folder the updater needs, and why it could not be made: the system's own words for the level
// that failed ("Not a directory" for a file in its way, "Read-only file system", "No space left on
// device"), so that the log and the user learn what to mend.
struct MadeFolder {
    QString path;
    QString error; // empty when the folder exists

    bool isMade() const { return error.isEmpty(); }
};

namespace UpdaterFolders {

// `path` with every missing parent.
MadeFolder makePath(const QString& path);

// The two below write a folder that cannot be made, with its cause, to the debug output and the log.

// The download folder, "updater" under the application-data root.
MadeFolder downloadFolder();
// Its path, whether it is there or not.
QString downloadFolderPath();

// A fresh unpack folder: "updater/uncompress/" under the application-data root is emptied, then a
// folder named by the current time in seconds since the epoch is made in it.
MadeFolder freshUnpackFolder();

} // namespace UpdaterFolders
