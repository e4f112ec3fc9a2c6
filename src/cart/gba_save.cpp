#include <algorithm>
#include <cstring>

#include "cart/blocks.h"
#include "cart/bus.h"
#include "device/protocol.h"
#include "device/usb.h"

namespace gb {
namespace {

uint8_t* start_block(std::vector<uint8_t>& block, uint8_t op) {
    std::fill(block.begin(), block.end(), 0);
    block[proto::kGroupOffset] = proto::kGroupGba;
    block[proto::kOpOffset] = op;
    return block.data();
}

// Reads in chunks of 4096 bytes; bytes delivered, up to the first short chunk.
uint32_t chunked_read(uint8_t op, uint32_t address, uint8_t* dest, uint32_t len) {
    std::vector<uint8_t> block = blank_blocks(1);
    uint32_t delivered = 0;
    for (uint32_t k = 0; k < len; k += proto::kGbaReadChunk) {
        const uint32_t n = std::min(proto::kGbaReadChunk, len - k);
        uint8_t* b = start_block(block, op);
        proto::put24(b + proto::kGbaAddr, address + k);
        proto::put16(b + proto::kGbaCount, n);
        if (send_buffer(block) == 0) break;
        const uint32_t got = usb::read_dmp(0, dest + k, n);
        delivered += got;
        if (got != n) break;
    }
    return delivered;
}

uint32_t eeprom_read(uint8_t op, uint32_t address, uint8_t* dest, uint32_t len) {
    std::vector<uint8_t> block = blank_blocks(1);
    uint8_t* b = start_block(block, op);
    proto::put16(b + proto::kGbaAddr, address);
    proto::put16(b + proto::kGbaCount, len);
    if (send_buffer(block) == 0) return 0;
    return usb::read_dmp(0, dest, len);
}

uint32_t chunked_write(uint8_t op, uint32_t addressBytes, uint32_t address, const uint8_t* src,
                       uint32_t len) {
    const ChunkLayout layout{proto::kGroupGba, op,           proto::kGbaWriteChunk,
                             proto::kGbaAddr,  addressBytes, proto::kGbaCount,
                             proto::kGbaData};
    std::vector<uint8_t> buffer = chunk_blocks(layout, address, src, len);
    return send_buffer(buffer);
}

// One EEPROM block of 256 data bytes.
uint32_t send_eeprom_half(std::vector<uint8_t>& block, const uint8_t* src) {
    std::memcpy(block.data() + proto::kGbaData, src, proto::kGbaEepHalf);
    return send_buffer(block);
}

struct SaveOps {
    ReadOp read;
    WriteOp write;
};
constexpr SaveOps kSavePairs[kSavePairCount] = {
    {f_gba_sram_read, f_gba_sram_write},           {f_gba_flash64k_read, f_gba_flash64k_write},
    {f_gba_flash128k_read, f_gba_flash128k_write}, {f_gba_eep512b_read, f_gba_eep512b_write},
    {f_gba_eep8k_read, f_gba_eep8k_write},
};

}  // namespace

uint32_t f_gba_sram_read(uint32_t address, uint8_t* dest, uint32_t len) {
    return chunked_read(proto::kOpGbaSramRead, address, dest, len);
}
uint32_t f_gba_flash64k_read(uint32_t address, uint8_t* dest, uint32_t len) {
    return chunked_read(proto::kOpGbaFlash64kRead, address, dest, len);
}
uint32_t f_gba_flash128k_read(uint32_t address, uint8_t* dest, uint32_t len) {
    return chunked_read(proto::kOpGbaFlash128kRead, address, dest, len);
}
uint32_t f_gba_eep512b_read(uint32_t address, uint8_t* dest, uint32_t len) {
    return eeprom_read(proto::kOpGbaEep512Read, address, dest, len);
}
uint32_t f_gba_eep8k_read(uint32_t address, uint8_t* dest, uint32_t len) {
    return eeprom_read(proto::kOpGbaEep8kRead, address, dest, len);
}

namespace {

// Whether every block of data holds what the first one does.
bool blocks_alike(const std::vector<uint8_t>& data) {
    for (size_t i = kGbaEepromBlock; i < data.size(); ++i)
        if (data[i] != data[i % kGbaEepromBlock]) return false;
    return true;
}

}  // namespace

uint32_t probe_eeprom_size() {
    std::vector<uint8_t> wide(kGbaEepromProbeSpan);
    if (f_gba_eep8k_read(0, wide.data(), kGbaEepromProbeSpan) != kGbaEepromProbeSpan) return 0;
    if (!blocks_alike(wide)) return kGbaEepromLarge;
    std::vector<uint8_t> narrow(kGbaEepromSmall);
    if (f_gba_eep512b_read(0, narrow.data(), kGbaEepromSmall) != kGbaEepromSmall) return 0;
    return blocks_alike(narrow) ? 0 : kGbaEepromSmall;
}

uint32_t f_gba_sram_write(uint32_t address, const uint8_t* src, uint32_t len) {
    return chunked_write(proto::kOpGbaSramWrite, 2, address, src, len);
}
uint32_t f_gba_flash64k_write(uint32_t address, const uint8_t* src, uint32_t len) {
    return chunked_write(proto::kOpGbaFlash64kWrite, 2, address, src, len);
}
uint32_t f_gba_flash128k_write(uint32_t address, const uint8_t* src, uint32_t len) {
    return chunked_write(proto::kOpGbaFlash128kWrite, 3, address, src, len);
}

uint32_t f_gba_eep512b_write(uint32_t, const uint8_t* src, uint32_t len) {
    if (len < proto::kGbaEepStep) return 0;
    std::vector<uint8_t> block = blank_blocks(1);
    uint8_t* b = start_block(block, proto::kOpGbaEep512Write);
    proto::put32(b + proto::kGbaAddr, 0);
    if (send_eeprom_half(block, src) == 0) return 0;
    proto::put32(b + proto::kGbaAddr, proto::kGbaEepHalf);
    return send_eeprom_half(block, src + proto::kGbaEepHalf);
}

// Writes whole 512-byte steps. A last step that len covers only in part is
// read back first, so that the chip beyond len keeps what it holds.
uint32_t f_gba_eep8k_write(uint32_t address, const uint8_t* src, uint32_t len) {
    if (len == 0) return 0;
    std::vector<uint8_t> block = blank_blocks(1);
    uint8_t step[proto::kGbaEepStep];
    for (uint32_t k = 0; k < len; k += proto::kGbaEepStep) {
        const uint8_t* data = src + k;
        if (len - k < proto::kGbaEepStep) {
            if (f_gba_eep8k_read(address + k, step, proto::kGbaEepStep) != proto::kGbaEepStep)
                return 0;
            std::memcpy(step, src + k, len - k);
            data = step;
        }
        for (uint32_t half = 0; half < proto::kGbaEepStep; half += proto::kGbaEepHalf) {
            uint8_t* b = start_block(block, proto::kOpGbaEep8kWrite);
            proto::put16(b + proto::kGbaAddr, address + k + half);
            if (send_eeprom_half(block, data + half) == 0) return 0;
        }
    }
    return len;
}

uint32_t f_gba_sram_erase() {
    std::vector<uint8_t> block = blank_blocks(1);
    start_block(block, proto::kOpGbaSaveErase);
    return send_buffer(block);
}

uint32_t f_gba_save_cfg(uint32_t index) {
    if (index < kSavePairCount) {
        p_gba_save_read = kSavePairs[index].read;
        p_gba_save_write = kSavePairs[index].write;
    }
    return 0;
}

int save_pair_for(uint32_t saveType, uint32_t saveSize) {
    if (saveType == kSaveTypeSram) return kSaveSram;
    for (const GbaSaveKind& kind : kGbaSaveKinds)
        if (uint32_t(kind.type) == saveType && kind.size == saveSize) return kind.pair;
    return -1;
}

uint32_t smallest_save_of(uint32_t saveType) {
    uint32_t smallest = 0;
    for (const GbaSaveKind& kind : kGbaSaveKinds)
        if (uint32_t(kind.type) == saveType && (smallest == 0 || kind.size < smallest))
            smallest = kind.size;
    return smallest;
}

}  // namespace gb
