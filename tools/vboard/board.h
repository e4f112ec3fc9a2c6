// The dumper board: executes command blocks and serves the contents of its
// identification and data files, as the host program expects the hardware to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "carts.h"
#include "device/bf.h"

namespace vboard {

struct BoardOptions {
    std::string serial = "ZELVO-VBOARD-001";
    std::string label = "QRV_PCB02_FW303";
    std::string rawLog;  // every command-file write (32-bit length, bytes); notes in .txt
    int latencyMs = 0;   // added to every command write
    // A USB link: every transfer (command write or file read) takes its latency
    // plus its bytes over the bandwidth. Zero: no link time at all.
    int usbLatencyUs = 0;
    double usbBytesPerSecond = 0;
    int64_t failAfter = -1;   // reads and command writes fail after this many operations
    int corruptGb = -1;       // GB bus address whose byte reads back with bit 0 flipped
    int flakyGb = -1;         // GB bus address whose byte reads back altered every second time
    bool failSerial = false;  // the read that follows a serial command fails
};

// Size the data file reports: the largest GBA ROM.
inline constexpr uint32_t kDataFileSize = 0x2000000;
inline constexpr uint32_t kIdentFileSize = 0x8000 + 1024;

// What crossed the link: counts and bytes of command writes and file reads.
struct Traffic {
    int64_t commands = 0, commandBytes = 0;
    int64_t dataReads = 0, dataBytes = 0;
    int64_t identReads = 0, identBytes = 0;
};

class Board {
public:
    Board(BoardOptions options, std::unique_ptr<GbCart> gb, std::unique_ptr<GbaCart> gba);

    // One whole write of the command file; false when the board is gone.
    bool command_write(const uint8_t* data, size_t len);
    // Reads of the two device files; false when the board is gone.
    bool read_ident(uint64_t offset, uint8_t* dest, size_t len);
    bool read_data(uint64_t offset, uint8_t* dest, size_t len);

    uint32_t executed() const { return m_executed; }
    // Reads and command writes so far, failed ones included.
    int64_t operations() const { return m_operations; }
    const Traffic& traffic() const { return m_traffic; }
    // Appends a line to the notes beside the raw log.
    void note(const std::string& line);
    uint32_t rejected() const { return m_rejected; }
    GbCart* gb() { return m_gb.get(); }
    GbaCart* gba() { return m_gba.get(); }

private:
    enum class Mode { Gb, Gba };
    bool operation();                    // counts one operation; false once the board is pulled out
    void link_time(size_t bytes) const;  // waits as the USB link would carry bytes
    void execute(const uint8_t* block);
    void execute_gb(const uint8_t* block);
    void execute_gba(const uint8_t* block);

    BoardOptions m_options;
    std::unique_ptr<GbCart> m_gb;
    std::unique_ptr<GbaCart> m_gba;
    bf::BLOWFISH_CTX m_cipher;
    Mode m_mode = Mode::Gb;
    Bytes m_result;               // identification file from offset 0
    uint32_t m_latched = 0;       // GBA read address, in halfwords
    bool m_serialAnswer = false;  // the last command asked for the serial
    uint32_t m_flakyReads = 0;    // reads of the flaky address so far
    uint32_t m_executed = 0;
    uint32_t m_rejected = 0;
    int64_t m_operations = 0;
    Traffic m_traffic;
};

}  // namespace vboard
