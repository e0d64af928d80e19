#pragma once

#include <QString>

// The files that start-up looks for before the run begins.

// The updater's own translation of `language` in the reader's "lang" folder; empty when the bundle's
// language table has no row for it. The country plays no part.
QString getLanFilePath(int language, int country);
// Qt's translation of `language`; without a row, the bare base folder, which holds no translation.
QString getGLanFilePath(int language, int country);

// The logged-in user's reader preferences list; empty when the user's home folder is unknown.
QString GetUserPlitPath();
// The reader preferences list under `home`; empty for an empty home, never a list at the root.
QString readerPreferencesUnder(const QString& home);
