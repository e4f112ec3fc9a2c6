#include "mounted_board.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

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

MountedBoard::MountedBoard(std::vector<std::string> args, const std::string& volume,
                           const std::string& volumes)
    : m_volumes(volumes.empty() ? m_dir.file("volumes") : volumes) {
    fs::create_directories(m_volumes + "/" + volume);
    m_mountpoint = m_volumes + "/" + volume;
    setenv("ZELVO_VOLUMES", m_volumes.c_str(), 1);
    args.insert(args.begin(), {VBOARD_PATH, "--log", file("raw.log")});
    args.push_back("-f");
    args.push_back(m_mountpoint);
    m_pid = fork();
    if (m_pid == 0) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    for (int i = 0; i < 500 && !is_mounted(m_mountpoint); ++i) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!is_mounted(m_mountpoint)) unmount();
}

void MountedBoard::unmount() {
    if (m_pid <= 0) return;
    int status = 0;
    if (run({"fusermount3", "-u", m_mountpoint}) != 0) {
        // Still busy: detach it; the board ends once the last file on it is
        // closed, and is stopped if that does not come.
        run({"fusermount3", "-uz", m_mountpoint});
        for (int i = 0; i < 500 && waitpid(m_pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (waitpid(m_pid, &status, WNOHANG) == 0) kill(m_pid, SIGTERM);
    }
    waitpid(m_pid, &status, 0);
    m_pid = -1;
}

void MountedBoard::pull_out() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    run({"fusermount3", "-uz", m_mountpoint});
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
