// The fault matrix: every job against a board that fails at its 1st, 2nd, 3rd
// ... operation (every one in turn on small images, a spread on large ones),
// that is unmounted mid-transfer, that refuses O_DIRECT, or that is slow. A job
// may fail, but it never reports success with a wrong result, never hangs,
// never touches an existing output file and never leaves a partial one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "device/protocol.h"
#include "jobs/famicom_thread.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace testing_support;

constexpr int kHangMs = 120000;  // a job that takes longer than this hangs
constexpr int kSpread = 24;      // failure points on a large image
constexpr int kSlowSpread = 10;  // on jobs that wait out an erase each run
const Bytes kExisting = {'K', 'E', 'E', 'P'};

struct MatrixJob {
    std::string name;
    std::vector<std::string> board;  // vboard arguments, cartridge and save
    uint32_t type;
    const char* script;
    uint32_t romSize, ramSize, ramType, flash16;
    bool verify;
    Bytes input;               // for writes: the file written into the cartridge
    Bytes expected;            // reads: the output file; writes: the cartridge afterwards
    const char* cartridgeOut;  // writes: the vboard option that writes the cartridge out
    bool exhaustive;           // every failure point, or a spread
    bool slow = false;         // waits out an erase: a narrower spread
    Bytes before = {};         // writes: the cartridge before the job
    QStringList cli = {};      // the same job as zelvo3-cli's command line
    bool firstOfType = false;  // the first job of its type: it meets the boards not to use
};

using PutFile = std::function<std::string(const Bytes&, const std::string&)>;
std::vector<MatrixJob> matrix_jobs(const PutFile& put);

struct Tally {
    int cases = 0, held = 0;
    QStringList broken;
};

class FaultMatrix : public ::testing::Test {
protected:
    std::string put(const Bytes& data, const std::string& name) {
        write_file(dir.file(name), data);
        return dir.file(name);
    }

    // The operations the board served for one fault-free run of the job.
    int64_t operations_of(const MatrixJob& j) {
        std::vector<std::string> args = j.board;
        MountedBoard board(args);
        if (!board.mounted()) return -1;
        run_case(j, board, "count");
        board.unmount();
        std::ifstream notes(board.file("raw.log.txt"));
        int64_t n = -1;
        for (std::string line; std::getline(notes, line);)
            if (line.rfind("operations ", 0) == 0) n = std::stoll(line.substr(11));
        return n;
    }

    // Runs one job against a mounted board; true when everything held.
    // prepare changes the job record before it starts; after runs when it ended.
    bool run_case(const MatrixJob& j, MountedBoard& board, const std::string& label,
                  bool pulledOut = false, const std::function<void(FamicomThread&)>& prepare = {},
                  const std::function<void()>& after = {}) {
        const bool writes = job_reads_input(j.type);
        const std::string out = dir.file("out.bin");
        const bool existing = !writes && label.size() % 2 == 0;  // half the cases, either way
        QFile::remove(QString::fromStdString(out));
        if (existing) write_file(out, kExisting);
        FamicomThread job;
        job.m_type = j.type;
        job.m_script = QString(MAPPER_DIR "/") + j.script;
        job.m_file = QString::fromStdString(writes ? put(j.input, "in.bin") : out);
        job.m_rom_size = j.romSize;
        job.m_ram_size = j.ramSize;
        job.m_ram_type = j.ramType;
        job.m_flash16 = j.flash16;
        job.m_verify = j.verify;
        job.m_erase_limit_ms = 5000;
        job.m_backup_folder = QString::fromStdString(dir.file("backups"));
        QStringList log;
        QObject::connect(&job, &FamicomThread::log, [&log](const QString& line) { log << line; });
        if (prepare) prepare(job);
        std::packaged_task<bool()> task([&job] { return job.execute(); });
        std::future<bool> result = task.get_future();
        std::thread runner(std::move(task));
        if (result.wait_for(std::chrono::milliseconds(kHangMs)) != std::future_status::ready) {
            std::fprintf(stderr, "fault matrix: %s %s hangs\n", j.name.c_str(), label.c_str());
            std::abort();  // the job thread cannot be stopped from here
        }
        const bool ok = result.get();
        runner.join();
        if (after) after();
        lastOk = ok;
        lastFileFault = job.m_file_fault;
        lastFailure = job.m_failure;

        QString broken;
        const QStringList left = QDir(QString::fromStdString(dir.path())).entryList(QDir::Files);
        if (!left.filter(".out.bin").isEmpty() || !left.filter("out.bin.").isEmpty())
            broken = "a temporary output file was left behind";
        if (writes && pulledOut) {
            // A board pulled out writes no cartridge out: only the job's own outcome counts.
        } else if (writes) {
            board.unmount();
            if (ok && read_file(dir.file("cartridge.out")) != j.expected)
                broken = "success, but the cartridge holds something else";
        } else if (ok && read_file(out) != j.expected) {
            broken = "success, but the file differs";
        } else if (!ok && existing && read_file(out) != kExisting) {
            broken = "the existing output file was changed";
        } else if (!ok && !existing && QFile::exists(QString::fromStdString(out))) {
            broken = "a partial output file appeared";
        }
        if (!ok && job.m_failure.isEmpty()) broken = "failed without a reason";
        return tally_case(j, board, label, broken, log);
    }

    bool tally_case(const MatrixJob& j, MountedBoard& board, const std::string& label,
                    const QString& broken, const QStringList& log) {
        ++tally.cases;
        if (broken.isEmpty()) {
            ++tally.held;
            return true;
        }
        std::ifstream notes(board.file("raw.log.txt"));
        std::string text((std::istreambuf_iterator<char>(notes)), {});
        tally.broken << QString::fromStdString(j.name + " " + label + ": ") + broken + "\n  " +
                            log.join("\n  ") + QString::fromStdString("\n" + text);
        return false;
    }

    void run_matrix(const MatrixJob& j) {
        SCOPED_TRACE(j.name);
        std::vector<std::string> base = j.board;
        if (j.cartridgeOut) base.insert(base.end(), {j.cartridgeOut, dir.file("cartridge.out")});
        MatrixJob withOut = j;
        withOut.board = base;
        const int64_t total = operations_of(withOut);
        ASSERT_GT(total, 0) << "the fault-free run counted no operations";
        std::vector<int64_t> points;
        if (j.exhaustive) {
            for (int64_t n = 0; n <= total + 1; ++n) points.push_back(n);
        } else {
            const int spread = j.slow ? kSlowSpread : kSpread;
            for (int k = 0; k <= spread; ++k) points.push_back(total * k / spread);
            points.push_back(total + 1);
        }
        for (const int64_t n : points) {
            std::vector<std::string> args = base;
            args.insert(args.end(), {"--fail-after", std::to_string(n)});
            MountedBoard board(args);
            ASSERT_TRUE(board.mounted());
            run_case(withOut, board, "failing after " + std::to_string(n));
        }
        // A slow board, a volume without O_DIRECT, and one pulled out mid-transfer.
        for (const char* option : {"--latency", "--refuse-direct"}) {
            std::vector<std::string> args = base;
            args.push_back(option);
            if (std::string(option) == "--latency") args.push_back("2");
            MountedBoard board(args);
            ASSERT_TRUE(board.mounted());
            EXPECT_TRUE(run_case(withOut, board, option));
        }
        // Pulled out halfway: the board and its files are gone from then on.
        std::vector<std::string> args = base;
        args.insert(args.end(), {"--vanish-after", std::to_string(total / 2)});
        MountedBoard board(args);
        ASSERT_TRUE(board.mounted());
        run_case(withOut, board, "pulled out", true);
        board.unmount();
        another_board_beside(withOut);
        lock_taken_mid_job(withOut);
        // The board is refused at its claim, before anything of the job: once
        // for each kind of job is enough.
        if (j.firstOfType) boards_not_to_use(withOut);
        if (j.type == kJobGbFlash && !j.cli.isEmpty()) mask_rom_to_flash(j);
        if (job_reads_input(j.type)) input_that_grows(withOut);
        closed_output_pipe(withOut);
    }

    // A second board beside the job's: the job keeps to the one it claimed.
    void another_board_beside(const MatrixJob& j) {
        const std::string volumes = dir.file("volumes");
        MountedBoard board(j.board, "ZELVO", volumes);
        MountedBoard other(j.board, "OTHER", volumes);
        ASSERT_TRUE(board.mounted() && other.mounted());
        run_case(j, board, "beside another board", false, [](FamicomThread& job) {
            job.m_claim = std::make_unique<usb::BoardClaim>("ZELVO");
        });
        other.unmount();
        if (!other.command_writes().empty())
            tally_case(j, other, "beside another board", "the other board got commands", {});
    }

    // Another program reaches for the board's lock when the job enters its bus mode.
    void lock_taken_mid_job(const MatrixJob& j) {
        int root = -1;
        bool taken = false;
        BoardPauses pauses(dir, [&](const std::string&) {
            taken = flock(root, LOCK_EX | LOCK_NB) == 0;
            close(root);  // the board must unmount when the job is done
        });
        std::vector<std::string> args = j.board;
        for (const std::string& a : pauses.args({job_is_gba(j.type) ? "f003:1" : "f002:1"}))
            args.push_back(a);
        MountedBoard board(args);
        ASSERT_TRUE(board.mounted());
        root = open(board.mountpoint().c_str(), O_RDONLY | O_DIRECTORY);
        run_case(j, board, "lock taken mid-job");
        if (taken) tally_case(j, board, "lock taken mid-job", "another program took the lock", {});
    }

    // A board another program holds a file of, one without a firmware label,
    // and a folder shaped like a board whose CMD.CMD is a pipe: the job is
    // refused, says why, and touches nothing.
    void boards_not_to_use(const MatrixJob& j) {
        const auto refused = [&](MountedBoard& board, const std::string& label, const char* why,
                                 const std::function<void()>& after = {}) {
            const bool held = run_case(j, board, label, false, {}, after);
            if (held && (lastOk || !lastFailure.contains(why)))
                tally_case(j, board, label, "not refused: " + lastFailure, {});
            if (held && j.cartridgeOut && read_file(dir.file("cartridge.out")) != j.before)
                tally_case(j, board, label, "the cartridge changed", {});
        };
        for (const char* file : {proto::kCommandFile, proto::kIdentFile, proto::kDataFile}) {
            MountedBoard board(j.board);
            ASSERT_TRUE(board.mounted());
            const int fd = open((board.mountpoint() + "/" + file).c_str(), O_RDONLY);
            ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
            refused(board, std::string(file) + " held by another program",
                    "in use by another program", [fd] { close(fd); });
        }
        std::vector<std::string> args = j.board;
        args.insert(args.end(), {"--label", ""});
        MountedBoard unlabelled(args);
        ASSERT_TRUE(unlabelled.mounted());
        refused(unlabelled, "no firmware label", "no firmware label");

        const std::string stick = dir.file("fifo-volumes/STICK");
        std::filesystem::create_directories(stick);
        Bytes ident(proto::kIdentFileSize, 0);
        std::memcpy(&ident[proto::kIdentRecordOffset], "QRV_PCB02_FW303", 15);
        write_file(stick + "/" + proto::kIdentFile, ident);
        write_file(stick + "/" + proto::kDataFile, Bytes(0x10000, 0));
        mkfifo((stick + "/" + proto::kCommandFile).c_str(), 0600);
        MountedBoard board(j.board);
        ASSERT_TRUE(board.mounted());
        const ScopedEnv volumes("ZELVO_VOLUMES", dir.file("fifo-volumes"));
        refused(board, "CMD.CMD a pipe", "CMD.CMD there is not a regular file");
    }

    // The input grows after the launch checked it: refused, the cartridge as it was.
    void input_that_grows(const MatrixJob& j) {
        MountedBoard board(j.board);
        ASSERT_TRUE(board.mounted());
        run_case(j, board, "input grows", false, [&j](FamicomThread& job) {
            job.m_rom_limit = uint32_t(j.input.size());
            Bytes grown = j.input;
            grown.resize(grown.size() + 100, 0x42);
            write_file(job.m_file.toStdString(), grown);
        });
        if (lastOk || !lastFileFault)
            tally_case(j, board, "input grows", "a grown input was not refused as a bad file", {});
        else if (read_file(dir.file("cartridge.out")) != j.before)
            tally_case(j, board, "input grows", "the cartridge changed", {});
    }

    // Runs zelvo3-cli; its wait status. Its standard output goes to a pipe
    // nobody reads (closedOutput) or to the file log.
    int cli_status(const QStringList& args, bool closedOutput) {
        int pipes[2];
        if (pipe(pipes) != 0) return -1;
        close(pipes[0]);
        const std::string log = dir.file("cli.log");
        const pid_t pid = fork();
        if (pid == 0) {
            const int to =
                closedOutput ? pipes[1] : open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(to, STDOUT_FILENO);
            dup2(closedOutput ? open("/dev/null", O_WRONLY) : to, STDERR_FILENO);
            std::vector<std::string> words;
            for (const QString& a : args) words.push_back(a.toStdString());
            std::vector<char*> argv{const_cast<char*>(CLI_PATH)};
            for (std::string& w : words) argv.push_back(w.data());
            argv.push_back(nullptr);
            execv(CLI_PATH, argv.data());
            _exit(127);
        }
        close(pipes[1]);
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    }

    // A cartridge of mask ROM given to FLASH: refused at once, nothing erased.
    void mask_rom_to_flash(const MatrixJob& j) {
        MountedBoard board({"--gb", put(romgen::gb_image(0x1B, 2, 0), "mask.gb")});
        ASSERT_TRUE(board.mounted());
        QStringList args = j.cli;
        args.insert(1, QString::fromStdString(put(j.input, "cli.in")));
        const int status = cli_status(args, false);
        board.unmount();
        const Bytes log = read_file(dir.file("cli.log"));
        QString broken;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 1)
            broken = QString("zelvo3-cli ended with status %1").arg(status);
        else if (!QByteArray(reinterpret_cast<const char*>(log.data()), int(log.size()))
                      .contains("it has no flash chip"))
            broken = "not refused as no flash cartridge";
        tally_case(j, board, "a mask-ROM cartridge", broken, {});
    }

    // zelvo3-cli runs the job with its standard output a pipe nobody reads.
    void closed_output_pipe(const MatrixJob& j) {
        if (j.cli.isEmpty()) return;
        MountedBoard board(j.board);
        ASSERT_TRUE(board.mounted());
        const bool writes = job_reads_input(j.type);
        const std::string out = dir.file("cli.out");
        std::remove(out.c_str());
        QStringList args = j.cli;
        args.insert(1, QString::fromStdString(writes ? put(j.input, "cli.in") : out));
        const int status = cli_status(args, true);
        board.unmount();
        QString broken;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            broken = QString("zelvo3-cli ended with status %1").arg(status);
        else if (read_file(writes ? dir.file("cartridge.out") : out) != j.expected)
            broken = "success, but the result differs";
        tally_case(j, board, "closed output pipe", broken, {});
    }

    TempDir dir;
    bool lastOk = false, lastFileFault = false;  // of the last job run_case ran
    QString lastFailure;
    Tally tally;
};

// Every job of the matrix, its cartridge and save files written by put.
std::vector<MatrixJob> matrix_jobs(const PutFile& put) {
    const Bytes gb64k = romgen::gb_image(0x1B, 1, 1), gb1m = romgen::gb_image(0x1B, 5, 1);
    const Bytes gba1m = romgen::gba_image(0x100000, "ZTST"),
                gba8m = romgen::gba_image(0x800000, "ZTST");
    const Bytes flash = romgen::pattern(0x10000, 3);
    std::vector<MatrixJob> jobs = {
        {"GB dump 64 KiB",
         {"--gb", put(gb64k, "gb64k.gb")},
         kJobGbDump,
         "gb_mbc5.nut",
         0x10000,
         0,
         0,
         0,
         false,
         {},
         gb64k,
         nullptr,
         true,
         false,
         {},
         {"dump-rom", "--system", "gb", "--mbc", "mbc5", "--rom-size", "64K"}},
        {"GB dump 1 MiB",
         {"--gb", put(gb1m, "gb1m.gb")},
         kJobGbDump,
         "gb_mbc5.nut",
         0x100000,
         0,
         0,
         0,
         true,
         {},
         gb1m,
         nullptr,
         false,
         false,
         {},
         {"dump-rom", "--system", "gb", "--mbc", "mbc5", "--rom-size", "1M", "--verify"}},
        {"GBA dump 1 MiB",
         {"--gba", put(gba1m, "gba1m.gba")},
         kJobGbaDump,
         "gba.nut",
         0x100000,
         0,
         0,
         0,
         true,
         {},
         gba1m,
         nullptr,
         true,
         false,
         {},
         {"dump-rom", "--system", "gba", "--rom-size", "1M", "--verify"}},
        {"GBA dump 8 MiB",
         {"--gba", put(gba8m, "gba8m.gba")},
         kJobGbaDump,
         "gba.nut",
         0x800000,
         0,
         0,
         0,
         false,
         {},
         gba8m,
         nullptr,
         false,
         false,
         {},
         {"dump-rom", "--system", "gba", "--rom-size", "8M"}},
    };
    const Bytes gbSave = romgen::pattern(0x2000, 4), gbNext = romgen::pattern(0x2000, 5);
    const std::string gbSaveFile = put(gbSave, "gb.sav");
    jobs.push_back({"GB save read",
                    {"--gb", put(gb64k, "gbs.gb"), "--save", gbSaveFile},
                    kJobGbSaveRead,
                    "gb_mbc5.nut",
                    0x10000,
                    0x2000,
                    0,
                    0,
                    false,
                    {},
                    gbSave,
                    nullptr,
                    true,
                    false,
                    {},
                    {"read-save", "--system", "gb", "--mbc", "mbc5", "--ram-size", "8K"}});
    for (const bool verify : {false, true})
        jobs.push_back({std::string("GB save write") + (verify ? ", verify" : ""),
                        {"--gb", put(gb64k, "gbw.gb"), "--save", gbSaveFile},
                        kJobGbSaveWrite,
                        "gb_mbc5.nut",
                        0x10000,
                        0x2000,
                        0,
                        0,
                        verify,
                        gbNext,
                        gbNext,
                        "--save-out",
                        true,
                        false,
                        gbSave,
                        QStringList{"write-save", "--system", "gb", "--mbc", "mbc5", "--ram-size",
                                    "8K", "--no-backup"}
                            << (verify ? QStringList{"--verify"} : QStringList{})});
    for (const auto& k : kGbaSaveKinds) {
        const Bytes held = romgen::pattern(k.size, 6), next = romgen::pattern(k.size, 7);
        const std::vector<std::string> board = {
            "--gba",      put(gba1m, "s.gba"),
            "--gba-save", k.kind,
            "--save",     put(held, std::string(k.kind) + ".sav"),
            "--erase-ms", "50"};
        const bool flashKind = k.type == 1;  // each run waits out an erase
        const QStringList kind = {"--system",    "gba",
                                  "--save-type", QStringList{"sram", "flash", "eep"}[int(k.type)],
                                  "--ram-size",  QString::number(k.size)};
        jobs.push_back({std::string("GBA save read ") + k.kind,
                        board,
                        kJobGbaSaveRead,
                        "gba.nut",
                        0x100000,
                        k.size,
                        k.type,
                        0,
                        false,
                        {},
                        held,
                        nullptr,
                        !flashKind,
                        false,
                        {},
                        QStringList{"read-save"} + kind});
        jobs.push_back({std::string("GBA save write ") + k.kind, board, kJobGbaSaveWrite, "gba.nut",
                        0x100000, k.size, k.type, 0, true, next, next, "--save-out", false,
                        flashKind, held,
                        QStringList{"write-save"} + kind + QStringList{"--no-backup", "--verify"}});
    }
    for (const int wiring : {8, 16})
        for (const bool verify : {false, true})
            jobs.push_back({"flash " + std::to_string(wiring) + "-bit" + (verify ? ", verify" : ""),
                            {"--flash", "0x10000", "--flash-wiring", std::to_string(wiring),
                             "--erase-ms", "50"},
                            kJobGbFlash,
                            "gb_mbc5.nut",
                            0,
                            0,
                            0,
                            uint32_t(wiring == 16),
                            verify,
                            flash,
                            flash,
                            "--flash-out",
                            false,
                            true,
                            Bytes(0x10000, 0xFF),
                            QStringList{"flash-rom", "--system", "gb", "--mbc", "mbc5"}
                                << (verify ? QStringList{"--verify"} : QStringList{})});
    std::set<uint32_t> types;
    for (MatrixJob& j : jobs) j.firstOfType = types.insert(j.type).second;
    return jobs;
}

std::vector<std::string> matrix_job_names() {
    std::vector<std::string> names;
    for (const MatrixJob& j :
         matrix_jobs([](const Bytes&, const std::string& name) { return name; }))
        names.push_back(j.name);
    return names;
}

// One case per job, so that a failure names its job and CTest spreads the
// jobs over the cores: each at every failure point (or a spread of them), on
// a slow board, one without O_DIRECT, one pulled out, beside another board,
// with its lock taken, and from the command line.
class FaultMatrixJob : public FaultMatrix, public ::testing::WithParamInterface<std::string> {};

TEST_P(FaultMatrixJob, HoldsAtEveryFailurePoint) {
    REQUIRE_FUSE();
    for (const MatrixJob& j :
         matrix_jobs([this](const Bytes&b, const std::string&n) { return put(b, n); })) {
        if (j.name != GetParam()) continue;
        run_matrix(j);
        std::printf("fault matrix: %s, %d cases run, %d held\n", j.name.c_str(), tally.cases,
                    tally.held);
    }
    EXPECT_GT(tally.cases, 0);
    EXPECT_EQ(tally.held, tally.cases) << tally.broken.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Jobs, FaultMatrixJob, ::testing::ValuesIn(matrix_job_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
