#include "device/crc.h"

#include <array>

namespace crc {
namespace {

constexpr uint16_t kPolynomial = 0x1021;

constexpr std::array<uint16_t, 256> make_table() {
    std::array<uint16_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint16_t value = uint16_t(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 0x8000) ? uint16_t((value << 1) ^ kPolynomial) : uint16_t(value << 1);
        table[i] = value;
    }
    return table;
}

constexpr std::array<uint16_t, 256> kTable = make_table();

}  // namespace

uint16_t update(uint16_t value, const uint8_t* data, uint32_t len) {
    for (uint32_t i = 0; i < len; ++i)
        value = uint16_t(value << 8) ^ kTable[uint8_t((value >> 8) ^ data[i])];
    return value;
}

uint16_t generate_crc16(const uint8_t* buffer, uint32_t len) {
    return len < 2 ? 0 : update(0, buffer, len - 2);
}

}  // namespace crc
