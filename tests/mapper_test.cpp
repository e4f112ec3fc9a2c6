// The mapper scripts, end to end: the job classes run them against every
// cartridge model of the virtual board through the real mount.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QStringList>

#include "jobs/famicom_thread.h"
#include "romgen.h"
#include "support/mounted_board.h"
#include "support/window_helpers.h"
#include "ui/console.h"
#include "ui/main_tab.h"
#include "ui/settings.h"

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

namespace {

struct Outcome {
    bool ok = false;
    QStringList log;
};

class Mapper : public ::testing::Test {
protected:
    Outcome run(uint32_t type, const char* script, const std::string& file, uint32_t romSize,
                uint32_t ramSize = 0, uint32_t ramType = 0, uint32_t flash16 = 0,
                bool verify = false) {
        FamicomThread job;
        Outcome out;
        QObject::connect(&job, &FamicomThread::log, [&out](const QString& s) { out.log << s; });
        job.m_type = type;
        job.m_script = script[0] == '/' ? QString(script) : QString(MAPPER_DIR "/") + script;
        job.m_file = QString::fromStdString(file);
        job.m_rom_size = romSize;
        job.m_ram_size = ramSize;
        job.m_ram_type = ramType;
        job.m_flash16 = flash16;
        job.m_verify = verify;
        out.ok = job.execute();
        return out;
    }
    std::string put(const Bytes& data, const std::string& name) {
        write_file(dir.file(name), data);
        return dir.file(name);
    }
    TempDir dir;
};

struct Controller {
    const char* name;
    uint8_t type;
    const char* script;
    int maxRomCode;
};

// Every controller mGBA models, with the script a user would choose for it.
const Controller kControllers[] = {
    {"none", 0x00, "gb_mbc0.nut", 0},     {"MBC1", 0x01, "gb_mbc1.nut", 6},
    {"MBC2", 0x06, "gb_mbc2.nut", 3},     {"MBC3", 0x13, "gb_mbc3.nut", 7},
    {"MBC3+RTC", 0x10, "gb_mbc3.nut", 6}, {"MBC5", 0x1B, "gb_mbc5.nut", 8},
    {"MBC7", 0x22, "gb_mbc7.nut", 6},     {"TAMA5", 0xFD, "gb_tama5.nut", 5},
    {"HuC1", 0xFF, "gb_huc1.nut", 5},     {"HuC3", 0xFE, "gb_huc3.nut", 6},  // HuC1: 6 bank bits
};

TEST_F(Mapper, EveryControllerDumpsEveryRomSizeItHolds) {
    REQUIRE_FUSE();
    for (const Controller& c : kControllers) {
        for (int code = 0; code <= c.maxRomCode; ++code) {
            SCOPED_TRACE(std::string(c.name) + " ROM code " + std::to_string(code));
            const Bytes rom = romgen::gb_image(c.type, uint8_t(code), 0);
            MountedBoard board({"--gb", put(rom, "rom.gb")});
            ASSERT_TRUE(board.mounted());
            const Outcome out = run(kJobGbDump, c.script, dir.file("out.gb"), uint32_t(rom.size()));
            EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
            EXPECT_TRUE(read_file(dir.file("out.gb")) == rom);
        }
    }
}

TEST_F(Mapper, InfoThenDumpWithTheSettingsItChose) {
    REQUIRE_FUSE();
    for (const Controller& c : kControllers) {
        SCOPED_TRACE(c.name);
        const Bytes rom = romgen::gb_image(c.type, uint8_t(std::min(c.maxRomCode, 4)), 0);
        MountedBoard board({"--gb", put(rom, "rom.gb")});
        ASSERT_TRUE(board.mounted());
        MainTab tab(nullptr);
        tab.push_info();
        EXPECT_EQ(QString(mbc_script_at(tab.settings()->model().choices().mbcPosition)), c.script);
        const DialogAnswer answer = answer_file_dialog(QString::fromStdString(dir.file("info.gb")));
        tab.push_read_rom();
        ASSERT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 60000));
        tab.jobThread()->wait();
        EXPECT_TRUE(lines_of(tab.console()).contains(">Success!"));
        EXPECT_TRUE(read_file(dir.file("info.gb")) == rom);
    }
}

// The save in a file read from the cartridge, without the clock after it.
Bytes save_part(const std::string& path, uint32_t size) {
    Bytes data = read_file(path);
    if (data.size() > size) data.resize(size);
    return data;
}

struct SaveCase {
    const char* name;
    uint8_t type, ramCode;
    const char* script;
    uint32_t size;
    bool mbc2 = false;
};

TEST_F(Mapper, SavesAreReadWrittenAndSurviveAReset) {
    REQUIRE_FUSE();
    const SaveCase cases[] = {
        {"none", 0x09, 2, "gb_mbc0.nut", 0x2000},
        {"MBC1", 0x03, 3, "gb_mbc1.nut", 0x8000},
        {"MBC2", 0x06, 0, "gb_mbc2.nut", 512, true},
        {"MBC3", 0x13, 3, "gb_mbc3.nut", 0x8000},
        {"MBC30", 0x13, 5, "gb_mbc3.nut", 0x10000},
        {"MBC5", 0x1B, 4, "gb_mbc5.nut", 0x20000},
        {"HuC1", 0xFF, 3, "gb_huc1.nut", 0x8000},
        {"HuC3", 0xFE, 3, "gb_huc3.nut", 0x8000},
        // Saves behind bit-level interfaces: a serial EEPROM, a register file.
        {"MBC7", 0x22, 0, "gb_mbc7.nut", 256},
        {"TAMA5", 0xFD, 0, "gb_tama5.nut", 32},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string rom = put(romgen::gb_image(c.type, 2, c.ramCode), "rom.gb");
        Bytes held = romgen::pattern(c.size, c.type), next = romgen::pattern(c.size, c.type + 1);
        if (c.mbc2)  // half-bytes, with the upper half as the bus delivers it
            for (Bytes* b : {&held, &next})
                for (uint8_t& v : *b) v |= 0xF0;
        {
            MountedBoard board({"--gb", rom, "--save", put(held, "held.sav"), "--save-out",
                                dir.file("model.sav")});
            ASSERT_TRUE(board.mounted());
            Outcome out = run(kJobGbSaveRead, c.script, dir.file("read.sav"), 0x40000, c.size);
            EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
            EXPECT_TRUE(save_part(dir.file("read.sav"), c.size) == held);
            out =
                run(kJobGbSaveWrite, c.script, put(next, "next.sav"), 0x40000, c.size, 0, 0, true);
            EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
        }
        EXPECT_TRUE(read_file(dir.file("model.sav")) == next);
        // Power the cartridge up again with what it kept.
        MountedBoard again({"--gb", rom, "--save", dir.file("model.sav")});
        ASSERT_TRUE(again.mounted());
        EXPECT_TRUE(run(kJobGbSaveRead, c.script, dir.file("again.sav"), 0x40000, c.size).ok);
        EXPECT_TRUE(save_part(dir.file("again.sav"), c.size) == next);
    }
}

TEST_F(Mapper, FlashWritesOnBothChipFamilies) {
    REQUIRE_FUSE();
    for (int wiring : {8, 16}) {
        for (uint32_t size : {0x100000u, 0x200000u, 0x400000u, 0x800000u}) {
            SCOPED_TRACE(std::to_string(wiring) + "-bit, " + std::to_string(size) + " bytes");
            const Bytes image = romgen::pattern(size, size + uint32_t(wiring));
            MountedBoard board({"--flash", std::to_string(size), "--flash-wiring",
                                std::to_string(wiring), "--erase-ms", "200", "--flash-out",
                                dir.file("flash.out")});
            ASSERT_TRUE(board.mounted());
            const Outcome out = run(kJobGbFlash, "gb_mbc5.nut", put(image, "image.gb"), 0, 0, 0,
                                    wiring == 16, true);
            EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
            EXPECT_TRUE(out.log.contains("Verify data finish."));
            board.unmount();
            EXPECT_TRUE(read_file(dir.file("flash.out")) == image);
        }
    }
}

TEST_F(Mapper, EraseWaitsEndOnATimeLimitAndNeedAnEraseFunction) {
    REQUIRE_FUSE();
    MountedBoard board({"--flash", "0x40000", "--erase-ms", "600000"});
    ASSERT_TRUE(board.mounted());
    const std::string image = put(romgen::pattern(0x40000, 1), "image.gb");
    FamicomThread job;
    QStringList log;
    QObject::connect(&job, &FamicomThread::log, [&log](const QString& s) { log << s; });
    job.m_type = kJobGbFlash;
    job.m_script = MAPPER_DIR "/gb_mbc5.nut";
    job.m_file = QString::fromStdString(image);
    job.m_erase_limit_ms = 1500;
    EXPECT_FALSE(job.execute());
    EXPECT_TRUE(log.contains("The flash chip did not finish erasing in time."));
    EXPECT_FALSE(log.contains("Start flash ROM..."));

    const Outcome out = run(kJobGbFlash, "gb_mbc2.nut", image, 0);
    EXPECT_FALSE(out.ok);
    EXPECT_TRUE(out.log.contains("The mapper script cannot erase this cartridge."));
}

TEST_F(Mapper, Mbc1FlashReachesTheBanksOnlyTheAdvancedModeShows) {
    REQUIRE_FUSE();
    // 2 MiB: banks 0x20, 0x40 and 0x60 exist; the flash cartridge banks as MBC1.
    const Bytes image = romgen::gb_image(0x01, 6, 0);
    MountedBoard board(
        {"--flash", "0x200000", "--erase-ms", "50", "--flash-out", dir.file("flash.out")});
    ASSERT_TRUE(board.mounted());
    const Outcome out = run(kJobGbFlash, "gb_mbc1.nut", put(image, "image.gb"), 0);
    EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
    board.unmount();
    EXPECT_TRUE(read_file(dir.file("flash.out")) == image);
}

TEST_F(Mapper, AnImageTooLargeForNoControllerIsRefusedBeforeTheErase) {
    REQUIRE_FUSE();
    const Bytes before = romgen::pattern(0x40000, 7);
    MountedBoard board({"--flash", "0x40000", "--erase-ms", "50", "--flash-image",
                        put(before, "before.bin"), "--flash-out", dir.file("flash.out")});
    ASSERT_TRUE(board.mounted());
    const Outcome out =
        run(kJobGbFlash, "gb_mbc0.nut", put(romgen::pattern(0x10000, 8), "i.gb"), 0);
    EXPECT_FALSE(out.ok);
    EXPECT_FALSE(out.log.contains("Erase flash chip finish."));
    board.unmount();
    EXPECT_TRUE(read_file(dir.file("flash.out")) == before) << "the chip was not erased";
}

TEST_F(Mapper, AnUnreadSerialMeansTheFlashIsReadBack) {
    REQUIRE_FUSE();
    // The board deciphers with its own key; the host, without the serial, with zeros.
    MountedBoard board({"--flash", "0x40000", "--erase-ms", "50", "--fail-serial"});
    ASSERT_TRUE(board.mounted());
    const Outcome out =
        run(kJobGbFlash, "gb_mbc5.nut", put(romgen::pattern(0x40000, 2), "i.gb"), 0);
    EXPECT_FALSE(out.ok) << "verify off, yet the garbled image is found";
    EXPECT_TRUE(out.log.join("\n").contains("serial number could not be read"));
    EXPECT_TRUE(out.log.join("\n").contains("Verify data error at 0x0"));
}

TEST_F(Mapper, AVolumeWithoutDirectIoStillReadsEveryBankAnew) {
    REQUIRE_FUSE();
    const Bytes rom = romgen::gb_image(0x1B, 3, 0);
    MountedBoard board({"--gb", put(rom, "rom.gb"), "--refuse-direct"});
    ASSERT_TRUE(board.mounted());
    const Outcome out = run(kJobGbDump, "gb_mbc5.nut", dir.file("out.gb"), uint32_t(rom.size()));
    EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
    EXPECT_TRUE(read_file(dir.file("out.gb")) == rom) << "no bank served from the page cache";
}

// Its second half first, at word address 0x40000, then its first.
constexpr char kHalvesScript[] =
    "function cpu_dump(d, size, unused) {\n"
    "    cpu_read(d, 0x40000, 0x80000);\n"
    "    cpu_read(d, 0, 0x80000);\n"
    "}\n";

TEST_F(Mapper, GbaDumps) {
    REQUIRE_FUSE();
    for (uint32_t size : {0x400000u, 0x800000u, 0x1000000u, 0x2000000u}) {
        SCOPED_TRACE(size);
        const Bytes rom = romgen::gba_image(size, "ZTST");
        MountedBoard board({"--gba", put(rom, "rom.gba")});
        ASSERT_TRUE(board.mounted());
        const Outcome out = run(kJobGbaDump, "gba.nut", dir.file("out.gba"), size);
        EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
        EXPECT_TRUE(read_file(dir.file("out.gba")) == rom);
    }
}

// The job makes a GBA dump's first read before its script runs; a script that
// reads other addresses first gets what it reads, not what was read ahead.
TEST_F(Mapper, AGbaScriptReadingInItsOwnOrderGetsWhatItReads) {
    REQUIRE_FUSE();
    const Bytes rom = romgen::gba_image(0x100000, "ZTST");
    MountedBoard board({"--gba", put(rom, "rom.gba")});
    ASSERT_TRUE(board.mounted());
    const std::string script = dir.file("halves.nut");
    write_file(script, Bytes(std::begin(kHalvesScript), std::end(kHalvesScript) - 1));
    const Outcome out = run(kJobGbaDump, script.c_str(), dir.file("out.gba"), 0x100000);
    ASSERT_TRUE(out.ok) << out.log.join("\n").toStdString();
    Bytes swapped(rom.begin() + 0x80000, rom.end());
    swapped.insert(swapped.end(), rom.begin(), rom.begin() + 0x80000);
    EXPECT_TRUE(read_file(dir.file("out.gba")) == swapped);
}

TEST_F(Mapper, GbaSavesOfEveryKind) {
    REQUIRE_FUSE();
    const std::string rom = put(romgen::gba_image(0x100000, "ZTST"), "rom.gba");
    for (const auto& k : kGbaSaveKinds) {
        SCOPED_TRACE(k.kind);
        const Bytes held = romgen::pattern(k.size, k.size),
                    next = romgen::pattern(k.size, k.size + 1);
        MountedBoard board({"--gba", rom, "--gba-save", k.kind, "--save", put(held, "held.sav"),
                            "--erase-ms", "300", "--save-out", dir.file("model.sav")});
        ASSERT_TRUE(board.mounted());
        Outcome out =
            run(kJobGbaSaveRead, "gba.nut", dir.file("read.sav"), 0x100000, k.size, k.type);
        EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
        EXPECT_TRUE(read_file(dir.file("read.sav")) == held);
        out = run(kJobGbaSaveWrite, "gba.nut", put(next, "next.sav"), 0x100000, k.size, k.type, 0,
                  true);
        EXPECT_TRUE(out.ok) << out.log.join("\n").toStdString();
        EXPECT_EQ(out.log.contains("Erase flash chip finish."), k.type == 1);
        board.unmount();
        EXPECT_TRUE(read_file(dir.file("model.sav")) == next);
    }
}

}  // namespace
