// Mounts a virtual board in a temporary directory for one test and always
// unmounts it again, also when the test fails.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Whether FUSE mounts work here; why not otherwise.
bool fuse_usable(std::string* why);

std::vector<uint8_t> read_file(const std::string& path);

// Reads the board until done() holds (true) or ms have passed, as the host
// polls a flash chip whose erase has no other sign of its end.
bool poll_until(const std::function<bool()>& done, int ms = 30000);

// Sets an environment variable for the object's life, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had = false;
    std::string m_old;
};
void write_file(const std::string& path, const std::vector<uint8_t>& data);

// A temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// The board's GBA save kinds with their save type code and size.
struct GbaSaveKind {
    const char* kind;
    uint32_t type, size;
};
inline constexpr GbaSaveKind kGbaSaveKinds[] = {{"sram", 0, 0x8000},
                                                {"flash64", 1, 0x10000},
                                                {"flash128", 1, 0x20000},
                                                {"eep512", 2, 0x200},
                                                {"eep8k", 2, 0x2000}};

// The test's side of a board's pause points (vboard --pause-at): the board
// stops at each point until act(point) has returned on this object's thread.
// Declare it before the board, so that it outlives it.
class BoardPauses {
public:
    BoardPauses(const TempDir& dir, std::function<void(const std::string& point)> act);
    ~BoardPauses();
    BoardPauses(const BoardPauses&) = delete;
    BoardPauses& operator=(const BoardPauses&) = delete;
    // The board's options for these points.
    std::vector<std::string> args(const std::vector<std::string>& points) const;
    // The points the board stopped at, in order.
    std::vector<std::string> seen() const;

private:
    void serve();
    std::string m_prefix;
    std::function<void(const std::string&)> m_act;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_seen;
    std::thread m_thread;
};

class MountedBoard {
public:
    // Starts vboard with args on <temp>/volumes/<volume> and points the
    // program's volume search (ZELVO_VOLUMES) at <temp>/volumes (or at
    // volumes, which then holds the board's folder) while it lives. The
    // board is listed in the folder ZELVO_TEST_MOUNTS names until it is
    // unmounted, so that a run cut short leaves behind only what the suite's
    // own clean-up knows.
    explicit MountedBoard(std::vector<std::string> args, const std::string& volume = "ZELVO",
                          const std::string& volumes = std::string());
    ~MountedBoard();
    MountedBoard(const MountedBoard&) = delete;
    MountedBoard& operator=(const MountedBoard&) = delete;

    bool mounted() const { return m_pid > 0; }
    // Unmounts and waits for the board to write its output files.
    void unmount();
    // The board is gone at once, as a board pulled out of its USB port: every
    // later access fails, and it writes no output files.
    void pull_out();

    std::string file(const std::string& name) const { return m_dir.file(name); }
    std::string mountpoint() const { return m_mountpoint; }
    std::string volumes() const { return m_volumes; }

    // Every command-file write, in order (the board always keeps a raw log).
    std::vector<std::vector<uint8_t>> command_writes() const;

private:
    void record(bool mounted) const;
    void forget();  // the board has ended

    TempDir m_dir;
    std::string m_volumes;
    std::string m_mountpoint;
    pid_t m_pid = -1;
    int m_pidfd = -1;  // tells when the board has ended
    std::unique_ptr<ScopedEnv> m_env;
};

}  // namespace testing_support

// Skips a test that needs FUSE where it is missing; under CI (the variable CI
// set) a missing FUSE fails instead, so that no test is skipped unseen.
#define REQUIRE_FUSE()                                                       \
    do {                                                                     \
        std::string why_;                                                    \
        if (!testing_support::fuse_usable(&why_)) {                          \
            if (std::getenv("CI")) FAIL() << why_ << "; CI runs every test"; \
            GTEST_SKIP() << why_;                                            \
        }                                                                    \
    } while (0)

// Mounts a board or skips/fails the test.
#define MOUNT_BOARD(name, ...)                       \
    REQUIRE_FUSE();                                  \
    testing_support::MountedBoard name(__VA_ARGS__); \
    ASSERT_TRUE(name.mounted()) << "vboard did not mount"
