#pragma once

#include <cstdint>

// A moment in the calendar: full year, month 1-12, day of week (0 = Sunday), day of month, hour,
// minute, second, milliseconds.
struct ZR_SYSTEMTIME
{
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

// Local time with the zone's offset. Note the day of month before the day of week here.
struct ZRCRT_SYSTEMTIME
{
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDay;
    uint16_t wDayOfWeek;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
    int32_t nZoneHours;    // seconds west of UTC / 3600, truncated
    uint16_t wZoneMinutes; // the remaining minutes of the absolute offset
};
static_assert(sizeof(ZRCRT_SYSTEMTIME) == 24 && __builtin_offsetof(ZRCRT_SYSTEMTIME, wZoneMinutes) == 20,
              "the record's 22 bytes keep their places");

// Now in UTC; nothing for a null record.
void ZR_Time_GetSystemTime(ZR_SYSTEMTIME* time);
// Now in local time; nothing for a null record.
void ZR_Time_GetLocalTime(ZR_SYSTEMTIME* time);
// Processor time of the process in milliseconds.
uint32_t ZR_Time_GetClock();
// Sleeps the whole span, however often signals interrupt it; returns 0.
int ZR_Time_Sleep(uint32_t milliseconds);
// Local time and zone offset into a zero-filled record; answers the minutes.
int ZRCRT_GetCurrentSystemTime(ZRCRT_SYSTEMTIME* time);
