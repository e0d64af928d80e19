#pragma once

#include <QString>

// The user the updater runs for. On Linux that is the process's own user; nothing asks another
// process (a login shell would wait for a password).
QString currentUserName();
// HOME, else the account's home folder; empty when neither is known.
QString currentUserHome();

// The global defaults list that holds the user's appearance choice.
QString globalPreferencesPath();
