// zelvo3-cli against what a hostile or unlucky user brings: a second board, a
// board pulled out, another program taking the board between steps, a plain
// folder posing as a board, a reader that goes away, files that change while a
// job runs, signals, odd file names, full disks and hostile save files. Each
// race is reproduced at a chosen step: the board stops there (--pause-at)
// while the test does what the other party would.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QString>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>

#include "device/protocol.h"
#include "jobs/clock_trailer.h"
#include "romgen.h"
#include "support/camera_save.h"
#include "support/mounted_board.h"

using namespace testing_support;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

namespace {

struct RunOptions {
    std::map<std::string, std::string> env;
    bool closedStdout = false;  // standard output is a pipe whose reader is gone
};

// One run of zelvo3-cli with its arguments as bytes, as a shell passes them.
class CliProcess {
public:
    explicit CliProcess(const std::vector<std::string>& args, const RunOptions& options = {}) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        if (options.closedStdout) close(out[0]);
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            for (const auto& [name, value] : options.env) setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(CLI_PATH)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(CLI_PATH, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        if (!options.closedStdout) m_outReader = reader(out[0], &m_out);
        m_errReader = reader(err[0], &m_err);
    }
    pid_t pid() const { return m_pid; }
    // Waits for the end; the exit status, or 128 + the signal that ended it.
    // wait_or_kill: -1 when it has not ended within 20 s (it is then killed).
    int wait_or_kill() {
        for (int i = 0; i < 400; ++i) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                join();
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(m_pid, SIGKILL);
        wait();
        return -1;
    }
    int wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        join();
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    void join() {
        if (m_outReader.joinable()) m_outReader.join();
        if (m_errReader.joinable()) m_errReader.join();
    }
    const std::string& out() const { return m_out; }
    const std::string& err() const { return m_err; }
    std::string text() const { return "--- stdout\n" + m_out + "--- stderr\n" + m_err; }

private:
    static std::thread reader(int fd, std::string* into) {
        return std::thread([fd, into] {
            char chunk[4096];
            for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;)
                into->append(chunk, size_t(n));
            close(fd);
        });
    }
    pid_t m_pid = -1;
    std::string m_out, m_err;
    std::thread m_outReader, m_errReader;
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Hostile : public ::testing::Test {
protected:
    std::string put(const Bytes& data, const std::string& name) {
        write_file(dir.file(name), data);
        return dir.file(name);
    }
    // The names of a folder's entries in the order the system lists them.
    static std::vector<std::string> listing(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* d = opendir(folder.c_str())) {
            while (const dirent* e = readdir(d))
                if (e->d_name[0] != '.') names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }
    TempDir dir;
};

// Fault 1 and fault 14: one volume search, one board for the whole command.
TEST_F(Hostile, ABoardPulledOutDuringTheHeaderReadEndsTheCommandAndNoOtherBoardIsUsed) {
    REQUIRE_FUSE();
    const std::string volumes = dir.file("volumes");
    fs::create_directories(volumes + "/BOARD-A");
    fs::create_directories(volumes + "/BOARD-B");
    const std::vector<std::string> order = listing(volumes);
    ASSERT_EQ(order.size(), 2u);
    const Bytes rom = romgen::gb_image(0x1B, 2, 3);
    const Bytes held = romgen::pattern(0x8000, 1);
    put(rom, "rom.gb");
    put(held, "held.sav");
    put(romgen::pattern(0x8000, 2), "new.sav");

    // The board listed first is pulled out after the claim read its label.
    MountedBoard first({"--gb", dir.file("rom.gb"), "--vanish-after", "2"}, order[0], volumes);
    MountedBoard second({"--gb", dir.file("rom.gb"), "--save", dir.file("held.sav"), "--save-out",
                         dir.file("second.sav")},
                        order[1], volumes);
    ASSERT_TRUE(first.mounted() && second.mounted());
    CliProcess write(
        {"write-save", dir.file("new.sav"), "--system", "gb", "--ram-size", "32K", "--no-backup"});
    EXPECT_EQ(write.wait(), 3) << write.text();
    EXPECT_TRUE(contains(write.out(), "Driver label: " + order[0])) << write.text();
    EXPECT_FALSE(contains(write.out(), "Driver label: " + order[1])) << write.text();
    second.unmount();
    EXPECT_EQ(read_file(dir.file("second.sav")), held) << "the other board's save is untouched";
}

TEST_F(Hostile, TwoBoardsAreNamedAndOneIsChosenWithBoard) {
    REQUIRE_FUSE();
    const std::string volumes = dir.file("volumes");
    put(romgen::gb_image(0x1B, 2, 3), "rom.gb");
    MountedBoard a({"--gb", dir.file("rom.gb")}, "BOARD-A", volumes);
    MountedBoard b({"--gb", dir.file("rom.gb")}, "BOARD-B", volumes);
    ASSERT_TRUE(a.mounted() && b.mounted());
    const std::string first = listing(volumes)[0], other = listing(volumes)[1];
    CliProcess info({"info"});
    EXPECT_EQ(info.wait(), 0) << info.text();
    EXPECT_TRUE(contains(info.out(), "Using the board " + first + "; another board was seen: " +
                                         other + ". Choose one with --board NAME."))
        << info.text();
    CliProcess chosen({"info", "--board", other});
    EXPECT_EQ(chosen.wait(), 0) << chosen.text();
    EXPECT_TRUE(contains(chosen.out(), "Driver label: " + other)) << chosen.text();
    CliProcess missing({"info", "--board", "NOPE"});
    EXPECT_EQ(missing.wait(), 3) << missing.text();
    EXPECT_TRUE(contains(missing.err(), "No board named NOPE was found")) << missing.text();
}

// Fault 2: another program takes the board's lock between two steps of a
// command, and gives it back before the next one.
TEST_F(Hostile, ALockTakenBetweenStepsNeverLeadsToTheWrongController) {
    REQUIRE_FUSE();
    const Bytes held = romgen::pattern(0x8000, 3), next = romgen::pattern(0x8000, 4);
    int root = -1;
    BoardPauses pauses(dir, [&root](const std::string& point) {
        // The root was opened beforehand: a stopped board answers no open.
        flock(root, point == "ident:2" ? LOCK_EX | LOCK_NB : LOCK_UN);
    });
    std::vector<std::string> args = {"--gb",       put(romgen::gb_image(0x03, 2, 3), "mbc1.gb"),
                                     "--save",     put(held, "held.sav"),
                                     "--save-out", dir.file("out.sav")};
    for (const std::string& a : pauses.args({"ident:2", "ident:3"})) args.push_back(a);
    MOUNT_BOARD(board, args);
    root = open(board.mountpoint().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(root, 0);
    CliProcess write({"write-save", put(next, "next.sav"), "--system", "gb", "--ram-size", "32K",
                      "--no-backup"});
    const int code = write.wait();
    close(root);
    board.unmount();
    if (code == 0) {
        EXPECT_TRUE(contains(write.out(), "MBC1")) << write.text();
        EXPECT_EQ(read_file(dir.file("out.sav")), next) << write.text();
    } else {
        EXPECT_EQ(code, 3) << write.text();
        EXPECT_TRUE(contains(write.err(), "in use by another program")) << write.text();
        EXPECT_EQ(read_file(dir.file("out.sav")), held);
    }
}

// A folder of the user's that holds files of the board's names is no board,
// and nothing in it is read past its checks or written: a text file of
// another size, a record whose label is not NUL-terminated printable text, a
// pipe where a board file should be (which would hang a read or a write).
TEST_F(Hostile, AFolderIsABoardOnlyWhenItsFilesLookLikeTheBoards) {
    Bytes text(40000, 'r');
    Bytes noNul(proto::kIdentFileSize, 0), control(proto::kIdentFileSize, 0),
        good(proto::kIdentFileSize, 0);
    std::fill(noNul.begin() + proto::kIdentRecordOffset, noNul.end(), 'A');
    std::memcpy(&control[proto::kIdentRecordOffset], "FW\x1b[2J", 7);
    std::memcpy(&good[proto::kIdentRecordOffset], "QRV_PCB02_FW303", 15);
    const struct {
        const char* name;
        const Bytes* ident;
        const char* fifo;  // a board file that is a pipe
        const char* says;
    } cases[] = {{"user text", &text, nullptr, "holds 40000 bytes, not the board's 33792"},
                 {"no NUL", &noNul, nullptr, "no firmware label"},
                 {"control characters", &control, nullptr, "no firmware label"},
                 {"CMD.CMD a pipe", &good, proto::kCommandFile, "CMD.CMD there is not a regular"},
                 {"DUMP.ROM a pipe", &good, proto::kDataFile, "DUMP.ROM there is not a regular"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string volumes = dir.file(std::string("v-") + c.name);
        const std::string stick = volumes + "/STICK";
        fs::create_directories(stick);
        write_file(stick + "/" + proto::kIdentFile, *c.ident);
        const Bytes mine(700, 'm');
        if (!c.fifo || std::strcmp(c.fifo, proto::kCommandFile) != 0)
            write_file(stick + "/" + proto::kCommandFile, mine);
        if (c.fifo) {
            ASSERT_EQ(mkfifo((stick + "/" + c.fifo).c_str(), 0600), 0);
        }
        CliProcess info({"info"}, {{{"ZELVO_VOLUMES", volumes}}});
        const int code = info.wait_or_kill();
        EXPECT_EQ(code, 3) << "it hung or took the folder for a board\n" << info.text();
        EXPECT_TRUE(contains(info.err(), c.says)) << info.text();
        if (!c.fifo || std::strcmp(c.fifo, proto::kCommandFile) != 0) {
            EXPECT_EQ(read_file(stick + "/" + proto::kCommandFile), mine) << "the user's file";
        }
    }
}

// Fault 3: a folder holding a file of the board's name is no board.
TEST_F(Hostile, APlainFolderIsNoBoard) {
    const std::string stick = dir.file("volumes/STICK");
    fs::create_directories(stick);
    write_file(stick + "/" + proto::kIdentFile, Bytes(proto::kIdentRecordOffset + 1024, 0));
    write_file(stick + "/" + proto::kDataFile, Bytes(0x10000, 0));
    const std::map<std::string, std::string> env = {{"ZELVO_VOLUMES", dir.file("volumes")}};
    CliProcess write({"write-save", put(Bytes(0x8000, 1), "s.sav"), "--system", "gb", "--ram-size",
                      "32K", "--no-backup"},
                     {env});
    EXPECT_EQ(write.wait(), 3) << write.text();
    EXPECT_TRUE(contains(write.err(), "it is not a dump board, or the board does not answer"))
        << write.text();
    CliProcess read({"read-save", dir.file("r.sav"), "--system", "gb", "--ram-size", "32K"}, {env});
    EXPECT_EQ(read.wait(), 3) << read.text();
    EXPECT_FALSE(fs::exists(dir.file("r.sav")));
    EXPECT_FALSE(fs::exists(stick + "/" + proto::kCommandFile)) << "no command was written there";
}

// Fault 4: the reader of the log goes away; the flash write still completes.
TEST_F(Hostile, AClosedOutputPipeNeverStopsAFlashWrite) {
    const Bytes image = romgen::pattern(0x40000, 5);
    MOUNT_BOARD(board, {"--flash", "0x100000", "--flash-wiring", "16", "--erase-ms", "100",
                        "--flash-out", dir.file("chip.out")});
    CliProcess flash({"flash-rom", put(image, "img.gb"), "--system", "gb"}, {{}, true});
    EXPECT_EQ(flash.wait(), 0) << flash.text();
    board.unmount();
    Bytes chip = read_file(dir.file("chip.out"));
    chip.resize(image.size());
    EXPECT_EQ(chip, image);
}

// Fault 5: the image grows after the launch checked its size.
TEST_F(Hostile, AnImageThatGrowsAfterTheCheckIsRefusedBeforeTheErase) {
    const Bytes before = romgen::pattern(0x100000, 6);
    const std::string image = put(romgen::pattern(0x100000, 7), "img.gb");
    BoardPauses pauses(dir, [&image](const std::string&) {
        // The job enters the GB mode a second time: the launch is over.
        std::FILE* f = std::fopen(image.c_str(), "ab");
        const Bytes more(0x200000, 0x42);
        std::fwrite(more.data(), 1, more.size(), f);
        std::fclose(f);
    });
    std::vector<std::string> args = {"--flash",     "0x100000",          "--flash-wiring",
                                     "16",          "--flash-image",     put(before, "before.bin"),
                                     "--flash-out", dir.file("chip.out")};
    for (const std::string& a : pauses.args({"f002:2"})) args.push_back(a);
    MOUNT_BOARD(board, args);
    CliProcess flash({"flash-rom", image, "--system", "gb"});
    EXPECT_EQ(flash.wait(), 4) << flash.text();
    EXPECT_TRUE(contains(flash.err(), "nothing was erased or written")) << flash.text();
    board.unmount();
    EXPECT_EQ(pauses.seen(), std::vector<std::string>{"f002:2"});
    EXPECT_EQ(read_file(dir.file("chip.out")), before) << "the chip is as it was";
}

// Fault 6: the output file appears while the dump runs.
// With --force too: --force names the file that was there when the command
// began (none here, or another one), never one that appeared since.
TEST_F(Hostile, AnOutputThatAppearsDuringADumpIsKeptAndTheDumpGoesBesideIt) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 0);
    for (const char* force : {"", "--force", "--force over another file"}) {
        SCOPED_TRACE(force);
        const std::string out = dir.file(std::string("out") + std::to_string(std::strlen(force)));
        const std::string beside = out + " (new).gb";
        if (std::strlen(force) > 7) write_file(out + ".gb", {'O', 'L', 'D'});
        BoardPauses pauses(dir, [&out](const std::string&) {
            fs::remove(out + ".gb");
            write_file(out + ".gb", {'K', 'E', 'E', 'P'});
        });
        std::vector<std::string> args = {"--gb", put(rom, "rom.gb")};
        for (const std::string& a : pauses.args({"data:20"})) args.push_back(a);
        MOUNT_BOARD(board, args);
        std::vector<std::string> command = {"dump-rom", out + ".gb"};
        if (*force) command.push_back("--force");
        CliProcess dump(command);
        EXPECT_EQ(dump.wait(), 4) << dump.text();
        EXPECT_EQ(read_file(out + ".gb"), Bytes({'K', 'E', 'E', 'P'})) << "never replaced";
        EXPECT_EQ(read_file(beside), rom) << dump.text();
        EXPECT_TRUE(contains(dump.err(), "the new file is kept as " + beside)) << dump.text();
    }
}

// Fault 7: --force replaces regular files only.
TEST_F(Hostile, ForceNeverReplacesAPipeOrADevice) {
    MOUNT_BOARD(board, {"--gb", put(romgen::gb_image(0x1B, 2, 0), "rom.gb")});
    const std::string fifo = dir.file("out.fifo"), node = dir.file("out.node");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const bool haveNode = mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    for (const std::string& target : {fifo, node}) {
        if (target == node && !haveNode) continue;
        CliProcess dump({"dump-rom", target, "--force"});
        EXPECT_EQ(dump.wait(), 4) << dump.text();
        EXPECT_TRUE(contains(dump.err(), "not a regular file")) << dump.text();
        struct stat st;
        ASSERT_EQ(lstat(target.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode)) << target;
    }
}

// Fault 8: SIGTERM and SIGHUP cancel a dump as Ctrl-C does.
TEST_F(Hostile, TermAndHupCancelADumpAndLeaveNothingBehind) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        TempDir run;
        pid_t pid = -1;
        BoardPauses pauses(run, [&pid, signal](const std::string&) { kill(pid, signal); });
        std::vector<std::string> args = {"--gb", put(romgen::gb_image(0x1B, 5, 0), "rom.gb")};
        for (const std::string& a : pauses.args({"data:20"})) args.push_back(a);
        MOUNT_BOARD(board, args);
        CliProcess dump({"dump-rom", run.file("out.gb")});
        pid = dump.pid();
        EXPECT_EQ(dump.wait(), 1) << dump.text();
        EXPECT_TRUE(contains(dump.err(), "zelvo3-cli: canceled")) << dump.text();
        EXPECT_TRUE(QDir(QString::fromStdString(run.path()))
                        .entryList({"out.gb*"}, QDir::Files | QDir::Hidden)
                        .isEmpty());
    }
}

// Fault 9: a save write canceled halfway says what is left and how to restore.
TEST_F(Hostile, ASaveWriteCanceledHalfwaySaysWhereTheOldSaveIs) {
    pid_t pid = -1;
    BoardPauses pauses(dir, [&pid](const std::string&) { kill(pid, SIGINT); });
    std::vector<std::string> args = {"--gb", put(romgen::gb_image(0x1B, 2, 3), "rom.gb"), "--save",
                                     put(romgen::pattern(0x8000, 8), "held.sav")};
    for (const std::string& a : pauses.args({"020c:2"})) args.push_back(a);
    MOUNT_BOARD(board, args);
    CliProcess write({"write-save", put(romgen::pattern(0x8000, 9), "new.sav")},
                     {{{"XDG_DATA_HOME", dir.file("data")}}});
    pid = write.pid();
    EXPECT_EQ(write.wait(), 1) << write.text();
    EXPECT_TRUE(contains(write.out(),
                         "The cartridge's save is now partly written. Its old save "
                         "is kept in " +
                             dir.file("data/zelvo3/backups/")))
        << write.text();
    EXPECT_TRUE(contains(write.out(), "Canceled.")) << write.text();
    EXPECT_FALSE(contains(write.out(), "CALLSTACK")) << write.text();
    EXPECT_FALSE(contains(write.out(), "Write save finish.")) << write.text();
}

// Fault 10: names are the bytes the user gave.
TEST_F(Hostile, FileNamesThatAreNotUtf8AreKept) {
    const Bytes rom = romgen::gb_image(0x1B, 2, 3);
    MOUNT_BOARD(board, {"--gb", put(rom, "rom.gb")});
    const std::string dumped = dir.file("o\xfe.gb");
    CliProcess dump({"dump-rom", dumped});
    EXPECT_EQ(dump.wait(), 0) << dump.text();
    EXPECT_EQ(read_file(dumped), rom);
    CliProcess write({"write-save", put(romgen::pattern(0x8000, 1), "b\xff.sav"), "--no-backup"});
    EXPECT_EQ(write.wait(), 0) << write.text();
}

// Fault 11: messages and exit statuses that name the cause.
TEST_F(Hostile, APathTooLongAndANameTooLongAreBadFiles) {
    const std::string longPath = dir.path() + "/" + std::string(5000, 'd') + ".gb";
    const std::string longName = dir.file(std::string(300, 'n') + ".gb");
    for (const std::string& path : {longPath, longName}) {
        CliProcess dump({"dump-rom", path}, {{{"ZELVO_VOLUMES", dir.path()}}});
        EXPECT_EQ(dump.wait(), 4) << dump.text();
        EXPECT_TRUE(contains(dump.err(), "more than the")) << dump.text();
    }
}

TEST_F(Hostile, AReadOnlyBoardVolumeIsNamedAsSuch) {
    MOUNT_BOARD(board, {"--gb", put(romgen::gb_image(0x1B, 2, 3), "rom.gb"), "--read-only"});
    CliProcess info({"info"});
    EXPECT_EQ(info.wait(), 3) << info.text();
    EXPECT_TRUE(contains(info.err(), "is mounted read-only")) << info.text();
}

// A small file system of its own, full: root mounts one, and the test leaves
// none behind.
class FullDisk : public Hostile {
protected:
    void SetUp() override {
        disk = dir.file("disk");
        fs::create_directories(disk);
        if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0)
            GTEST_SKIP() << "no tmpfs can be mounted here";
        mounted = true;
        write_file(disk + "/old.gb", {'O', 'L', 'D'});
        // Fill what is left.
        std::FILE* f = std::fopen((disk + "/filler").c_str(), "wb");
        const Bytes chunk(4096, 0);
        while (std::fwrite(chunk.data(), 1, chunk.size(), f) == chunk.size() && !std::ferror(f)) {
        }
        std::fclose(f);
    }
    void TearDown() override {
        if (mounted) umount2(disk.c_str(), MNT_DETACH);
    }
    std::string disk;
    bool mounted = false;
};

TEST_F(FullDisk, ReplacingAFileOrKeepingABackupSaysTheDiskIsFull) {
    REQUIRE_FUSE();
    MountedBoard board({"--gb", put(romgen::gb_image(0x1B, 2, 3), "rom.gb")});
    ASSERT_TRUE(board.mounted());
    CliProcess dump({"dump-rom", disk + "/old.gb", "--force"});
    EXPECT_EQ(dump.wait(), 4) << dump.text();
    EXPECT_TRUE(contains(dump.err(), "No space left on device")) << dump.text();
    EXPECT_EQ(read_file(disk + "/old.gb"), Bytes({'O', 'L', 'D'}));
    CliProcess write({"write-save", put(romgen::pattern(0x8000, 1), "s.sav")},
                     {{{"XDG_DATA_HOME", disk}}});
    EXPECT_EQ(write.wait(), 1) << write.text();
    EXPECT_TRUE(contains(write.err(), "No space left on device")) << write.text();
}

// Fault 12: a header alone is no dump.
TEST_F(Hostile, VerifyOfAHeaderOnlyFileSaysItIsNoWholeDump) {
    Bytes header = romgen::gba_image(0x100000, "ZTST");
    header.resize(192);
    CliProcess verify({"verify", put(header, "header.gba")});
    EXPECT_EQ(verify.wait(), 4) << verify.text();
    EXPECT_TRUE(contains(verify.err(), "holds 192 bytes, less than the smallest GBA ROM"))
        << verify.text();
}

// Inputs that are no regular file are refused at once (a pipe would block the
// read for ever), a GBA file larger than the bus is no GBA dump, and the
// camera's pictures are never written through a link.
TEST_F(Hostile, InputsThatAreNoFileAndOutputsThroughLinks) {
    const std::string fifo = dir.file("in.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Bytes big = romgen::gba_image(0x100000, "ZTST");
    big.resize(64 << 20, 0xFF);
    const struct {
        std::vector<std::string> args;
        const char* says;
    } refused[] = {{{"verify", fifo}, "not a regular file"},
                   {{"camera-photos", fifo}, "not a regular file"},
                   {{"verify", put(big, "big.gba")}, "more than the 32 MiB a GBA ROM can hold"}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.args[0] + " " + r.says);
        CliProcess run(r.args);
        const int code = run.wait_or_kill();
        EXPECT_EQ(code, 4) << run.text();
        EXPECT_TRUE(contains(run.err(), r.says)) << run.text();
    }
    // A dangling link where a picture goes: the file it points to is not made.
    const std::string photos = dir.file("photos");
    fs::create_directories(photos);
    fs::create_symlink(dir.file("outside.png"), photos + "/photo_01.png");
    const Bytes save = camera_save({{1, 1, [](int x, int) { return x % 4; }}});
    CliProcess camera({"camera-photos", put(save, "camera.sav"), photos});
    EXPECT_EQ(camera.wait(), 4) << camera.text();
    EXPECT_FALSE(fs::exists(dir.file("outside.png"))) << camera.text();
}

// A dump whose current folder was deleted is not put at the root.
TEST_F(Hostile, ADumpFromADeletedFolderIsRefused) {
    MOUNT_BOARD(board, {"--gb", put(romgen::gb_image(0x1B, 2, 0), "rom.gb")});
    const std::string gone = dir.file("gone");
    fs::create_directories(gone);
    const fs::path before = fs::current_path();
    fs::current_path(gone);
    fs::remove(gone);
    CliProcess dump({"dump-rom"});
    const int code = dump.wait();
    fs::current_path(before);
    EXPECT_EQ(code, 4) << dump.text();
    EXPECT_TRUE(contains(dump.err(), "the current folder no longer exists")) << dump.text();
    EXPECT_FALSE(fs::exists("/ZELVO TEST.gb"));
}

// A name of 255 bytes, and a file that appears under it during the dump: the
// dump is kept beside it under a name shortened to fit.
TEST_F(Hostile, ALongNameKeptAsideIsShortenedToFit) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 0);
    const std::string out = dir.file(std::string(252, 'n') + ".gb");
    BoardPauses pauses(dir, [&out](const std::string&) { write_file(out, {'K'}); });
    std::vector<std::string> args = {"--gb", put(rom, "rom.gb")};
    for (const std::string& a : pauses.args({"data:20"})) args.push_back(a);
    MOUNT_BOARD(board, args);
    CliProcess dump({"dump-rom", out});
    EXPECT_EQ(dump.wait(), 4) << dump.text();
    const std::string beside = dir.file(std::string(246, 'n') + " (new).gb");
    EXPECT_EQ(read_file(beside), rom) << dump.text();
}

// Fault 13: a clock trailer no clock can hold is refused with its reason.
TEST_F(Hostile, AHostileClockTrailerIsRefusedAndTheClockStaysAsItWas) {
    const uint8_t regs[kClockRegisterCount] = {1, 2, 3, 4, 0};
    const struct {
        int64_t time;
        uint8_t seconds;
        const char* reason;
    } trailers[] = {{INT64_MIN + 5, 1, "is not a date a clock was read on"},
                    {INT64_MAX - 5, 1, "is not a date a clock was read on"},
                    {QDateTime::currentSecsSinceEpoch(), 75, "seconds register holds 75"}};
    for (const auto& t : trailers) {
        SCOPED_TRACE(t.reason);
        uint8_t bad[kClockRegisterCount] = {t.seconds, 2, 3, 4, 0};
        const QByteArray trailer = clock_trailer(gb::ClockKind::Mbc3, bad, t.time);
        Bytes file = romgen::pattern(0x8000, 2);
        file.insert(file.end(), trailer.begin(), trailer.end());
        MountedBoard board(
            {"--gb", put(romgen::gb_image(0x10, 2, 3), "rtc.gb"), "--rtc", "1,2,3,4,0"});
        ASSERT_TRUE(board.mounted());
        CliProcess write({"write-save", put(file, "clock.sav"), "--no-backup"});
        EXPECT_EQ(write.wait(), 4) << write.text();
        EXPECT_TRUE(contains(write.err(), t.reason)) << write.text();
        EXPECT_TRUE(contains(write.err(), "nothing was written")) << write.text();
        CliProcess read({"read-save", dir.file("after.sav"), "--force"});
        EXPECT_EQ(read.wait(), 0) << read.text();
        const Bytes after = read_file(dir.file("after.sav"));
        ASSERT_EQ(after.size(), 0x8000 + kClockTrailerSize);
        for (int i = 0; i < kClockRegisterCount; ++i)
            EXPECT_EQ(proto::get32(&after[0x8000 + 4 * i]), regs[i]) << "register " << i;
    }
}

}  // namespace
