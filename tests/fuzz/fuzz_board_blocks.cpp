// Fuzzes the virtual board's command parser: the input is one command-file
// write, run against a board holding a GB cartridge and one holding a GBA one.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "board.h"
#include "device/crc.h"
#include "device/protocol.h"

namespace {

// Frames every 512-byte block, so that the parser goes past the CRC check.
std::vector<uint8_t> framed(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out(data, data + size);
    for (size_t at = 0; at + proto::kBlockSize <= out.size(); at += proto::kBlockSize) {
        out[at] = proto::kMagic;
        const uint16_t crc = crc::generate_crc16(&out[at], proto::kBlockSize);
        out[at + proto::kCrcHiOffset] = uint8_t(crc >> 8);
        out[at + proto::kCrcLoOffset] = uint8_t(crc);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vboard::Bytes rom(0x8000, 0x00);
    const std::vector<uint8_t> blocks = framed(data, size);
    vboard::Board gb({}, vboard::make_gb_cart(rom, {}), nullptr);
    vboard::Board gba({}, nullptr,
                      std::make_unique<vboard::GbaCart>(
                          vboard::Bytes(0x1000, 0x11), vboard::GbaSave::Eep8k, vboard::Bytes{}, 0));
    uint8_t out[2048];
    for (vboard::Board* board : {&gb, &gba}) {
        board->command_write(data, size);
        board->command_write(blocks.data(), blocks.size());
        board->read_data(0, out, sizeof out);
        board->read_ident(0, out, sizeof out);
    }
    return 0;
}
