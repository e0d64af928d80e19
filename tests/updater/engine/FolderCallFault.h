#pragma once

#include <QString>

// Makes this process's mkdir and mkdtemp fail with `error` for every path that begins with `prefix`,
// as a full disk or a spent quota makes them fail; other paths, and every path once the object has
// gone, are made as usual. The calls are replaced for the whole test program, so that the code under
// test, Qt included, meets the fault wherever it makes a folder.
class FolderCallFault
{
public:
    FolderCallFault(const QString& prefix, int error);
    ~FolderCallFault();
    FolderCallFault(const FolderCallFault&) = delete;
    FolderCallFault& operator=(const FolderCallFault&) = delete;

    // How many calls have failed so far.
    int failures() const;
};
