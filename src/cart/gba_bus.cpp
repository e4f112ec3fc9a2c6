#include <cstring>

#include "cart/blocks.h"
#include "cart/bus.h"
#include "device/protocol.h"
#include "device/usb.h"

namespace gb {

ReadOp p_gba_cpu_read = nullptr;
WriteListOp p_gba_cpu_write = nullptr;
ReadOp p_gba_save_read = nullptr;
WriteOp p_gba_save_write = nullptr;
WriteOp p_gba_cpu_flash = nullptr;

uint32_t f_gba_init() {
    return switch_mode(proto::kOpGbaMode, proto::kGroupGba, proto::kOpGbaInit, [] {
        p_gba_cpu_read = f_gba_cpu_read;
        p_gba_cpu_write = f_gba_cpu_write;
        p_gba_save_read = f_gba_sram_read;
        p_gba_save_write = f_gba_sram_write;
        p_gba_cpu_flash = f_gba_cpu_flash_intel28f;
    });
}

uint32_t f_gba_cpu_read(uint32_t address, uint8_t* dest, uint32_t len) {
    std::vector<uint8_t> block = blank_blocks(1);
    block[proto::kGroupOffset] = proto::kGroupGba;
    block[proto::kOpOffset] = proto::kOpGbaCpuRead;
    proto::put24(block.data() + proto::kGbaAddr, address);
    // Without the latched address the data file would hold some earlier stretch.
    if (send_buffer(block) == 0) return 0;
    return usb::read_rom(0, dest, len);
}

uint32_t f_gba_cpu_write(const uint32_t* addresses, const uint32_t* values, uint32_t count) {
    std::vector<uint8_t> buffer = blank_blocks(count);
    for (uint32_t j = 0; j < count; ++j) {
        uint8_t* block = buffer.data() + size_t(j) * proto::kBlockSize;
        block[proto::kGroupOffset] = proto::kGroupGba;
        block[proto::kOpOffset] = proto::kOpGbaCpuWrite;
        proto::put32(block + proto::kGbaAddr, addresses[j]);
        proto::put16(block + proto::kGbaValue, values[j]);
    }
    return send_buffer(buffer);
}

namespace {

constexpr uint32_t kProbeFirst = 0x100000;  // the smallest GBA ROM, 1 MiB
constexpr uint32_t kProbeWords = 8;

// Whether the words at byte address at read as the open bus does: the low 16 bits of
// each word's own halfword address.
bool open_bus_at(uint32_t at, const uint8_t* words) {
    for (uint32_t i = 0; i < kProbeWords; ++i) {
        const uint32_t halfword = (at / 2 + i) & 0xFFFF;
        if (proto::get16(words + 2 * i) != halfword) return false;
    }
    return true;
}

}  // namespace

uint32_t gba_rom_size_by_probing() {
    uint8_t first[proto::kMinTransfer], here[proto::kMinTransfer];
    if (!p_gba_cpu_read || p_gba_cpu_read(0, first, sizeof first) != sizeof first) return 0;
    for (uint32_t size = kProbeFirst; size < kGbaRomSpan; size *= 2) {
        if (p_gba_cpu_read(size / 2, here, sizeof here) != sizeof here) return 0;
        // Past the end the bus floats, or a small ROM shows again from its start.
        if (open_bus_at(size, here) || std::memcmp(here, first, 2 * kProbeWords) == 0) return size;
    }
    return kGbaRomSpan;
}

uint32_t f_gba_cpu_flash_intel28f(uint32_t, const uint8_t*, uint32_t) {
    return 0;
}

}  // namespace gb
