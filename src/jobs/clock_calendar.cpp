#include "jobs/clock_calendar.h"

namespace {

// Days from 1970-01-01 of a civil date, and back.
int64_t days_from_civil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int* y, int* m, int* d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    *d = int(doy - (153 * mp + 2) / 5 + 1);
    *m = int(mp < 10 ? mp + 3 : mp - 9);
    *y = int(yoe + era * 400 + (*m <= 2));
}

}  // namespace

bool from_bcd(uint8_t b, int* value) {
    if ((b & 0xF) > 9 || (b >> 4) > 9) return false;
    *value = (b >> 4) * 10 + (b & 0xF);
    return true;
}

uint8_t to_bcd(int value) {
    return uint8_t(value / 10 << 4 | value % 10);
}

QString calendar_fault(const CalendarTime& t) {
    // The month's own length: the first of the next month less the first of this one.
    const auto month_days = [&t] {
        return days_from_civil(t.year + t.month / 12, t.month % 12 + 1, 1) -
               days_from_civil(t.year, t.month, 1);
    };
    if (t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= month_days() && t.hour >= 0 &&
        t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59)
        return QString();
    return QStringLiteral("it holds no date and time: %1-%2-%3 %4:%5:%6")
        .arg(t.year)
        .arg(t.month)
        .arg(t.day)
        .arg(t.hour)
        .arg(t.minute)
        .arg(t.second);
}

int64_t seconds_of(const CalendarTime& t) {
    return days_from_civil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * kSecondsPerHour +
           t.minute * kSecondsPerMinute + t.second;
}

CalendarTime calendar_of(int64_t seconds) {
    CalendarTime t;
    int64_t days = seconds / kSecondsPerDay, inDay = seconds % kSecondsPerDay;
    if (inDay < 0) {
        inDay += kSecondsPerDay;
        --days;
    }
    civil_from_days(days, &t.year, &t.month, &t.day);
    t.hour = int(inDay / kSecondsPerHour);
    t.minute = int(inDay / kSecondsPerMinute % 60);
    t.second = int(inDay % 60);
    return t;
}

int weekday_of(int64_t seconds) {
    const int64_t days = seconds / kSecondsPerDay - (seconds % kSecondsPerDay < 0);
    return int((days % 7 + 7 + 4) % 7);  // 1970-01-01 was a Thursday
}
