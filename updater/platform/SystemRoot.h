#pragma once

#include <QString>

// Every absolute system path ("/Library/...", "/usr/local/share/...") goes through here, so that
// KELVRIN_SYSTEM_ROOT can move the whole system under a folder of its own (tests, the demo).
// Unset, the path is returned exactly as given.
QString systemPath(const QString& absolutePath);
