#pragma once

#include <cstdint>
#include <string>

namespace usb {

// The selected board volume: its full entry name and the directory holding it.
// Both are empty until a volume is selected.
extern std::string m_volume;
extern std::string m_mount;
// The board's firmware label, empty when the identification record is unreadable.
extern std::string m_version;

// Selects the first volume whose root holds the identification file; 1 when
// one was found, else 0 (and no volume stays selected).
int open();

// Path of a file on the selected volume; empty when none is selected.
std::string device_path(const char* name);
std::string volume_path();

uint32_t read_dmp(uint32_t offset, uint8_t* dest, uint32_t len);
uint32_t read_rom(uint32_t offset, uint8_t* dest, uint32_t len);
// Writes command blocks to the command file and flushes them; bytes written or 0.
uint32_t write_cmd(const uint8_t* src, uint32_t len);

// Holds the selected board's command and data files open while it lives (one
// job on one thread), so that a transfer skips opening and closing them. Every
// command is still flushed to the board and every read still bypasses the
// caches. Where a file cannot be held, transfers open it each time as before.
class HeldFiles {
public:
    HeldFiles();
    ~HeldFiles();
    HeldFiles(const HeldFiles&) = delete;
    HeldFiles& operator=(const HeldFiles&) = delete;

private:
    bool m_owner = false;  // an enclosing HeldFiles keeps the files
};

}  // namespace usb
