// Device link: CRC framing, the payload cipher, command writes, uncached reads
// and the selection of the board's volume.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "cart/bus.h"
#include "device/bf.h"
#include "device/cmd.h"
#include "device/crc.h"
#include "device/file.h"
#include "device/platform.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "romgen.h"
#include "support/mounted_board.h"

using testing_support::MountedBoard;
using testing_support::TempDir;

namespace {

std::vector<uint8_t> block(uint8_t group, uint8_t op) {
    std::vector<uint8_t> b(512, 0);
    b[1] = group;
    b[2] = op;
    return b;
}

TEST(Crc, WorkedTrailersOfBareBlocks) {
    const struct {
        uint8_t group, op, hi, lo;
    } cases[] = {{0xF0, 0x02, 0x8A, 0x5F}, {0xF0, 0x03, 0x27, 0x5C}, {0xF0, 0x04, 0x54, 0x36},
                 {0x02, 0x01, 0x69, 0x47}, {0x03, 0x01, 0x0E, 0x00}, {0x03, 0x07, 0xD0, 0x69}};
    for (const auto& c : cases) {
        std::vector<uint8_t> b = block(c.group, c.op);
        cmd::frame(b.data());
        EXPECT_EQ(b[0], 0x5A);
        EXPECT_EQ(b[510], c.hi) << std::hex << int(c.group) << " " << int(c.op);
        EXPECT_EQ(b[511], c.lo) << std::hex << int(c.group) << " " << int(c.op);
    }
}

TEST(Crc, IsXmodemAndCoversEveryFramedByte) {
    const char* check = "123456789";
    EXPECT_EQ(crc::update(0, reinterpret_cast<const uint8_t*>(check), 9), 0x31C3);
    EXPECT_EQ(crc::generate_crc16(reinterpret_cast<const uint8_t*>(check), 2), 0);

    std::vector<uint8_t> b = block(0x02, 0x0D);
    cmd::frame(b.data());
    const std::vector<uint8_t> framed = b;
    cmd::frame(b.data());
    EXPECT_EQ(b, framed) << "reframing a framed block changes nothing";
    for (size_t at : {1u, 3u, 255u, 509u}) {
        std::vector<uint8_t> changed = framed;
        changed[at] ^= 0x01;
        cmd::frame(changed.data());
        EXPECT_NE(std::memcmp(&changed[510], &framed[510], 2), 0) << "byte " << at;
    }
}

// Published vectors write each half most significant byte first; this system
// stores each half least significant byte first, so the byte order of each
// half is swapped against the published byte strings.
void put_half(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
uint32_t get_half(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

TEST(Blowfish, PublishedVectorsInTheSystemsByteOrder) {
    const struct {
        uint64_t key, plain, cipher;
    } vectors[] = {{0x0000000000000000, 0x0000000000000000, 0x4EF997456198DD78},
                   {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x51866FD5B85ECB8A},
                   {0x3000000000000000, 0x1000000000000001, 0x7D856F9A613063F2},
                   {0x0123456789ABCDEF, 0x1111111111111111, 0x61F9C3802281B096}};
    for (const auto& v : vectors) {
        uint8_t key[8];
        for (int i = 0; i < 8; ++i) key[i] = uint8_t(v.key >> (56 - 8 * i));
        bf::init(key);
        uint8_t data[8];
        put_half(data, uint32_t(v.plain >> 32));
        put_half(data + 4, uint32_t(v.plain));
        bf::crypt_data(data, 8);
        EXPECT_EQ(get_half(data), uint32_t(v.cipher >> 32)) << std::hex << v.key;
        EXPECT_EQ(get_half(data + 4), uint32_t(v.cipher)) << std::hex << v.key;
    }
}

TEST(Blowfish, KeyIsUsedCyclicallyAndBlocksAreIndependent) {
    const uint8_t key[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t repeated[72];
    for (int i = 0; i < 72; ++i) repeated[i] = key[i % 8];
    bf::BLOWFISH_CTX a, b;
    bf::Blowfish_Init(&a, key, 8);
    bf::Blowfish_Init(&b, repeated, 72);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);

    bf::init(key);
    uint8_t data[21];
    for (int i = 0; i < 21; ++i) data[i] = uint8_t(i % 8);
    const std::vector<uint8_t> original(data, data + 21);
    bf::crypt_data(data, 21);
    EXPECT_EQ(std::memcmp(data, data + 8, 8), 0) << "blocks are independent";
    EXPECT_NE(std::memcmp(data, original.data(), 8), 0);
    EXPECT_EQ(std::memcmp(data + 16, &original[16], 5), 0) << "a short tail stays as it is";
}

class NoCacheLoad : public ::testing::Test {
protected:
    void SetUp() override {
        for (size_t i = 0; i < content.size(); ++i) content[i] = uint8_t(i * 7 + (i >> 9));
        testing_support::write_file(path, content);
    }
    TempDir dir;
    std::string path = dir.file("data.bin");
    std::vector<uint8_t> content = std::vector<uint8_t>(10000);
};

// Each case against a file system that accepts O_DIRECT and one that refuses it.
void check_loads(const std::string& path, const std::vector<uint8_t>& content) {
    std::vector<uint8_t> dest(4096, 0xEE);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data(), 0, 0), 0u);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data(), 1023, 5), 1023u);
    EXPECT_EQ(std::memcmp(dest.data(), &content[5], 1023), 0);
    EXPECT_EQ(dest[1023], 0xEE) << "nothing beyond the asked length is written";
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data(), 1024, 4096), 1024u);
    EXPECT_EQ(std::memcmp(dest.data(), &content[4096], 1024), 0);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data() + 3, 3001, 777), 3001u);
    EXPECT_EQ(std::memcmp(dest.data() + 3, &content[777], 3001), 0);
    // Near the end a request, short or long, reports what the file still held.
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data(), 100, uint32_t(content.size() - 10)),
              10u);
    EXPECT_EQ(std::memcmp(dest.data(), &content[content.size() - 10], 10), 0);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data(), 2000, uint32_t(content.size() - 1500)),
              1500u);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest.data(), 100, uint32_t(content.size())), 0u);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), nullptr, 100, 0), 0u);
    EXPECT_EQ(file::NoCacheLoad((path + ".missing").c_str(), dest.data(), 100, 0), 0u);
}

TEST_F(NoCacheLoad, OnAFileSystemThatAcceptsDirectIo) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECT);
    if (fd < 0) GTEST_SKIP() << "this file system refuses O_DIRECT";
    ::close(fd);
    check_loads(path, content);
}

TEST_F(NoCacheLoad, AHeldFileCountsAsUnreadable) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    uint8_t dest[16];
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest, 16, 0), 0u);
    ::close(fd);
    EXPECT_EQ(file::NoCacheLoad(path.c_str(), dest, 16, 0), 16u);
}

TEST(NoCacheLoadOnBoard, FallsBackWhereDirectIoIsRefused) {
    MOUNT_BOARD(board, {"--refuse-direct", "--label", "FW-LABEL"});
    const std::string ident = board.mountpoint() + "/K-DRIVER.DMP";
    ASSERT_LT(::open(ident.c_str(), O_RDONLY | O_DIRECT), 0);
    uint8_t record[1024] = {};
    EXPECT_EQ(file::NoCacheLoad(ident.c_str(), record, 8, 0x8000), 8u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record), 8), "FW-LABEL");
    EXPECT_EQ(file::NoCacheLoad(ident.c_str(), record, 900, 0x8000 + 100), 900u);
    EXPECT_EQ(file::NoCacheLoad(ident.c_str(), record, 1000, 0x8000 + 100), 924u) << "short";
    EXPECT_EQ(file::NoCacheLoad(ident.c_str(), record, 2000, 0x8000), 1024u) << "the file's end";
}

TEST(CommandWrite, SendsEveryBlockFramedInOneWrite) {
    MOUNT_BOARD(board, {"--serial", "SERIAL0123456789"});
    ASSERT_EQ(usb::open(), 1);
    std::vector<uint8_t> buffer(1536, 0);
    for (int i = 0; i < 3; ++i) buffer[i * 512 + 1] = 0x02, buffer[i * 512 + 2] = 0x0D;
    EXPECT_EQ(cmd::send(buffer.data(), 1536), 1536u);
    EXPECT_EQ(cmd::send(buffer.data(), 1000), 0u) << "not a whole number of blocks";
    uint8_t serial[16] = {};
    EXPECT_TRUE(cmd::read_sn(serial, 16));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(serial), 16), "SERIAL0123456789");
    board.unmount();

    const auto writes = board.command_writes();
    ASSERT_EQ(writes.size(), 2u);
    ASSERT_EQ(writes[0].size(), 1536u);
    for (int i = 0; i < 3; ++i) {
        const uint8_t* b = writes[0].data() + i * 512;
        EXPECT_EQ(b[0], 0x5A);
        EXPECT_EQ(crc::generate_crc16(b, 512), uint16_t(b[510] << 8 | b[511]));
    }
    EXPECT_EQ(writes[1][1], 0xF0);
    EXPECT_EQ(writes[1][2], 0x04);
    EXPECT_EQ(writes[1][510], 0x54);
    EXPECT_EQ(writes[1][511], 0x36);
}

TEST(CommandWrite, HeldFilesStillFlushEachCommandAndReadPastTheCache) {
    TempDir dir;
    const std::vector<uint8_t> rom = romgen::gb_image(0x1B, 5, 0);
    testing_support::write_file(dir.file("rom.gb"), rom);
    MOUNT_BOARD(board, {"--gb", dir.file("rom.gb"), "--fail-after", "12"});
    ASSERT_EQ(usb::open(), 1);
    {
        const usb::HeldFiles held;
        ASSERT_EQ(gb::f_gb_init(), 512u);
        // Bank 0x13 through both bank registers, then bank 7 through the low one alone.
        uint32_t addresses[] = {0x3000, 0x2000}, values[] = {0x00, 0x13};
        ASSERT_EQ(gb::f_gb_cpu_write(addresses, values, 2), 1024u);
        std::vector<uint8_t> bank(0x4000);
        ASSERT_EQ(usb::read_rom(0x4000, bank.data(), 0x4000), 0x4000u);
        EXPECT_TRUE(std::equal(bank.begin(), bank.end(), rom.begin() + 0x13 * 0x4000));
        values[1] = 7;
        ASSERT_EQ(gb::f_gb_cpu_write(&addresses[1], &values[1], 1), 512u);
        ASSERT_EQ(usb::read_rom(0x4000, bank.data(), 0x4000), 0x4000u);
        EXPECT_TRUE(std::equal(bank.begin(), bank.end(), rom.begin() + 7 * 0x4000));
        // The volume's command file holds the short command alone, as the board reads it.
        const std::vector<uint8_t> file =
            testing_support::read_file(board.mountpoint() + "/CMD.CMD");
        ASSERT_EQ(file.size(), 512u);
        EXPECT_EQ(proto::get16(file.data() + proto::kGbAddr), 0x2000u);
        EXPECT_EQ(file[proto::kGbValue], 7);
        // Once the board stops answering, a held command file reports it too.
        int sent = 0;
        while (sent < 12 && gb::f_gb_cpu_write(&addresses[1], &values[1], 1) == 512u) ++sent;
        EXPECT_LT(sent, 12);
    }
    board.unmount();

    const auto writes = board.command_writes();
    ASSERT_GE(writes.size(), 4u);
    EXPECT_EQ(writes[2].size(), 1024u);
    EXPECT_EQ(writes[3].size(), 512u) << "no bytes of the longer command before it";
}

// Leaves a pattern where the next call's locals will lie.
__attribute__((noinline)) void dirty_stack() {
    volatile uint8_t junk[8192];
    for (size_t i = 0; i < sizeof junk; ++i) junk[i] = 0xA5;
}

// A small read that comes back short is reported short, never filled up.
TEST(UncachedRead, AShortSmallTransferReportsWhatCame) {
    TempDir dir;
    testing_support::write_file(dir.file("ten"), std::vector<uint8_t>(10, 0x11));
    std::vector<uint8_t> dest(100, 0xEE);
    dirty_stack();
    EXPECT_EQ(file::NoCacheLoad(dir.file("ten").c_str(), dest.data(), 100, 0), 10u);
    EXPECT_EQ(std::vector<uint8_t>(dest.begin(), dest.begin() + 10),
              std::vector<uint8_t>(10, 0x11));
}

// No descriptor of the board's files or its lock is handed to a program the
// process starts.
TEST(UncachedRead, DescriptorsCloseOnExec) {
    TempDir dir;
    testing_support::write_file(dir.file("data"), std::vector<uint8_t>(4096, 0x11));
    const auto closes_on_exec = [](int fd) { return fd >= 0 && (fcntl(fd, F_GETFD) & FD_CLOEXEC); };
    platform::UncachedFile f;
    platform::open_uncached(dir.file("data").c_str(), f);
    EXPECT_TRUE(closes_on_exec(f.fd));
    platform::VolumeLock lock;
    ASSERT_TRUE(lock.acquire(dir.path()));
    int found = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path(), ec) != std::filesystem::path(dir.path()))
            continue;
        ++found;
        EXPECT_TRUE(closes_on_exec(std::stoi(e.path().filename().string())));
    }
    EXPECT_EQ(found, 1);
}

TEST(TransferBuffer, AlignedForDirectReadsAndFilled) {
    for (const size_t size : {size_t(1), size_t(0x4000), size_t(0x300000)}) {
        platform::TransferBuffer buffer;
        ASSERT_TRUE(buffer.assign(size, 0xFF));
        EXPECT_EQ(buffer.size(), size);
        EXPECT_EQ(uintptr_t(buffer.data()) % platform::kDirectAlign, 0u);
        EXPECT_TRUE(
            std::all_of(buffer.data(), buffer.data() + size, [](uint8_t b) { return b == 0xFF; }));
    }
    platform::TransferBuffer none;
    EXPECT_FALSE(none.assign(0, 0xFF));
}

class Volumes : public ::testing::Test {
protected:
    void make_volume(const std::string& name, const std::string& label, bool board = true) {
        std::filesystem::create_directories(dir.file(name));
        if (!board) return;
        std::vector<uint8_t> ident(0x8000 + 1024, 0);
        std::memcpy(&ident[0x8000], label.data(), std::min<size_t>(label.size(), 1024));
        testing_support::write_file(dir.file(name) + "/K-DRIVER.DMP", ident);
    }
    TempDir dir;
    testing_support::ScopedEnv volumes{"ZELVO_VOLUMES", dir.path()};
};

TEST_F(Volumes, SelectsTheFirstVolumeHoldingTheBoardByItsFullName) {
    make_volume(".hidden", "HIDDEN");
    make_volume("USBSTICK", "", false);
    make_volume("A-VERY-LONG-BOARD-VOLUME-NAME", "QRV_PCB02_FW303");
    ASSERT_EQ(usb::open(), 1);
    EXPECT_EQ(usb::m_volume, "A-VERY-LONG-BOARD-VOLUME-NAME");
    EXPECT_EQ(usb::m_version, "QRV_PCB02_FW303");
    // Commands land on the board's volume, never on the user's stick.
    uint8_t b[512] = {};
    EXPECT_EQ(cmd::send(b, 512), 512u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("A-VERY-LONG-BOARD-VOLUME-NAME/CMD.CMD")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("USBSTICK/CMD.CMD")));
}

TEST_F(Volumes, NoBoardMeansNothingIsWritten) {
    make_volume("USBSTICK", "", false);
    EXPECT_EQ(usb::open(), 0);
    EXPECT_TRUE(usb::m_volume.empty());
    uint8_t b[512] = {};
    EXPECT_EQ(cmd::send(b, 512), 0u);
    EXPECT_EQ(usb::read_rom(0, b, 512), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("CMD.CMD")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("USBSTICK/CMD.CMD")));
}

// A label is printable text ended by a NUL within its 255 characters; a
// record without one holds no label, and the volume is no board.
TEST_F(Volumes, ALabelEndsWithANulWithinItsLength) {
    make_volume("BOARD", std::string(1024, 'L'));
    EXPECT_EQ(usb::open(), 0);
    make_volume("BOARD", std::string(255, 'L') + '\0');
    ASSERT_EQ(usb::open(), 1);
    EXPECT_EQ(usb::m_version, std::string(255, 'L'));
}

}  // namespace
