#include "jobs/clock_trailer.h"

#include <QDateTime>
#include <algorithm>
#include <iterator>

#include "device/protocol.h"
#include "jobs/clock_calendar.h"

namespace {

using gb::ClockKind;

// The last second of the year 9999: a later time is no time a clock was read.
constexpr uint64_t kLatestTime = 253402300799;
constexpr uint64_t kOneDay = 86400;
constexpr int64_t kMinute = kSecondsPerMinute, kHour = kSecondsPerHour, kDay = kSecondsPerDay;

// A clock that keeps a date: its registers read as one, and are set from seconds.
struct CalendarClock {
    QString (*calendar)(const uint8_t* regs, CalendarTime* t);  // empty, or what is wrong
    void (*set)(uint8_t* regs, int64_t seconds);
};

QString date_text(const CalendarTime& t);

void advance_calendar(const CalendarClock& clock, uint8_t* regs, int64_t seconds) {
    CalendarTime t;
    if (clock.calendar(regs, &t).isEmpty()) clock.set(regs, seconds_of(t) + seconds);
}

QString calendar_text(const CalendarClock& clock, const uint8_t* regs) {
    CalendarTime t;
    clock.calendar(regs, &t);
    return date_text(t);
}

QString date_text(const CalendarTime& t) {
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(t.year)
        .arg(t.month, 2, 10, QLatin1Char('0'))
        .arg(t.day, 2, 10, QLatin1Char('0'))
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'))
        .arg(t.second, 2, 10, QLatin1Char('0'));
}

void put64(uint8_t* p, int64_t value) {
    proto::put32(p, uint32_t(uint64_t(value)));
    proto::put32(p + 4, uint32_t(uint64_t(value) >> 32));
}

uint64_t get64(const uint8_t* p) {
    return proto::get32(p) | uint64_t(proto::get32(p + 4)) << 32;
}

// MBC3: each register a 32-bit value, current then latched, then the time.
namespace mbc3 {
constexpr uint8_t kDayHigh = 0x01, kHalt = 0x40, kCarry = 0x80;
constexpr int64_t kDays = 512;
constexpr size_t kRegisterBytes = 4;
constexpr size_t kLatchedAt = kClockRegisterCount * kRegisterBytes;
constexpr size_t kTimeAt = 2 * kLatchedAt;
constexpr uint32_t kRegisterMax[kClockRegisterCount] = {59, 59, 23, 0xFF, 0xFF};
constexpr uint32_t kDayHighBits = kDayHigh | kHalt | kCarry;
const char* const kRegisterNames[kClockRegisterCount] = {"seconds", "minutes", "hours", "day low",
                                                         "day high"};

QByteArray trailer(const uint8_t* regs, int64_t now) {
    QByteArray out(int(kClockTrailerSize), 0);
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (int i = 0; i < kClockRegisterCount; ++i) {
        proto::put32(p + i * kRegisterBytes, regs[i]);
        proto::put32(p + kLatchedAt + i * kRegisterBytes, regs[i]);
    }
    put64(p + kTimeAt, now);
    return out;
}

QString parse(const uint8_t* data, size_t size, ClockState* state) {
    for (int i = 0; i < kClockRegisterCount; ++i) {
        const uint32_t value = proto::get32(data + i * kRegisterBytes);
        if (value > kRegisterMax[i] || (i == 4 && (value & ~kDayHighBits)))
            return QStringLiteral("its %1 register holds %2").arg(kRegisterNames[i]).arg(value);
        state->regs[i] = uint8_t(value);
    }
    state->time =
        int64_t(size == kClockTrailerSize ? get64(data + kTimeAt) : proto::get32(data + kTimeAt));
    return QString();
}

void advance(uint8_t* regs, int64_t seconds) {
    if (regs[4] & kHalt) return;
    const int64_t days = (regs[4] & kDayHigh) << 8 | regs[3];
    int64_t total = regs[0] + regs[1] * kMinute + regs[2] * kHour + days * kDay + seconds;
    regs[0] = uint8_t(total % kMinute);
    regs[1] = uint8_t(total / kMinute % 60);
    regs[2] = uint8_t(total / kHour % 24);
    total /= kDay;
    uint8_t high = uint8_t(regs[4] & (kHalt | kCarry));
    if (total >= kDays) high |= kCarry;
    total %= kDays;
    regs[3] = uint8_t(total);
    regs[4] = uint8_t(high | (total >> 8 & kDayHigh));
}
}  // namespace mbc3

// HuC-3: 256 nibbles two to a byte, the minute of day and the day counter at
// nibbles 0x10-0x15, least significant first.
namespace huc3 {
constexpr size_t kNibbleBytes = 0x80;
constexpr size_t kClockNibble = 0x10;
constexpr int64_t kMinutesPerDay = 1440, kDays = 4096;

int64_t minutes(const uint8_t* n) {
    return n[0] | n[1] << 4 | n[2] << 8;
}
int64_t days(const uint8_t* n) {
    return n[3] | n[4] << 4 | n[5] << 8;
}
void set(uint8_t* n, int64_t minute, int64_t day) {
    for (int i = 0; i < 3; ++i) {
        n[i] = uint8_t(minute >> (4 * i) & 0xF);
        n[3 + i] = uint8_t(day >> (4 * i) & 0xF);
    }
}

QByteArray trailer(const uint8_t* regs, int64_t now) {
    QByteArray out(int(kHuC3TrailerSize), 0);
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (int i = 0; i < 6; ++i) {
        const size_t nibble = kClockNibble + size_t(i);
        p[nibble / 2] |= uint8_t((regs[i] & 0xF) << (nibble % 2 ? 4 : 0));
    }
    put64(p + kNibbleBytes, now);
    return out;
}

QString parse(const uint8_t* data, ClockState* state) {
    for (int i = 0; i < 6; ++i) {
        const size_t nibble = kClockNibble + size_t(i);
        state->regs[i] = uint8_t(data[nibble / 2] >> (nibble % 2 ? 4 : 0) & 0xF);
    }
    state->time = int64_t(get64(data + kNibbleBytes));
    if (minutes(state->regs) >= kMinutesPerDay)
        return QStringLiteral("its minute of day is %1").arg(minutes(state->regs));
    return QString();
}

void advance(uint8_t* regs, int64_t seconds) {
    const int64_t total = minutes(regs) + days(regs) * kMinutesPerDay + seconds / kMinute;
    set(regs, total % kMinutesPerDay, total / kMinutesPerDay % kDays);
}
}  // namespace huc3

// GBA: year (2000-2099), month, day, weekday, hour, minute, second in BCD,
// then the status byte; the hours are kept in 24-hour form.
namespace gba {
enum { kYear, kMonth, kDay, kWeekday, kHour, kMinute, kSecond, kStatus };
constexpr size_t kTimeAt = 8;
constexpr int kFirstYear = 2000;
constexpr uint8_t kPm = 0x80, kPowerLost = 0x80;
constexpr int kWeekdays = 7;
// The status register's bits: power lost, 24-hour mode and three interrupt
// enables; the others always read 0.
constexpr uint8_t kStatusBits = 0xEA;

QString calendar(const uint8_t* regs, CalendarTime* t) {
    if (regs[kWeekday] >= kWeekdays)
        return QStringLiteral("its weekday %1 is no day of the week").arg(regs[kWeekday]);
    if (regs[kStatus] & ~kStatusBits)
        return QStringLiteral("its status 0x%1 sets bits the clock does not have")
            .arg(regs[kStatus], 2, 16, QLatin1Char('0'));
    if (!from_bcd(regs[kYear], &t->year) || !from_bcd(regs[kMonth], &t->month) ||
        !from_bcd(regs[kDay], &t->day) || !from_bcd(regs[kHour] & 0x3F, &t->hour) ||
        !from_bcd(regs[kMinute], &t->minute) || !from_bcd(regs[kSecond], &t->second))
        return QStringLiteral("its date and time are not BCD");
    t->year += kFirstYear;
    return calendar_fault(*t);
}

void set(uint8_t* regs, int64_t seconds) {
    const CalendarTime t = calendar_of(seconds);
    regs[kYear] = to_bcd((t.year - kFirstYear) % 100);
    regs[kMonth] = to_bcd(t.month);
    regs[kDay] = to_bcd(t.day);
    regs[kWeekday] = uint8_t(weekday_of(seconds));
    regs[kHour] = to_bcd(t.hour);
    regs[kMinute] = to_bcd(t.minute);
    regs[kSecond] = to_bcd(t.second);
}

QByteArray trailer(const uint8_t* regs, int64_t now) {
    QByteArray out(int(kGbaClockTrailerSize), 0);
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (int i = 0; i <= kStatus; ++i) p[i] = regs[i];
    p[kHour] &= uint8_t(~kPm);  // mGBA reads the hour as plain 24-hour BCD
    put64(p + kTimeAt, now);
    return out;
}

QString parse(const uint8_t* data, ClockState* state) {
    for (int i = 0; i <= kStatus; ++i) state->regs[i] = data[i];
    state->regs[kHour] &= uint8_t(~kPm);
    state->time = int64_t(get64(data + kTimeAt));
    CalendarTime t;
    return calendar(state->regs, &t);
}

constexpr CalendarClock kClock = {calendar, set};
}  // namespace gba

// TAMA5: the TAMA6's four pages of 16 nibbles, two to a byte, low first; the
// timer page first (second, minute and hour units and tens, weekday, day,
// month and year units and tens), each page's number and flags in nibble 13.
namespace tama5 {
enum { kSecond, kMinute = 2, kHour = 4, kWeekday = 6, kDay = 7, kMonth = 9, kYear = 11 };
constexpr size_t kPageBytes = 8;
constexpr int kPages = 4, kPageNibble = 13;
constexpr uint8_t kTimerOn = 0x8;  // mGBA counts a page set only while this flag is up
constexpr size_t kTimeAt = kPages * kPageBytes;
constexpr int kFirstYear = 2000;

int pair(const uint8_t* n, int at, bool* ok) {
    if (n[at] > 9 || n[at + 1] > 9) *ok = false;
    return n[at] + 10 * n[at + 1];
}
void put_pair(uint8_t* n, int at, int value) {
    n[at] = uint8_t(value % 10);
    n[at + 1] = uint8_t(value / 10 % 10);
}

QString calendar(const uint8_t* regs, CalendarTime* t) {
    bool ok = true;
    t->second = pair(regs, kSecond, &ok);
    t->minute = pair(regs, kMinute, &ok);
    t->hour = pair(regs, kHour, &ok);
    t->day = pair(regs, kDay, &ok);
    t->month = pair(regs, kMonth, &ok);
    t->year = kFirstYear + pair(regs, kYear, &ok);
    if (!ok) return QStringLiteral("its date and time are not BCD");
    return calendar_fault(*t);
}

void set(uint8_t* regs, int64_t seconds) {
    const CalendarTime t = calendar_of(seconds);
    put_pair(regs, kSecond, t.second);
    put_pair(regs, kMinute, t.minute);
    put_pair(regs, kHour, t.hour);
    regs[kWeekday] = uint8_t(weekday_of(seconds));
    put_pair(regs, kDay, t.day);
    put_pair(regs, kMonth, t.month);
    put_pair(regs, kYear, t.year - kFirstYear);
}

QByteArray trailer(const uint8_t* regs, int64_t now) {
    QByteArray out(int(kTama5TrailerSize), 0);
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (int i = 0; i < gb::clock_register_count(ClockKind::Tama5); ++i)
        p[i / 2] |= uint8_t((regs[i] & 0xF) << (i % 2 ? 4 : 0));
    for (int page = 0; page < kPages; ++page)
        p[page * kPageBytes + kPageNibble / 2] |= uint8_t((kTimerOn | page) << 4);
    put64(p + kTimeAt, now);
    return out;
}

QString parse(const uint8_t* data, ClockState* state) {
    for (int i = 0; i < gb::clock_register_count(ClockKind::Tama5); ++i)
        state->regs[i] = uint8_t(data[i / 2] >> (i % 2 ? 4 : 0) & 0xF);
    state->time = int64_t(get64(data + kTimeAt));
    // mGBA writes the page of a clock the game never set as all zeros
    // ("2000-0-0 0:0:0"): no date, which leaves the cartridge's clock alone.
    state->unset =
        std::all_of(state->regs, state->regs + kYear + 2, [](uint8_t n) { return n == 0; });
    if (state->unset) return QString();
    CalendarTime t;
    return calendar(state->regs, &t);
}

constexpr CalendarClock kClock = {calendar, set};
}  // namespace tama5

constexpr size_t kTrailerSizes[] = {kClockTrailerSize, kClockTrailerShortSize, kHuC3TrailerSize,
                                    kGbaClockTrailerSize, kTama5TrailerSize};

}  // namespace

bool clock_trailer_fits(ClockKind kind, size_t size) {
    switch (kind) {
        case ClockKind::Mbc3:
            return size == kClockTrailerSize || size == kClockTrailerShortSize;
        case ClockKind::HuC3:
            return size == kHuC3TrailerSize;
        case ClockKind::GbaRtc:
            return size == kGbaClockTrailerSize;
        case ClockKind::Tama5:
            return size == kTama5TrailerSize;
        case ClockKind::None:
            break;
    }
    return false;
}

const size_t* clock_trailer_sizes(size_t* count) {
    *count = std::size(kTrailerSizes);
    return kTrailerSizes;
}

QByteArray clock_trailer(ClockKind kind, const uint8_t* regs, int64_t now) {
    switch (kind) {
        case ClockKind::Mbc3:
            return mbc3::trailer(regs, now);
        case ClockKind::HuC3:
            return huc3::trailer(regs, now);
        case ClockKind::GbaRtc:
            return gba::trailer(regs, now);
        case ClockKind::Tama5:
            return tama5::trailer(regs, now);
        case ClockKind::None:
            break;
    }
    return QByteArray();
}

bool parse_clock_trailer(ClockKind kind, const uint8_t* data, size_t size, ClockState* state,
                         QString* why) {
    state->kind = kind;
    state->unset = false;
    QString reason;
    if (!clock_trailer_fits(kind, size))
        reason = QStringLiteral("%1 bytes are no clock trailer of this cartridge").arg(size);
    else if (kind == ClockKind::Mbc3)
        reason = mbc3::parse(data, size, state);
    else if (kind == ClockKind::HuC3)
        reason = huc3::parse(data, state);
    else if (kind == ClockKind::GbaRtc)
        reason = gba::parse(data, state);
    else
        reason = tama5::parse(data, state);
    // Unsigned, so a huge value stays huge and is refused rather than wrapping;
    // a file is not written later than a day from now.
    const uint64_t latest =
        std::min<uint64_t>(kLatestTime, uint64_t(QDateTime::currentSecsSinceEpoch()) + kOneDay);
    if (reason.isEmpty() && uint64_t(state->time) > latest)
        reason = QStringLiteral("its time %1 is not a date a clock was read on")
                     .arg(uint64_t(state->time));
    if (why) *why = reason;
    return reason.isEmpty();
}

void advance_clock(ClockKind kind, uint8_t* regs, int64_t seconds) {
    if (seconds <= 0) return;
    if (kind == ClockKind::Mbc3) mbc3::advance(regs, seconds);
    if (kind == ClockKind::HuC3) huc3::advance(regs, seconds);
    if (kind == ClockKind::GbaRtc) advance_calendar(gba::kClock, regs, seconds);
    if (kind == ClockKind::Tama5) advance_calendar(tama5::kClock, regs, seconds);
}

bool clock_halted(ClockKind kind, const uint8_t* regs) {
    return kind == ClockKind::Mbc3 && (regs[4] & mbc3::kHalt);
}

bool clock_lost_power(ClockKind kind, const uint8_t* regs) {
    return kind == ClockKind::GbaRtc && (regs[gba::kStatus] & gba::kPowerLost);
}

QString clock_text(ClockKind kind, const uint8_t* r) {
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    switch (kind) {
        case ClockKind::Mbc3:
            return QStringLiteral("day %1, %2:%3:%4")
                .arg((r[4] & mbc3::kDayHigh) << 8 | r[3])
                .arg(two(r[2]), two(r[1]), two(r[0]));
        case ClockKind::HuC3:
            return QStringLiteral("day %1, %2:%3")
                .arg(huc3::days(r))
                .arg(two(int(huc3::minutes(r) / 60)), two(int(huc3::minutes(r) % 60)));
        case ClockKind::GbaRtc:
            return calendar_text(gba::kClock, r);
        case ClockKind::Tama5:
            return calendar_text(tama5::kClock, r);
        case ClockKind::None:
            break;
    }
    return QString();
}
