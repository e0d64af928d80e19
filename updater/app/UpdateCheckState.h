#pragma once

// How a check ended, as the reader is told (one word on its "updater_check_state" socket).
enum UPDATE_CHECK_STATE {
    UPDATE_CHECK_ERROR_NETWORK = 0,
    UPDATE_CHECK_FINISHED = 1,
    UPDATE_CHECK_CLOSE = 2,
    UPDATE_CHECK_AUTOCLOSE = 3
};
