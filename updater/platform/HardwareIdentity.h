#pragma once

#include <QString>

// A stable identifier of this machine in the upper-case UUID form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
// empty when the system offers none.
QString hardwareUuid();
