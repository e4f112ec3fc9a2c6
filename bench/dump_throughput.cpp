// Dump throughput of zelvo3-cli against the protocol's floor on the same
// virtual board mount: the floor does only the I/O a dump needs (flushed
// command writes, uncached data reads), so the ratio shows what the program
// spends beyond the board. Run: build/bench/dump_throughput [repetitions]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "device/cmd.h"
#include "device/protocol.h"
#include "jobs/famicom_thread.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
constexpr double kMiB = 1024.0 * 1024.0;
constexpr uint32_t kGbBank = 0x4000;
constexpr uint32_t kGbaChunk = 0x100000;
constexpr uint32_t kGbBankHigh = 0x3000, kGbBankLow = 0x2000;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct CliRun {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

// Runs the program in argv and prints its wall time and peak resident memory.
// It runs in a process of its own (this program re-executed with --measure):
// a process started straight from the benchmark would count the benchmark's
// own memory, inherited across fork, in its peak.
int measure_child(char** argv) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 1;
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::printf("%d %.6f %ld\n", ok ? 1 : 0, seconds_since(start), usage.ru_maxrss);
    return 0;
}

std::string g_self;

// zelvo3-cli run and measured by a --measure process.
CliRun run_cli(const std::vector<std::string>& args) {
    std::string command = "'" + g_self + "' --measure '" CLI_PATH "'";
    for (const std::string& a : args) command += " '" + a + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    int ok = 0;
    if (std::fscanf(pipe, "%d %lf %ld", &ok, &run.seconds, &run.peakKiB) == 3) run.ok = ok == 1;
    pclose(pipe);
    return run;
}

// The board's two files, held open for the whole floor loop.
class FloorLink {
public:
    explicit FloorLink(const std::string& volume) {
        m_cmd = ::open((volume + "/" + proto::kCommandFile).c_str(), O_WRONLY);
        m_data = ::open((volume + "/" + proto::kDataFile).c_str(), O_RDONLY | O_DIRECT);
        void* p = nullptr;
        if (posix_memalign(&p, 4096, kGbaChunk) == 0) m_buffer = static_cast<uint8_t*>(p);
    }
    ~FloorLink() {
        if (m_cmd >= 0) ::close(m_cmd);
        if (m_data >= 0) ::close(m_data);
        std::free(m_buffer);
    }
    bool ok() const { return m_cmd >= 0 && m_data >= 0 && m_buffer; }

    // One command write of the given blocks, flushed to the board.
    bool command(std::vector<uint8_t>& blocks) {
        for (size_t i = 0; i < blocks.size(); i += proto::kBlockSize) cmd::frame(&blocks[i]);
        return pwrite(m_cmd, blocks.data(), blocks.size(), 0) == ssize_t(blocks.size()) &&
               fsync(m_cmd) == 0;
    }
    // One uncached read of len bytes at offset into one reused buffer, compared
    // with the image at expect (the comparison reads memory that is already resident).
    bool read(uint32_t offset, uint32_t len, const uint8_t* expect) {
        return pread(m_data, m_buffer, len, offset) == ssize_t(len) &&
               std::memcmp(m_buffer, expect, len) == 0;
    }

private:
    int m_cmd = -1, m_data = -1;
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

// MBC5: bank 0 at 0x0000, then per bank one command (high and low bank bytes) and 16 KiB.
bool gb_floor(FloorLink& link, const Bytes& image) {
    const uint32_t size = uint32_t(image.size());
    if (!init(link, proto::kOpGbMode, proto::kGroupGb, proto::kOpGbInit)) return false;
    if (!link.read(0, kGbBank, image.data())) return false;
    for (uint32_t n = 1; n < size / kGbBank; ++n) {
        std::vector<uint8_t> select = block(proto::kGroupGb, proto::kOpGbCpuWrite, 2);
        proto::put16(&select[proto::kGbAddr], kGbBankHigh);
        select[proto::kGbValue] = uint8_t(n >> 8);
        proto::put16(&select[proto::kBlockSize + proto::kGbAddr], kGbBankLow);
        select[proto::kBlockSize + proto::kGbValue] = uint8_t(n);
        if (!link.command(select) || !link.read(kGbBank, kGbBank, &image[size_t(n) * kGbBank]))
            return false;
    }
    return true;
}

// GBA: per MiB one latch command with the word address and one 1 MiB read.
bool gba_floor(FloorLink& link, const Bytes& image) {
    const uint32_t size = uint32_t(image.size());
    if (!init(link, proto::kOpGbaMode, proto::kGroupGba, proto::kOpGbaInit)) return false;
    for (uint32_t at = 0; at < size; at += kGbaChunk) {
        std::vector<uint8_t> latch = block(proto::kGroupGba, proto::kOpGbaCpuRead);
        proto::put24(&latch[proto::kGbaAddr], at / 2);
        if (!link.command(latch) || !link.read(0, kGbaChunk, &image[at])) return false;
    }
    return true;
}

// The same job inside this process: no process start, no Info report.
double run_job(uint32_t type, const char* script, uint32_t size, const std::string& out) {
    FamicomThread job;
    job.m_type = type;
    job.m_script = QString(MAPPER_DIR "/") + script;
    job.m_file = QString::fromStdString(out);
    job.m_rom_size = size;
    const Clock::time_point start = Clock::now();
    return job.execute() ? seconds_since(start) : -1;
}

struct Case {
    const char* name;
    uint32_t jobType;
    const char* script;
    std::vector<std::string> board;  // vboard options before the image
    Bytes image;
    std::vector<std::string> cliOptions;
    std::function<bool(FloorLink&, const Bytes&)> floor;  // false on an error or a difference
};

void measure(Case& c, int repetitions, testing_support::TempDir& dir) {
    const std::string imagePath = dir.file(std::string(c.name) + ".img");
    testing_support::write_file(imagePath, c.image);
    std::vector<std::string> args = c.board;
    args.push_back(imagePath);
    testing_support::MountedBoard board(args);
    if (!board.mounted()) {
        std::printf("%-12s the virtual board did not mount\n", c.name);
        return;
    }
    const uint32_t size = uint32_t(c.image.size());
    double cliBest = 1e9, floorBest = 1e9, jobBest = 1e9;
    long peakKiB = 0;
    for (int r = 0; r < repetitions; ++r) {
        const std::string out = dir.file("dump.bin");
        std::vector<std::string> cliArgs = {"dump-rom", out, "--force"};
        cliArgs.insert(cliArgs.end(), c.cliOptions.begin(), c.cliOptions.end());
        const CliRun run = run_cli(cliArgs);
        if (!run.ok || testing_support::read_file(out) != c.image) {
            std::printf("%-12s zelvo3-cli dump-rom failed or differs from the image\n", c.name);
            return;
        }
        cliBest = std::min(cliBest, run.seconds);
        peakKiB = std::max(peakKiB, run.peakKiB);

        const double job = run_job(c.jobType, c.script, size, out);
        if (job < 0 || testing_support::read_file(out) != c.image) {
            std::printf("%-12s the in-process job failed or differs from the image\n", c.name);
            return;
        }
        jobBest = std::min(jobBest, job);

        FloorLink link(board.mountpoint());
        const Clock::time_point start = Clock::now();
        if (!link.ok() || !c.floor(link, c.image)) {
            std::printf("%-12s the floor loop failed or differs from the image\n", c.name);
            return;
        }
        floorBest = std::min(floorBest, seconds_since(start));
    }
    const double cliRate = size / kMiB / cliBest, floorRate = size / kMiB / floorBest;
    const double jobRate = size / kMiB / jobBest;
    std::printf(
        "%-12s %5.0f MiB/s %4.0f ms  %5.0f MiB/s %4.0f ms  %5.2f  %6.1f MiB   %5.0f MiB/s %4.0f "
        "ms\n",
        c.name, cliRate, cliBest * 1000, floorRate, floorBest * 1000, cliRate / floorRate,
        peakKiB / 1024.0, jobRate, jobBest * 1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--measure") == 0) return measure_child(argv + 2);
    g_self = argv[0];
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string why;
    if (!testing_support::fuse_usable(&why)) {
        std::printf("dump_throughput: %s\n", why.c_str());
        return 1;
    }
    testing_support::TempDir dir;
    Case cases[] = {
        {"GBA 32 MiB",
         kJobGbaDump,
         "gba.nut",
         {"--gba"},
         romgen::gba_image(32 << 20, "ZTST"),
         {"--rom-size", "32M"},
         gba_floor},
        {"MBC5 8 MiB",
         kJobGbDump,
         "gb_mbc5.nut",
         {"--gb"},
         romgen::gb_image(0x1B, 8, 0),
         {},
         gb_floor},
    };
    std::printf(
        "best of %d     zelvo3-cli dump-rom   protocol floor      ratio  peak RSS     "
        "the job in-process\n",
        repetitions);
    for (Case& c : cases) measure(c, repetitions, dir);
    return 0;
}
