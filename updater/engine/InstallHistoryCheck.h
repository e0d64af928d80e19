#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// One installer as it was started.
struct InstallerStart {
    QString path;
    qint64 atMs = 0;
    bool viaOpen = false; // handed to "open", which returns before the installer has run
};

// The records of the install history that confirmed the installers of one package, by what they are
// (their text, the date included) and how many identical ones were taken: a history kept at a fixed
// length moves its records each time it drops its oldest, so a place in it names no record for long.
struct ClaimedRecords {
    QHash<QString, int> taken;
    // The history as the package's first installer found it, as text, oldest first. Its installers
    // start together, so what is new for the first is new for them all; a record one of them made
    // before another started still counts, as identical records are told apart only by their count.
    std::optional<QStringList> atFirstStart;
};

// Confirms an installer by a record of "/Library/Receipts/InstallHistory.plist" that names its
// package and was added since it started.
namespace InstallHistoryCheck {

enum class Verdict { Confirmed, NotConfirmed, Unusable };

// Notes in `claimed` what the history holds just before the package's first installer starts.
void noteHistoryAtStart(ClaimedRecords& claimed);

// Takes for `installer` a record not yet among `claimed`, and adds it to them.
Verdict claimRecord(const InstallerStart& installer, ClaimedRecords& claimed);

} // namespace InstallHistoryCheck
