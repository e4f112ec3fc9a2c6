#pragma once

#include <cstdint>

namespace cmd {

// Sets "Z" and the CRC trailer of one 512-byte block.
void frame(uint8_t* block);

// Frames every block of the buffer and writes it to the command file in one
// write. Bytes written; 0 on failure, for a length that is not a multiple of
// 512, or with no volume selected.
uint32_t send(uint8_t* buffer, uint32_t len);

// Requests the device serial and reads len bytes of it into dest; true when
// all of them came back.
bool read_sn(uint8_t* dest, uint32_t len);

}  // namespace cmd
