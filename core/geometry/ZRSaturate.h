#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

// Float-to-int conversions that stay defined: NaN gives 0, values past the int range its nearest
// limit. C++ leaves an out-of-range conversion undefined.
inline int ZR_SaturateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0)
        return INT_MAX;
    if (value <= -2147483648.0)
        return INT_MIN;
    return int(value);
}

inline int ZR_SaturateToInt(int64_t value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}
