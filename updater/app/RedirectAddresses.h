#pragma once

#include <QString>

// Addresses on the maker's redirect services. They depend only on their arguments, so the dialogs
// pass the installation's package type and the run's values in.

// The version as the redirect pages take it: everything before its last "." (all of it without one).
QString versionBeforeLastPoint(const QString& version);

// The add-ons download page, linked from the component-found dialog. A Japanese reader goes to the
// Japanese web site, a China package to the China service, everything else to the international one.
QString componentAddonsAddress(const QString& packageType, const QString& language, const QString& version,
                               const QString& edition);

// What is new in a major upgrade, opened by the major-upgrade notice's More Info button.
QString majorUpgradeInfoAddress(const QString& packageType, const QString& language, const QString& version,
                                const QString& edition);
