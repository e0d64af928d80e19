#pragma once

#include "EngineRun.h"

#include <string>
#include <vector>

// A service reply and the reader's installed components laid out in the test's environment.
class ReplyParsing : public EngineRun
{
protected:
    QString readerPath() const { return env.root() + "/Reader.app/Contents/MacOS"; }
    QString replyFile() const { return env.root() + "/updater/update_tmpfile.xml"; }

    // A run of the reader with its path and version on the command line, plus `extra` switches.
    void startReaderRun(const QString& extra = QString());
    void installComponents(const QByteArray& updaterInfoXml) const;
    // Parses `reply` (written as the reply file) with a fresh engine of `type`.
    CReaderModuleManager& parse(const QByteArray& reply, const QString& type = "Update List",
                                bool autoUpgrade = false);

    std::vector<std::string> availableNames() const;
    std::vector<std::string> selectedNames() const;
    MODULEINFO* available(const std::string& name) const;
};
