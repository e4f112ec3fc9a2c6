// Header decoding and the GBA cartridge database.
#include "cart/header.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <cstdlib>
#include <cstring>
#include <set>

#include "cart/controllers.h"
#include "cart/gba_cart_table.h"
#include "cart/known_dumps.h"
#include "jobs/detection.h"
#include "jobs/file_names.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes gb_header(uint8_t type, uint8_t romCode = 0, uint8_t ramCode = 0) {
    Bytes h = romgen::gb_image(0x00, 0, 0);
    h.resize(8192);
    h[0x147] = type;
    h[0x148] = romCode;
    h[0x149] = ramCode;
    return h;
}

gb::gb_pcb decode(const Bytes& h) {
    gb::gb_pcb pcb;
    EXPECT_TRUE(gb::gb_cartridge_info(h.data(), &pcb));
    return pcb;
}

TEST(GbHeader, RejectsALogoThatDiffersInOneByte) {
    Bytes h = gb_header(0x00);
    h[0x104 + 47] ^= 0x01;
    gb::gb_pcb pcb;
    pcb.rom_size = 77;
    EXPECT_FALSE(gb::gb_cartridge_info(h.data(), &pcb));
    EXPECT_TRUE(pcb.title.isEmpty());
    EXPECT_EQ(pcb.rom_size, 77u);
}

// One decoder gives every title: the Info report's, the suggested file name's
// and the backup's (header_title), for GB, colour and GBA headers alike.
TEST(GbHeader, OneTitleDecoderForReportsNamesAndBackups) {
    const struct {
        const char* name;
        std::string field;  // the 16 bytes at 0x134
        std::string title;
        const char* file;
    } cases[] = {
        {"all 16 bytes", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP.gb"},
        {"up to NUL", std::string("POKEMO\0\0\0\0\0\0\0\0\0\0", 16), "POKEMO", "POKEMO.gb"},
        {"colour flag", "COLOURONLYGAME!\xC0", "COLOURONLYGAME!", "COLOURONLYGAME!.gbc"},
        {"colour with a code", std::string("ZELVO TEST\0ZQZQ\x80", 16), "ZELVO TEST",
         "ZELVO TEST (ZQZQ).gbc"},
        {"control characters",
         std::string("A\x1B[2J\nB\x7F\x80"
                     "C\0\0\0\0\0\0",
                     16),
         "A[2JBC", "A[2JBC.gb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes h = gb_header(0x00);
        std::memcpy(&h[0x134], c.field.data(), 16);
        EXPECT_EQ(gb::header_title(false, h.data()), QString::fromStdString(c.title));
        const gb::gb_pcb pcb = decode(h);
        EXPECT_EQ(pcb.title, QString::fromStdString(c.title));
        Detection d;
        d.outcome = ReportOutcome::Gb;
        d.gb = pcb;
        d.header.assign(h.begin(), h.begin() + 0x150);
        d.gb.rom_size = 32768;
        EXPECT_EQ(suggested_file_name(d, false), c.file);
    }
    Bytes g = romgen::gba_image(0x1000, "AXYZ");
    std::memcpy(&g[0xA0], "GBA\x1BTITLE\0\0\0\0", 12);
    EXPECT_EQ(gb::header_title(true, g.data()), "GBATITLE");
}

TEST(GbHeader, CartridgeTypesAndControllerCodes) {
    EXPECT_EQ(decode(gb_header(0x00)).cart_type, "ROM ONLY");
    EXPECT_EQ(decode(gb_header(0x00)).mbc_type, 0);
    EXPECT_EQ(decode(gb_header(0x03)).mbc_type, 1);
    EXPECT_EQ(decode(gb_header(0x06)).mbc_type, 2);
    EXPECT_EQ(decode(gb_header(0x10)).cart_type, "ROM+MBC3+TIMER+RAM+BAT");
    EXPECT_EQ(decode(gb_header(0x0B)).cart_type, "ROM+MMMO1");
    EXPECT_EQ(decode(gb_header(0x22)).mbc_type, 5);
    EXPECT_EQ(decode(gb_header(0x04)).cart_type, "Unknow Cartridge Type4");
    EXPECT_EQ(decode(gb_header(0x04)).mbc_type, gb::kUnknownMbc) << "no controller is guessed";
    EXPECT_EQ(decode(gb_header(0xEE)).mbc_type, gb::kUnknownMbc);
    EXPECT_EQ(decode(gb_header(0x20)).cart_type, "Unknow Cartridge Type32");
    EXPECT_EQ(decode(gb_header(0x1F)).cart_type, "Pocket Camera");
    EXPECT_EQ(decode(gb_header(0xFC)).cart_type, "POCKET CAMERA");
    EXPECT_EQ(decode(gb_header(0xFC)).mbc_type, 4);
    EXPECT_EQ(decode(gb_header(0xFD)).mbc_type, 6) << "TAMA5 runs the TAMA5 script";
    EXPECT_EQ(decode(gb_header(0xFF)).mbc_type, 7) << "HuC-1";
    EXPECT_EQ(decode(gb_header(0xFE)).mbc_type, 8) << "HuC-3";
}

TEST(GbHeader, RomAndRamSizes) {
    EXPECT_EQ(decode(gb_header(0x00, 0x00)).rom_size, 32768u);
    EXPECT_EQ(decode(gb_header(0x00, 0x09)).rom_size, 0u) << "an unknown code, never guessed";
    EXPECT_EQ(decode(gb_header(0x00, 0xFF)).rom_size, 0u);
    EXPECT_EQ(decode(gb_header(0x00, 0x08)).rom_size, 8388608u);
    EXPECT_EQ(decode(gb_header(0x00, 0x53)).rom_size, 2097152u);
    EXPECT_EQ(decode(gb_header(0x05, 0, 0x00)).ram_size, 512u);
    EXPECT_EQ(decode(gb_header(0x06, 0, 0x00)).ram_size, 512u);
    EXPECT_EQ(decode(gb_header(0x03, 0, 0x00)).ram_size, 0u);
    EXPECT_EQ(decode(gb_header(0x03, 0, 0x03)).ram_size, 32768u);
    EXPECT_EQ(decode(gb_header(0x1B, 0, 0x04)).ram_size, 131072u) << "code 4 is 128 KiB";
    EXPECT_EQ(decode(gb_header(0x1B, 0, 0x05)).ram_size, 65536u) << "code 5 is 64 KiB";
    EXPECT_EQ(decode(gb_header(0x1B, 0, 0x07)).ram_size, 512u);
    EXPECT_EQ(decode(gb_header(0x1B, 0, 0x0A)).ram_size, 0u);
}

gb::gba_pcb lookup(const char* code, int* result = nullptr) {
    Bytes h = romgen::gba_image(0x1000, code);
    gb::gba_pcb pcb;
    const int r = gb::gba_cartridge_info(h.data(), &pcb) ? 1 : 0;
    if (result) *result = r;
    return pcb;
}

TEST(GbaHeader, FirstMatchingRowWins) {
    EXPECT_EQ(lookup("AKOE").title, "The King of Fighters EX - NeoBlood (USA)");
    const gb::gba_pcb hotWheels = lookup("BQJP");
    EXPECT_EQ(hotWheels.serial, "AGB-BQJE-USA, AGB-BQJP");
    EXPECT_EQ(hotWheels.sav_size, 0u);
    EXPECT_EQ(hotWheels.sav_type, 0);
    const gb::gba_pcb wars = lookup("AWRP");
    EXPECT_EQ(wars.title, "Advance Wars (Euro)");
    EXPECT_EQ(wars.year, "2001");
    EXPECT_EQ(wars.publisher, "Nintendo");
    EXPECT_EQ(wars.rom_size, 8388608);
    EXPECT_EQ(wars.sav_size, 65536u);
    EXPECT_EQ(wars.sav_type, 1);
}

TEST(GbaHeader, SaveKindsAreTestedLongestNameFirst) {
    EXPECT_EQ(lookup("U32J").sav_size, 8192u) << "gba_eeprom_64k, not gba_eeprom";
    EXPECT_EQ(lookup("A3UJ").sav_size, 65536u) << "gba_flash_512";
    EXPECT_EQ(lookup("ALXP").sav_size, 512u) << "gba_eeprom_4k";
    EXPECT_EQ(lookup("ACZP").sav_type, 2) << "gba_eeprom";
    for (size_t i = 0; i < gb::gba_cart_count; ++i) {
        if (std::strcmp(gb::gba_cart_table[i].save_kind, "gba_flash_1m") != 0) continue;
        const std::string serial = gb::gba_cart_table[i].serial;
        const gb::gba_pcb pcb = lookup(serial.substr(serial.find('-') + 1, 4).c_str());
        EXPECT_EQ(pcb.sav_size, 131072u) << serial;
        break;
    }
}

// The clock rows come from the list's slot types; the memory kind stays.
TEST(GbaHeader, ClockCartridgesAreMarked) {
    const struct {
        const char* code;
        bool clock;
        uint32_t save;
    } cases[] = {{"AXVE", true, 131072},
                 {"BPEJ", true, 131072},
                 {"U3IE", true, 512},
                 {"AWRP", false, 65536},
                 {"QQQQ", false, 0}};
    for (const auto& c : cases) {
        const gb::gba_pcb pcb = lookup(c.code);
        EXPECT_EQ(pcb.rtc, c.clock) << c.code;
        EXPECT_EQ(pcb.sav_size, c.save) << c.code;
    }
    EXPECT_TRUE(std::is_sorted(gb::gba_clock_rows, gb::gba_clock_rows + gb::gba_clock_row_count));
    EXPECT_LT(gb::gba_clock_rows[gb::gba_clock_row_count - 1], gb::gba_cart_count);
}

TEST(GbaHeader, UnknownCodesLogoMismatchAndEmptyKeys) {
    int result = 0;
    const gb::gba_pcb unknown = lookup("QQQQ", &result);
    EXPECT_NE(result, 0);
    EXPECT_EQ(unknown.rom_size, 0);
    EXPECT_TRUE(unknown.title.isEmpty());
    lookup(std::string(4, '\0').c_str(), &result);
    EXPECT_NE(result, 0);
    EXPECT_EQ(lookup("\0\0\0\0").rom_size, 0) << "an empty key identifies nothing";
    // Only whole codes match: parts of serials identify nothing.
    for (const char* part : {"E-US", "USA", "A", "WRP-", "-EUR"})
        EXPECT_EQ(lookup(part).rom_size, 0) << part;
    // Every code a row's serials hold finds a row.
    const QRegularExpression code("\\b[A-Z0-9]{3}-([A-Z0-9]{4})\\b");
    for (size_t i = 0; i < gb::gba_cart_count; ++i)
        for (auto m = code.globalMatch(gb::gba_cart_table[i].serial); m.hasNext();) {
            const std::string c = m.next().captured(1).toStdString();
            EXPECT_FALSE(lookup(c.c_str()).title.isEmpty()) << gb::gba_cart_table[i].serial;
        }

    Bytes h = romgen::gba_image(0x1000, "AWRP");
    h[0x04 + 100] ^= 0x80;
    gb::gba_pcb pcb;
    EXPECT_FALSE(gb::gba_cartridge_info(h.data(), &pcb));
    EXPECT_TRUE(pcb.title.isEmpty());
}

TEST(GbaDatabase, RowsAreWellFormed) {
    ASSERT_GE(gb::gba_cart_count, 2499u);
    const std::set<std::string> kinds = {
        "",           "gba_sram",      "gba_eeprom_4k", "gba_eeprom_64k",
        "gba_eeprom", "gba_flash_512", "gba_flash_1m",  "gba_flash"};
    for (size_t i = 0; i < gb::gba_cart_count; ++i) {
        const gb::gba_cart_row& row = gb::gba_cart_table[i];
        const char* fields[] = {row.title,  row.year,     row.publisher,
                                row.serial, row.rom_size, row.save_kind};
        const size_t widths[] = {140, 10, 30, 40, 10, 20};
        for (int f = 0; f < 6; ++f) {
            const size_t len = strnlen(fields[f], widths[f]);
            ASSERT_LT(len, widths[f]) << "row " << i << " field " << f << " unterminated";
            for (size_t p = len; p < widths[f]; ++p) ASSERT_EQ(fields[f][p], 0) << "row " << i;
        }
        EXPECT_TRUE(kinds.count(row.save_kind)) << "row " << i << ": " << row.save_kind;
        EXPECT_GT(std::atol(row.rom_size), 0) << "row " << i;
        EXPECT_TRUE(QString::fromUtf8(row.title).toUtf8() == QByteArray(row.title))
            << "row " << i << " is cut inside a character";
    }
}

// The rows whose serial holds a game code, in table order.
std::vector<const gb::gba_cart_row*> rows_with_code(const char* code) {
    std::vector<const gb::gba_cart_row*> rows;
    for (size_t i = 0; i < gb::gba_cart_count; ++i)
        if (std::strstr(gb::gba_cart_table[i].serial, code)) rows.push_back(&gb::gba_cart_table[i]);
    return rows;
}

TEST(GbaDatabase, TellingRowsByGameCode) {
    const struct {
        const char *code, *title, *serial, *kind;
    } telling[] = {
        {"BQJE",
         "2 Game Pack!: Hot Wheels - Stunt Track Challenge + Hot Wheels - World Race (Euro, USA)",
         "AGB-BQJE-USA, AGB-BQJP", ""},
        {"ALXP", "Ace Lightning (Euro)", "AGB-ALXP-UKV", "gba_eeprom_4k"},
        {"AWRP", "Advance Wars (Euro)", "AGB-AWRP-EUR", "gba_flash"},
        {"AKOE", "The King of Fighters EX - NeoBlood (USA)", "AGB-AKOE-USA", "gba_eeprom_4k"},
        {"A3UJ", "Mother 3 (Jpn)", "AGB-A3UJ-JPN", "gba_flash_512"},
        {"ACZP", "Comix Zone (Euro)", "AGB-ACZP", "gba_eeprom"},
        {"AKOE", "The King of Fighters EX - NeoBlood (USA, Rev. 1)", "AGB-AKOE-USA",
         "gba_eeprom_4k"},
        {"U32J", "Zoku Bokura no Taiyou - Taiyou Shounen Django (Jpn)", "AGB-U32J-JPN (RK363-J1)",
         "gba_eeprom_64k"},
        {"AGS-006", "Play-Yan Micro (Jpn)", "AGS-006", "gba_sram"}};
    for (const auto& t : telling) {
        SCOPED_TRACE(t.title);
        const gb::gba_cart_row* found = nullptr;
        for (const gb::gba_cart_row* row : rows_with_code(t.code))
            if (std::strcmp(row->title, t.title) == 0) found = row;
        ASSERT_NE(found, nullptr);
        EXPECT_STREQ(found->serial, t.serial);
        EXPECT_STREQ(found->save_kind, t.kind);
    }
}

TEST(GbaDatabase, GeneratorReproducesTheCommittedTable) {
    const std::string list = "/usr/share/games/mame/hash/gba.xml";
    if (access(list.c_str(), R_OK) != 0) GTEST_SKIP() << "mame-data is not installed";
    testing_support::TempDir dir;
    const std::string out = dir.file("table.cpp");
    const std::string command =
        "python3 " SOURCE_DIR "/tools/gba_db/generate_gba_cart_table.py " + list + " " + out;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(testing_support::read_file(out),
              testing_support::read_file(SOURCE_DIR "/src/cart/gba_cart_table.cpp"));
}

}  // namespace
