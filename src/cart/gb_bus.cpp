#include <atomic>
#include <cstring>

#include "cart/blocks.h"
#include "cart/bus.h"
#include "device/cmd.h"
#include "device/protocol.h"
#include "device/usb.h"

namespace gb {

ReadOp p_gb_cpu_read = nullptr;
WriteListOp p_gb_cpu_write = nullptr;
WriteOp p_gb_ram_write = nullptr;
WriteOp p_gb_cpu_flash = nullptr;

std::vector<uint8_t> chunk_blocks(const ChunkLayout& layout, uint32_t address, const uint8_t* src,
                                  uint32_t len, ChunkFill fill) {
    const uint32_t count = (len + layout.chunk - 1) / layout.chunk;
    std::vector<uint8_t> buffer = blank_blocks(count);
    for (uint32_t k = 0; k < count; ++k) {
        uint8_t* block = buffer.data() + size_t(k) * proto::kBlockSize;
        const uint32_t offset = k * layout.chunk;
        const uint32_t n = len - offset < layout.chunk ? len - offset : layout.chunk;
        block[proto::kGroupOffset] = layout.group;
        block[proto::kOpOffset] = layout.op;
        if (layout.addressBytes == 3)
            proto::put24(block + layout.addressAt, address);
        else
            proto::put16(block + layout.addressAt, address);
        proto::put16(block + layout.countAt, n);
        if (fill)
            fill(block + layout.dataAt, src + offset, n);
        else
            std::memcpy(block + layout.dataAt, src + offset, n);
        address += n;
    }
    return buffer;
}

uint32_t send_buffer(std::vector<uint8_t>& buffer) {
    return cmd::send(buffer.data(), uint32_t(buffer.size()));
}

namespace {
std::atomic<uint8_t> g_enteredMode{0};
}  // namespace

uint8_t entered_mode() {
    return g_enteredMode.load();
}

uint32_t switch_mode(uint8_t modeOp, uint8_t group, uint8_t initOp, void (*fillTable)()) {
    std::vector<uint8_t> block = blank_blocks(1);
    block[proto::kGroupOffset] = proto::kGroupDevice;
    block[proto::kOpOffset] = modeOp;
    send_buffer(block);
    fillTable();
    block[proto::kGroupOffset] = group;
    block[proto::kOpOffset] = initOp;
    const uint32_t sent = send_buffer(block);
    g_enteredMode.store(sent ? modeOp : 0);
    return sent;
}

uint32_t f_gb_init() {
    return switch_mode(proto::kOpGbMode, proto::kGroupGb, proto::kOpGbInit, [] {
        p_gb_cpu_read = f_gb_cpu_read;
        p_gb_cpu_write = f_gb_cpu_write;
        p_gb_ram_write = f_gb_sram_write;
        p_gb_cpu_flash = f_gb_cpu_flash_29f;
    });
}

uint32_t f_gb_cpu_read(uint32_t address, uint8_t* dest, uint32_t len) {
    return usb::read_rom(address, dest, len);
}

uint32_t f_gb_cpu_write(const uint32_t* addresses, const uint32_t* values, uint32_t count) {
    std::vector<uint8_t> buffer = blank_blocks(count);
    for (uint32_t j = 0; j < count; ++j) {
        uint8_t* block = buffer.data() + size_t(j) * proto::kBlockSize;
        block[proto::kGroupOffset] = proto::kGroupGb;
        block[proto::kOpOffset] = proto::kOpGbCpuWrite;
        proto::put16(block + proto::kGbAddr, addresses[j]);
        block[proto::kGbValue] = uint8_t(values[j]);
    }
    return send_buffer(buffer);
}

bool write_pairs(WriteListOp op, std::initializer_list<uint32_t> pairs) {
    std::vector<uint32_t> addresses, values;
    for (auto it = pairs.begin(); it + 1 < pairs.end(); it += 2) {
        addresses.push_back(*it);
        values.push_back(*(it + 1));
    }
    return op && op(addresses.data(), values.data(), uint32_t(addresses.size())) != 0;
}

uint32_t f_gb_sram_write(uint32_t address, const uint8_t* src, uint32_t len) {
    static constexpr ChunkLayout kLayout{
        proto::kGroupGb, proto::kOpGbSramWrite, proto::kGbChunk, proto::kGbAddr, 2,
        proto::kGbCount, proto::kGbData};
    std::vector<uint8_t> buffer = chunk_blocks(kLayout, address, src, len);
    return send_buffer(buffer);
}

}  // namespace gb
