// Building command buffers whose blocks carry consecutive chunks of data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/protocol.h"

namespace gb {

struct ChunkLayout {
    uint8_t group;
    uint8_t op;
    uint32_t chunk;         // data bytes per block
    uint32_t addressAt;     // operand offset of the address
    uint32_t addressBytes;  // 2 or 3 (little-endian)
    uint32_t countAt;
    uint32_t dataAt;
};

// One block per chunk of src; the running address advances by each chunk's
// length. fill, when given, copies a chunk's bytes into its block.
using ChunkFill = void (*)(uint8_t* blockData, const uint8_t* chunk, uint32_t n);
std::vector<uint8_t> chunk_blocks(const ChunkLayout& layout, uint32_t address, const uint8_t* src,
                                  uint32_t len, ChunkFill fill = nullptr);

// A zero-filled command buffer of count blocks.
inline std::vector<uint8_t> blank_blocks(uint32_t count) {
    return std::vector<uint8_t>(size_t(count) * proto::kBlockSize, 0);
}

uint32_t send_buffer(std::vector<uint8_t>& buffer);

// Switches the board into a bus mode: the device's mode block, then fillTable
// sets the operation table, then the bus group's init block. Bytes the init sent.
uint32_t switch_mode(uint8_t modeOp, uint8_t group, uint8_t initOp, void (*fillTable)());

}  // namespace gb
