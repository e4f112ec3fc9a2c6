// Dates as the BCD clocks of cartridges keep them, and seconds from 1970 to
// count them on by (proleptic Gregorian, no time zone: a clock's own time).
#pragma once

#include <QString>
#include <cstdint>

struct CalendarTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

inline constexpr int64_t kSecondsPerMinute = 60, kSecondsPerHour = 3600, kSecondsPerDay = 86400;

// The two BCD digits of b; false when either is no decimal digit.
bool from_bcd(uint8_t b, int* value);
uint8_t to_bcd(int value);

// An empty text when t is a date and time a clock can show, else what is wrong.
QString calendar_fault(const CalendarTime& t);
int64_t seconds_of(const CalendarTime& t);
CalendarTime calendar_of(int64_t seconds);
// 0 is Sunday.
int weekday_of(int64_t seconds);
