#include "mounted_board.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "fork_server.h"

namespace testing_support {
namespace fs = std::filesystem;

bool fuse_usable(std::string* why) {
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        *why = "FUSE is not available here (/dev/fuse cannot be opened)";
        return false;
    }
    if (system("command -v fusermount3 >/dev/null 2>&1") != 0) {
        *why = "fusermount3 is not installed";
        return false;
    }
    return true;
}

bool poll_until(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

TempDir::TempDir() {
    char name[] = "/tmp/zelvo-test-XXXXXX";
    m_path = mkdtemp(name);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

namespace {

int run(const std::vector<std::string>& argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool is_mounted(const std::string& mountpoint) {
    struct stat st;
    return stat((mountpoint + "/K-DRIVER.DMP").c_str(), &st) == 0;
}

}  // namespace

BoardPauses::BoardPauses(const TempDir& dir, std::function<void(const std::string&)> act)
    : m_prefix(dir.file("pause")), m_act(std::move(act)) {
    mkfifo((m_prefix + ".pause").c_str(), 0600);
    mkfifo((m_prefix + ".resume").c_str(), 0600);
    m_thread = std::thread([this] { serve(); });
}

BoardPauses::~BoardPauses() {
    // The serving thread waits for the board's next stop: this one ends it.
    if (FILE* stop = std::fopen((m_prefix + ".pause").c_str(), "w")) {
        std::fputs("stop\n", stop);
        std::fclose(stop);
    }
    m_thread.join();
}

std::vector<std::string> BoardPauses::args(const std::vector<std::string>& points) const {
    std::vector<std::string> out = {"--pause-fifo", m_prefix};
    for (const std::string& p : points) out.insert(out.end(), {"--pause-at", p});
    return out;
}

std::vector<std::string> BoardPauses::seen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

void BoardPauses::serve() {
    for (;;) {
        char point[64] = {};
        if (FILE* told = std::fopen((m_prefix + ".pause").c_str(), "r")) {
            if (!std::fgets(point, sizeof point, told)) point[0] = 0;
            std::fclose(told);
        }
        std::string text(point);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        if (text == "stop") return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_seen.push_back(text);
        }
        m_act(text);
        if (FILE* resume = std::fopen((m_prefix + ".resume").c_str(), "w")) {
            std::fputc('1', resume);
            std::fclose(resume);
        }
    }
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) {
        m_had = true;
        m_old = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_had)
        setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

namespace {

constexpr int kMountMs = 10000;   // how long a board may take to mount
constexpr int kUnmountMs = 5000;  // and to end once detached

// Waits for one byte on fd; false when it did not come in ms.
bool byte_within(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&p, 1, ms) == 1 && ::read(fd, &byte, 1) == 1;
}

// Waits for the process behind pidfd to end; false when it had not in ms.
bool ends_within(int pidfd, pid_t pid, int ms) {
    pollfd p{pidfd, POLLIN, 0};
    if (pidfd >= 0 && ::poll(&p, 1, ms) == 1) return true;
    kill(pid, SIGTERM);
    return false;
}

// The socket of the fork server this process starts its boards from (-1
// when it could not be started): one vboard whose libraries are loaded once.
int fork_server() {
    static int server = -1;
    static std::once_flag once;
    std::call_once(once, [] {
        int pair[2];
        if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) return;
        const pid_t pid = fork();
        if (pid == 0) {
            // The server keeps only its socket and the standard descriptors.
            if (pair[1] != 3) dup2(pair[1], 3);
            fcntl(3, F_SETFD, 0);
            close_range(4, ~0U, 0);
            execl(VBOARD_PATH, VBOARD_PATH, "--fork-server", "3", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pair[1]);
        if (pid < 0) close(pair[0]);
        if (pid > 0) server = pair[0];
    });
    return server;
}

// Starts a board through the fork server; its process ID, or -1.
pid_t start_board(const std::vector<std::string>& args, int ready) {
    static std::mutex oneAtATime;
    const std::lock_guard<std::mutex> lock(oneAtATime);
    const int server = fork_server();
    char cwd[4096];
    if (server < 0 || !getcwd(cwd, sizeof cwd)) return -1;
    const int fds[vboard::kForkRequestFds] = {ready, STDOUT_FILENO, STDERR_FILENO};
    return vboard::request_fork(server, cwd, args, fds);
}

}  // namespace

MountedBoard::MountedBoard(std::vector<std::string> args, const std::string& volume,
                           const std::string& volumes)
    : m_volumes(volumes.empty() ? m_dir.file("volumes") : volumes) {
    fs::create_directories(m_volumes + "/" + volume);
    m_mountpoint = m_volumes + "/" + volume;
    m_env = std::make_unique<ScopedEnv>("ZELVO_VOLUMES", m_volumes);
    int ready[2];
    if (pipe(ready) != 0) return;
    args.insert(args.begin(),
                {VBOARD_PATH, "--log", file("raw.log"), "--ready-fd", std::to_string(ready[1])});
    args.push_back("-f");
    args.push_back(m_mountpoint);
    m_pid = start_board(args, ready[1]);
    close(ready[1]);
    if (m_pid > 0) m_pidfd = int(syscall(SYS_pidfd_open, m_pid, 0));
    // The board says when it is mounted; a board that fails to start closes
    // the pipe without a word.
    const bool mounted = byte_within(ready[0], kMountMs);
    close(ready[0]);
    if (mounted && is_mounted(m_mountpoint)) {
        record(true);
        return;
    }
    unmount();
}

void MountedBoard::record(bool mounted) const {
    const char* registry = std::getenv("ZELVO_TEST_MOUNTS");
    if (!registry) return;
    const std::string entry = std::string(registry) + "/" + std::to_string(m_pid);
    if (!mounted) {
        std::remove(entry.c_str());
        return;
    }
    fs::create_directories(registry);
    write_file(entry, std::vector<uint8_t>(m_mountpoint.begin(), m_mountpoint.end()));
}

void MountedBoard::unmount() {
    if (m_pid <= 0) return;
    if (run({"fusermount3", "-u", m_mountpoint}) != 0) {
        // Still busy: detach it; the board ends once the last file on it is
        // closed, and is stopped if that does not come.
        run({"fusermount3", "-uz", m_mountpoint});
    }
    ends_within(m_pidfd, m_pid, kUnmountMs);
    forget();
}

void MountedBoard::pull_out() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGKILL);
    pollfd p{m_pidfd, POLLIN, 0};
    if (m_pidfd >= 0) ::poll(&p, 1, -1);
    run({"fusermount3", "-uz", m_mountpoint});
    forget();
}

void MountedBoard::forget() {
    record(false);
    if (m_pidfd >= 0) close(m_pidfd);
    m_pidfd = -1;
    m_pid = -1;
}

MountedBoard::~MountedBoard() {
    unmount();
}

std::vector<std::vector<uint8_t>> MountedBoard::command_writes() const {
    const std::vector<uint8_t> raw = read_file(file("raw.log"));
    std::vector<std::vector<uint8_t>> writes;
    for (size_t at = 0; at + 4 <= raw.size();) {
        const uint32_t n = uint32_t(raw[at]) | uint32_t(raw[at + 1]) << 8 |
                           uint32_t(raw[at + 2]) << 16 | uint32_t(raw[at + 3]) << 24;
        at += 4;
        writes.emplace_back(raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
    }
    return writes;
}

}  // namespace testing_support
