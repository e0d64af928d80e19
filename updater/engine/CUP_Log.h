#pragma once

#include <QString>

class QFile;

// The updater's diagnostic log "Update.log". Lines are written only while the reader's debug mode is
// on; the setting is read again for every line, so switching it takes effect at once.
class CUP_Log
{
public:
    // Makes the log folder and prepares the file; logging stays off for the process when the folder
    // cannot be made.
    static void CreateLog();

    // Appends "[CUP_Log][date and time]message\n" in UTF-8. The file is opened and closed per line.
    static void PrintLog(QString message);

    static QFile* m_pFile;
};
