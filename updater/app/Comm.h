#pragma once

// The engine writes the log and clears folders too, so both live with it; sources of the conductor
// and its dialogs may keep including them from here.
#include "engine/Comm.h"
