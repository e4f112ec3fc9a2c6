#include "jobs/clock_trailer.h"

#include "device/protocol.h"

namespace {

constexpr uint8_t kDayHigh = 0x01, kHalt = 0x40, kCarry = 0x80;
constexpr int64_t kMinute = 60, kHour = 3600, kDay = 86400, kDays = 512;
constexpr size_t kRegisterBytes = 4;
constexpr size_t kLatchedAt = kClockRegisterCount * kRegisterBytes;
constexpr size_t kTimeAt = 2 * kLatchedAt;
// What each register can hold: seconds, minutes, hours, day low, day high.
constexpr uint32_t kRegisterMax[kClockRegisterCount] = {59, 59, 23, 0xFF, 0xFF};
constexpr uint32_t kDayHighBits = kDayHigh | kHalt | kCarry;
const char* const kRegisterNames[kClockRegisterCount] = {"seconds", "minutes", "hours", "day low",
                                                         "day high"};
// The last second of the year 9999: a later time is no time a clock was read.
constexpr uint64_t kLatestTime = 253402300799;

}  // namespace

QByteArray clock_trailer(const uint8_t* regs, int64_t now) {
    QByteArray out(int(kClockTrailerSize), 0);
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (int i = 0; i < kClockRegisterCount; ++i) {
        proto::put32(p + i * kRegisterBytes, regs[i]);
        proto::put32(p + kLatchedAt + i * kRegisterBytes, regs[i]);
    }
    proto::put32(p + kTimeAt, uint32_t(uint64_t(now)));
    proto::put32(p + kTimeAt + 4, uint32_t(uint64_t(now) >> 32));
    return out;
}

bool parse_clock_trailer(const uint8_t* data, size_t size, ClockState* state, QString* why) {
    QString reason;
    if (size != kClockTrailerSize && size != kClockTrailerShortSize) {
        reason = QStringLiteral("%1 bytes are no clock trailer").arg(size);
    }
    for (int i = 0; i < kClockRegisterCount && reason.isEmpty(); ++i) {
        const uint32_t value = proto::get32(data + i * kRegisterBytes);
        if (value > kRegisterMax[i] || (i == 4 && (value & ~kDayHighBits)))
            reason = QStringLiteral("its %1 register holds %2").arg(kRegisterNames[i]).arg(value);
        state->regs[i] = uint8_t(value);
    }
    uint64_t time = reason.isEmpty() ? proto::get32(data + kTimeAt) : 0;
    if (size == kClockTrailerSize) time |= uint64_t(proto::get32(data + kTimeAt + 4)) << 32;
    // Unsigned, so a huge value stays huge and is refused rather than wrapping.
    if (reason.isEmpty() && time > kLatestTime)
        reason = QStringLiteral("its time %1 is not a date a clock was read on").arg(time);
    state->time = int64_t(time);
    if (why) *why = reason;
    return reason.isEmpty();
}

void advance_clock(uint8_t* regs, int64_t seconds) {
    if (regs[4] & kHalt || seconds <= 0) return;
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
