// Saves that come home whole: the MBC3 clock travels with the save, and Write
// RAM keeps the cartridge's save in the backup folder first.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QStringList>

#include "device/protocol.h"
#include "jobs/clock_trailer.h"
#include "jobs/famicom_thread.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace testing_support;

constexpr uint32_t kRam = 0x8000;

class Saves : public ::testing::Test {
protected:
    // An MBC3 cartridge with a timer, battery and 32 KiB of RAM.
    void mount(std::vector<std::string> extra) {
        REQUIRE_FUSE();
        write_file(dir.file("rom.gb"), romgen::gb_image(0x10, 2, 3));
        extra.insert(extra.begin(),
                     {"--gb", dir.file("rom.gb"), "--save-out", dir.file("model.sav")});
        board.reset();
        board = std::make_unique<MountedBoard>(extra);
        ASSERT_TRUE(board->mounted());
    }
    bool run(uint32_t type, const std::string& file) {
        FamicomThread job;
        QObject::connect(&job, &FamicomThread::log, [this](const QString& s) { log << s; });
        job.m_type = type;
        job.m_script = MAPPER_DIR "/gb_mbc3.nut";
        job.m_file = QString::fromStdString(file);
        job.m_rom_size = 0x20000;
        job.m_ram_size = kRam;
        job.m_backup_folder = QString::fromStdString(backups);
        return job.execute();
    }
    // The clock as a save read reports it: the trailer's current registers.
    Bytes clock_now() {
        EXPECT_TRUE(run(kJobGbSaveRead, dir.file("clock.sav"))) << log.join("\n").toStdString();
        const Bytes file = read_file(dir.file("clock.sav"));
        ClockState state;
        EXPECT_TRUE(file.size() == kRam + kClockTrailerSize &&
                    parse_clock_trailer(gb::ClockKind::Mbc3, file.data() + kRam, kClockTrailerSize,
                                        &state));
        return Bytes(state.regs, state.regs + kClockRegisterCount);
    }
    std::string save_with_clock(const Bytes& regs, int64_t time, size_t trailer) {
        QByteArray bytes = clock_trailer(gb::ClockKind::Mbc3, regs.data(), time).left(int(trailer));
        if (trailer == kClockTrailerShortSize)
            proto::put32(reinterpret_cast<uint8_t*>(bytes.data()) + 40, uint32_t(time));
        Bytes file = romgen::pattern(kRam, 7);
        file.insert(file.end(), bytes.begin(), bytes.end());
        write_file(dir.file("in.sav"), file);
        return dir.file("in.sav");
    }
    TempDir dir;
    std::string backups = dir.file("backups");
    std::unique_ptr<MountedBoard> board;
    QStringList log;
};

// A GBA clock trailer holding an impossible date, weekday, status or time is
// refused with its reason; a possible one is taken.
TEST(ClockTrailers, ImpossibleGbaClocksAreRefused) {
    const int64_t now = QDateTime::currentSecsSinceEpoch();
    const struct {
        const char* name;
        uint8_t regs[8];  // year, month, day, weekday, hour, minute, second, status (BCD)
        int64_t time;
        const char* why;  // null: taken
    } cases[] = {
        {"a leap day", {0x24, 0x02, 0x29, 4, 0x12, 0x00, 0x00, 0x40}, now, nullptr},
        {"Feb 30", {0x23, 0x02, 0x30, 4, 0x12, 0x00, 0x00, 0x40}, now, "no date and time"},
        {"Feb 29 of 2023", {0x23, 0x02, 0x29, 4, 0x12, 0x00, 0x00, 0x40}, now, "no date"},
        {"weekday 9", {0x23, 0x05, 0x01, 9, 0x12, 0x00, 0x00, 0x40}, now, "no day of the week"},
        {"status 0xFF", {0x23, 0x05, 0x01, 1, 0x12, 0x00, 0x00, 0xFF}, now, "sets bits"},
        {"100 years ahead",
         {0x23, 0x05, 0x01, 1, 0x12, 0x00, 0x00, 0x40},
         now + int64_t(100) * 365 * 86400,
         "not a date a clock was read on"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray trailer = clock_trailer(gb::ClockKind::GbaRtc, c.regs, c.time);
        ClockState state;
        QString why;
        const bool taken = parse_clock_trailer(
            gb::ClockKind::GbaRtc, reinterpret_cast<const uint8_t*>(trailer.constData()),
            size_t(trailer.size()), &state, &why);
        EXPECT_EQ(taken, c.why == nullptr) << why.toStdString();
        if (c.why) {
            EXPECT_TRUE(why.contains(c.why)) << why.toStdString();
        }
    }
}

TEST_F(Saves, AClockReadGivesTheRegistersAndA48ByteTrailer) {
    mount({"--rtc", "30,20,10,5,1"});
    const int64_t before = QDateTime::currentSecsSinceEpoch();
    ASSERT_TRUE(run(kJobGbSaveRead, dir.file("read.sav"))) << log.join("\n").toStdString();
    const Bytes file = read_file(dir.file("read.sav"));
    ASSERT_EQ(file.size(), kRam + kClockTrailerSize);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(proto::get32(&file[kRam + 4 * i]), Bytes({30, 20, 10, 5, 1})[i])
            << "current " << i;
        EXPECT_EQ(proto::get32(&file[kRam + 20 + 4 * i]), Bytes({30, 20, 10, 5, 1})[i])
            << "latched";
    }
    const int64_t time =
        int64_t(proto::get32(&file[kRam + 40])) | int64_t(proto::get32(&file[kRam + 44])) << 32;
    EXPECT_GE(time, before);
    EXPECT_LE(time, QDateTime::currentSecsSinceEpoch());
}

TEST_F(Saves, AWrittenClockRunsOnFromItsTimestampUnlessHalted) {
    mount({"--rtc", "1,2,3,4,0"});
    const int64_t hourAgo = QDateTime::currentSecsSinceEpoch() - 3600;
    // 10:20:30 on day 5, saved an hour ago, in both trailer lengths.
    for (const size_t trailer : {kClockTrailerSize, kClockTrailerShortSize}) {
        ASSERT_TRUE(run(kJobGbSaveWrite, save_with_clock({30, 20, 10, 5, 0}, hourAgo, trailer)))
            << log.join("\n").toStdString();
        const Bytes regs = clock_now();
        EXPECT_EQ(regs[2], 11) << "an hour further";
        EXPECT_EQ(regs[1], 20);
        EXPECT_LE(regs[0] - 30, 5);
        EXPECT_EQ(regs[3], 5);
    }
    ASSERT_TRUE(
        run(kJobGbSaveWrite, save_with_clock({30, 20, 10, 5, 0x40}, hourAgo, kClockTrailerSize)));
    EXPECT_EQ(clock_now(), Bytes({30, 20, 10, 5, 0x40})) << "a halted clock stays";

    write_file(dir.file("plain.sav"), romgen::pattern(kRam, 8));
    ASSERT_TRUE(run(kJobGbSaveWrite, dir.file("plain.sav")));
    EXPECT_EQ(clock_now(), Bytes({30, 20, 10, 5, 0x40})) << "a save without a trailer leaves it";
}

TEST_F(Saves, WriteRamKeepsThePreviousSaveInTheBackupFolder) {
    const Bytes held = romgen::pattern(kRam, 1);
    write_file(dir.file("held.sav"), held);
    mount({"--save", dir.file("held.sav"), "--rtc", "0,0,0,0,0x40"});
    write_file(dir.file("new.sav"), romgen::pattern(kRam, 2));
    ASSERT_TRUE(run(kJobGbSaveWrite, dir.file("new.sav"))) << log.join("\n").toStdString();
    const QStringList files =
        QDir(QString::fromStdString(backups)).entryList({"*.sav"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith("ZELVO TEST ")) << files[0].toStdString();
    EXPECT_TRUE(log.filter("Backed up the cartridge's save to").join("").contains(files[0]));
    const Bytes backup = read_file(backups + "/" + files[0].toStdString());
    ASSERT_EQ(backup.size(), kRam + kClockTrailerSize) << "with its clock";
    EXPECT_TRUE(Bytes(backup.begin(), backup.begin() + kRam) == held) << "byte for byte";
}

TEST_F(Saves, ABackupThatCannotBeMadeStopsTheWrite) {
    const Bytes held = romgen::pattern(kRam, 1);
    write_file(dir.file("held.sav"), held);
    write_file(dir.file("not-a-folder"), {1});
    backups = dir.file("not-a-folder") + "/backups";
    mount({"--save", dir.file("held.sav")});
    write_file(dir.file("new.sav"), romgen::pattern(kRam, 2));
    EXPECT_FALSE(run(kJobGbSaveWrite, dir.file("new.sav")));
    EXPECT_FALSE(log.filter("could not be backed up").isEmpty()) << log.join("\n").toStdString();
    EXPECT_FALSE(log.contains("Start write save..."));
    board->unmount();
    EXPECT_TRUE(read_file(dir.file("model.sav")) == held) << "nothing written";
}

}  // namespace
