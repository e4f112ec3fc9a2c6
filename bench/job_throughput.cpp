// zelvo3-cli against the protocol's floor, job by job, on three boards: the
// virtual board unthrottled and with the USB 2.0 high-speed and USB 1.1
// full-speed link models. The floor does only the I/O a job needs (flushed
// command writes, uncached reads), so the ratio shows what the program spends
// beyond the board. It also counts the commands and reads each job sends
// against the fewest the protocol allows, and times the program's start-up.
//   build/bench/job_throughput [repetitions]      (default 3 on the unthrottled board)
//   build/bench/job_throughput --phases [boards]  where each job's time goes, step by
//                                                 step (boards: unthrottled, high, full)
//   build/bench/job_throughput --window           the dumps through the window's own
//                                                 launch and job thread, in this process
//                                                 (with ZELVO_PHASES=FILE, each run's steps)
// ZELVO_BENCH_CLI names another zelvo3-cli to measure (with its own mapper folder).
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "cart/bus.h"
#include "device/bf.h"
#include "device/cmd.h"
#include "device/phase_marks.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/job_launch.h"
#include "romgen.h"
#include "script/squirrel_loader.h"
#include "support/mounted_board.h"
#include "support/window_helpers.h"
#include "ui/console.h"
#include "ui/main_tab.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr uint32_t kGbBank = 0x4000;
constexpr uint32_t kGbaChunk = 0x100000;
// Read by every job before its transfer: the board's identification record
// (its label) and the cartridge header.
constexpr uint32_t kHeaderRead = proto::kIdentRecordSize + 8192;
constexpr uint32_t kGbBankHigh = 0x3000, kGbBankLow = 0x2000;
constexpr uint32_t kSerialLength = 16;
constexpr int kErasePollMs = 1000;  // the jobs' erase wait polls once a second
constexpr uint8_t kErased = 0xFF;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string g_self, g_cli;

// Starts the program in argv (null-terminated) with its output discarded.
pid_t spawn_quiet(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv);
        _exit(127);
    }
    return pid;
}

// Runs the program in argv and prints its wall time and peak resident memory.
// It runs in a process of its own (this program re-executed with --measure):
// a process started straight from the benchmark would count the benchmark's
// own memory, inherited across fork, in its peak.
int measure_child(char** argv) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn_quiet(argv);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 1;
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::printf("%d %.6f %ld\n", ok ? 1 : 0, seconds_since(start), usage.ru_maxrss);
    return 0;
}

struct CliRun {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

// zelvo3-cli run and measured by a --measure process.
CliRun run_cli(const std::vector<std::string>& args) {
    std::string command = "'" + g_self + "' --measure '" + g_cli + "'";
    for (const std::string& a : args) command += " '" + a + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    int ok = 0;
    if (std::fscanf(pipe, "%d %lf %ld", &ok, &run.seconds, &run.peakKiB) == 3) run.ok = ok == 1;
    pclose(pipe);
    return run;
}

// From the start of `zelvo3-cli args` to its first command write on the board.
double seconds_to_first_command(const std::string& mountpoint,
                                const std::vector<std::string>& args) {
    const int watch = inotify_init1(IN_CLOEXEC);
    if (watch < 0 ||
        inotify_add_watch(watch, (mountpoint + "/" + proto::kCommandFile).c_str(), IN_MODIFY) < 0)
        return -1;
    std::vector<char*> argv{const_cast<char*>(g_cli.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn_quiet(argv.data());
    alignas(inotify_event) char event[sizeof(inotify_event) + NAME_MAX + 1];
    const bool seen = read(watch, event, sizeof event) > 0;
    const double seconds = seconds_since(start);
    waitpid(pid, nullptr, 0);
    ::close(watch);
    return seen ? seconds : -1;
}

// The board's two files, held open for the whole floor loop.
class FloorLink {
public:
    explicit FloorLink(const std::string& volume) {
        m_cmd = ::open((volume + "/" + proto::kCommandFile).c_str(), O_WRONLY);
        m_data = ::open((volume + "/" + proto::kDataFile).c_str(), O_RDONLY | O_DIRECT);
        m_ident = ::open((volume + "/" + proto::kIdentFile).c_str(), O_RDONLY | O_DIRECT);
        void* p = nullptr;
        if (posix_memalign(&p, 4096, kGbaChunk) == 0) m_buffer = static_cast<uint8_t*>(p);
    }
    ~FloorLink() {
        if (m_cmd >= 0) ::close(m_cmd);
        if (m_data >= 0) ::close(m_data);
        if (m_ident >= 0) ::close(m_ident);
        std::free(m_buffer);
    }
    bool ok() const { return m_cmd >= 0 && m_data >= 0 && m_ident >= 0 && m_buffer; }

    // One command write of the given blocks, flushed to the board.
    bool command(std::vector<uint8_t>& blocks) {
        for (size_t i = 0; i < blocks.size(); i += proto::kBlockSize) cmd::frame(&blocks[i]);
        return pwrite(m_cmd, blocks.data(), blocks.size(), 0) == ssize_t(blocks.size()) &&
               fsync(m_cmd) == 0;
    }
    // One uncached read of len bytes at offset into one reused buffer, compared
    // with the bytes at expect (already resident).
    bool read(uint32_t offset, uint32_t len, const uint8_t* expect) {
        return pread(m_data, m_buffer, len, offset) == ssize_t(len) &&
               std::memcmp(m_buffer, expect, len) == 0;
    }
    // The same from the identification file, where save reads arrive.
    bool read_result(uint32_t len, const uint8_t* expect) {
        return pread(m_ident, m_buffer, len, 0) == ssize_t(len) &&
               std::memcmp(m_buffer, expect, len) == 0;
    }

private:
    int m_cmd = -1, m_data = -1, m_ident = -1;
    uint8_t* m_buffer = nullptr;
};

std::vector<uint8_t> block(uint8_t group, uint8_t op, size_t count = 1) {
    std::vector<uint8_t> b(count * proto::kBlockSize, 0);
    for (size_t i = 0; i < count; ++i) {
        b[i * proto::kBlockSize + proto::kGroupOffset] = group;
        b[i * proto::kBlockSize + proto::kOpOffset] = op;
    }
    return b;
}

bool init(FloorLink& link, uint8_t mode, uint8_t group, uint8_t op) {
    std::vector<uint8_t> m = block(proto::kGroupDevice, mode), i = block(group, op);
    return link.command(m) && link.command(i);
}

// What a floor needs: the mount, the cartridge image and the job's result.
struct FloorInput {
    std::string mountpoint;
    const Bytes& image;
    const Bytes& result;
};

// MBC5: bank 0 at 0x0000, then per bank one command (high and low bank bytes) and 16 KiB.
bool gb_dump_floor(const FloorInput& in) {
    FloorLink link(in.mountpoint);
    const uint32_t size = uint32_t(in.image.size());
    if (!link.ok() || !init(link, proto::kOpGbMode, proto::kGroupGb, proto::kOpGbInit) ||
        !link.read(0, kGbBank, in.image.data()))
        return false;
    for (uint32_t n = 1; n < size / kGbBank; ++n) {
        std::vector<uint8_t> select = block(proto::kGroupGb, proto::kOpGbCpuWrite, 2);
        proto::put16(&select[proto::kGbAddr], kGbBankHigh);
        select[proto::kGbValue] = uint8_t(n >> 8);
        proto::put16(&select[proto::kBlockSize + proto::kGbAddr], kGbBankLow);
        select[proto::kBlockSize + proto::kGbValue] = uint8_t(n);
        if (!link.command(select) || !link.read(kGbBank, kGbBank, &in.image[size_t(n) * kGbBank]))
            return false;
    }
    return true;
}

// GBA: per MiB one latch command with the word address and one 1 MiB read.
bool gba_dump_floor(const FloorInput& in) {
    FloorLink link(in.mountpoint);
    const uint32_t size = uint32_t(in.image.size());
    if (!link.ok() || !init(link, proto::kOpGbaMode, proto::kGroupGba, proto::kOpGbaInit))
        return false;
    for (uint32_t at = 0; at < size; at += kGbaChunk) {
        std::vector<uint8_t> latch = block(proto::kGroupGba, proto::kOpGbaCpuRead);
        proto::put24(&latch[proto::kGbaAddr], at / 2);
        if (!link.command(latch) || !link.read(0, kGbaChunk, &in.image[at])) return false;
    }
    return true;
}

// GBA 128 KiB flash save: per 4 KiB one read command and one read.
bool gba_flash_save_floor(const FloorInput& in) {
    FloorLink link(in.mountpoint);
    if (!link.ok() || !init(link, proto::kOpGbaMode, proto::kGroupGba, proto::kOpGbaInit))
        return false;
    for (uint32_t at = 0; at < in.result.size(); at += proto::kGbaReadChunk) {
        std::vector<uint8_t> read = block(proto::kGroupGba, proto::kOpGbaFlash128kRead);
        proto::put24(&read[proto::kGbaAddr], at);
        proto::put16(&read[proto::kGbaCount], proto::kGbaReadChunk);
        if (!link.command(read) || !link.read_result(proto::kGbaReadChunk, &in.result[at]))
            return false;
    }
    return true;
}

// GB flash cartridge (8-bit chip, MBC5 banking): the serial that keys the
// cipher, the erase sequence in one command, a poll once a second until the
// chip reads erased, then per bank a bank select and the bank's programming
// commands. The protocol's own encoders build the blocks.
bool gb_flash_write_floor(const FloorInput& in) {
    if (!usb::open()) return false;
    const usb::HeldFiles held;
    if (!gb::f_gb_init()) return false;
    uint8_t serial[kSerialLength] = {};
    cmd::read_sn(serial, kSerialLength);
    bf::init(serial);
    const uint32_t eraseAt[] = {0x0000, 0x555, 0x2AA, 0x555, 0x555, 0x2AA, 0x555};
    const uint32_t eraseValue[] = {0xF0, 0xAA, 0x55, 0x80, 0xAA, 0x55, 0x10};
    if (!gb::f_gb_cpu_write(eraseAt, eraseValue, 7)) return false;
    for (uint8_t first = 0; first != kErased;) {
        QThread::msleep(kErasePollMs);
        if (gb::f_gb_cpu_read(0, &first, 1) != 1) return false;
    }
    const uint32_t size = uint32_t(in.image.size());
    if (!gb::f_gb_cpu_flash_29f(0, in.image.data(), kGbBank)) return false;
    for (uint32_t n = 1; n < size / kGbBank; ++n) {
        const uint32_t at[] = {kGbBankHigh, kGbBankLow}, value[] = {n >> 8, n & 0xFF};
        if (!gb::f_gb_cpu_write(at, value, 2) ||
            !gb::f_gb_cpu_flash_29f(kGbBank, &in.image[size_t(n) * kGbBank], kGbBank))
            return false;
    }
    return true;
}

struct Minimum {
    int64_t commands;
    int64_t dataBytes;
    const char* counted;  // how the minimum is made up
};

struct Case {
    const char* name;
    std::vector<std::string> board;  // vboard options; "IMG" is the image
    Bytes image;
    std::vector<std::string> cli;  // the command; "OUT" is the output file, "IMG" the image
    std::function<bool(const FloorInput&)> floor;
    Minimum minimum;
    uint32_t bytes;  // moved by the job, for the rates
};

struct Board {
    const char* name;
    std::vector<std::string> options;
    int repetitions;
};

// One run's files in place of "OUT" and "IMG", with the image written out.
struct RunFiles {
    RunFiles(const Case& c, testing_support::TempDir& dir)
        : img(dir.file("image.bin")), out(dir.file("out.bin")) {
        testing_support::write_file(img, c.image);
    }
    std::vector<std::string> with_paths(const std::vector<std::string>& args) const {
        std::vector<std::string> filled;
        for (const std::string& a : args) filled.push_back(a == "OUT" ? out : a == "IMG" ? img : a);
        return filled;
    }
    std::string img, out;
};

struct Measured {
    double cli = 1e9, floor = 1e9;
    long peakKiB = 0;
    bool ok = false;
};

Measured measure(const Case& c, const Board& b, testing_support::TempDir& dir) {
    Measured m;
    const RunFiles files(c, dir);
    for (int r = 0; r < b.repetitions; ++r) {
        std::vector<std::string> args = b.options;
        const std::vector<std::string> cart = files.with_paths(c.board);
        args.insert(args.end(), cart.begin(), cart.end());
        testing_support::MountedBoard board(args);
        if (!board.mounted()) return m;
        std::remove(files.out.c_str());
        const CliRun run = run_cli(files.with_paths(c.cli));
        if (!run.ok) return m;
        m.cli = std::min(m.cli, run.seconds);
        m.peakKiB = std::max(m.peakKiB, run.peakKiB);
        const Bytes result = testing_support::read_file(files.out);
        const Clock::time_point start = Clock::now();
        if (!c.floor({board.mountpoint(), c.image, result})) return m;
        m.floor = std::min(m.floor, seconds_since(start));
    }
    m.ok = true;
    return m;
}

struct Counted {
    int64_t commands = -1, readBytes = -1;
};

// One run on an unthrottled board whose notes count what crossed the link.
Counted count(const Case& c, testing_support::TempDir& dir) {
    Counted n;
    const RunFiles files(c, dir);
    testing_support::MountedBoard board(files.with_paths(c.board));
    if (!board.mounted()) return n;
    std::remove(files.out.c_str());
    if (!run_cli(files.with_paths(c.cli)).ok) return n;
    board.unmount();
    std::ifstream notes(board.file("raw.log.txt"));
    for (std::string line; std::getline(notes, line);) {
        long long commands = 0, commandBytes = 0, reads = 0, dataBytes = 0, identReads = 0,
                  identBytes = 0;
        if (std::sscanf(line.c_str(),
                        "traffic %lld commands %lld bytes, %lld data reads %lld bytes, %lld ident "
                        "reads %lld",
                        &commands, &commandBytes, &reads, &dataBytes, &identReads,
                        &identBytes) == 6) {
            n = {commands, dataBytes + identBytes};
        }
    }
    return n;
}

// The steps a run marks (ZELVO_PHASES), in their order; "start-up" is from the
// spawn to main. A step marked more than once (a second read's interpreter)
// adds up.
const char* const kPhases[] = {"start-up",     "qt",      "claim",       "detection",
                               "launch",       "mode",    "interpreter", "transfer",
                               "verification", "verdict", "commit",      "exit"};

// One run of the case with its steps marked: milliseconds per step, empty when it failed.
std::vector<double> phases_of(const Case& c, const Board& b, testing_support::TempDir& dir) {
    const RunFiles files(c, dir);
    std::vector<std::string> args = b.options;
    const std::vector<std::string> cart = files.with_paths(c.board);
    args.insert(args.end(), cart.begin(), cart.end());
    testing_support::MountedBoard board(args);
    if (!board.mounted()) return {};
    std::remove(files.out.c_str());
    const std::string marks = dir.file("phases.txt");
    std::remove(marks.c_str());
    setenv("ZELVO_PHASES", marks.c_str(), 1);
    std::vector<std::string> words = files.with_paths(c.cli);
    std::vector<char*> argv{const_cast<char*>(g_cli.c_str())};
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const long long spawned =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
            .count();
    const pid_t pid = spawn_quiet(argv.data());
    int status = 0;
    waitpid(pid, &status, 0);
    unsetenv("ZELVO_PHASES");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    std::vector<double> ms(std::size(kPhases), 0);
    std::ifstream in(marks);
    long long last = spawned;
    std::string name;
    long long at = 0;
    bool first = true;
    while (in >> name >> at) {
        const double took = (at - last) / 1e6;
        last = at;
        const std::string step = first ? "start-up" : name;
        first = false;
        for (size_t i = 0; i < std::size(kPhases); ++i)
            if (step == kPhases[i]) ms[i] += took;
    }
    return ms;
}

void print_phases(const std::vector<Case>& cases, const std::vector<Board>& boards,
                  testing_support::TempDir& dir) {
    for (const Board& b : boards) {
        std::printf("%s: milliseconds per step\n%-16s", b.name, "job");
        for (const char* p : kPhases) std::printf(" %8.8s", p);
        std::printf("\n");
        for (const Case& c : cases) {
            const std::vector<double> ms = phases_of(c, b, dir);
            std::printf("%-16s", c.name);
            if (ms.empty()) std::printf(" failed");
            for (const double m : ms) std::printf(" %8.1f", m);
            std::printf("\n");
        }
        std::printf("\n");
    }
}

// With ZELVO_PHASES set, the steps of a window run since Dump was pressed (the
// window marks only its job thread's steps; "launch" is up to the first).
void print_window_steps(Clock::time_point pressed) {
    const auto marks = phase::take_marks();
    if (marks.empty()) return;
    long long last =
        std::chrono::duration_cast<std::chrono::nanoseconds>(pressed.time_since_epoch()).count();
    std::printf("  steps (ms): launch");
    for (const auto& [name, at] : marks) {
        std::printf(" %.1f, %s", (at - last) / 1e6, name);
        last = at;
    }
    const long long end =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
            .count();
    std::printf(" %.1f, the window told\n", (end - last) / 1e6);
}

// A dump through the window's own launch and job thread, in this process on
// the offscreen platform: Dump pressed and its file dialog answered, until the
// job has ended. The window is long-lived: its interpreter is already loaded.
double window_dump(const Case& c, const Board& b, testing_support::TempDir& dir) {
    const RunFiles files(c, dir);
    std::vector<std::string> args = b.options;
    const std::vector<std::string> cart = files.with_paths(c.board);
    args.insert(args.end(), cart.begin(), cart.end());
    testing_support::MountedBoard board(args);
    if (!board.mounted()) return -1;
    std::remove(files.out.c_str());
    MainTab tab(nullptr);
    tab.setProgramDir(QFileInfo(QString::fromStdString(g_cli)).absolutePath());
    const auto answer = testing_support::answer_file_dialog(QString::fromStdString(files.out));
    const Clock::time_point start = Clock::now();
    tab.push_read_rom();
    const bool done = testing_support::wait_for(
        [&tab] {
            return !tab.cancelButton()->isEnabled() &&
                   testing_support::lines_of(tab.console()).contains(job_outcome_line(true));
        },
        600000);
    const double seconds = seconds_since(start);
    print_window_steps(start);
    return done && testing_support::read_file(files.out) == c.image ? seconds : -1;
}

void window_rows(const std::vector<Case>& cases, const Board (&boards)[3],
                 testing_support::TempDir& dir) {
    QString why;
    if (!squirrel_load(&why)) return;
    std::printf("the window's own launch and job thread (offscreen, interpreter loaded)\n");
    for (const Board& b : boards)
        for (const Case& c : cases) {
            if (c.cli.front() != "dump-rom") continue;
            double best = 1e9;
            for (int r = 0; r < b.repetitions; ++r) best = std::min(best, window_dump(c, b, dir));
            const Measured floor = measure(c, {b.name, b.options, 1}, dir);
            std::printf("%-20s %-16s window %6.0f ms, floor %6.0f ms, ratio %6.3f\n", b.name,
                        c.name, best * 1000, floor.floor * 1000, floor.floor / best);
        }
    std::printf("\n");
}

void startup(testing_support::TempDir& dir) {
    double help = 1e9;
    long helpKiB = 0;
    for (int r = 0; r < 5; ++r) {
        const CliRun run = run_cli({"--help"});
        help = std::min(help, run.seconds);
        helpKiB = run.peakKiB;
    }
    const std::string img = dir.file("start.gba");
    testing_support::write_file(img, romgen::gba_image(1 << 20, "ZTST"));
    testing_support::MountedBoard board({"--gba", img});
    double first = 1e9, info = 1e9;
    for (int r = 0; r < 5 && board.mounted(); ++r) {
        first = std::min(first, seconds_to_first_command(board.mountpoint(), {"info"}));
        info = std::min(info, run_cli({"info"}).seconds);
    }
    std::printf(
        "start-up: zelvo3-cli --help %.0f ms (peak %.1f MiB); info: %.0f ms to its first "
        "command, %.0f ms in all\n\n",
        help * 1000, helpKiB / 1024.0, first * 1000, info * 1000);
}

// The four jobs, with their images, floors and fewest commands.
std::vector<Case> bench_cases() {
    const uint32_t gbaSize = 32 << 20, gbSize = 8 << 20, saveSize = 128 << 10, flashSize = 1 << 20;
    return {
        {"GBA 32 MiB dump",
         {"--gba", "IMG"},
         romgen::gba_image(gbaSize, "ZTST"),
         {"dump-rom", "OUT", "--rom-size", "32M"},
         gba_dump_floor,
         {2 + 1 + 32, kHeaderRead + gbaSize,
          "GBA mode and init, 1 header latch, 1 latch a MiB; the header, then 1 MiB reads"},
         gbaSize},
        {"MBC5 8 MiB dump",
         {"--gb", "IMG"},
         romgen::gb_image(0x1B, 8, 0),
         {"dump-rom", "OUT"},
         gb_dump_floor,
         {2 + 511, kHeaderRead + gbSize,
          "GB mode and init, 1 bank select for each bank past 0; the header, then 16 KiB reads"},
         gbSize},
        {"GBA 128K save",
         {"--gba-save", "flash128", "--gba", "IMG"},
         romgen::gba_image(1 << 20, "ZTST"),
         {"read-save", "OUT", "--save-type", "flash", "--ram-size", "128K"},
         gba_flash_save_floor,
         {2 + 1 + 32, kHeaderRead + saveSize,
          "GBA mode and init, 1 header latch, 1 read command a 4 KiB; the header, 4 KiB reads"},
         saveSize},
        {"GB flash 1 MiB",
         {"--flash", "0x100000"},
         romgen::gb_image(0x19, 5, 0),
         {"flash-rom", "IMG", "--system", "gb", "--mbc", "mbc5"},
         gb_flash_write_floor,
         {2 + 1 + 1 + 64 + 63, kHeaderRead,
          "GB mode and init, serial, erase, 64 bank programs, 63 bank selects; the header "
          "(erase polls and the serial's record read not counted)"},
         flashSize},
    };
}

// The jobs on each board against their floors, then their commands and reads.
void throughput_tables(const std::vector<Case>& cases, const Board (&boards)[3],
                       testing_support::TempDir& dir) {
    for (const Board& b : boards) {
        std::printf("%s (best of %d)\n%-16s %18s %18s %6s %9s\n", b.name, b.repetitions, "job",
                    "zelvo3-cli", "protocol floor", "ratio", "peak RSS");
        for (const Case& c : cases) {
            const Measured m = measure(c, b, dir);
            if (!m.ok) {
                std::printf("%-16s failed\n", c.name);
                continue;
            }
            std::printf("%-16s %6.0f ms %5.1f MiB/s %6.0f ms %5.1f MiB/s %6.3f %5.1f MiB\n", c.name,
                        m.cli * 1000, c.bytes / kMebibyte / m.cli, m.floor * 1000,
                        c.bytes / kMebibyte / m.floor, m.floor / m.cli, m.peakKiB / 1024.0);
        }
        std::printf("\n");
    }
    std::printf("%-16s %9s %9s %13s %13s  %s\n", "job", "commands", "minimum", "bytes read",
                "minimum", "how the minimum is counted");
    for (const Case& c : cases) {
        const Counted n = count(c, dir);
        std::printf("%-16s %9lld %9lld %13lld %13lld  %s\n", c.name, (long long)n.commands,
                    (long long)c.minimum.commands, (long long)n.readBytes,
                    (long long)c.minimum.dataBytes, c.minimum.counted);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--measure") == 0) return measure_child(argv + 2);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line as it is measured
    g_self = argv[0];
    const char* other = std::getenv("ZELVO_BENCH_CLI");
    g_cli = other && *other ? other : CLI_PATH;
    const bool phases = argc > 1 && std::strcmp(argv[1], "--phases") == 0;
    const bool window = argc > 1 && std::strcmp(argv[1], "--window") == 0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (window) squirrel_preload();
    const int repetitions = argc > 1 && !phases && !window ? std::max(1, std::atoi(argv[1])) : 3;
    std::string why;
    if (!testing_support::fuse_usable(&why)) {
        std::printf("job_throughput: %s\n", why.c_str());
        return 1;
    }
    testing_support::TempDir dir;
    std::printf("zelvo3-cli: %s\n", g_cli.c_str());
    const std::vector<Case> cases = bench_cases();
    const Board boards[] = {{"unthrottled", {}, repetitions},
                            {"USB 2.0 high speed", {"--usb", "high"}, repetitions},
                            {"USB 1.1 full speed", {"--usb", "full"}, repetitions}};
    if (phases) {
        std::vector<Board> chosen;
        const char* const keys[] = {"unthrottled", "high", "full"};
        for (int i = 0; i < 3; ++i)
            for (int a = 2; a < argc; ++a)
                if (std::strcmp(argv[a], keys[i]) == 0) chosen.push_back(boards[i]);
        if (chosen.empty()) chosen.assign(std::begin(boards), std::end(boards));
        print_phases(cases, chosen, dir);
    } else if (window) {
        window_rows(cases, boards, dir);
        squirrel_preload_join();
    } else {
        startup(dir);
        throughput_tables(cases, boards, dir);
    }
    return 0;
}
