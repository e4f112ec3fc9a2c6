// Bus operations: the command bytes they send, checked against the board's
// byte layouts through the raw log of command-file writes, and their effect on
// the virtual board's cartridges.
#include "cart/bus.h"

#include <gtest/gtest.h>

#include <cstring>

#include "device/bf.h"
#include "device/usb.h"
#include "romgen.h"
#include "support/mounted_board.h"

using testing_support::kGbaSaveKinds;
using testing_support::MountedBoard;
using testing_support::read_file;
using testing_support::TempDir;
using Bytes = std::vector<uint8_t>;

namespace {

uint32_t le16(const uint8_t* p) {
    return p[0] | p[1] << 8;
}
const uint8_t* block(const Bytes& write, size_t k) {
    return write.data() + k * 512;
}

// The writes sent after the mode switch (its two blocks come first).
std::vector<Bytes> after_init(const MountedBoard& board) {
    auto writes = board.command_writes();
    EXPECT_GE(writes.size(), 2u);
    writes.erase(writes.begin(), writes.begin() + 2);
    return writes;
}

TEST(GbBus, InitSwitchesModeAndFillsTheTable) {
    MOUNT_BOARD(board, {});
    ASSERT_TRUE(usb::open());
    EXPECT_EQ(gb::f_gb_init(), 512u);
    EXPECT_EQ(gb::p_gb_cpu_read, &gb::f_gb_cpu_read);
    EXPECT_EQ(gb::p_gb_cpu_flash, &gb::f_gb_cpu_flash_29f);
    board.unmount();
    const auto writes = board.command_writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][1], 0xF0);
    EXPECT_EQ(writes[0][2], 0x02);
    EXPECT_EQ(writes[1][1], 0x02);
    EXPECT_EQ(writes[1][2], 0x01);
}

TEST(GbBus, RamWritesAreCutInto480ByteChunksWithAWrappingAddress) {
    MOUNT_BOARD(board, {});
    ASSERT_TRUE(usb::open());
    gb::f_gb_init();
    const Bytes data = romgen::pattern(1024, 1);
    EXPECT_EQ(gb::f_gb_sram_write(0xA000, data.data(), 960), 1024u);
    EXPECT_EQ(gb::f_gb_sram_write(0xA000, data.data(), 961), 1536u);
    EXPECT_EQ(gb::f_gb_sram_write(0xA000, data.data(), 1), 512u);
    EXPECT_EQ(gb::f_gb_sram_write(0xFFF0, data.data(), 512), 1024u);
    EXPECT_EQ(gb::f_gb_sram_write(0xA000, data.data(), 0), 0u);
    board.unmount();
    const auto w = after_init(board);
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[0].size(), 1024u);
    EXPECT_EQ(le16(block(w[0], 1) + 5), 480u);
    EXPECT_EQ(w[1].size(), 1536u);
    EXPECT_EQ(le16(block(w[1], 2) + 3), 0xA000u + 960);
    EXPECT_EQ(le16(block(w[1], 2) + 5), 1u);
    EXPECT_EQ(block(w[1], 2)[7], data[960]);
    EXPECT_EQ(le16(block(w[2], 0) + 5), 1u);
    const uint8_t* first = block(w[3], 0);
    EXPECT_EQ(first[1], 0x02);
    EXPECT_EQ(first[2], 0x0C);
    EXPECT_EQ(le16(first + 3), 0xFFF0u);
    EXPECT_EQ(std::memcmp(first + 7, data.data(), 480), 0);
    EXPECT_EQ(le16(block(w[3], 1) + 3), (0xFFF0u + 480) & 0xFFFF);
    EXPECT_EQ(le16(block(w[3], 1) + 5), 32u);
    EXPECT_TRUE(w[4].empty()) << "an empty write, result 0";
}

TEST(GbBus, ByteWritesSendOneBlockEachInOneWrite) {
    MOUNT_BOARD(board, {});
    ASSERT_TRUE(usb::open());
    gb::f_gb_init();
    uint32_t addresses[8], values[8];
    for (uint32_t j = 0; j < 8; ++j) addresses[j] = 0x12000 + j, values[j] = 0x1A0 + j;
    EXPECT_EQ(gb::p_gb_cpu_write(addresses, values, 8), 4096u);
    EXPECT_EQ(gb::p_gb_cpu_write(addresses, values, 0), 0u);
    board.unmount();
    const auto w = after_init(board);
    ASSERT_EQ(w[0].size(), 4096u);
    for (uint32_t j = 0; j < 8; ++j) {
        const uint8_t* b = block(w[0], j);
        EXPECT_EQ(b[2], 0x0D);
        EXPECT_EQ(le16(b + 3), 0x2000 + j);
        EXPECT_EQ(b[5], 0xA0 + j);
        EXPECT_EQ(b[6], 0);
    }
}

class FlashProgramming : public ::testing::Test {
protected:
    void SetUp() override {
        const uint8_t key[8] = {'Z', 'E', 'L', 'V', 'O', '-', 'V', 'B'};
        bf::init(key);
    }
    Bytes enciphered(const uint8_t* src, uint32_t n) {
        Bytes head(8, 0);
        std::memcpy(head.data(), src, std::min<uint32_t>(n, 8));
        bf::crypt_data(head.data(), 8);
        return head;
    }
};

TEST_F(FlashProgramming, ChunksCarryTheirFirst8BytesEnciphered) {
    MOUNT_BOARD(board, {});
    ASSERT_TRUE(usb::open());
    gb::f_gb_init();
    Bytes image = romgen::pattern(0x4000, 7);
    const Bytes original = image;
    EXPECT_EQ(gb::p_gb_cpu_flash(0x4000, image.data(), 0x4000), 35u * 512);
    EXPECT_EQ(image, original) << "the source is left as it was";
    gb::f_gb_flash_cfg(2);
    EXPECT_EQ(gb::p_gb_cpu_flash, &gb::f_gb_cpu_flash_29lv);
    gb::p_gb_cpu_flash(0x4000, image.data(), 0x4000);
    gb::f_gb_flash_cfg(0);
    EXPECT_EQ(gb::p_gb_cpu_flash, &gb::f_gb_cpu_flash_29f);
    gb::p_gb_cpu_flash(0x8000, image.data(), 5);
    board.unmount();

    const auto w = after_init(board);
    ASSERT_EQ(w.size(), 3u);
    ASSERT_EQ(w[0].size(), 35u * 512);
    for (uint32_t k = 0; k < 35; ++k) {
        const uint8_t* b = block(w[0], k);
        const uint32_t n = k < 34 ? 480 : 64;
        EXPECT_EQ(b[2], 0x0E);
        EXPECT_EQ(le16(b + 3), 0x4000 + 480 * k);
        EXPECT_EQ(le16(b + 5), n);
        EXPECT_EQ(Bytes(b + 7, b + 15), enciphered(&image[480 * k], n));
        EXPECT_EQ(std::memcmp(b + 15, &image[480 * k + 8], n - 8), 0);
        // The other family differs only in the op code and the trailer.
        const uint8_t* lv = block(w[1], k);
        EXPECT_EQ(lv[2], 0x0F);
        EXPECT_EQ(std::memcmp(b + 3, lv + 3, 507), 0);
    }
    const uint8_t* shortChunk = block(w[2], 0);
    EXPECT_EQ(le16(shortChunk + 5), 5u);
    EXPECT_EQ(Bytes(shortChunk + 7, shortChunk + 15), enciphered(image.data(), 5));
}

TEST(GbaBus, ReadsLatch24BitAddressesAndWritesCarry32Bits) {
    const std::string rom = "gba.bin";
    TempDir dir;
    testing_support::write_file(dir.file(rom), romgen::gba_image(0x400000, "ZTST"));
    MOUNT_BOARD(board, {"--gba", dir.file(rom)});
    ASSERT_TRUE(usb::open());
    EXPECT_EQ(gb::f_gba_init(), 512u);
    const Bytes image = read_file(dir.file(rom));
    Bytes got(8192);
    EXPECT_EQ(gb::p_gba_cpu_read(0, got.data(), 8192), 8192u);
    EXPECT_EQ(got, Bytes(image.begin(), image.begin() + 8192));
    EXPECT_EQ(gb::p_gba_cpu_read(0x12345, got.data(), 4096), 4096u);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 4096),
              Bytes(image.begin() + 0x2468A, image.begin() + 0x2468A + 4096));
    gb::p_gba_cpu_read(0xFF123456, got.data(), 1024);
    uint32_t address = 0x08000000, value = 0x12345;
    EXPECT_EQ(gb::p_gba_cpu_write(&address, &value, 1), 512u);
    board.unmount();
    const auto w = after_init(board);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(Bytes(w[1].begin() + 1, w[1].begin() + 8),
              (Bytes{0x03, 0x06, 0x00, 0x45, 0x23, 0x01, 0x00}));
    EXPECT_EQ(Bytes(w[2].begin() + 4, w[2].begin() + 8), (Bytes{0x56, 0x34, 0x12, 0x00}));
    EXPECT_EQ(Bytes(w[3].begin() + 1, w[3].begin() + 10),
              (Bytes{0x03, 0x13, 0x00, 0x00, 0x00, 0x00, 0x08, 0x45, 0x23}));
}

TEST(GbaSave, AnEeprom8kWriteOfPartOfAStepKeepsTheRestOfIt) {
    TempDir dir;
    const Bytes held = romgen::pattern(0x2000, 4), data = romgen::pattern(300, 5);
    testing_support::write_file(dir.file("held.sav"), held);
    testing_support::write_file(dir.file("rom.gba"), romgen::gba_image(0x100000, "ZTST"));
    MOUNT_BOARD(board, {"--gba", dir.file("rom.gba"), "--gba-save", "eep8k", "--save",
                        dir.file("held.sav"), "--save-out", dir.file("out.sav")});
    ASSERT_TRUE(usb::open());
    gb::f_gba_init();
    EXPECT_EQ(gb::f_gba_eep8k_write(0x400, data.data(), 300), 300u);
    board.unmount();
    Bytes expected = held;
    std::copy(data.begin(), data.end(), expected.begin() + 0x400);
    EXPECT_TRUE(read_file(dir.file("out.sav")) == expected) << "nothing past the 300 bytes changed";
}

TEST(GbaSave, CommandLayoutsOfEveryOperation) {
    MOUNT_BOARD(board, {});
    ASSERT_TRUE(usb::open());
    gb::f_gba_init();
    Bytes buffer(0x8000, 0x5A);
    EXPECT_EQ(gb::f_gba_sram_read(0, buffer.data(), 32768), 32768u);
    EXPECT_EQ(gb::f_gba_flash64k_read(0x100, buffer.data(), 5000), 5000u);
    EXPECT_EQ(gb::f_gba_sram_write(0x1234, buffer.data(), 300), 1024u);
    gb::f_gba_flash128k_write(0x12345, buffer.data(), 10);
    gb::f_gba_flash64k_write(0x12345, buffer.data(), 10);
    EXPECT_EQ(gb::f_gba_eep8k_write(0, buffer.data(), 8192), 8192u);
    EXPECT_EQ(gb::f_gba_eep512b_write(0, buffer.data(), 512), 512u);
    EXPECT_EQ(gb::f_gba_eep512b_write(0, buffer.data(), 511), 0u);
    EXPECT_EQ(gb::f_gba_eep8k_read(0x40, buffer.data(), 8192), 8192u);
    EXPECT_EQ(gb::f_gba_sram_erase(), 512u);
    board.unmount();

    const auto w = after_init(board);
    size_t at = 0;
    for (uint32_t k = 0; k < 8; ++k, ++at) {
        EXPECT_EQ(w[at][2], 0x11);
        EXPECT_EQ(le16(&w[at][4]), 4096 * k);
        EXPECT_EQ(le16(&w[at][8]), 4096u);
    }
    EXPECT_EQ(w[at][2], 0x08);
    EXPECT_EQ(le16(&w[at++][8]), 4096u);
    EXPECT_EQ(le16(&w[at][4]), 0x1100u);
    EXPECT_EQ(le16(&w[at++][8]), 904u);
    ASSERT_EQ(w[at].size(), 1024u);
    EXPECT_EQ(w[at][2], 0x10);
    EXPECT_EQ(le16(&w[at][8]), 256u);
    EXPECT_EQ(le16(&w[at][512 + 4]), 0x1234u + 256);
    EXPECT_EQ(le16(&w[at][512 + 8]), 44u);
    EXPECT_EQ(w[at][10] | w[at][11], 0) << "offsets 10 and 11 stay 0";
    ++at;
    EXPECT_EQ(w[at][2], 0x0B);
    EXPECT_EQ(Bytes(w[at].begin() + 4, w[at].begin() + 8), (Bytes{0x45, 0x23, 0x01, 0x00}));
    ++at;
    EXPECT_EQ(w[at][2], 0x0A);
    EXPECT_EQ(Bytes(w[at].begin() + 4, w[at].begin() + 8), (Bytes{0x45, 0x23, 0x00, 0x00}));
    ++at;
    for (uint32_t k = 0; k < 32; ++k, ++at) {
        ASSERT_EQ(w[at].size(), 512u);
        EXPECT_EQ(w[at][2], 0x0F);
        EXPECT_EQ(le16(&w[at][4]), 256 * k);
    }
    EXPECT_EQ(w[at][2], 0x0E);
    EXPECT_EQ(le16(&w[at++][4]), 0u);
    EXPECT_EQ(le16(&w[at++][4]), 256u);
    EXPECT_EQ(w[at][2], 0x0D);
    EXPECT_EQ(le16(&w[at][4]), 0x40u);
    EXPECT_EQ(le16(&w[at++][8]), 8192u);
    EXPECT_EQ(w[at][2], 0x07);
    EXPECT_EQ(at + 1, w.size());
}

TEST(GbaSave, PairSelectionAndItsResetByTheModeSwitch) {
    MOUNT_BOARD(board, {});
    ASSERT_TRUE(usb::open());
    gb::f_gba_init();
    gb::f_gba_save_cfg(gb::save_pair_for(1, 0x20000));
    EXPECT_EQ(gb::p_gba_save_read, &gb::f_gba_flash128k_read);
    EXPECT_EQ(gb::p_gba_save_write, &gb::f_gba_flash128k_write);
    EXPECT_EQ(gb::f_gba_save_cfg(5), 0u);
    EXPECT_EQ(gb::p_gba_save_read, &gb::f_gba_flash128k_read);
    EXPECT_EQ(gb::save_pair_for(2, 0x2000), int(gb::kSaveEep8k));
    EXPECT_EQ(gb::save_pair_for(1, 0x8000), -1);
    gb::f_gba_init();
    EXPECT_EQ(gb::p_gba_save_read, &gb::f_gba_sram_read);
    EXPECT_EQ(gb::p_gba_save_write, &gb::f_gba_sram_write);
}

TEST(BusOnBoard, GbBanksAndRamThroughMbc5) {
    TempDir dir;
    const Bytes rom = romgen::gb_image(0x1B, 3, 3);
    testing_support::write_file(dir.file("rom.gb"), rom);
    MOUNT_BOARD(board, {"--gb", dir.file("rom.gb"), "--save-out", dir.file("save.out")});
    ASSERT_TRUE(usb::open());
    gb::f_gb_init();
    Bytes bank(0x4000);
    for (uint32_t n : {0u, 5u, 15u}) {
        uint32_t a[2] = {0x3000, 0x2000}, v[2] = {0, n};
        gb::p_gb_cpu_write(a, v, 2);
        ASSERT_EQ(gb::p_gb_cpu_read(0x4000, bank.data(), 0x4000), 0x4000u);
        EXPECT_EQ(bank, Bytes(rom.begin() + n * 0x4000, rom.begin() + (n + 1) * 0x4000)) << n;
    }
    const Bytes save = romgen::pattern(0x2000, 3);
    uint32_t a[2] = {0x0000, 0x4000}, v[2] = {0x0A, 2};
    gb::p_gb_cpu_write(a, v, 2);
    EXPECT_GT(gb::p_gb_ram_write(0xA000, save.data(), 0x2000), 0u);
    board.unmount();
    const Bytes out = read_file(dir.file("save.out"));
    ASSERT_EQ(out.size(), 0x8000u);
    EXPECT_EQ(Bytes(out.begin() + 0x4000, out.begin() + 0x6000), save);
}

TEST(BusOnBoard, GbaSavesOfEveryKindWrittenReadAndErased) {
    TempDir dir;
    testing_support::write_file(dir.file("rom.gba"), romgen::gba_image(0x100000, "ZTST"));
    for (const auto& k : kGbaSaveKinds) {
        SCOPED_TRACE(k.kind);
        MOUNT_BOARD(board, {"--gba", dir.file("rom.gba"), "--gba-save", k.kind, "--erase-ms",
                            "1000", "--save-out", dir.file("save.out")});
        ASSERT_TRUE(usb::open());
        gb::f_gba_init();
        gb::f_gba_save_cfg(uint32_t(gb::save_pair_for(k.type, k.size)));
        Bytes data = romgen::pattern(k.size, k.size), got(k.size);
        if (k.type == 1) {  // a flash save is erased first, and reads busy until done
            ASSERT_GT(gb::f_gba_sram_erase(), 0u);
            uint8_t head[10];
            gb::f_gba_sram_read(0, head, 10);
            EXPECT_EQ(head[0], 0x00);
            EXPECT_TRUE(testing_support::poll_until([&] {
                return gb::f_gba_sram_read(0, head, 10) == 10 && head[0] == 0xFF;
            })) << "the erase ends";
        }
        ASSERT_GT(gb::p_gba_save_write(0, data.data(), k.size), 0u);
        ASSERT_EQ(gb::p_gba_save_read(0, got.data(), k.size), k.size);
        EXPECT_EQ(got, data);
        board.unmount();
        EXPECT_EQ(read_file(dir.file("save.out")), data);
    }
}

TEST(BusOnBoard, AFailingBoardShowsInTheResults) {
    MOUNT_BOARD(board, {"--fail-after", "2"});
    ASSERT_TRUE(usb::open());  // the first operation: the label read
    EXPECT_EQ(gb::f_gb_init(), 0u) << "the second block is refused";
    uint8_t data[16];
    EXPECT_EQ(gb::f_gb_cpu_read(0, data, 16), 0u);
    EXPECT_EQ(gb::f_gba_sram_read(0, data, 16), 0u);
}

}  // namespace
