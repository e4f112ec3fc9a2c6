// The virtual board itself, through its real mount: framing checks, the flash
// cartridge's chip model and its faults.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "cart/bus.h"
#include "device/bf.h"
#include "device/cmd.h"
#include "device/file.h"
#include "device/usb.h"
#include "romgen.h"
#include "support/mounted_board.h"

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

namespace {

std::string text_of(const std::string& path) {
    const Bytes b = read_file(path);
    return std::string(b.begin(), b.end());
}

// A GB RAM write block of 4 bytes at 0xA000, framed.
Bytes ram_write_block(uint8_t value) {
    Bytes b(512, 0);
    b[1] = 0x02, b[2] = 0x0C, b[3] = 0x00, b[4] = 0xA0, b[5] = 4;
    std::memset(&b[7], value, 4);
    cmd::frame(b.data());
    return b;
}

TEST(VirtualBoard, BlocksWithoutZOrWithABadTrailerAreNotExecuted) {
    TempDir dir;
    write_file(dir.file("rom.gb"), romgen::gb_image(0x09, 0, 2));
    MOUNT_BOARD(board, {"--gb", dir.file("rom.gb"), "--save-out", dir.file("save.out")});
    ASSERT_EQ(usb::open(), 1);
    Bytes buffer = ram_write_block(0x11);
    Bytes badCrc = ram_write_block(0x22);
    badCrc[511] ^= 0xFF;
    Bytes noZ = ram_write_block(0x33);
    noZ[0] = 'Y';
    buffer.insert(buffer.end(), badCrc.begin(), badCrc.end());
    buffer.insert(buffer.end(), noZ.begin(), noZ.end());
    const std::string command = usb::device_path("CMD.CMD");
    ASSERT_EQ(file::Save(command.c_str(), buffer.data(), uint32_t(buffer.size())), 1536u);
    board.unmount();

    EXPECT_EQ(read_file(dir.file("save.out"))[0], 0x11) << "only the framed block ran";
    const std::string notes = text_of(board.file("raw.log.txt"));
    EXPECT_NE(notes.find("write 1536 bytes"), std::string::npos);
    EXPECT_NE(notes.find("rejected block 1: bad CRC"), std::string::npos);
    EXPECT_NE(notes.find("rejected block 2: no Z"), std::string::npos);
    EXPECT_EQ(board.command_writes().back(), buffer) << "the raw log keeps every write";
}

class FlashCart : public ::testing::Test {
protected:
    void mount(const std::string& wiring, const std::string& eraseMs = "100",
               const std::vector<std::string>& more = {}) {
        REQUIRE_FUSE();
        std::vector<std::string> args = {
            "--flash", "0x40000",     "--flash-wiring",      wiring,     "--erase-ms",
            eraseMs,   "--flash-out", dir.file("flash.out"), "--serial", "0123456789ABCDEF"};
        args.insert(args.end(), more.begin(), more.end());
        board.reset();
        board = std::make_unique<MountedBoard>(args);
        ASSERT_TRUE(board->mounted());
        ASSERT_EQ(usb::open(), 1);
        ASSERT_GT(gb::f_gb_init(), 0u);
    }
    void write(std::initializer_list<std::pair<uint32_t, uint32_t>> pairs) {
        std::vector<uint32_t> a, v;
        for (auto [address, value] : pairs) a.push_back(address), v.push_back(value);
        ASSERT_GT(gb::p_gb_cpu_write(a.data(), v.data(), uint32_t(a.size())), 0u);
    }
    Bytes read(uint32_t address, uint32_t n) {
        Bytes b(n);
        EXPECT_EQ(gb::p_gb_cpu_read(address, b.data(), n), n);
        return b;
    }
    TempDir dir;
    std::unique_ptr<MountedBoard> board;
};

TEST_F(FlashCart, AnswersTheQueryOnlyInItsOwnWiring) {
    mount("16");
    write({{0xAA, 0x98}});
    Bytes q = read(0, 128);
    EXPECT_EQ(q[0x20], 'Q');
    EXPECT_EQ(q[0x22], 'R');
    EXPECT_EQ(q[0x24], 'Y');
    EXPECT_EQ(q[0x4E], 18) << "256 KiB";
    write({{0, 0xF0}});
    EXPECT_EQ(read(0, 1)[0], 0xFF) << "back to the (erased) array";
    board.reset();

    // An 8-bit chip of an older kind answers only its IDs; one that knows the
    // query answers it at 0x55.
    mount("8", "100", {"--flash-id", "01AD"});
    write({{0x55, 0x98}});
    EXPECT_NE(read(0x10, 1)[0], 'Q');
    write({{0x555, 0xAA}, {0x2AA, 0x55}, {0x555, 0x90}});
    EXPECT_EQ(read(0, 2), Bytes({0x01, 0xAD}));
    write({{0, 0xF0}});
    board.reset();

    mount("8", "100", {"--flash-query8"});
    write({{0xAA, 0x98}});
    EXPECT_NE(read(0x20, 1)[0], 'Q') << "the 8-bit chip ignores a query at 0xAA";
    write({{0x55, 0x98}});
    q = read(0, 128);
    EXPECT_EQ(std::string(q.begin() + 0x10, q.begin() + 0x13), "QRY");
    EXPECT_EQ(q[0x27], 18);
}

TEST_F(FlashCart, ErasesInTimeAndProgramsOnlyItsOwnFamily) {
    mount("8", "1500");
    write({{0x555, 0xAA}, {0x2AA, 0x55}, {0x555, 0xA0}, {0x0100, 0x5A}});  // one byte programmed
    EXPECT_EQ(read(0x100, 1)[0], 0x5A);
    write(
        {{0x555, 0xAA}, {0x2AA, 0x55}, {0x555, 0x80}, {0x555, 0xAA}, {0x2AA, 0x55}, {0x555, 0x10}});
    EXPECT_EQ(read(0, 1)[0], 0x00) << "busy while erasing";
    EXPECT_TRUE(poll_until([&] { return read(0, 1)[0] == 0xFF; })) << "the erase ends";
    EXPECT_EQ(read(0x100, 1)[0], 0xFF) << "erased";

    const char* serial = "0123456789ABCDEF";  // its first 8 bytes are the key
    bf::init(reinterpret_cast<const uint8_t*>(serial));
    const Bytes data = romgen::pattern(0x4000, 5);
    write({{0x2000, 3}});
    gb::f_gb_flash_cfg(1);  // 29LV: not this chip's family
    ASSERT_GT(gb::p_gb_cpu_flash(0x4000, data.data(), 0x4000), 0u);
    EXPECT_EQ(read(0x4000, 0x4000), Bytes(0x4000, 0xFF)) << "nothing programmed";
    gb::f_gb_flash_cfg(0);
    ASSERT_GT(gb::p_gb_cpu_flash(0x4000, data.data(), 0x4000), 0u);
    EXPECT_EQ(read(0x4000, 0x4000), data) << "deciphered and programmed through bank 3";
    board->unmount();
    const Bytes chip = read_file(dir.file("flash.out"));
    EXPECT_EQ(Bytes(chip.begin() + 3 * 0x4000, chip.begin() + 4 * 0x4000), data);
    EXPECT_NE(text_of(board->file("raw.log.txt")).find("does not match the chip"),
              std::string::npos);
}

TEST(VirtualBoardFaults, APulledBoardFailsReadsAndCommandWrites) {
    MOUNT_BOARD(board, {"--fail-after", "1"});
    ASSERT_EQ(usb::open(), 1);
    uint8_t b[512] = {};
    EXPECT_EQ(cmd::send(b, 512), 0u);
    EXPECT_EQ(usb::read_rom(0, b, 512), 0u);
    EXPECT_EQ(usb::read_dmp(0, b, 512), 0u);
}

// romgen takes sizes with their units and refuses what it cannot read.
TEST(Romgen, SizesWithUnitsAndNothingElse) {
    TempDir dir;
    const struct {
        std::string args;
        int status;
        size_t size;
    } runs[] = {{"gba 8M ZTST", 0, 8 << 20},
                {"gba 512K ZTST", 0, 512 << 10},
                {"gba 0x100000 ZTST", 0, 1 << 20},
                {"gba 8Q ZTST", 2, 0},
                {"gba 100 ZTST", 2, 0},
                {"gb 0x1B 5x 3", 2, 0}};
    for (const auto& r : runs) {
        SCOPED_TRACE(r.args);
        const std::string out = dir.file("image");
        std::remove(out.c_str());
        const int status =
            std::system((ROMGEN_PATH " " + r.args + " " + out + " 2>/dev/null").c_str());
        EXPECT_EQ(WEXITSTATUS(status), r.status);
        EXPECT_EQ(read_file(out).size(), r.size);
    }
}

}  // namespace
