// zelvo3-cli run as a user runs it: the real program against the virtual board,
// checked by its exit status, its log and the files it leaves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "app/cli/cli_options.h"
#include "app/cli/cli_output.h"
#include "app/cli/cli_tables.h"
#include "cart/checksums.h"
#include "cart/known_dumps.h"
#include "jobs/option_tables.h"
#include "romgen.h"
#include "support/camera_save.h"
#include "support/mounted_board.h"
#include "support/window_helpers.h"
#include "ui/console.h"
#include "ui/main_tab.h"
#include "ui/settings.h"

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

namespace {

struct CliRun {
    int code = -1;
    QString out, err;
};

// Runs zelvo3-cli; volumes, when given, replaces the board search directory;
// folder, when given, is where it runs.
CliRun cli(const QStringList& args, const QString& volumes = {}, const QString& folder = {}) {
    QProcess process;
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    if (!volumes.isNull()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ZELVO_VOLUMES", volumes);
        process.setProcessEnvironment(env);
    }
    process.start(CLI_PATH, args);
    CliRun run;
    if (!process.waitForFinished(300000)) return run;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit) run.code = process.exitCode();
    return run;
}

std::string text(const CliRun& run) {
    return QString("exit %1\n--- stdout\n%2--- stderr\n%3")
        .arg(run.code)
        .arg(run.out, run.err)
        .toStdString();
}

class Cli : public ::testing::Test {
protected:
    std::string image(const Bytes& data, const std::string& name) {
        write_file(dir.file(name), data);
        return dir.file(name);
    }
    QString path(const std::string& name) { return QString::fromStdString(dir.file(name)); }
    TempDir dir;
};

TEST(CliCommandLine, SizesOptionsAndPlainText) {
    EXPECT_EQ(parse_size("512"), 512);
    EXPECT_EQ(parse_size("32K"), 32768);
    EXPECT_EQ(parse_size("8MiB"), 8 << 20);
    EXPECT_EQ(parse_size("256Kbit"), 32768);
    EXPECT_EQ(parse_size("64 Mb"), 8 << 20);
    EXPECT_EQ(parse_size("2305843009213693952K"), -1) << "found by fuzzing: an overflowing count";
    EXPECT_EQ(parse_size("128kB"), 131072);
    for (const char* bad : {"", "K", "12Q", "-1", "3bit", "1Kb5", "99999999999M", "128M"})
        EXPECT_EQ(parse_size(bad), -1) << bad;
    EXPECT_EQ(size_text(512), "512");
    EXPECT_EQ(size_text(131072), "128K");
    EXPECT_EQ(size_text(33554432), "32M");

    CliRequest r;
    EXPECT_EQ(parse_cli({"dump-rom", "--system=gba", "x.gba", "--rom-size", "32M", "--verify"}, r),
              "");
    EXPECT_EQ(r.command, CliCommand::DumpRom);
    EXPECT_EQ(r.file, "x.gba");
    EXPECT_EQ(*r.system, kSysGba);
    EXPECT_EQ(*r.romSize, 32 << 20);
    EXPECT_TRUE(r.verify);
    CliRequest s;
    EXPECT_EQ(parse_cli({"read-save", "s.sav", "--save-type", "EEPROM", "--mbc", "tama5"}, s), "");
    EXPECT_EQ(*s.saveType, 2);
    EXPECT_EQ(*s.mbcCode, 6);

    const std::pair<QStringList, const char*> refused[] = {
        {{}, "no command given"},
        {{"erase"}, "unknown command \"erase\""},
        {{"write-save"}, "write-save needs a FILE"},
        {{"info", "extra"}, "unexpected argument \"extra\""},
        {{"info", "--rom-size"}, "--rom-size needs a value"},
        {{"info", "--rom-size", "big"}, "is not a size"},
        {{"info", "--mbc", "mbc4"}, "unknown controller"},
        {{"info", "--system", "nes"}, "unknown system"},
        {{"info", "--colour"}, "unknown option --colour"},
        {{"info", "--system", "gba", "--mbc", "mbc5"}, "GBA cartridges have none"},
    };
    for (const auto& [args, message] : refused) {
        CliRequest q;
        EXPECT_TRUE(parse_cli(args, q).contains(message)) << args.join(' ').toStdString();
    }

    EXPECT_EQ(plain_text("Support all, need <span style=\"color: #ffcc00;\">FW303</span> &amp; "
                         "&lt;more&gt;"),
              "Support all, need FW303 & <more>");
    EXPECT_EQ(plain_text("\r\n"), "");
    EXPECT_EQ(plain_text("Reading data from ROM to file:\n/tmp/a.gb"),
              "Reading data from ROM to file:\n/tmp/a.gb");
    EXPECT_EQ(progress_text(1 << 20, 4 << 20, 1000, 8),
              "[##......]  25% 1.0 of 4.0 MiB, 1.0 MiB/s, 0:03 left");
    EXPECT_EQ(progress_text(4 << 20, 4 << 20, 2000, 0),
              "progress: 100% 4.0 of 4.0 MiB in 2.00 s, 2.0 MiB/s");
    EXPECT_EQ(progress_text(8192, 32768, 50, 0), "progress:  25% 8.0 of 32.0 KiB");
}

TEST_F(Cli, InfoAndAGbDumpUseWhatTheHeaderSays) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 3);
    MOUNT_BOARD(board, {"--gb", image(rom, "rom.gb")});

    const CliRun info = cli({"info"});
    EXPECT_EQ(info.code, 0) << text(info);
    for (const char* line :
         {"Driver label: ZELVO", "--GB/GBC Cartridge information--", "Title: ZELVO TEST",
          "Cart type: ROM+MBC5+RAM+BATT", "ROM Size: 1024KB", "RAM Size: 32KB"})
        EXPECT_TRUE(info.out.split('\n').contains(line)) << line << "\n" << text(info);
    EXPECT_FALSE(info.out.contains('<')) << "markup left in the log";

    const CliRun dump = cli({"dump-rom", path("out.gb")});
    ASSERT_EQ(dump.code, 0) << text(dump);
    EXPECT_TRUE(dump.out.contains("Settings: GB/GBC, MBC5, ROM 8 Mbit, RAM 32 K"));
    EXPECT_TRUE(dump.out.contains("Reading data from ROM to file:\n" + path("out.gb")));
    EXPECT_TRUE(dump.out.contains(">Success!"));
    EXPECT_TRUE(dump.err.contains("progress: 100% 1.0 of 1.0 MiB in ")) << text(dump);
    EXPECT_EQ(read_file(dir.file("out.gb")), rom);

    // An existing file is kept unless --force says otherwise; options override the header.
    write_file(dir.file("out.gb"), {'K', 'E', 'E', 'P'});
    const CliRun kept = cli({"dump-rom", path("out.gb")});
    EXPECT_EQ(kept.code, 4) << text(kept);
    EXPECT_TRUE(kept.err.contains("already exists; add --force")) << text(kept);
    EXPECT_EQ(read_file(dir.file("out.gb")), Bytes({'K', 'E', 'E', 'P'}));
    const CliRun half = cli({"dump-rom", path("out.gb"), "--force", "--rom-size", "512K"});
    ASSERT_EQ(half.code, 5) << "half an image fails its global checksum\n" << text(half);
    EXPECT_EQ(read_file(dir.file("out.gb")), Bytes(rom.begin(), rom.begin() + 0x80000));
}

#ifdef SQUIRREL_RUNTIME_LIBRARY
// The interpreter's heavy library is loaded by a job that runs a script, and
// by nothing else, so that --help, info and verify start at once.
TEST_F(Cli, OnlyAJobThatRunsAScriptLoadsTheInterpreter) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 3);
    MOUNT_BOARD(board, {"--gb", image(rom, "rom.gb")});
    const struct {
        QStringList args;
        bool loads;
    } runs[] = {{{"--help"}, false},
                {{"info"}, false},
                {{"dump-rom", path("out.gb")}, true},
                {{"verify", path("out.gb")}, false}};
    for (const auto& r : runs) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_DEBUG", "files");  // the dynamic loader names every library it loads
        process.setProcessEnvironment(env);
        process.start(CLI_PATH, r.args);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << r.args.join(' ').toStdString();
        EXPECT_EQ(process.readAllStandardError().contains(SQUIRREL_RUNTIME_LIBRARY), r.loads)
            << r.args.join(' ').toStdString();
    }
}
#endif

// zelvo3-cli answers --help, --version and the completion with zelvo3-cli-qt's
// own texts and without loading Qt, and names zelvo3-cli-qt when it is missing.
TEST_F(Cli, TheLauncherAnswersWithTheProgramsTextsAndNamesAMissingProgram) {
    const QString folder = QFileInfo(CLI_PATH).absolutePath();
    for (const char* option : {"--help", "--version", "--bash-completion"}) {
        QProcess launcher, program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_DEBUG", "files");
        launcher.setProcessEnvironment(env);
        launcher.start(CLI_PATH, {option});
        program.start(folder + "/zelvo3-cli-qt", {option});
        ASSERT_TRUE(launcher.waitForFinished(60000) && program.waitForFinished(60000));
        EXPECT_EQ(launcher.readAllStandardOutput(), program.readAllStandardOutput()) << option;
        EXPECT_FALSE(launcher.readAllStandardError().contains("libQt5Core")) << option;
    }
    const QString alone = path("alone");
    QDir().mkpath(alone);
    QFile::copy(CLI_PATH, alone + "/zelvo3-cli");
    QProcess launcher;
    launcher.start(alone + "/zelvo3-cli", {"info"});
    ASSERT_TRUE(launcher.waitForFinished(60000));
    EXPECT_EQ(launcher.exitCode(), 1);
    EXPECT_TRUE(launcher.readAllStandardError().contains("zelvo3-cli-qt cannot be started"));
}

// Detection enters GB mode, then GBA mode and reads the header; the job enters
// its mode again; then the transfer. Nothing more: no bus probing when the size
// is given, no second mode switch at launch.
TEST_F(Cli, ADumpSendsOnlyTheCommandsItNeeds) {
    const struct {
        std::vector<std::string> board;
        QStringList options;
        size_t commands;
    } dumps[] = {
        // 2 + 2 + header latch + 2 + 4 latches
        {{"--gba", image(romgen::gba_image(4 << 20, "ZTST"), "rom.gba")}, {"--rom-size", "4M"}, 11},
        // 2 (header from bank 0) + 2 + 63 bank selects + the bank reset at the end
        {{"--gb", image(romgen::gb_image(0x1B, 5, 0), "rom.gb")}, {}, 68},
        // A save needs no ROM size, and the system named is the only one looked for:
        // 2 + header latch + 2 + header latch, the clock port probe of a cartridge
        // the database does not know (4 register writes, 2 reads), 32 reads of 4 KiB
        {{"--gba-save", "flash128", "--gba", image(romgen::gba_image(1 << 20, "ZTST"), "s.gba")},
         {"--system", "gba", "--save-type", "flash", "--ram-size", "128K"},
         44},
    };
    for (const auto& d : dumps) {
        MOUNT_BOARD(board, d.board);
        const QString command = d.options.contains("--save-type") ? "read-save" : "dump-rom";
        const CliRun dump = cli(QStringList{command, path("out.bin"), "--force"} + d.options);
        ASSERT_EQ(dump.code, 0) << text(dump);
        EXPECT_EQ(board.command_writes().size(), d.commands) << d.board[0];
    }
}

TEST_F(Cli, GbaWithoutDatabaseEntryIsSizedByProbingThenDumpsAndRoundTripsTheSave) {
    const Bytes rom = romgen::gba_image(0x400000, "ZTST");
    const Bytes save = romgen::pattern(0x10000, 5), next = romgen::pattern(0x10000, 6);
    MOUNT_BOARD(
        board, {"--gba", image(rom, "rom.gba"), "--gba-save", "flash64", "--save",
                image(save, "held.sav"), "--erase-ms", "300", "--save-out", dir.file("model.sav")});

    const CliRun dump = cli({"dump-rom", path("out.gba")});
    ASSERT_EQ(dump.code, 0) << text(dump);
    EXPECT_TRUE(dump.out.contains("Detect GBA cartridge, but can not detect detail."));
    EXPECT_TRUE(dump.out.contains("ROM size found by probing: 4096KB")) << text(dump);
    EXPECT_TRUE(dump.out.contains("Not in the database of known dumps")) << text(dump);
    EXPECT_EQ(read_file(dir.file("out.gba")), rom);

    const QStringList flash64 = {"--save-type", "flash", "--ram-size", "64K"};
    const CliRun wrongSize =
        cli(QStringList{"read-save", path("x.sav"), "--save-type", "flash", "--ram-size", "32K"});
    EXPECT_EQ(wrongSize.code, 2) << text(wrongSize);
    EXPECT_TRUE(wrongSize.err.contains("use one of: 64K 128K")) << text(wrongSize);

    const CliRun read = cli(QStringList{"read-save", path("read.sav")} << flash64);
    ASSERT_EQ(read.code, 0) << text(read);
    EXPECT_TRUE(read.out.contains("Settings: GBA, save FLASH 64 K")) << text(read);
    EXPECT_EQ(read_file(dir.file("read.sav")), save);
    const CliRun write =
        cli(QStringList{"write-save", QString::fromStdString(image(next, "next.sav")), "--verify"}
            << flash64);
    ASSERT_EQ(write.code, 0) << text(write);
    EXPECT_TRUE(write.out.contains("Erase flash chip finish."));
    EXPECT_TRUE(write.out.contains("Verify data finish."));
    // A save file must be the save's size: shorter and longer ones are refused
    // before the cartridge is touched.
    for (const uint32_t size : {0x8000u, 0x10000u + 2, 0x20000u}) {
        const CliRun odd =
            cli(QStringList{"write-save",
                            QString::fromStdString(image(romgen::pattern(size, 7), "odd.sav"))}
                << flash64);
        EXPECT_EQ(odd.code, 4) << text(odd);
        EXPECT_TRUE(odd.err.contains(
            QString("odd.sav holds %1 bytes, but the cartridge's save is 65536 bytes").arg(size)))
            << text(odd);
        EXPECT_FALSE(odd.out.contains("Backed up")) << text(odd);
    }
    board.unmount();
    EXPECT_EQ(read_file(dir.file("model.sav")), next);
}

TEST_F(Cli, DatabaseCartridgeNeedsNoOptions) {
    const Bytes save = romgen::pattern(0x10000, 8);
    MOUNT_BOARD(board, {"--gba", image(romgen::gba_image(0x800000, "AWRP"), "aw.gba"), "--gba-save",
                        "flash64", "--save", image(save, "aw.sav")});
    const CliRun info = cli({"info"});
    EXPECT_EQ(info.code, 0) << text(info);
    EXPECT_TRUE(info.out.contains("Title: Advance Wars (Euro)")) << text(info);
    const CliRun read = cli({"read-save", path("aw-backup.sav")});
    ASSERT_EQ(read.code, 0) << text(read);
    EXPECT_TRUE(read.out.contains("Settings: GBA, save FLASH 64 K"));
    EXPECT_EQ(read_file(dir.file("aw-backup.sav")), save);
    // A GBA cartridge has no GB flash to program.
    const CliRun flash = cli({"flash-rom", QString::fromStdString(image(save, "x.gba"))});
    EXPECT_EQ(flash.code, 2) << text(flash);
}

TEST_F(Cli, FlashRomProgramsABlankCartridgeAndVerifies) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 0);
    MOUNT_BOARD(board, {"--flash", "0x100000", "--flash-wiring", "16", "--erase-ms", "1200",
                        "--flash-out", dir.file("flash.out")});
    // A blank chip has no header: FLASH programs GB flash, as the window does.
    const CliRun blank = cli({"flash-rom", QString::fromStdString(image(rom, "new.gb")), "--plan"});
    EXPECT_EQ(blank.code, 0) << text(blank);
    EXPECT_TRUE(blank.out.contains("job: GB flash write")) << text(blank);

    const CliRun flash = cli({"flash-rom", path("new.gb"), "--system", "gb", "--verify"});
    ASSERT_EQ(flash.code, 0) << text(flash);
    for (const char* line :
         {"Flash chip is 16bit width", "Flash chip size is :1024KB", "Erase flash chip finish.",
          "Flash ROM finish.", "Verify data finish."})
        EXPECT_TRUE(flash.out.contains(line)) << line;
    board.unmount();
    EXPECT_EQ(read_file(dir.file("flash.out")), rom);
}

TEST_F(Cli, SizesBeyondTheControllerAreRefusedBeforeAnyTransfer) {
    REQUIRE_FUSE();
    const Bytes chip = romgen::pattern(0x100000, 11);
    const std::string before = image(chip, "before.bin");
    const std::string flash = dir.file("flash.out");
    struct Case {
        std::vector<std::string> board;
        QStringList args;
        const char* reason;
        int code = 1;  // an image too large is a file that cannot be used: 4
    } cases[] = {
        {{"--gb", image(romgen::gb_image(0x13, 2, 3), "mbc3.gb")},
         {"read-save", path("out"), "--ram-size", "128K"},
         "MBC3 addresses at most 64 KiB of save memory"},
        {{"--gb", image(romgen::gb_image(0x03, 5, 3), "mbc1.gb")},
         {"dump-rom", path("out"), "--rom-size", "4M"},
         "MBC1 addresses at most 2 MiB of ROM"},
        {{"--gba", image(romgen::gba_image(0x100000, "ZTST"), "z.gba")},
         {"dump-rom", path("out"), "--rom-size", "64M"},
         "The GBA cartridge bus addresses at most 32 MiB of ROM"},
        {{"--flash", "0x100000", "--flash-image", before, "--flash-out", flash},
         {"flash-rom", QString::fromStdString(image(romgen::pattern(0x10000, 1), "64k.gb")),
          "--system", "gb", "--mbc", "none"},
         "NONE addresses at most 32 KiB of ROM",
         4},
        {{"--flash", "0x100000", "--flash-wiring", "16", "--flash-image", before, "--flash-out",
          flash},
         {"flash-rom", QString::fromStdString(image(romgen::pattern(0x200000, 2), "2m.gb")),
          "--system", "gb"},
         "The flash chip holds 1 MiB; the image of 2 MiB does not fit.",
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        MountedBoard board(c.board);
        ASSERT_TRUE(board.mounted());
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.code, c.code) << text(run);
        EXPECT_TRUE(run.err.contains(c.reason)) << text(run);
        EXPECT_FALSE(QFile::exists(path("out")));
        board.unmount();
        if (c.args[0] == "flash-rom") {
            EXPECT_EQ(read_file(flash), chip) << "nothing erased";
        }
    }
}

// An 8-bit chip tells its size by its ID: an image larger than it is refused
// before the erase, and the chip stays as it was.
// Every chip is sized from what it says in bytes, below 1 MiB too, and an
// image that does not fit is refused before anything is erased.
TEST_F(Cli, AnImageLargerThanTheChipIsRefused) {
    const struct {
        const char* chip;
        std::vector<std::string> wiring;
        const char* says;
    } cases[] = {
        {"0x100000", {}, "The flash chip holds 1 MiB; the image of 2 MiB does not fit."},
        {"0x80000", {"--flash-wiring", "16"}, "The flash chip holds 512 KiB; the image of 2 MiB"},
        {"0x40000", {"--flash-wiring", "16"}, "The flash chip holds 256 KiB; the image of 2 MiB"},
        {"0x80000", {"--flash-query8"}, "The flash chip holds 512 KiB; the image of 2 MiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const Bytes before = romgen::pattern(uint32_t(std::stoul(c.chip, nullptr, 0)), 21);
        std::vector<std::string> args = {"--flash",       c.chip,
                                         "--flash-image", image(before, "before.bin"),
                                         "--flash-out",   dir.file("chip.out")};
        args.insert(args.end(), c.wiring.begin(), c.wiring.end());
        MOUNT_BOARD(board, args);
        const CliRun flash = cli(
            {"flash-rom", QString::fromStdString(image(romgen::pattern(0x200000, 22), "big.gb")),
             "--system", "gb"});
        EXPECT_EQ(flash.code, 4) << text(flash);
        EXPECT_TRUE(flash.err.contains(c.says)) << text(flash);
        board.unmount();
        EXPECT_EQ(read_file(dir.file("chip.out")), before);
    }
}

// A GBA cartridge the database does not know: the save library its ROM names
// tells the save kind; an EEPROM's size comes from the chip, or is named when
// its save (erased: no size given here) cannot show it.
TEST_F(Cli, AnUnknownGbaCartridgesSaveKindComesFromItsRom) {
    const struct {
        const char* id;
        const char* kind;
        uint32_t size;  // of the save the chip holds; 0: erased
        QStringList options;
        int code;
        const char* said;
    } cases[] = {
        {"FLASH1M_V102", "flash128", 0x20000, {}, 0, "FLASH 128 KiB"},
        {"SRAM_F_V103", "sram", 0x8000, {}, 0, "SRAM 32 KiB"},
        {"EEPROM_V122", "eep8k", 0x2000, {}, 0, "The EEPROM answers as a chip of 8 KiB."},
        {"EEPROM_V122", "eep512", 0x200, {}, 0, "The EEPROM answers as a chip of 512 B."},
        {"EEPROM_V122", "eep8k", 0, {}, 1, "name it with --ram-size 512 or --ram-size 8K"},
        {"EEPROM_V122", "eep8k", 0, {"--ram-size", "8K"}, 0, "whose size it does not tell"},
        {nullptr, "sram", 0x8000, {}, 1, "name it with --save-type and --ram-size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id ? c.id : "none");
        Bytes rom = romgen::gba_image(0x100000, "ZQQQ");
        if (c.id) std::copy(c.id, c.id + std::strlen(c.id), rom.begin() + 0x80010);
        const Bytes save = romgen::pattern(c.size, 23);
        std::vector<std::string> args = {"--gba", image(rom, "rom.gba"), "--gba-save", c.kind};
        if (c.size) args.insert(args.end(), {"--save", image(save, "held.sav")});
        MountedBoard board(args);
        ASSERT_TRUE(board.mounted());
        QFile::remove(path("out.sav"));
        const CliRun read = cli(QStringList{"read-save", path("out.sav")} + c.options);
        EXPECT_EQ(read.code, c.code) << text(read);
        EXPECT_TRUE((read.out + read.err).contains(c.said)) << text(read);
        if (c.code == 0) {
            EXPECT_EQ(read_file(dir.file("out.sav")), c.size ? save : Bytes(0x2000, 0xFF));
        }
    }
}

TEST_F(Cli, Mbc2VerifyComparesTheHalfBytesItKeeps) {
    MOUNT_BOARD(board, {"--gb", image(romgen::gb_image(0x06, 2, 0), "mbc2.gb")});
    const CliRun write =
        cli({"write-save", QString::fromStdString(image(romgen::pattern(512, 3), "mbc2.sav")),
             "--ram-size", "512", "--verify"});
    EXPECT_EQ(write.code, 0) << text(write);
    EXPECT_TRUE(write.out.contains("Verify data finish.")) << text(write);
    EXPECT_TRUE(write.out.contains("Backed up the cartridge's save to ")) << text(write);
    const CliRun noBackup =
        cli({"write-save", path("mbc2.sav"), "--ram-size", "512", "--no-backup"});
    EXPECT_EQ(noBackup.code, 0) << text(noBackup);
    EXPECT_FALSE(noBackup.out.contains("Backed up")) << text(noBackup);
}

TEST_F(Cli, DumpVerdictsAndTheVerifyCommand) {
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    MOUNT_BOARD(board, {"--gb", image(rom, "rom.gb"), "--corrupt-gb", "0x5000"});
    const CliRun bad = cli({"dump-rom", path("bad.gb")});
    EXPECT_EQ(bad.code, 5) << text(bad);
    EXPECT_TRUE(bad.out.contains(">Success!")) << "the transfer itself worked";
    EXPECT_TRUE(bad.out.contains("Global checksum: does not hold")) << text(bad);
    EXPECT_TRUE(bad.err.contains("probably bad")) << text(bad);
    EXPECT_TRUE(QFile::exists(path("bad.gb"))) << "kept for the user to judge";

    EXPECT_EQ(cli({"verify", path("bad.gb")}).code, 5);
    const CliRun good = cli({"verify", path("rom.gb")});
    EXPECT_EQ(good.code, 0) << text(good);
    EXPECT_TRUE(good.out.contains("Not in the database of known dumps")) << text(good);
    EXPECT_EQ(cli({"verify", QString::fromStdString(image(Bytes(4096, 0), "zero.gb"))}).code, 4);
}

// Photos from known tiles: each PNG equals its picture pixel for pixel, in
// album order; a deleted slot is kept under its slot's name; when the album's
// list fails its check, its copy gives the order.
TEST_F(Cli, CameraPhotosComeOutAsTheirPictures) {
    const Picture stripes = [](int x, int) { return x / 8 % 4; };
    const Picture bands = [](int, int y) { return y / 8 % 4; };
    const Picture checks = [](int x, int y) { return (x + y) % 4; };
    Bytes save = camera_save({{3, 1, bands}, {1, 2, stripes}, {5, 0, checks}});
    const struct {
        const char* file;
        Picture picture;
    } expected[] = {
        {"photo_01.png", bands}, {"photo_02.png", stripes}, {"deleted_slot_05.png", checks}};
    for (bool echo : {false, true}) {
        SCOPED_TRACE(echo ? "from the list's copy" : "from the list");
        if (echo) save[0x11B2 + 2] = 0x07;  // the list no longer adds up
        const QString folder = path(echo ? "echo" : "photos");
        const CliRun run =
            cli({"camera-photos", QString::fromStdString(image(save, "camera.sav")), folder});
        ASSERT_EQ(run.code, 0) << text(run);
        EXPECT_TRUE(run.out.contains("Deleted photo in slot 5")) << text(run);
        EXPECT_TRUE(run.out.contains("Empty slots: 2, 4, 6-30")) << text(run);
        EXPECT_EQ(run.out.contains("its copy is used"), echo) << text(run);
        for (const auto& e : expected) {
            const QImage png(folder + "/" + e.file);
            ASSERT_EQ(png.size(), QSize(128, 112)) << e.file;
            int wrong = 0;
            for (int y = 0; y < 112; ++y)
                for (int x = 0; x < 128; ++x)
                    wrong += qGray(png.pixel(x, y)) != 255 - 85 * e.picture(x, y);
            EXPECT_EQ(wrong, 0) << e.file;
        }
    }
    EXPECT_EQ(cli({"camera-photos", QString::fromStdString(image(Bytes(100), "short.sav"))}).code,
              4);
}

// A dump heals by majority where reads differ, and says why it was bad: the
// unstable address and its data line, a stuck line, or reads that agree on
// data the database does not know.
TEST_F(Cli, DumpsHealOrSayWhyTheyAreBad) {
    const Bytes gba = romgen::gba_image(4 << 20, "ZTST"),
                known = romgen::gba_image(8 << 20, "AWRP");
    const Bytes gb = romgen::gb_image(0x1B, 3, 0);
    const QStringList gba4 = {"--system", "gba", "--rom-size", "4M"};
    const struct {
        const char* name;
        std::vector<std::string> board;
        QStringList options;
        int code;
        const Bytes* equals;  // the file, when it is written
        QStringList says;
        QStringList never = {};
    } cases[] = {
        {"a bit flickering at one read in three, verified",
         {"--gba", image(gba, "g.gba"), "--flicker", "0x123457:3:1/3", "--flaw-seed", "2"},
         {"--verify"},
         0,
         &gba,
         {"Unstable addresses: 0x123457.",
          "data line D11 read differently at 1 addresses: clean the cartridge's contacts"}},
        {"a flaky first read, unverified",
         {"--gb", image(gb, "g.gb"), "--first-read-flaw", "0x4123"},
         {},
         0,
         &gb,
         {"does not look good", "Unstable addresses: 0x4123.", "Healed: 1 bytes read differently",
          "healed: 1 bytes decided by majority; no known dump confirms it"}},
        {"a stuck data line",
         {"--gba", image(gba, "g.gba"), "--stuck-line", "5:0"},
         gba4,
         1,
         nullptr,
         {"data line D5 reads 0 at every address"}},
        {"another revision",
         {"--gba", image(known, "k.gba")},
         {},
         5,
         &known,
         {"Read twice the same: the cartridge holds this data. It is not the known dump; it may "
          "be another revision or a modified cartridge.",
          "The database knows AWRP as Advance Wars (Europe) (8388608 bytes, CRC32 66fb29e9)."}},
        {"another revision, read unstably",
         {"--gba", image(known, "k.gba"), "--flicker", "0x123457:3:1/3", "--flaw-seed", "2"},
         {"--verify"},
         5,
         &known,
         {"Unstable addresses: 0x123457.", "read differently from read to read"},
         {"Read twice the same", "it may be another revision"}},
        {"the panel's size smaller than the cartridge",
         {"--gb", image(romgen::gb_image(0x1B, 5, 0), "big.gb")},
         {"--rom-size", "512K"},
         5,
         nullptr,
         {"the dump is 512 KiB, the header says 1 MiB: the panel's ROM size is smaller than the "
          "cartridge"},
         {"Clean the cartridge's contacts", "Read twice the same"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MOUNT_BOARD(board, c.board);
        const QString out = path(std::string(c.name) + ".bin");
        const CliRun run = cli(QStringList{"dump-rom", out} + c.options);
        EXPECT_EQ(run.code, c.code) << text(run);
        for (const QString& line : c.says)
            EXPECT_TRUE(run.out.contains(line) || run.err.contains(line)) << line.toStdString();
        for (const QString& line : c.never)
            EXPECT_FALSE(run.out.contains(line) || run.err.contains(line))
                << line.toStdString() << text(run);
        EXPECT_EQ(QFile::exists(out), c.equals != nullptr || c.code == 5);
        if (c.equals) {
            EXPECT_TRUE(read_file(out.toStdString()) == *c.equals);
        }
    }
}

// A blank save is read with a warning; written over a save that is not
// blank it needs --force, and a refused write keeps no backup.
TEST_F(Cli, BlankSaves) {
    const std::string rom = image(romgen::gb_image(0x1B, 2, 3), "rom.gb");
    const Bytes held = romgen::pattern(0x8000, 3), blank(0x8000, 0xFF);
    const QString backups = path("data");
    {
        MOUNT_BOARD(board, {"--gb", rom, "--save", image(blank, "blank.sav")});
        const CliRun read = cli({"read-save", path("read.sav")});
        EXPECT_EQ(read.code, 0) << text(read);
        EXPECT_TRUE(
            read.err.contains("warning: the save is blank: the cartridge holds no saved "
                              "game, or its battery is dead"))
            << text(read);
    }
    MOUNT_BOARD(board, {"--gb", rom, "--save", image(held, "held.sav"), "--save-out",
                        dir.file("model.sav")});
    const ScopedEnv data("XDG_DATA_HOME", backups.toStdString());
    const CliRun refused = cli({"write-save", path("blank.sav")});
    EXPECT_EQ(refused.code, 4) << text(refused);
    EXPECT_TRUE(refused.err.contains("--force writes it anyway")) << text(refused);
    EXPECT_FALSE(QDir(backups + "/zelvo3/backups").exists()) << "a refused write keeps no backup";
    const CliRun forced = cli({"write-save", path("blank.sav"), "--force"});
    EXPECT_EQ(forced.code, 0) << text(forced);
    board.unmount();
    EXPECT_TRUE(read_file(dir.file("model.sav")) == blank);
}

// A save whose bit flickers is read twice and healed with --verify, and the
// backup a write takes first is healed in every case: it may be the only copy.
TEST_F(Cli, AFlickeringSaveIsHealedWhenReadAndBackedUp) {
    const std::string rom = image(romgen::gb_image(0x1B, 2, 3), "rom.gb");
    const Bytes held = romgen::pattern(0x8000, 3), other = romgen::pattern(0x8000, 4);
    const QString backups = path("data");
    const ScopedEnv data("XDG_DATA_HOME", backups.toStdString());
    MOUNT_BOARD(board, {"--gb", rom, "--save", image(held, "held.sav"), "--flicker", "0xA123:3:1/3",
                        "--flaw-seed", "4"});
    const CliRun read = cli({"read-save", path("read.sav"), "--verify"});
    EXPECT_EQ(read.code, 0) << text(read);
    EXPECT_TRUE(read.out.contains("Unstable addresses: 0x")) << text(read);
    EXPECT_TRUE(read_file(dir.file("read.sav")) == held);
    (void)image(other, "other.sav");
    const CliRun written = cli({"write-save", path("other.sav")});
    EXPECT_EQ(written.code, 0) << text(written);
    EXPECT_TRUE(written.out.contains("Unstable addresses: 0x")) << text(written);
    const QStringList kept = QDir(backups + "/zelvo3/backups").entryList({"*.sav"});
    ASSERT_EQ(kept.size(), 1) << text(written);
    EXPECT_TRUE(read_file((backups + "/zelvo3/backups/" + kept[0]).toStdString()) == held);
}

// A game code that is only a part of the database's serials ("E-US" in
// "AGB-B69E-USA") names no release: the cartridge is sized by probing.
TEST_F(Cli, APartOfASerialIsNoGameCode) {
    const Bytes rom = romgen::gba_image(4 << 20, "E-US");
    MOUNT_BOARD(board, {"--gba", image(rom, "rom.gba")});
    const CliRun run = cli({"dump-rom", path("e-us.gba")});
    EXPECT_EQ(run.code, 0) << text(run);
    EXPECT_TRUE(read_file(dir.file("e-us.gba")) == rom) << "4 MiB, not the 16 MiB of a match";
}

// A header type or ROM size code no cartridge uses is unknown: nothing is
// guessed, the dump needs the controller and the size named.
TEST_F(Cli, UnknownHeaderCodesAreNeverGuessed) {
    // The header and global checksums are made to hold again after a change.
    const auto patched = [](size_t at, uint8_t value) {
        Bytes rom = romgen::gb_image(0x1B, 2, 0);
        rom[at] = value;
        uint8_t header = 0;
        for (size_t i = 0x134; i < 0x14D; ++i) header = uint8_t(header - rom[i] - 1);
        rom[0x14D] = header;
        uint16_t global = 0;
        for (size_t i = 0; i < rom.size(); ++i)
            if (i != 0x14E && i != 0x14F) global = uint16_t(global + rom[i]);
        rom[0x14E] = uint8_t(global >> 8);
        rom[0x14F] = uint8_t(global);
        return rom;
    };
    const Bytes unknownType = patched(0x147, 0xEE), unknownSize = patched(0x148, 0xFF);
    const struct {
        const Bytes* rom;
        QStringList options;
        int code;
        const char* says;
    } cases[] = {
        {&unknownType, {}, 1, "names no controller this program knows; name it with --mbc"},
        {&unknownType, {"--mbc", "mbc5"}, 0, ">Success!"},
        {&unknownSize, {}, 1, "the ROM size was not detected; name it with --rom-size"},
        {&unknownSize, {"--rom-size", "128K"}, 0, ">Success!"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        MOUNT_BOARD(board, {"--gb", image(*c.rom, "rom.gb")});
        const QString out = path("u" + std::to_string(++n) + ".gb");
        const CliRun run = cli(QStringList{"dump-rom", out} + c.options);
        EXPECT_EQ(run.code, c.code) << text(run);
        EXPECT_TRUE(run.out.contains(c.says) || run.err.contains(c.says)) << text(run);
        EXPECT_EQ(QFile::exists(out), c.code == 0);
    }
}

// Without FILE a dump takes the cartridge's name in the current folder.
TEST_F(Cli, ADumpWithoutAFileTakesTheCartridgesName) {
    const Bytes rom = romgen::gba_image(8 << 20, "ZTST");
    MOUNT_BOARD(board, {"--gba", image(rom, "rom.gba")});
    QDir().mkpath(path("here"));
    const CliRun run = cli({"dump-rom"}, {}, path("here"));
    EXPECT_EQ(run.code, 0) << text(run);
    EXPECT_TRUE(read_file(dir.file("here/ZELVO TEST (ZTST).gba")) == rom);
}

// write-save keeps the cartridge's save; backups lists them, and --restore
// puts one back into the cartridge.
TEST_F(Cli, BackupsListAndRestore) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const Bytes held = romgen::pattern(0x8000, 31), next = romgen::pattern(0x8000, 32);
    MOUNT_BOARD(board, {"--gb", image(romgen::gb_image(0x1B, 2, 3), "rom.gb"), "--save",
                        image(held, "held.sav"), "--save-out", dir.file("model.sav")});
    EXPECT_EQ(cli({"backups"}).code, 0);
    ASSERT_EQ(cli({"write-save", QString::fromStdString(image(next, "next.sav"))}).code, 0);
    const CliRun listed = cli({"backups"});
    EXPECT_EQ(listed.code, 0) << text(listed);
    EXPECT_TRUE(listed.out.contains(QRegularExpression(
        "^  1  .*ZELVO TEST.*32 KiB  CRC32 [0-9a-f]{8}", QRegularExpression::MultilineOption)))
        << text(listed);
    const CliRun restored = cli({"backups", "--restore", "1"});
    EXPECT_EQ(restored.code, 0) << text(restored);
    EXPECT_EQ(cli({"backups", "--restore", "9"}).code, 2);
    board.unmount();
    EXPECT_TRUE(read_file(dir.file("model.sav")) == held);

    // Into another cartridge only with --force, and the message names both.
    const Bytes other = romgen::pattern(0x8000, 33);
    MOUNT_BOARD(another,
                {"--gb", image(romgen::gb_image(0x1B, 2, 3, "OTHERGAME"), "other.gb"), "--save",
                 image(other, "other.sav"), "--save-out", dir.file("other-model.sav")});
    const CliRun refused = cli({"backups", "--restore", "1"});
    EXPECT_EQ(refused.code, 4) << text(refused);
    EXPECT_TRUE(
        refused.err.contains("The backup is of the cartridge \"ZELVO TEST\", but the "
                             "cartridge inserted is \"OTHERGAME\"."))
        << text(refused);
    another.unmount();
    EXPECT_TRUE(read_file(dir.file("other-model.sav")) == other) << "the save is unchanged";

    // The same title and no code: another revision tells itself by its header checksum.
    Bytes revision = romgen::gb_image(0x1B, 2, 3);
    revision[0x14C] = 1;  // the mask ROM version
    revision[gb::kGbHeaderSumOffset] = gb::gb_header_sum(revision.data());
    MOUNT_BOARD(revised, {"--gb", image(revision, "v1.gb"), "--save", image(other, "v1.sav"),
                          "--save-out", dir.file("v1-model.sav")});
    const CliRun older = cli({"backups", "--restore", "1"});
    EXPECT_EQ(older.code, 4) << text(older);
    EXPECT_TRUE(older.err.contains("another revision")) << text(older);
    revised.unmount();
    EXPECT_TRUE(read_file(dir.file("v1-model.sav")) == other) << "the save is unchanged";
}

// --help names every command and every exit status of the tables.
TEST(CliCommandLine, HelpTellsEveryCommandAndExitStatus) {
    const QString help = cli_help();
    for (size_t i = 0; i < kCliCommandCount; ++i)
        EXPECT_TRUE(help.contains(QString("  ") + kCliCommands[i].name)) << kCliCommands[i].name;
    for (size_t i = 0; i < kCliExitCount; ++i)
        EXPECT_TRUE(help.contains(QRegularExpression(QString("\\n  %1  ").arg(kCliExits[i].code))))
            << kCliExits[i].code;
    EXPECT_TRUE(help.contains("  verify FILE")) << "the command the man page once missed";
}

TEST_F(Cli, FailuresSayWhyAndExitWithTheirStatus) {
    REQUIRE_FUSE();
    const CliRun noBoard = cli({"info"}, path(""));
    EXPECT_EQ(noBoard.code, 3) << text(noBoard);
    EXPECT_TRUE(noBoard.err.startsWith("zelvo3-cli: No dump board was found in " + path("")))
        << text(noBoard);
    EXPECT_EQ(noBoard.err.count('\n'), 1) << "one line";

    const CliRun missing = cli({"write-save", path("nothing.sav")}, path(""));
    EXPECT_EQ(missing.code, 4) << text(missing);
    EXPECT_TRUE(missing.err.contains("nothing.sav: no such file")) << text(missing);
    const CliRun empty =
        cli({"flash-rom", QString::fromStdString(image({}, "empty.gb"))}, path(""));
    EXPECT_EQ(empty.code, 4) << text(empty);
    EXPECT_TRUE(empty.err.contains("The file is empty")) << text(empty);
    const CliRun folder = cli({"read-save", path("no/such/dir/s.sav")}, path(""));
    EXPECT_EQ(folder.code, 4) << text(folder);
    EXPECT_EQ(cli({"write-save"}).code, 2);
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("Exit status:"));

    MountedBoard board({"--flash", "0x40000", "--flash-wiring", "16", "--erase-ms", "100",
                        "--corrupt-gb", "0x4123"});
    ASSERT_TRUE(board.mounted());
    const CliRun verify =
        cli({"flash-rom", QString::fromStdString(image(romgen::pattern(0x40000, 3), "f.gb")),
             "--system", "gb", "--verify"});
    EXPECT_EQ(verify.code, 1) << text(verify);
    EXPECT_TRUE(verify.out.contains(">Operation failure."));
    EXPECT_TRUE(verify.err.contains("zelvo3-cli: Verify data error at 0x4123")) << text(verify);
}

TEST_F(Cli, ABoardFailingAtAnyPointGivesANonZeroExitWithAReason) {
    REQUIRE_FUSE();
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    image(rom, "rom.gb");
    for (const int failAfter : {0, 1, 3, 6, 9, 12, 15, 100}) {
        SCOPED_TRACE(failAfter);
        MountedBoard board({"--gb", dir.file("rom.gb"), "--fail-after", std::to_string(failAfter)});
        ASSERT_TRUE(board.mounted());
        QFile::remove(path("out.gb"));
        const CliRun run = cli({"dump-rom", path("out.gb")});
        if (run.code == 0) {
            EXPECT_EQ(read_file(dir.file("out.gb")), rom) << text(run);
        } else {
            EXPECT_TRUE(run.err.startsWith("zelvo3-cli: ") && run.err.size() > 14) << text(run);
            EXPECT_FALSE(QFile::exists(path("out.gb"))) << "no partial file";
        }
    }
}

// Ctrl-C reaches a loop in a helper the script loaded with dofile, and a
// lambda that calls itself: the program runs from a copy beside a changed
// mapper folder, and ends with no output file.
TEST_F(Cli, CtrlCReachesLoadedHelpersAndLambdas) {
    const struct {
        const char* name;
        const char* file;   // of the mapper folder
        const char* after;  // the text changed
        const char* before;
    } runaways[] = {
        {"a loop in gb_common.nut", "gb_common.nut", "function dump_banks(d, size, select) {",
         "function dump_banks(d, size, select) { while (true) {}"},
        {"a lambda", "gb_mbc5.nut", "function cpu_dump(d, size, unused) {",
         "function cpu_dump(d, size, unused) { local f = null; f = @(n) f(n + 1); f(0);"},
    };
    MOUNT_BOARD(board, {"--gb", image(romgen::gb_image(0x1B, 2, 0), "rom.gb")});
    for (const auto& r : runaways) {
        SCOPED_TRACE(r.name);
        const QString program = path(std::string("program-") + r.file);
        std::filesystem::create_directories(program.toStdString());
        std::filesystem::copy(QFileInfo(CLI_PATH).absolutePath().toStdString() + "/mapper",
                              (program + "/mapper").toStdString(),
                              std::filesystem::copy_options::recursive);
        for (const char* file : {"zelvo3-cli", "zelvo3-cli-qt"})
            QFile::copy(QFileInfo(CLI_PATH).absolutePath() + "/" + file, program + "/" + file);
        const std::string script = (program + "/mapper/" + r.file).toStdString();
        Bytes text = read_file(script);
        std::string source(text.begin(), text.end());
        const size_t at = source.find(r.after);
        ASSERT_NE(at, std::string::npos);
        source.replace(at, std::strlen(r.after), r.before);
        write_file(script, Bytes(source.begin(), source.end()));
        QProcess process;
        process.start(program + "/zelvo3-cli", {"dump-rom", path("runaway.gb")});
        ASSERT_TRUE(wait_for([&] {
            process.waitForReadyRead(20);
            return process.readAllStandardOutput().contains("Start dump rom...");
        }));
        ::kill(pid_t(process.processId()), SIGINT);
        const bool ended = process.waitForFinished(20000);
        if (!ended) process.kill();
        EXPECT_TRUE(ended) << "the script ran on after Ctrl-C";
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_FALSE(QFile::exists(path("runaway.gb")));
    }
}

TEST_F(Cli, CtrlCCancelsTheDumpAndWritesNoFile) {
    MOUNT_BOARD(board, {"--gb", image(romgen::gb_image(0x1B, 6, 0), "big.gb"), "--latency", "20"});
    QProcess process;
    process.start(CLI_PATH, {"dump-rom", path("cut.gb")});
    ASSERT_TRUE(wait_for([&] {
        process.waitForReadyRead(20);
        return process.readAllStandardError().contains("progress:");
    }));
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("zelvo3-cli: canceled"));
    EXPECT_FALSE(QFile::exists(path("cut.gb")));
}

TEST_F(Cli, OneProgramUsesTheBoardAtATime) {
    MOUNT_BOARD(board, {"--gb", image(romgen::gb_image(0x1B, 6, 0), "big.gb"), "--latency", "20"});
    MainTab tab(nullptr);
    tab.settings()->_setItem2(2097152);
    const DialogAnswer answerWindow = answer_file_dialog(path("window.gb"));
    tab.push_read_rom();
    ASSERT_TRUE(wait_for([&] { return tab.progressBar()->value() > 0; }));

    const CliRun info = cli({"info"});
    EXPECT_EQ(info.code, 3) << text(info);
    EXPECT_TRUE(info.err.contains("is in use by another program")) << text(info);
    const CliRun dump = cli({"dump-rom", path("cli.gb")});
    EXPECT_EQ(dump.code, 3) << text(dump);
    EXPECT_FALSE(QFile::exists(path("cli.gb")));

    tab.cancelButton()->click();
    ASSERT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 10000));
    EXPECT_EQ(cli({"info"}).code, 0) << "free again";

    // And the other way round: the window refuses to start while the command line dumps.
    QProcess busy;
    busy.start(CLI_PATH, {"dump-rom", path("cli.gb")});
    ASSERT_TRUE(wait_for([&] {
        busy.waitForReadyRead(20);
        return busy.readAllStandardOutput().contains("Start dump rom...");
    }));
    const DialogAnswer answerBusy = answer_file_dialog(path("window2.gb"));
    tab.push_read_rom();
    EXPECT_TRUE(tab.jobThread()->isFinished() || !tab.jobThread()->isRunning());
    EXPECT_FALSE(tab.cancelButton()->isEnabled()) << "no job started";
    EXPECT_TRUE(lines_of(tab.console()).contains("The dump device is in use by another program."));
    ::kill(pid_t(busy.processId()), SIGINT);
    EXPECT_TRUE(busy.waitForFinished(20000));
}

}  // namespace

// A DAT of 100,000 releases imported from the command line: a dump of one of
// them is verified by it and takes its release's name.
TEST_F(Cli, ADumpListedInAnImportedDatTakesItsName) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    const gb::DumpDigest digest = gb::digest_of(rom.data(), rom.size());
    QFile dat(path("big.dat"));
    ASSERT_TRUE(dat.open(QIODevice::WriteOnly));
    dat.write(
        "<?xml version=\"1.0\"?>\n<datafile><header><name>Test - Game Boy</name>"
        "<version>7</version></header>\n");
    constexpr int kReleases = 100000;
    for (int n = 1; n < kReleases; ++n)
        dat.write(QString("<game name=\"Filler %1\"><rom name=\"f\" size=\"32768\" crc=\"%2\"/>"
                          "</game>\n")
                      .arg(n)
                      .arg(uint32_t(n), 8, 16, QLatin1Char('0'))
                      .toUtf8());
    dat.write(QString("<game name=\"Zelvo Test (Europe)\"><rom name=\"z\" size=\"%1\" crc=\"%2\" "
                      "sha1=\"%3\"/></game>\n</datafile>\n")
                  .arg(digest.size)
                  .arg(digest.crc32, 8, 16, QLatin1Char('0'))
                  .arg(QString::fromLatin1(digest.sha1))
                  .toUtf8());
    dat.close();
    const CliRun imported = cli({"dat", "import", dat.fileName()});
    EXPECT_EQ(imported.code, 0) << text(imported);
    EXPECT_TRUE(cli({"dat", "list"}).out.contains("Test - Game Boy  7  100000 games"));
    MOUNT_BOARD(board, {"--gb", image(rom, "rom.gb")});
    QDir().mkpath(path("here"));
    const CliRun run = cli({"dump-rom"}, {}, path("here"));
    EXPECT_EQ(run.code, 0) << text(run);
    EXPECT_TRUE(run.out.contains("Matches 'Zelvo Test (Europe)' in Test - Game Boy (7)."))
        << text(run);
    EXPECT_TRUE(read_file(dir.file("here/Zelvo Test (Europe).gb")) == rom) << text(run);
}
