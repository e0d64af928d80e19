#pragma once

#include <QString>

// The machine's platform identifier; empty when the system offers none.
QString GetHardwareUUID();

// Opens `file` with the desktop's handler, or with `application` when one is given (started on its
// own, with the file as its argument). True when the open was started.
bool processMacAppOpenfile(QString application, QString file);
