#include <algorithm>
#include <cstring>

#include "cart/blocks.h"
#include "cart/bus.h"
#include "device/bf.h"
#include "device/protocol.h"

namespace gb {
namespace {

// Copies a chunk with its first 8 bytes enciphered; the source stays untouched.
// A final chunk shorter than 8 bytes is enciphered as a zero-padded copy.
void fill_enciphered(uint8_t* blockData, const uint8_t* chunk, uint32_t n) {
    uint8_t head[proto::kCipherBlock] = {};
    std::memcpy(head, chunk, std::min<uint32_t>(n, sizeof head));
    bf::crypt_data(head, sizeof head);
    std::memcpy(blockData, head, sizeof head);
    if (n > sizeof head) std::memcpy(blockData + sizeof head, chunk + sizeof head, n - sizeof head);
}

uint32_t program(uint8_t op, uint32_t address, const uint8_t* src, uint32_t len) {
    const ChunkLayout layout{
        proto::kGroupGb, op, proto::kGbChunk, proto::kGbAddr, 2, proto::kGbCount, proto::kGbData};
    std::vector<uint8_t> buffer = chunk_blocks(layout, address, src, len, fill_enciphered);
    return send_buffer(buffer);
}

}  // namespace

uint32_t f_gb_cpu_flash_29f(uint32_t address, const uint8_t* src, uint32_t len) {
    return program(proto::kOpGbFlash29f, address, src, len);
}

uint32_t f_gb_cpu_flash_29lv(uint32_t address, const uint8_t* src, uint32_t len) {
    return program(proto::kOpGbFlash29lv, address, src, len);
}

uint32_t f_gb_flash_cfg(uint32_t selector) {
    p_gb_cpu_flash = selector == 0 ? f_gb_cpu_flash_29f : f_gb_cpu_flash_29lv;
    return 0;
}

}  // namespace gb
