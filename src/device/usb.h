#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/platform.h"

namespace usb {

// The selected board volume: its full entry name and the directory holding it.
// Both are empty until a volume is selected.
extern std::string m_volume;
extern std::string m_mount;
// The board's firmware label, empty when the identification record is unreadable.
extern std::string m_version;

// Selects the first volume whose root holds the identification file; true when
// one was found (else no volume stays selected). While this process holds a
// BoardClaim, keeps to the claimed volume instead: true while it is still
// there, false once it is gone, and never another volume.
bool open();

// What came of looking for the board.
enum class ClaimStatus {
    Held,         // the board is this process's until the claim ends
    NoBoard,      // no volume holds the identification file
    NoSuchBoard,  // none of them has the name asked for
    InUse,        // another program holds the board
    NotABoard,    // the identification record holds no firmware label
    ReadOnly,     // the volume is mounted read-only: no command can reach the board
};

// One board for a whole command or job: the first volume holding the
// identification file whose record carries a firmware label (or the volume
// named), locked against every other program from here to the claim's end.
// One claim at a time in a process; it may end on another thread than it began.
class BoardClaim {
public:
    explicit BoardClaim(const std::string& wanted = std::string());
    ~BoardClaim();
    BoardClaim(const BoardClaim&) = delete;
    BoardClaim& operator=(const BoardClaim&) = delete;

    ClaimStatus status() const { return m_status; }
    bool held() const { return m_status == ClaimStatus::Held; }
    // The board's volume (the refused one when not held) and its path.
    const std::string& volume() const { return m_volume; }
    const std::string& path() const { return m_path; }
    // The other volumes that hold the identification file, and where the search looked.
    const std::vector<std::string>& others() const { return m_others; }
    const std::vector<std::string>& searched() const { return m_searched; }
    // NotABoard: what about the volume is not the board's (empty: no firmware label).
    const std::string& why() const { return m_why; }

private:
    ClaimStatus m_status = ClaimStatus::NoBoard;
    std::string m_volume, m_path, m_why;
    std::vector<std::string> m_others, m_searched;
    platform::VolumeLock m_lock;
};

// The claim this process holds, or null.
const BoardClaim* current_claim();

// The board file another program was found holding since the last claim
// began (it took the board between two steps), or null.
const char* busy_file();

// The claim this process holds, or one of its own for a single step (a job or
// a report started without one).
class ClaimScope {
public:
    ClaimScope();
    const BoardClaim& claim() const { return m_own ? *m_own : *m_held; }
    bool held() const { return claim().held(); }

private:
    std::unique_ptr<BoardClaim> m_own;
    const BoardClaim* m_held = nullptr;
};

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
