// The cartridges beyond the common controllers, on the virtual board: the
// clocks that travel after a save (GBA, HuC-3, TAMA5), MBC1 multicarts and
// MBC2 saves in mGBA's packed form; mGBA itself judges the GBA clock save.
// clang-format off
#include <mgba/flags.h>  // first: makes struct mCore match the library
#include <mgba/core/core.h>
#include <mgba/core/log.h>
#include <mgba/gba/core.h>
#include <mgba-util/vfs.h>
#include <mgba/internal/gba/gba.h>
#include <mgba/internal/gba/overrides.h>
// clang-format on

#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>
#include <ctime>

#include "device/protocol.h"
#include "jobs/clock_trailer.h"
#include "jobs/famicom_thread.h"
#include "jobs/info_report.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace testing_support;

constexpr int64_t kBoardTime = 1700000000;  // 2023-11-14 22:13:20 UTC, a Tuesday

struct Job {
    uint32_t type;
    std::string script;
    uint32_t romSize, ramSize, ramType = 0;
    uint8_t saveMask = 0xFF;
};

class Cartridges : public ::testing::Test {
protected:
    // The clocks show UTC on both sides (mGBA's clock reads the local time).
    Cartridges() : utc("TZ", "UTC") { tzset(); }
    ~Cartridges() override { tzset(); }

    bool run(const Job& j, uint32_t type, const std::string& file) {
        FamicomThread job;
        QObject::connect(&job, &FamicomThread::log, [this](const QString& s) { log << s; });
        job.m_type = type;
        job.m_script = QString::fromStdString(MAPPER_DIR "/" + j.script);
        job.m_file = QString::fromStdString(file);
        job.m_rom_size = j.romSize;
        job.m_ram_size = j.ramSize;
        job.m_ram_type = j.ramType;
        job.m_save_mask = j.saveMask;
        job.m_backup_folder = QString::fromStdString(dir.file("backups"));
        const bool ok = job.execute();
        if (!ok) ADD_FAILURE() << log.join("\n").toStdString();
        return ok;
    }
    std::string put(const Bytes& data, const std::string& name) {
        write_file(dir.file(name), data);
        return dir.file(name);
    }
    bool logged(const QString& part) const {
        return std::any_of(log.begin(), log.end(),
                           [&](const QString& line) { return line.contains(part); });
    }

    ScopedEnv utc;
    TempDir dir;
    QStringList log;
};

struct ClockCase {
    const char* name;
    gb::ClockKind kind;
    Bytes rom;
    std::vector<std::string> board;  // after the image
    Job job;
    uint32_t writeType;
    const char* shown;   // the clock as the board was set
    const char* hourOn;  // an hour further (up to the seconds the jobs take)
};

// A read gives the save and the board's clock after it; a file from an hour
// ago sets the clock an hour further; a file without the clock leaves it.
TEST_F(Cartridges, ClocksTravelWithTheSave) {
    REQUIRE_FUSE();
    const std::string epoch = std::to_string(kBoardTime);
    const ClockCase cases[] = {
        {"GBA",
         gb::ClockKind::GbaRtc,
         romgen::gba_image(8 << 20, "BR4J"),
         {"--gba-save", "flash64", "--gba-rtc", epoch},
         {kJobGbaSaveRead, "gba.nut", 8 << 20, 0x10000, 1},
         kJobGbaSaveWrite,
         "2023-11-14 22:13:20",
         "2023-11-14 23:13:2"},
        {"HuC-3",
         gb::ClockKind::HuC3,
         romgen::gb_image(0xFE, 2, 3),
         {"--rtc", "677,291"},
         {kJobGbSaveRead, "gb_huc3.nut", 0x20000, 0x8000},
         kJobGbSaveWrite,
         "day 291, 11:17",
         "day 291, 12:17"},
        {"TAMA5",
         gb::ClockKind::Tama5,
         romgen::gb_image(0xFD, 2, 0),
         {"--rtc", epoch},
         {kJobGbSaveRead, "gb_tama5.nut", 0x20000, 32},
         kJobGbSaveWrite,
         "2023-11-14 22:13:20",
         "2023-11-14 23:13:2"},
    };
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t ram = c.job.ramSize;
        const Bytes held = romgen::pattern(ram, 3), next = romgen::pattern(ram, 4);
        std::vector<std::string> args = {c.kind == gb::ClockKind::GbaRtc ? "--gba" : "--gb",
                                         put(c.rom, "rom.bin"),
                                         "--save",
                                         put(held, "held.sav"),
                                         "--save-out",
                                         dir.file("model.sav")};
        args.insert(args.end(), c.board.begin(), c.board.end());
        const auto clock_of = [&](const std::string& file) {
            const Bytes data = read_file(file);
            ClockState state;
            EXPECT_TRUE(data.size() > ram &&
                        parse_clock_trailer(c.kind, data.data() + ram, data.size() - ram, &state));
            return clock_text(c.kind, state.regs).toStdString();
        };
        {
            MountedBoard board(args);
            ASSERT_TRUE(board.mounted());
            ASSERT_TRUE(run(c.job, c.job.type, dir.file("read.sav")));
            Bytes read = read_file(dir.file("read.sav"));
            EXPECT_EQ(clock_of(dir.file("read.sav")), c.shown);
            read.resize(ram);
            EXPECT_TRUE(read == held);

            // The same clock, saved an hour ago, with the next save before it.
            Bytes old = read_file(dir.file("read.sav"));
            std::copy(next.begin(), next.end(), old.begin());
            const int64_t hourAgo = QDateTime::currentSecsSinceEpoch() - 3600;
            for (int i = 0; i < 8; ++i) old[old.size() - 8 + i] = uint8_t(hourAgo >> (8 * i));
            ASSERT_TRUE(run(c.job, c.writeType, put(old, "old.sav")));
            ASSERT_TRUE(run(c.job, c.job.type, dir.file("later.sav")));
            EXPECT_EQ(clock_of(dir.file("later.sav")).substr(0, strlen(c.hourOn)), c.hourOn);

            log.clear();
            ASSERT_TRUE(run(c.job, c.writeType, put(held, "plain.sav")));
            EXPECT_TRUE(logged("carries no clock"));
            ASSERT_TRUE(run(c.job, c.job.type, dir.file("kept.sav")));
            EXPECT_EQ(clock_of(dir.file("kept.sav")).substr(0, strlen(c.hourOn)), c.hourOn);
        }
        EXPECT_TRUE(read_file(dir.file("model.sav")) == held);
    }
}

// mGBA writes a TAMA5 save whose clock the game never set with a trailer of
// no date: the RAM is written, and the cartridge's clock is left as it is.
TEST_F(Cartridges, ATama5SaveWithAnUnsetClockWritesItsRam) {
    REQUIRE_FUSE();
    const Job tama5 = {kJobGbSaveRead, "gb_tama5.nut", 0x20000, 32};
    const Bytes held = romgen::pattern(32, 3), next = romgen::pattern(32, 4);
    MountedBoard board({"--gb", put(romgen::gb_image(0xFD, 2, 0), "rom.gb"), "--save",
                        put(held, "held.sav"), "--save-out", dir.file("model.sav"), "--rtc",
                        std::to_string(kBoardTime)});
    ASSERT_TRUE(board.mounted());
    const uint8_t unset[gb::kMaxClockRegisters] = {};
    const QByteArray trailer = clock_trailer(gb::ClockKind::Tama5, unset, kBoardTime);
    Bytes file = next;
    file.insert(file.end(), trailer.begin(), trailer.end());
    ASSERT_EQ(file.size(), 72u);
    ASSERT_TRUE(run(tama5, kJobGbSaveWrite, put(file, "mgba.sav")));
    EXPECT_TRUE(logged("was never set by the game")) << log.join("\n").toStdString();
    ASSERT_TRUE(run(tama5, kJobGbSaveRead, dir.file("after.sav")));
    const Bytes after = read_file(dir.file("after.sav"));
    ASSERT_GT(after.size(), 32u);
    EXPECT_TRUE(Bytes(after.begin(), after.begin() + 32) == next);
    ClockState state;
    ASSERT_TRUE(
        parse_clock_trailer(gb::ClockKind::Tama5, after.data() + 32, after.size() - 32, &state));
    EXPECT_EQ(clock_text(gb::ClockKind::Tama5, state.regs).left(13), "2023-11-14 22");
}

// mGBA's GBA core, given the program's save of a clock cartridge, reads the
// clock the board was set to through its own GPIO port.
void silent(mLogger*, int, mLogLevel, const char*, va_list) {}
mLogger g_quiet = {silent, nullptr};

Bytes mgba_reads_clock(const Bytes& saveFile) {
    mLogSetDefaultLogger(&g_quiet);
    mCore* core = GBACoreCreate();
    if (!core || !core->init(core)) return {};
    mCoreInitConfig(core, nullptr);
    Bytes rom = romgen::gba_image(1 << 20, "ZCLK");
    Bytes save = saveFile;
    const auto at = [&](size_t i) { return uint64_t(save[save.size() - 8 + i]) << (8 * i); };
    int64_t latched = 0;
    for (size_t i = 0; i < 8; ++i) latched |= int64_t(at(i));
    core->rtc.override = RTC_FIXED;
    core->rtc.value = latched * 1000;  // the moment the save was written
    core->loadROM(core, VFileFromMemory(rom.data(), rom.size()));
    core->loadSave(core, VFileFromMemory(save.data(), save.size()));
    core->reset(core);
    GBACartridgeOverride override = {};
    std::copy_n("ZCLK", 4, override.id);
    override.savetype = SAVEDATA_FLASH512;
    override.hardware = HW_RTC;
    override.idleLoop = IDLE_LOOP_NONE;
    GBAOverrideApply(static_cast<GBA*>(core->board), &override);  // takes the save's clock

    const auto write = [&](uint16_t v) { core->busWrite16(core, 0x080000C4, v); };
    core->busWrite16(core, 0x080000C8, 1);
    core->busWrite16(core, 0x080000C6, 7);
    write(1);
    write(5);
    for (int i = 7; i >= 0; --i) {  // read date and time, most significant bit first
        const int bit = 0x65 >> i & 1;
        write(uint16_t(4 | bit << 1));
        write(uint16_t(5 | bit << 1));
    }
    core->busWrite16(core, 0x080000C6, 5);
    Bytes time;
    for (int n = 0; n < 7; ++n) {
        int value = 0;
        for (int i = 0; i < 8; ++i) {
            write(4);
            write(5);
            value |= (core->busRead16(core, 0x080000C4) >> 1 & 1) << i;
        }
        time.push_back(uint8_t(value));
    }
    write(1);
    core->busWrite16(core, 0x080000C8, 0);
    mCoreConfigDeinit(&core->config);
    core->deinit(core);
    return time;
}

TEST_F(Cartridges, MgbaReadsTheGbaClockOfTheSave) {
    REQUIRE_FUSE();
    MountedBoard board({"--gba", put(romgen::gba_image(8 << 20, "BR4J"), "rom.gba"), "--gba-save",
                        "flash64", "--gba-rtc", std::to_string(kBoardTime)});
    ASSERT_TRUE(board.mounted());
    ASSERT_TRUE(run({kJobGbaSaveRead, "gba.nut", 8 << 20, 0x10000, 1}, kJobGbaSaveRead,
                    dir.file("clock.sav")));
    // 2023-11-14, a Tuesday, 22:13:20.
    EXPECT_EQ(mgba_reads_clock(read_file(dir.file("clock.sav"))),
              Bytes({0x23, 0x11, 0x14, 0x02, 0x22, 0x13, 0x20}));
}

// mGBA writes MBC2 saves two half-bytes to a byte; such a file writes the
// same half-bytes, and the read gives them one to a byte.
TEST_F(Cartridges, PackedMbc2SavesAreUnpacked) {
    REQUIRE_FUSE();
    const Bytes packed = romgen::pattern(256, 9);
    Bytes bus(512);
    for (size_t i = 0; i < bus.size(); ++i)
        bus[i] = uint8_t(0xF0 | (i % 2 ? packed[i / 2] >> 4 : packed[i / 2] & 0x0F));
    const Job job{kJobGbSaveRead, "gb_mbc2.nut", 0x20000, 512, 0, 0x0F};
    {
        MountedBoard board({"--gb", put(romgen::gb_image(0x06, 2, 0), "rom.gb"), "--save-out",
                            dir.file("model.sav")});
        ASSERT_TRUE(board.mounted());
        ASSERT_TRUE(run(job, kJobGbSaveWrite, put(packed, "packed.sav")));
        EXPECT_TRUE(logged("two to a byte"));
        ASSERT_TRUE(run(job, kJobGbSaveRead, dir.file("read.sav")));
        EXPECT_TRUE(read_file(dir.file("read.sav")) == bus);
    }
    EXPECT_TRUE(read_file(dir.file("model.sav")) == bus);
}

// Four games' logos at 256 KiB steps: a dump follows the board's wiring, and
// the Info report names it.
TEST_F(Cartridges, Mbc1MulticartDumpsInItsOwnBankOrder) {
    REQUIRE_FUSE();
    const Bytes rom = romgen::gb_multicart();
    MountedBoard board({"--gb", put(rom, "multi.gb")});
    ASSERT_TRUE(board.mounted());
    ASSERT_TRUE(
        run({kJobGbDump, "gb_mbc1.nut", uint32_t(rom.size()), 0}, kJobGbDump, dir.file("dump.gb")));
    EXPECT_TRUE(read_file(dir.file("dump.gb")) == rom);
    EXPECT_TRUE(logged("MBC1 multicart"));

    QStringList report;
    ReportPanel panel;
    panel.setSysType = panel.setItem1 = panel.setItem2 = panel.setItem3 = [](int) {};
    run_info_report({[&](const QString& line) { report << line; }, [] {}}, panel);
    EXPECT_TRUE(report.contains("MBC1 multicart")) << report.join("\n").toStdString();
}

}  // namespace
