#include <algorithm>
#include <cstdio>

#include "cart/bus.h"
#include "script/job_context.h"
#include "script/script.h"

namespace {

constexpr SQInteger kFirstArgument = 3;  // after `this` and the job handle
constexpr uint32_t kMaxPairs = 8;
constexpr uint32_t kGbMask = 0xFFFF;
constexpr uint32_t kGbRamWindowMask = 0x5FFF;
constexpr uint32_t kGbRamWindow = 0xA000;

enum class Progress { Rom, Ram };

struct Transfer {
    JobContext* job = nullptr;
    uint32_t address = 0;
    uint32_t length = 0;
};

// The board failed a transfer: the job learns it stopped answering.
SQInteger board_failed(HSQUIRRELVM v, const char* native, const char* what, uint32_t got,
                       uint32_t asked);

SQInteger fail(HSQUIRRELVM v, const char* native, const char* what, uint32_t got = 0,
               uint32_t asked = 0) {
    char text[160];
    if (asked)
        snprintf(text, sizeof text, "%s: %s (%u of %u bytes)", native, what, got, asked);
    else
        snprintf(text, sizeof text, "%s: %s", native, what);
    return sq_throwerror(v, text);
}

SQInteger board_failed(HSQUIRRELVM v, const char* native, const char* what, uint32_t got,
                       uint32_t asked) {
    if (auto* job = static_cast<JobContext*>(sq_getforeignptr(v))) job->board_stopped(got, asked);
    return fail(v, native, what, got, asked);
}

// Reads handle, address and length, and checks that the job may transfer
// length bytes at its running total. mask reduces address and length, and cap
// is the most one call moves: the range check sees the capped length.
SQInteger take_transfer(HSQUIRRELVM v, Transfer& t, uint32_t mask, uint32_t cap = 0xFFFFFFFF) {
    if (sq_gettop(v) <= kFirstArgument) return sq_throwerror(v, "argument number error");
    int64_t address = 0, length = 0;
    if (!qr_long_get(v, kFirstArgument, &address) || !qr_long_get(v, kFirstArgument + 1, &length))
        return sq_throwerror(v, "argument type error");
    SQUserPointer handle = nullptr;
    const SQInteger got = qr_userpointer_get(v, &handle);
    if (got < 0) return got;
    t.job = static_cast<JobContext*>(handle);
    t.address = uint32_t(address) & mask;
    t.length = std::min(uint32_t(length) & mask, cap);
    if (t.job->m_cancel.load(std::memory_order_relaxed)) return sq_throwerror(v, "canceled");
    const int64_t total = t.job->m_total;
    if (!t.job->m_buffer || total < 0 || total + int64_t(t.length) > t.job->m_buffer_size)
        return sq_throwerror(v, "buffer range error");
    return 0;
}

uint8_t* cursor(const Transfer& t) {
    return t.job->m_buffer + t.job->m_total;
}

SQInteger advance(const Transfer& t, uint32_t count, Progress progress) {
    t.job->m_total += int32_t(count);
    const uint32_t max = progress == Progress::Rom ? t.job->m_rom_size : t.job->m_ram_size;
    t.job->report_progress(t.job->m_total, int(max));
    return 0;
}

// Progress of a GB bus read: a save read is measured against the save size.
Progress gb_read_progress(const JobContext* job) {
    return job->m_type == kJobGbSaveRead ? Progress::Ram : Progress::Rom;
}

// Reads only the wanted chunks of t (a re-read of a dump); unit is how many
// buffer bytes one step of the bus address covers.
SQInteger read_wanted(HSQUIRRELVM v, const char* name, gb::ReadOp op, const Transfer& t,
                      uint32_t unit) {
    const std::vector<bool>& wanted = *t.job->m_wanted;
    for (uint32_t done = 0; done < t.length;) {
        const size_t offset = size_t(t.job->m_total) + done;
        const size_t chunk = offset / kRereadChunk;
        const uint32_t n =
            uint32_t(std::min<size_t>(t.length - done, (chunk + 1) * kRereadChunk - offset));
        if (chunk < wanted.size() && wanted[chunk]) {
            const uint32_t got = op(t.address + done / unit, cursor(t) + done, n);
            if (got != n)
                return board_failed(v, name, "the device delivered too few bytes", got, n);
        }
        done += n;
    }
    return 0;
}

// How many bytes at the start of t the job read before its script ran
// (JobContext::m_prefetched) from the addresses t names; unit is how many
// buffer bytes one step of the bus address covers.
uint32_t prefetched_part(const Transfer& t, uint32_t unit) {
    const uint32_t total = uint32_t(t.job->m_total);
    if (total >= t.job->m_prefetched || total % unit || t.address != total / unit) return 0;
    return std::min(t.length, t.job->m_prefetched - total);
}

SQInteger read_native(HSQUIRRELVM v, const char* name, gb::ReadOp op, uint32_t mask, uint32_t cap,
                      Progress progress, bool gbRead) {
    Transfer t;
    const SQInteger checked = take_transfer(v, t, mask, cap);
    if (checked < 0) return checked;
    if (!op) return fail(v, name, "bus not initialised");
    if (t.job->m_wanted && progress == Progress::Rom) {
        const SQInteger read = read_wanted(v, name, op, t, gbRead ? 1 : 2);
        if (read < 0) return read;
        return advance(t, t.length, progress);
    }
    const uint32_t unit = progress == Progress::Rom && !gbRead ? 2 : 1;
    const uint32_t taken = prefetched_part(t, unit);
    const uint32_t n = t.length - taken;
    const uint32_t got = n ? op(t.address + taken / unit, cursor(t) + taken, n) : 0;
    if (got != n)
        return board_failed(v, name, "the device delivered too few bytes", taken + got, t.length);
    return advance(t, t.length, gbRead ? gb_read_progress(t.job) : progress);
}

SQInteger write_native(HSQUIRRELVM v, const char* name, gb::WriteOp op, uint32_t mask,
                       uint32_t (*place)(uint32_t), Progress progress) {
    Transfer t;
    const SQInteger checked = take_transfer(v, t, mask);
    if (checked < 0) return checked;
    if (!op) return fail(v, name, "bus not initialised");
    if (t.length && op(place ? place(t.address) : t.address, cursor(t), t.length) == 0)
        return board_failed(v, name, "the command could not be sent to the device", 0, 0);
    return advance(t, t.length, progress);
}

// Up to kMaxPairs address/value pairs after the handle, in one command:
// each address masked and placed at base, each value masked.
SQInteger pairs_write(HSQUIRRELVM v, const char* name, gb::WriteListOp op, uint32_t base,
                      uint32_t mask) {
    const SQInteger top = sq_gettop(v);
    if (top <= kFirstArgument) return sq_throwerror(v, "argument number error");
    uint32_t addresses[kMaxPairs], values[kMaxPairs];
    uint32_t count = 0;
    for (SQInteger i = kFirstArgument; i + 1 <= top && count < kMaxPairs; i += 2) {
        int64_t address = 0, value = 0;
        if (!qr_long_get(v, i, &address) || !qr_long_get(v, i + 1, &value))
            return sq_throwerror(v, "argument type error");
        addresses[count] = base + (uint32_t(address) & mask);
        values[count] = uint32_t(value) & mask;
        ++count;
    }
    if (!op) return fail(v, name, "bus not initialised");
    if (op(addresses, values, count) == 0)
        return board_failed(v, name, "the command could not be sent to the device", 0, 0);
    return 0;
}

uint32_t gb_ram_window(uint32_t address) {
    return (address & kGbRamWindowMask) | kGbRamWindow;
}

}  // namespace

SQInteger real_gb_cpu_read(HSQUIRRELVM v) {
    return read_native(v, "cpu_read", gb::p_gb_cpu_read, kGbMask, kGbMask + 1, Progress::Rom, true);
}

SQInteger real_gba_cpu_read(HSQUIRRELVM v) {
    return read_native(v, "cpu_read", gb::p_gba_cpu_read, 0xFFFFFFFF, kGbaReadCap, Progress::Rom,
                       false);
}

SQInteger real_gba_ram_read(HSQUIRRELVM v) {
    return read_native(v, "ram_read", gb::p_gba_save_read, 0xFFFFFFFF, 0xFFFFFFFF, Progress::Ram,
                       false);
}

SQInteger real_gb_rom_write(HSQUIRRELVM v) {
    return write_native(v, "rom_write", gb::p_gb_cpu_flash, kGbMask, nullptr, Progress::Rom);
}

SQInteger real_gb_ram_write(HSQUIRRELVM v) {
    return write_native(v, "ram_write", gb::p_gb_ram_write, kGbMask, gb_ram_window, Progress::Ram);
}

SQInteger real_gba_ram_write(HSQUIRRELVM v) {
    return write_native(v, "ram_write", gb::p_gba_save_write, 0xFFFFFFFF, nullptr, Progress::Ram);
}

SQInteger real_gb_cpu_write(HSQUIRRELVM v) {
    return pairs_write(v, "cpu_write", gb::p_gb_cpu_write, 0, 0xFFFFFFFF);
}

SQInteger real_gb_flash_cfg(HSQUIRRELVM v) {
    if (sq_gettop(v) < kFirstArgument) return sq_throwerror(v, "argument number error");
    int64_t mode = 0;
    if (!qr_long_get(v, kFirstArgument, &mode)) return sq_throwerror(v, "argument type error");
    SQUserPointer handle = nullptr;
    const SQInteger got = qr_userpointer_get(v, &handle);
    if (got < 0) return got;
    gb::f_gb_flash_cfg(uint32_t(mode) & 1);
    return 0;
}

namespace {

// Reads the job handle and the integer arguments after it; a canceled job stops here.
SQInteger take_values(HSQUIRRELVM v, JobContext** job, int64_t* values, int count) {
    if (sq_gettop(v) < kFirstArgument + count - 1) return sq_throwerror(v, "argument number error");
    for (int i = 0; i < count; ++i)
        if (!qr_long_get(v, kFirstArgument + i, &values[i]))
            return sq_throwerror(v, "argument type error");
    SQUserPointer handle = nullptr;
    const SQInteger got = qr_userpointer_get(v, &handle);
    if (got < 0) return got;
    *job = static_cast<JobContext*>(handle);
    if ((*job)->m_cancel.load(std::memory_order_relaxed)) return sq_throwerror(v, "canceled");
    return 0;
}

// Checks that one more byte fits at the job's running total.
bool byte_fits(const JobContext* job) {
    return job->m_buffer && job->m_total >= 0 && int64_t(job->m_total) < job->m_buffer_size;
}

// Reads a byte or a little-endian halfword (size 1 or 2) at address and
// pushes it.
SQInteger push_read(HSQUIRRELVM v, const char* name, gb::ReadOp op, uint32_t address,
                    uint32_t size) {
    if (!op) return fail(v, name, "bus not initialised");
    uint8_t bytes[2] = {};
    if (op(address, bytes, size) != size)
        return board_failed(v, name, "the device delivered too few bytes", 0, size);
    sq_pushinteger(v, bytes[0] | (size > 1 ? bytes[1] << 8 : 0));
    return 1;
}

}  // namespace

SQInteger real_gb_cpu_read_byte(HSQUIRRELVM v) {
    JobContext* job = nullptr;
    int64_t address = 0;
    const SQInteger checked = take_values(v, &job, &address, 1);
    if (checked < 0) return checked;
    return push_read(v, "cpu_read_byte", gb::p_gb_cpu_read, uint32_t(address) & kGbMask, 1);
}

SQInteger real_buffer_put(HSQUIRRELVM v) {
    JobContext* job = nullptr;
    int64_t value = 0;
    const SQInteger checked = take_values(v, &job, &value, 1);
    if (checked < 0) return checked;
    if (!byte_fits(job)) return sq_throwerror(v, "buffer range error");
    job->m_buffer[job->m_total++] = uint8_t(value);
    job->report_progress(job->m_total, int(job->m_ram_size));
    return 0;
}

SQInteger real_buffer_take(HSQUIRRELVM v) {
    JobContext* job = nullptr;
    const SQInteger checked = take_values(v, &job, nullptr, 0);
    if (checked < 0) return checked;
    if (!byte_fits(job)) return sq_throwerror(v, "buffer range error");
    const uint8_t value = job->m_buffer[job->m_total++];
    job->report_progress(job->m_total, int(job->m_ram_size));
    sq_pushinteger(v, value);
    return 1;
}

SQInteger real_multicart(HSQUIRRELVM v) {
    JobContext* job = nullptr;
    const SQInteger checked = take_values(v, &job, nullptr, 0);
    if (checked < 0) return checked;
    sq_pushinteger(v, job->m_multicart ? 1 : 0);
    return 1;
}

SQInteger real_gba_gpio_write(HSQUIRRELVM v) {
    return pairs_write(v, "gpio_write", gb::p_gba_cpu_write, gb::kGbaCartSpace, kGbMask);
}

SQInteger real_gba_gpio_read(HSQUIRRELVM v) {
    JobContext* job = nullptr;
    int64_t offset = 0;
    const SQInteger checked = take_values(v, &job, &offset, 1);
    if (checked < 0) return checked;
    // The ROM stream counts halfwords.
    return push_read(v, "gpio_read", gb::p_gba_cpu_read, (uint32_t(offset) & kGbMask) / 2, 2);
}

SQInteger real_gba_ram_erase(HSQUIRRELVM v) {
    if (gb::f_gba_sram_erase() == 0)
        return board_failed(v, "ram_erase", "the command could not be sent to the device", 0, 0);
    return 0;
}
