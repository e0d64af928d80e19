#include "system/ZRTime.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/time.h>

namespace {

using Breakdown = struct tm* (*)(const time_t*, struct tm*);

bool now(Breakdown breakdown, struct tm& parts, int& milliseconds)
{
    timeval tv{};
    if (gettimeofday(&tv, nullptr) != 0)
        return false;
    time_t seconds = tv.tv_sec;
    if (!breakdown(&seconds, &parts))
        return false;
    milliseconds = int(tv.tv_usec / 1000);
    return true;
}

// Both records name their fields alike; only their order differs.
template <class Record> void fromTm(const struct tm& parts, int milliseconds, Record* time)
{
    time->wYear = uint16_t(parts.tm_year + 1900);
    time->wMonth = uint16_t(parts.tm_mon + 1);
    time->wDayOfWeek = uint16_t(parts.tm_wday);
    time->wDay = uint16_t(parts.tm_mday);
    time->wHour = uint16_t(parts.tm_hour);
    time->wMinute = uint16_t(parts.tm_min);
    time->wSecond = uint16_t(parts.tm_sec);
    time->wMilliseconds = uint16_t(milliseconds);
}

void fillNow(Breakdown breakdown, ZR_SYSTEMTIME* time)
{
    if (!time)
        return;
    struct tm parts{};
    int milliseconds = 0;
    if (now(breakdown, parts, milliseconds))
        fromTm(parts, milliseconds, time);
}

} // namespace

void ZR_Time_GetSystemTime(ZR_SYSTEMTIME* time) { fillNow(gmtime_r, time); }

void ZR_Time_GetLocalTime(ZR_SYSTEMTIME* time) { fillNow(localtime_r, time); }

uint32_t ZR_Time_GetClock() { return uint32_t(clock() / (CLOCKS_PER_SEC / 1000)); }

int ZR_Time_Sleep(uint32_t milliseconds)
{
    int64_t nanoseconds = int64_t(milliseconds) * 1000000;
    timespec remaining{time_t(nanoseconds / 1000000000), long(nanoseconds % 1000000000)};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
    return 0;
}

int ZRCRT_GetCurrentSystemTime(ZRCRT_SYSTEMTIME* time)
{
    if (!time)
        return 0;
    memset(time, 0, sizeof(*time));
    struct tm parts{};
    int milliseconds = 0;
    if (!now(localtime_r, parts, milliseconds))
        return 0;
    // localtime_r need not set the zone globals; tzset does.
    tzset();
    long west = timezone;
    fromTm(parts, milliseconds, time);
    time->nZoneHours = int32_t(west / 3600);
    time->wZoneMinutes = uint16_t((west < 0 ? -west : west) % 3600 / 60);
    return time->wZoneMinutes;
}
