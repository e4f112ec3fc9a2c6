#include "device/cmd.h"

#include "device/crc.h"
#include "device/protocol.h"
#include "device/usb.h"

namespace cmd {

void frame(uint8_t* block) {
    block[proto::kMagicOffset] = proto::kMagic;
    const uint16_t value = crc::generate_crc16(block, proto::kBlockSize);
    block[proto::kCrcHiOffset] = uint8_t(value >> 8);
    block[proto::kCrcLoOffset] = uint8_t(value);
}

uint32_t send(uint8_t* buffer, uint32_t len) {
    if (len % proto::kBlockSize != 0 || usb::m_volume.empty()) return 0;
    for (uint32_t i = 0; i < len; i += proto::kBlockSize) frame(buffer + i);
    return usb::write_cmd(buffer, len);
}

bool read_sn(uint8_t* dest, uint32_t len) {
    uint8_t block[proto::kBlockSize] = {};
    block[proto::kGroupOffset] = proto::kGroupDevice;
    block[proto::kOpOffset] = proto::kOpSerial;
    return send(block, sizeof block) == sizeof block && usb::read_dmp(0, dest, len) == len;
}

}  // namespace cmd
