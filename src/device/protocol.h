// The dumper board's protocol: files on its volume, the command block frame and
// every command code with its operand layout. Host and virtual board share it.
#pragma once

#include <cstdint>

namespace proto {

// Files in the root of the board's volume.
inline constexpr const char* kCommandFile = "CMD.CMD";
inline constexpr const char* kIdentFile = "K-DRIVER.DMP";
inline constexpr const char* kDataFile = "DUMP.ROM";

// Identification record inside the identification file.
inline constexpr uint32_t kIdentRecordOffset = 0x8000;
inline constexpr uint32_t kIdentRecordSize = 1024;
// The identification file ends with its record.
inline constexpr uint32_t kIdentFileSize = kIdentRecordOffset + kIdentRecordSize;
inline constexpr uint32_t kLabelMax = 255;  // label characters kept, without the terminator

// Every read from a device file moves at least this many bytes.
inline constexpr uint32_t kMinTransfer = 1024;

// Command block frame.
inline constexpr uint32_t kBlockSize = 512;
inline constexpr uint8_t kMagic = 0x5A;  // "Z"
inline constexpr uint32_t kMagicOffset = 0;
inline constexpr uint32_t kGroupOffset = 1;
inline constexpr uint32_t kOpOffset = 2;
inline constexpr uint32_t kCrcHiOffset = 510;
inline constexpr uint32_t kCrcLoOffset = 511;

// Command groups.
inline constexpr uint8_t kGroupDevice = 0xF0;
inline constexpr uint8_t kGroupGb = 0x02;
inline constexpr uint8_t kGroupGba = 0x03;

// Device group operations.
inline constexpr uint8_t kOpGbMode = 0x02;
inline constexpr uint8_t kOpGbaMode = 0x03;
inline constexpr uint8_t kOpSerial = 0x04;

// GB group operations.
inline constexpr uint8_t kOpGbInit = 0x01;
inline constexpr uint8_t kOpGbSramWrite = 0x0C;
inline constexpr uint8_t kOpGbCpuWrite = 0x0D;
inline constexpr uint8_t kOpGbFlash29f = 0x0E;
inline constexpr uint8_t kOpGbFlash29lv = 0x0F;

// GBA group operations.
inline constexpr uint8_t kOpGbaInit = 0x01;
inline constexpr uint8_t kOpGbaCpuRead = 0x06;
inline constexpr uint8_t kOpGbaSaveErase = 0x07;
inline constexpr uint8_t kOpGbaFlash64kRead = 0x08;
inline constexpr uint8_t kOpGbaFlash128kRead = 0x09;
inline constexpr uint8_t kOpGbaFlash64kWrite = 0x0A;
inline constexpr uint8_t kOpGbaFlash128kWrite = 0x0B;
inline constexpr uint8_t kOpGbaEep512Read = 0x0C;
inline constexpr uint8_t kOpGbaEep8kRead = 0x0D;
inline constexpr uint8_t kOpGbaEep512Write = 0x0E;
inline constexpr uint8_t kOpGbaEep8kWrite = 0x0F;
inline constexpr uint8_t kOpGbaSramWrite = 0x10;
inline constexpr uint8_t kOpGbaSramRead = 0x11;
inline constexpr uint8_t kOpGbaCpuWrite = 0x13;

// GB operand layout: 2-byte address at 3, 2-byte count (or 1-byte value) at 5, data from 7.
inline constexpr uint32_t kGbAddr = 3;
inline constexpr uint32_t kGbCount = 5;
inline constexpr uint32_t kGbValue = 5;
inline constexpr uint32_t kGbData = 7;
inline constexpr uint32_t kGbChunk = 480;  // data bytes per GB data block

// GBA operand layout: address at 4 (up to 4 bytes), 2-byte count or value at 8, data from 12.
inline constexpr uint32_t kGbaAddr = 4;
inline constexpr uint32_t kGbaCount = 8;
inline constexpr uint32_t kGbaValue = 8;
inline constexpr uint32_t kGbaData = 12;
inline constexpr uint32_t kGbaWriteChunk = 256;  // data bytes per GBA save-write block
inline constexpr uint32_t kGbaReadChunk = 4096;  // bytes per chunked save read
inline constexpr uint32_t kGbaEepHalf = 256;     // data bytes per EEPROM write block
inline constexpr uint32_t kGbaEepStep = 512;     // bytes per EEPROM write step (two blocks)

// Cipher: the first bytes of every flash chunk travel enciphered.
inline constexpr uint32_t kCipherBlock = 8;
inline constexpr uint32_t kSerialLength = 16;
inline constexpr uint32_t kKeyLength = 8;

// Little-endian operand helpers.
inline void put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void put24(uint8_t* p, uint32_t v) {
    put16(p, v);
    p[2] = uint8_t(v >> 16);
}
inline void put32(uint8_t* p, uint32_t v) {
    put24(p, v);
    p[3] = uint8_t(v >> 24);
}
inline uint32_t get16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
inline uint32_t get24(const uint8_t* p) {
    return get16(p) | uint32_t(p[2]) << 16;
}
inline uint32_t get32(const uint8_t* p) {
    return get24(p) | uint32_t(p[3]) << 24;
}

}  // namespace proto
