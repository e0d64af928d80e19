#pragma once

// The worker window asks its question with this dialog too, so it lives with the engine; the
// conductor's dialogs may keep including it from here.
#include "engine/DlgMessage.h"
