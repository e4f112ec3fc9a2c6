// The dumper board: executes command blocks and serves the contents of its
// identification and data files, as the host program expects the hardware to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "carts.h"
#include "device/bf.h"
#include "device/protocol.h"
#include "read_flaws.h"

namespace vboard {

// A point at which the board stops before serving an operation until the host
// side of a test lets it go on: the Nth read of the identification or data
// file, or the Nth command write holding a block of the given group and op.
struct PausePoint {
    enum class Kind { Ident, Data, Command } kind = Kind::Command;
    uint8_t group = 0, op = 0;
    int occurrence = 1;
    int seen = 0;
    std::string text;  // as given, told to the test when the board stops
};
// "ident:N", "data:N" or a command as four hex digits, "f002:N"; false when malformed.
bool parse_pause_point(const std::string& text, PausePoint* point);

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
    ReadFlawOptions flaws;    // a worn connector: flickering bits, a stuck line
    // Once this many operations have been served the board is gone, files and
    // all, as a board pulled out of its port: -1 never.
    int64_t vanishAfter = -1;
    // Where the board stops, and the two FIFOs (PREFIX.pause, PREFIX.resume)
    // through which it tells a test and waits for it.
    std::vector<PausePoint> pauses;
    std::string pauseFifo;
};

// Size the data file reports: the largest GBA ROM.
inline constexpr uint32_t kDataFileSize = 0x2000000;
inline constexpr uint32_t kIdentFileSize = proto::kIdentFileSize;

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
    // The board was pulled out (vanishAfter): its volume holds no files any more.
    bool gone() const { return m_gone; }
    GbCart* gb() { return m_gb.get(); }
    GbaCart* gba() { return m_gba.get(); }

private:
    enum class Mode { Gb, Gba };
    bool operation();  // counts one operation; false once the board is pulled out
    void pause(PausePoint::Kind kind, const uint8_t* data = nullptr, size_t len = 0);
    void link_time(size_t bytes) const;  // waits as the USB link would carry bytes
    void execute(const uint8_t* block);
    void execute_gb(const uint8_t* block);
    void execute_gba(const uint8_t* block);

    BoardOptions m_options;
    std::unique_ptr<GbCart> m_gb;
    std::unique_ptr<GbaCart> m_gba;
    ReadFlaws m_flaws;
    bool m_flawed;  // any flaw at all: a sound board reads at full speed
    bf::BLOWFISH_CTX m_cipher;
    Mode m_mode = Mode::Gb;
    Bytes m_result;               // identification file from offset 0
    uint32_t m_latched = 0;       // GBA read address, in halfwords
    bool m_serialAnswer = false;  // the last command asked for the serial
    uint32_t m_flakyReads = 0;    // reads of the flaky address so far
    uint32_t m_executed = 0;
    uint32_t m_rejected = 0;
    int64_t m_operations = 0;
    bool m_gone = false;
    Traffic m_traffic;
};

}  // namespace vboard
