// The Info report against the virtual board, through the real mount.
#include <gtest/gtest.h>

#include <QComboBox>
#include <cstring>

#include "cart/gba_cart_table.h"
#include "device/platform.h"
#include "jobs/info_report.h"
#include "romgen.h"
#include "support/mounted_board.h"
#include "support/window_helpers.h"
#include "ui/console.h"
#include "ui/main_tab.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

struct Report {
    QStringList lines;
    std::vector<std::pair<std::string, int>> calls;
    int separators = 0;

    void run() {
        const ReportLog log{[this](const QString& s) { lines << s; }, [this] { ++separators; }};
        auto record = [this](const char* name) {
            return [this, name](int v) { calls.emplace_back(name, v); };
        };
        ReportPanel panel;
        panel.setSysType = record("sys");
        panel.setItem1 = record("item1");
        panel.setItem2 = record("item2");
        panel.setItem3 = record("item3");
        run_info_report(log, panel);
    }
    // The lines after the four device lines.
    QStringList cartridge() const { return lines.mid(4); }
};

class InfoReport : public ::testing::Test {
protected:
    std::string gb(uint8_t type, uint8_t romCode, uint8_t ramCode) {
        const std::string path = dir.file("rom.gb");
        write_file(path, romgen::gb_image(type, romCode, ramCode, "TESTCART"));
        return path;
    }
    std::string gba(const std::string& code) {
        const std::string path = dir.file("rom.gba");
        write_file(path, romgen::gba_image(0x100000, code));
        return path;
    }
    TempDir dir;
};

TEST_F(InfoReport, NoBoard) {
    TempDir empty;
    const ScopedEnv volumes("ZELVO_VOLUMES", empty.path());
    Report r;
    r.run();
    EXPECT_EQ(r.lines,
              QStringList({"Can not found dump device.",
                           "No dump board was found in " + QString::fromStdString(empty.path()) +
                               " (no volume there holds K-DRIVER.DMP). Plug the board in and let "
                               "the system mount it, or set ZELVO_VOLUMES to the folder that "
                               "holds its volume."}));
    EXPECT_TRUE(r.calls.empty());
    EXPECT_EQ(r.separators, 0);
}

TEST_F(InfoReport, RomOnlyCartridge) {
    MOUNT_BOARD(board, {"--gb", gb(0x00, 0, 0), "--label", "QRV_PCB02_FW303"}, "ZELVOBOARD");
    Report r;
    r.run();
    ASSERT_GE(r.lines.size(), 9);
    EXPECT_EQ(r.lines[0], "--Device information--");
    EXPECT_EQ(r.lines[1], "Driver label: ZELVOBOARD");
    EXPECT_EQ(r.lines[2], "Device firmware: QRV_PCB02_FW303");
    EXPECT_EQ(r.lines[3], "\r\n");
    const QStringList lines = r.cartridge();
    EXPECT_EQ(lines.mid(0, 5),
              QStringList({"--GB/GBC Cartridge information--", "Title: TESTCART",
                           "Cart type: ROM ONLY", "ROM Size: 32KB", "RAM Size: 0B"}));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[5].startsWith("Header checksum 0x") && lines[5].endsWith(": holds."))
        << lines[5].toStdString();
    EXPECT_EQ(lines[6],
              "Contact check: the header read the same 8 times: the contacts are stable.");
    EXPECT_EQ(r.separators, 1);
    using Call = std::pair<std::string, int>;
    EXPECT_EQ(r.calls, (std::vector<Call>{{"sys", 0}, {"item1", 0}, {"item2", 32768}}))
        << "no RAM: the third list is left alone";
}

// A header that read differently when the cartridge was detected is not
// stable, however alike the check's own reads are.
TEST_F(InfoReport, AFlawInTheDetectedHeaderIsNoStableContact) {
    MOUNT_BOARD(board, {"--gb", gb(0x00, 0, 0), "--first-read-flaw", "0x134"});
    Report r;
    r.run();
    const QStringList lines = r.cartridge();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains("the header read differently at 0x0134 (data lines D0)"))
        << lines.join("\n").toStdString();
}

TEST_F(InfoReport, Mbc2AndRamCode3) {
    {
        MOUNT_BOARD(board, {"--gb", gb(0x06, 2, 0)});
        Report r;
        r.run();
        EXPECT_TRUE(r.cartridge().contains("RAM Size: 512B"));
        EXPECT_EQ(r.calls.back(), std::make_pair(std::string("item3"), 512));
    }
    MOUNT_BOARD(board, {"--gb", gb(0x13, 4, 3)});
    Report r;
    r.run();
    EXPECT_TRUE(r.cartridge().contains("Cart type: ROM+MBC3+RAM+BATT"));
    EXPECT_TRUE(r.cartridge().contains("ROM Size: 512KB"));
    EXPECT_TRUE(r.cartridge().contains("RAM Size: 32KB"));
}

std::string code_with_kind(const char* kind) {
    for (size_t i = 0; i < gb::gba_cart_count; ++i) {
        if (std::strcmp(gb::gba_cart_table[i].save_kind, kind) != 0) continue;
        const std::string serial = gb::gba_cart_table[i].serial;
        return serial.substr(serial.find('-') + 1, 4);
    }
    return "";
}

TEST_F(InfoReport, GbaCartridgesOfTheDatabase) {
    const struct {
        std::string code;
        const char* ram;
        int type, size;
    } cases[] = {{"ALXP", "RAM Size: 512B", 2, 512},
                 {code_with_kind("gba_flash_1m"), "RAM Size: 128KB", 1, 131072},
                 {"BQJP", "RAM Size: 0B", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        MOUNT_BOARD(board, {"--gba", gba(c.code)});
        Report r;
        r.run();
        ASSERT_GE(r.cartridge().size(), 6);
        EXPECT_EQ(r.cartridge()[0], "--GBA Cartridge information--");
        EXPECT_TRUE(r.cartridge()[1].startsWith("Title: "));
        EXPECT_EQ(r.cartridge()[5], c.ram);
        ASSERT_EQ(r.calls.size(), 4u);
        EXPECT_EQ(r.calls[0], std::make_pair(std::string("sys"), 1));
        EXPECT_EQ(r.calls[2], std::make_pair(std::string("item2"), c.type));
        EXPECT_EQ(r.calls[3], std::make_pair(std::string("item3"), c.size)) << "also for 0";
        EXPECT_EQ(r.separators, 1);
    }
}

TEST_F(InfoReport, AdvanceWarsAsTheExampleShowsIt) {
    MOUNT_BOARD(board, {"--gba", gba("AWRP")});
    MainTab tab(nullptr);
    tab.push_info();
    const QStringList lines = lines_of(tab.console());
    const int at = lines.indexOf("--GBA Cartridge information--");
    ASSERT_GE(at, 0);
    EXPECT_EQ(
        lines.mid(at, 6),
        QStringList({"--GBA Cartridge information--", "Title: Advance Wars (Euro)", "Year: 2001",
                     "Publisher: Nintendo", "ROM Size: 8192KB", "RAM Size: 64KB"}));
    Settings* s = tab.settings();
    EXPECT_EQ(s->getSysType(), 1);
    EXPECT_EQ(s->systemList()->currentText(), "GBA");
    EXPECT_EQ(s->getGbaRomSize(), 8388608);
    EXPECT_EQ(s->secondList()->currentText(), "FLASH");
    EXPECT_EQ(s->getGbaRamSize(), 65536);
}

TEST_F(InfoReport, GbaCartridgeMissingFromTheDatabaseIsSizedByProbing) {
    REQUIRE_FUSE();
    // Past the ROM's end the bus floats (open bus), or a small ROM mirrors its start.
    const struct {
        uint32_t size;
        bool mirror;
        const char* line;
    } cases[] = {{0x400000, false, "ROM size found by probing: 4096KB"},
                 {0x800000, true, "ROM size found by probing: 8192KB"},
                 {0x1000000, false, "ROM size found by probing: 16384KB"},
                 {0x2000000, false, "ROM size found by probing: 32768KB"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        write_file(dir.file("rom.gba"), romgen::gba_image(c.size, "QZQZ"));
        std::vector<std::string> args = {"--gba", dir.file("rom.gba")};
        if (c.mirror) args.push_back("--gba-mirror");
        MountedBoard board(args);
        ASSERT_TRUE(board.mounted());
        MainTab tab(nullptr);
        tab.settings()->setItem1(3);
        tab.push_info();
        const QStringList lines = lines_of(tab.console());
        EXPECT_TRUE(lines.contains("Detect GBA cartridge, but can not detect detail."));
        EXPECT_TRUE(lines.contains(c.line));
        EXPECT_EQ(tab.settings()->getSysType(), 1);
        EXPECT_EQ(tab.settings()->getGbaRomSize(), int(c.size));
        EXPECT_EQ(tab.settings()->getGbaRamType(), 0);
    }
}

TEST_F(InfoReport, EmptySlotGivesAdviceAndLeavesThePanel) {
    MOUNT_BOARD(board, {});
    Report r;
    r.run();
    const QStringList lines = r.cartridge();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "Can not auto detect cartridge information.");
    EXPECT_GT(lines.size(), 1) << "advice follows";
    EXPECT_TRUE(lines.filter("Title:").isEmpty());
    EXPECT_EQ(r.separators, 1);
    EXPECT_TRUE(r.calls.empty());
}

TEST_F(InfoReport, BoardPulledOutBeforeTheHeaderRead) {
    // Operations: the label read, the two mode blocks, then the header read fails.
    MOUNT_BOARD(board, {"--gb", gb(0x00, 0, 0), "--fail-after", "3"});
    Report r;
    r.run();
    EXPECT_EQ(r.cartridge(), QStringList({"Read ROM error."}));
    EXPECT_EQ(r.separators, 0);
    EXPECT_TRUE(r.calls.empty());
}

TEST_F(InfoReport, ABoardInUseByAnotherProgramIsRefused) {
    MOUNT_BOARD(board, {"--gb", gb(0x00, 0, 0)});
    platform::VolumeLock other;
    ASSERT_TRUE(other.acquire(board.mountpoint()));
    Report r;
    r.run();
    EXPECT_EQ(r.lines, QStringList({"The dump device is in use by another program."}));
}

}  // namespace
