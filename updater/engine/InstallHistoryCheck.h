#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// One installer as it was started.
struct InstallerStart {
    QString path;
    qint64 atMs = 0;
    QStringList recordsAtStart; // those of the install history just before it started, as text, oldest first
    bool viaOpen = false;       // handed to "open", which returns before the installer has run
};

// The records of the install history that confirmed the installers of one package, by what they are
// (their text, the date included) and how many identical ones were taken: a history kept at a fixed
// length moves its records each time it drops its oldest, so a place in it names no record for long.
struct ClaimedRecords {
    QHash<QString, int> taken;
    // The history as the package's first installer found it, as text: a record taken by one installer
    // may be there before another starts, and identical records are told apart only by their count.
    std::optional<QStringList> atFirstStart;
};

// Confirms an installer by a record of "/Library/Receipts/InstallHistory.plist" that names its
// package and was added since it started.
namespace InstallHistoryCheck {

enum class Verdict { Confirmed, NotConfirmed, Unusable };

// Notes in `installer` what the history holds just before it starts, and in `claimed` when it is the
// first of its package.
void noteHistoryAtStart(InstallerStart& installer, ClaimedRecords& claimed);

// Takes for `installer` a record not yet among `claimed`, and adds it to them.
Verdict claimRecord(const InstallerStart& installer, ClaimedRecords& claimed);

} // namespace InstallHistoryCheck
