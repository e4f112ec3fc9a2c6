// The script wrapper and the native cartridge functions, on a real interpreter
// driving the virtual board.
#include "script/script.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <future>
#include <thread>

#include "cart/bus.h"
#include "device/usb.h"
#include "jobs/famicom_thread.h"
#include "romgen.h"
#include "support/mounted_board.h"

using testing_support::TempDir;
using Bytes = std::vector<uint8_t>;

namespace {

// A job whose log lines are collected as they are emitted.
struct Job {
    Job() {
        QObject::connect(&thread, &FamicomThread::log, [this](const QString& s) {
            lines << s;
            if (s == "Start dump rom..." && !said) started.set_value(), said = true;
        });
        QObject::connect(&thread, &FamicomThread::set_progress,
                         [this](int ile, int max) { progress.emplace_back(ile, max); });
    }
    FamicomThread thread;
    QStringList lines;
    std::promise<void> started;  // the stage began a dump
    bool said = false;
    std::vector<std::pair<int, int>> progress;
};

class Script : public ::testing::Test {
protected:
    void SetUp() override { v = qr_open(&job.thread); }
    void TearDown() override { qr_close(v); }
    // Runs source as a script file; true when it ran without error.
    bool run(const std::string& source) {
        const std::string path = dir.file("s" + std::to_string(++count) + ".nut");
        testing_support::write_file(path, Bytes(source.begin(), source.end()));
        return SQ_SUCCEEDED(sqstd_dofile(v, path.c_str(), SQFalse, SQTrue));
    }
    bool log_has(const QString& text) const {
        for (const QString& line : job.lines)
            if (line.contains(text)) return true;
        return false;
    }
    Job job;
    HSQUIRRELVM v = nullptr;
    TempDir dir;
    int count = 0;
};

TEST_F(Script, CallsKeepTheStackAndReportFailures) {
    ASSERT_TRUE(
        run("function two(d, a, b) { print(\"got \" + a + \" \" + b); }\n"
            "function one(d) {}\n"));
    const SQInteger top = sq_gettop(v);
    EXPECT_EQ(qr_call(v, "two", &job.thread, 2, int64_t(1048576), int64_t(0xFFFFFFFF)), 0);
    EXPECT_TRUE(log_has("got 1048576 4294967295")) << "widened without sign extension";
    EXPECT_EQ(qr_call(v, "missing", &job.thread, 2, int64_t(1), int64_t(2)), -1);
    EXPECT_LT(qr_call(v, "one", &job.thread, 2, int64_t(1), int64_t(2)), 0);
    EXPECT_TRUE(log_has("wrong number of parameters"));
    EXPECT_EQ(sq_gettop(v), top);
}

TEST_F(Script, OutputIsCutAndEveryPrintIsOneEntry) {
    job.lines.clear();
    ASSERT_TRUE(
        run("local s = \"\"; for (local i = 0; i < 1100; i++) s += \"x\";\n"
            "print(s); print(\"second\");\n"));
    ASSERT_EQ(job.lines.size(), 2);
    EXPECT_EQ(job.lines[0].size(), 1023);
    EXPECT_EQ(job.lines[1], "second");
    job.lines.clear();
    EXPECT_FALSE(run("throw \"broken on purpose\";"));
    EXPECT_GT(job.lines.size(), 1) << "the error handler's report comes as several entries";
    EXPECT_TRUE(log_has("broken on purpose"));
}

TEST_F(Script, ArgumentChecks) {
    qr_function_register_global(v, "rom_flash_cfg", real_gb_flash_cfg);
    EXPECT_FALSE(run("rom_flash_cfg(null, 1);"));
    EXPECT_TRUE(log_has("1st argument must be d (userpointer)"));
}

// Natives against a mounted board holding an MBC5 cartridge.
class Natives : public Script {
protected:
    void SetUp() override {
        Script::SetUp();
        REQUIRE_FUSE();
        rom = romgen::gb_image(0x1B, 3, 3);
        testing_support::write_file(dir.file("rom.gb"), rom);
        board = std::make_unique<testing_support::MountedBoard>(std::vector<std::string>{
            "--gb", dir.file("rom.gb"), "--save-out", dir.file("save.out")});
        ASSERT_TRUE(board->mounted());
        ASSERT_EQ(usb::open(), 1);
        ASSERT_GT(gb::f_gb_init(), 0u);
        buffer.assign(0x10000, 0xEE);
        job.thread.m_buffer = buffer.data();
        job.thread.m_buffer_size = uint32_t(buffer.size());
        job.thread.m_rom_size = 0x40000;
        job.thread.m_ram_size = 0x8000;
        for (auto [name, fn] : {std::pair{"cpu_read", real_gb_cpu_read},
                                {"cpu_write", real_gb_cpu_write},
                                {"ram_write", real_gb_ram_write}})
            qr_function_register_global(v, name, fn);
    }
    // Runs body inside function f(d) called with the job handle.
    bool call(const std::string& body) {
        if (!run("function f(d) { " + body + " }")) return false;
        return qr_call(v, "f", &job.thread, 0) >= 0;
    }
    Bytes rom, buffer;
    std::unique_ptr<testing_support::MountedBoard> board;
};

TEST_F(Natives, GbReadsStoreAtTheRunningTotalAndReportProgress) {
    job.thread.m_total = 0x100;
    ASSERT_TRUE(call("cpu_write(d, 0x2000, 3); cpu_read(d, 0x4000, 0x4000);"));
    EXPECT_EQ(Bytes(buffer.begin() + 0x100, buffer.begin() + 0x4100),
              Bytes(rom.begin() + 3 * 0x4000, rom.begin() + 4 * 0x4000));
    EXPECT_EQ(buffer[0xFF], 0xEE);
    EXPECT_EQ(job.thread.m_total, 0x4100);
    ASSERT_FALSE(job.progress.empty());
    EXPECT_EQ(job.progress.back(), std::make_pair(0x4100, 0x40000));
    // Address and length are taken to 16 bits: 0x10000 asks for nothing.
    ASSERT_TRUE(call("cpu_read(d, 0x10000, 0x10000);"));
    EXPECT_EQ(job.thread.m_total, 0x4100);
    job.thread.m_type = kJobGbSaveRead;
    ASSERT_TRUE(call("cpu_read(d, 0x14000, 0x10);"));
    EXPECT_EQ(job.progress.back(), std::make_pair(0x4110, 0x8000)) << "a save read counts the save";
}

TEST_F(Natives, TransfersStayInsideTheBuffer) {
    job.thread.m_total = 0xFF00;
    EXPECT_FALSE(call("cpu_read(d, 0, 0x200);"));
    EXPECT_TRUE(log_has("buffer range error"));
    job.thread.m_total = -1;
    EXPECT_FALSE(call("cpu_read(d, 0, 1);"));
    EXPECT_EQ(buffer.back(), 0xEE);
    job.thread.m_total = 0;
    job.thread.canceled();
    job.lines.clear();
    EXPECT_FALSE(call("cpu_read(d, 0, 1);"));
    sq_getlasterror(v);
    const SQChar* error = nullptr;
    ASSERT_TRUE(SQ_SUCCEEDED(sq_getstring(v, -1, &error)));
    EXPECT_STREQ(error, "canceled");
    sq_pop(v, 1);
    EXPECT_FALSE(log_has("CALLSTACK")) << "a canceled job shows no call stack";
    EXPECT_TRUE(call("cpu_write(d, 0x0000, 0x00);")) << "a script can still disable RAM";
}

TEST_F(Natives, WritePairsAndTheRamWindow) {
    EXPECT_FALSE(call("cpu_write(d, 0x2000);"));
    EXPECT_TRUE(log_has("argument number error"));
    EXPECT_FALSE(call("cpu_write(d, 0x2000, \"x\");"));
    EXPECT_TRUE(log_has("argument type error"));
    // A trailing lone value is ignored; of ten pairs only the first eight are sent.
    ASSERT_TRUE(call("cpu_write(d, 0x2000, 1, 0x4000);"));
    ASSERT_TRUE(call(
        "cpu_write(d, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 0x2000, 9, 0x2000, 9);"));
    for (int i = 0; i < 0x20; ++i) buffer[i] = uint8_t(0x40 + i);
    job.thread.m_total = 0;
    // 0x10 lands at 0xA010; with bit 14 set as well it lands 0x4000 higher, outside the RAM.
    ASSERT_TRUE(
        call("cpu_write(d, 0x0000, 0x0A, 0x4000, 0); ram_write(d, 0x10, 0x10);"
             "ram_write(d, 0x4010, 0x10); cpu_write(d, 0x0000, 0x00);"));
    EXPECT_EQ(job.thread.m_total, 0x20);
    board->unmount();
    const Bytes save = testing_support::read_file(dir.file("save.out"));
    ASSERT_EQ(save.size(), 0x8000u);
    EXPECT_EQ(Bytes(save.begin() + 0x10, save.begin() + 0x20),
              Bytes(buffer.begin(), buffer.begin() + 0x10));
    EXPECT_EQ(save[0x20], 0xFF);
}

TEST_F(Natives, GbaReadsAreCappedAt1MiB) {
    board.reset();
    Bytes image = romgen::gba_image(0x200000, "ZTST");
    testing_support::write_file(dir.file("rom.gba"), image);
    board = std::make_unique<testing_support::MountedBoard>(
        std::vector<std::string>{"--gba", dir.file("rom.gba")});
    ASSERT_EQ(usb::open(), 1);
    gb::f_gba_init();
    buffer.assign(0x200000, 0);
    job.thread.m_buffer = buffer.data();
    job.thread.m_buffer_size = uint32_t(buffer.size());
    job.thread.m_total = 0;
    qr_function_register_global(v, "cpu_read", real_gba_cpu_read);
    ASSERT_TRUE(call("cpu_read(d, 0, 0x200000);"));
    EXPECT_EQ(job.thread.m_total, 0x100000);
    ASSERT_TRUE(call("cpu_read(d, 0x80000, 0x100000);"));
    EXPECT_EQ(buffer, image);
    // The cap applies before the range check: 1 MiB fits a 1 MiB buffer.
    job.thread.m_buffer_size = 0x100000;
    job.thread.m_total = 0;
    EXPECT_TRUE(call("cpu_read(d, 0, 0x200000);"));
    EXPECT_EQ(job.thread.m_total, 0x100000);
}

TEST_F(Script, CancelStopsAScriptThatNeverCallsANative) {
    const std::string runaways[] = {
        "function cpu_dump(d, a, b) {\n  local n = 0;\n  while (true)\n    n++;\n}",
        "function deeper(n) { return deeper(n + 1) + 1; }\n"
        "function cpu_dump(d, a, b) { deeper(0); }",
        "function cpu_dump(d, a, b) {\n  local all = [];\n  while (true)\n    "
        "all.append(array(64));\n}",
        // Loops on one line: the interpreter reports no new line while they turn.
        "function cpu_dump(d, a, b) { while (true) {} }",
        "function cpu_dump(d, a, b) { for (;;); }",
        "function cpu_dump(d, a, b) { do {} while (1) }",
        "function cpu_dump(d, a, b) { local s = \"\"; while (1) s += \"x\"; }",
        // Scripts that catch the cancel: it comes again, or the stage fails anyway.
        "function cpu_dump(d, a, b) { while (true) { try { while (true) {} } catch (e) {} } }",
        "function cpu_dump(d, a, b) { try { while (true) {} } catch (e) {} }"};
    for (const std::string& source : runaways) {
        SCOPED_TRACE(source);
        const std::string path = dir.file("runaway.nut");
        testing_support::write_file(path, Bytes(source.begin(), source.end()));
        Job runaway;
        runaway.thread.m_type = kJobGbDump;
        runaway.thread.m_script = QString::fromStdString(path);
        std::packaged_task<bool()> task(
            [&runaway] { return script_dump_execute(&runaway.thread); });
        std::future<bool> result = task.get_future();
        std::thread stage(std::move(task));
        // Cancel once the script runs (the stage says so first).
        ASSERT_TRUE(runaway.started.get_future().wait_for(std::chrono::seconds(30)) ==
                    std::future_status::ready);
        const auto canceledAt = std::chrono::steady_clock::now();
        runaway.thread.canceled();
        const bool stopped = result.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        std::printf("stopped %lld ms after Cancel\n",
                    (long long)std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - canceledAt)
                        .count());
        if (!stopped) std::abort();  // a thread stuck for ever: nothing else can end it
        const bool ok = result.get();
        stage.join();
        EXPECT_FALSE(ok);
        EXPECT_EQ(runaway.thread.m_failure, "canceled");
        EXPECT_TRUE(runaway.lines.contains(
            "The mapper script did not stop by itself and was stopped: the job was canceled."));
    }
}

TEST_F(Script, GuardedLoopsRunAsWrittenAndLinesKeepTheirNumbers) {
    // Each script prints what its loops computed; headers that only look like
    // loops (in texts and comments) are left alone.
    const struct {
        const char* source;
        const char* printed;
    } cases[] = {
        {"local n = 0; while (n < 5) n++; print(n);", "5"},
        {"local n = 0, m = 0; while ((m++, n < 3)) n++; print(n + \":\" + m);", "3:4"},
        {"local n = 0; do { n += 2; } while (n < 7); print(n);", "8"},
        {"local t = 0; for (local i = 0; i < 4; i++) for (local j = 0; j < i; j++) t++; print(t);",
         "6"},
        {"local n = 0; for (;;) { if (++n == 3) break; } print(n);", "3"},
        {"local s = \"while (x) for (;;)\"; /* while (y) */ // for (;;)\nprint(s);",
         "while (x) for (;;)"},
        {"local s = @\"a \"\"while(1)\"\" b\"; print(s);", "a \"while(1)\" b"},
        {"local f = function(k) { local n = 0; while (n < k) n++; return n; };\n"
         "local c = 0; while (f(c) < 2) c++; print(c);",
         "2"},
        {"local f = @(a, b) a ? b : -b; local g = @() 7; print(f(true, 2) + f(null, 3) + g());",
         "6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        job.lines.clear();
        const std::string path = dir.file("guarded.nut");
        testing_support::write_file(path, Bytes(c.source, c.source + std::strlen(c.source)));
        job.thread.m_script = QString::fromStdString(path);
        job.thread.m_type = kJobGbDump;
        script_dump_execute(&job.thread);
        ASSERT_FALSE(job.lines.isEmpty());
        EXPECT_EQ(job.lines.first(), c.printed);
    }
    // A run-time error after loops names the line it is on in the file.
    const char* failing = "while (false) {}\nfor (;false;) {}\n\nlocal x = null + 1;\n";
    const std::string path = dir.file("failing.nut");
    testing_support::write_file(path, Bytes(failing, failing + std::strlen(failing)));
    job.thread.m_script = QString::fromStdString(path);
    job.lines.clear();
    EXPECT_FALSE(script_dump_execute(&job.thread));
    EXPECT_TRUE(log_has("failing.nut line [4]")) << job.lines.join('|').toStdString();
}

// A script runs guarded or not at all: compiled code and NUL bytes are
// refused, and the io library is not there to write files with.
TEST_F(Script, OnlyGuardedTextRuns) {
    const struct {
        std::string source;
        const char* says;
    } cases[] = {
        {std::string("\xFA\xFASQIR\0\0", 8), "holds a NUL byte or compiled code"},
        {std::string("print(1);\0print(2);", 19), "holds a NUL byte or compiled code"},
        {"function cpu_dump(d, a, b) { local f = file(\"/tmp/x\", \"w\"); }", "file"},
        {"function cpu_dump(d, a, b) { writeclosuretofile(\"/tmp/x\", cpu_dump); }",
         "writeclosuretofile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const std::string path = dir.file("refused.nut");
        testing_support::write_file(path, Bytes(c.source.begin(), c.source.end()));
        job.thread.m_script = QString::fromStdString(path);
        job.thread.m_type = kJobGbDump;
        job.thread.m_failure.clear();
        EXPECT_FALSE(script_dump_execute(&job.thread));
        EXPECT_TRUE(job.thread.m_failure.contains(c.says) || log_has(c.says))
            << job.thread.m_failure.toStdString() << job.lines.join('|').toStdString();
    }
}

TEST(Waits, SleepRatherThanSpin) {
    const clockid_t clock = CLOCK_THREAD_CPUTIME_ID;
    timespec start{}, end{};
    clock_gettime(clock, &start);
    QSleep(300);
    clock_gettime(clock, &end);
    const double cpuMs = (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 100) << "a wait of 300 ms kept the core busy";
}

}  // namespace
