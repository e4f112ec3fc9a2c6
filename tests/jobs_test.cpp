// Cartridge jobs launched from the real window against the virtual board: the
// file dialogs are answered by the test, the mapper scripts are the real ones.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <optional>
#include <thread>

#include "app/tab_dialog.h"
#include "cart/known_dumps.h"
#include "device/platform.h"
#include "jobs/famicom_thread.h"
#include "jobs/job_plan.h"
#include "jobs/option_tables.h"
#include "jobs/outcome_style.h"
#include "romgen.h"
#include "support/camera_save.h"
#include "support/mounted_board.h"
#include "support/window_helpers.h"
#include "ui/backup_list.h"
#include "ui/camera_gallery.h"
#include "ui/console.h"
#include "ui/main_tab.h"
#include "ui/settings.h"

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

namespace {

class WindowJob : public ::testing::Test {
protected:
    void mount(std::vector<std::string> args) {
        REQUIRE_FUSE();
        board.reset();  // the board before gives back what it set first
        board = std::make_unique<MountedBoard>(std::move(args));
        ASSERT_TRUE(board->mounted());
    }
    // Chooses GB/GBC with a controller, ROM and RAM size as a user would: in
    // the lists, so that the choices outrank what a job detects.
    void choose_gb(int mbc, int romSize, int ramSize = 0) {
        Settings* s = tab.settings();
        s->setSysType(kSysGb);
        s->setItem1(gb::mbc_position(mbc_by_code(mbc)));
        s->setItem2(option_by_value(gb_rom_table, romSize)->position);
        if (ramSize) s->setItem3(option_by_value(gb_ram_table, ramSize)->position);
    }
    void choose_gba(int romSize, int saveType, int saveSize) {
        Settings* s = tab.settings();
        s->setSysType(kSysGba);
        s->setItem1(option_by_value(gba_rom_table, romSize)->position);
        s->setItem2(saveType);
        s->setItem3(option_by_value(gba_save_table, saveSize)->position - save_base_for(saveType));
    }
    // Presses a job button, answers its file dialog and waits for the job's
    // result; the log lines from the press on.
    QStringList run(void (MainTab::*slot)(), const std::string& file) {
        const QString before = tab.console()->toPlainText();
        const DialogAnswer answer = answer_file_dialog(QString::fromStdString(file));
        (tab.*slot)();
        started = tab.cancelButton()->isEnabled();
        if (started) {
            for (QPushButton* b : tab.actionButtons()) EXPECT_FALSE(b->isEnabled());
            EXPECT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 120000));
        }
        EXPECT_TRUE(tab.jobThread()->wait(10000));
        for (QPushButton* b : tab.actionButtons()) EXPECT_TRUE(b->isEnabled());
        return tab.console()->toPlainText().mid(before.size()).split('\n', Qt::SkipEmptyParts);
    }
    static bool succeeded(const QStringList& lines) {
        return lines.contains(">Success!") && !lines.contains(">Operation failure.");
    }
    static bool failed(const QStringList& lines) {
        return lines.contains(">Operation failure.") && !lines.contains(">Success!");
    }
    std::string image(const Bytes& data, const std::string& name) {
        write_file(dir.file(name), data);
        return dir.file(name);
    }
    // A copy of the program's mapper folder that the tab runs its scripts
    // from, for tests that change them; its path.
    QString scratch_mapper(MainTab& on) {
        const QString program = QString::fromStdString(dir.file("program"));
        std::filesystem::create_directories(program.toStdString());
        std::filesystem::copy((QCoreApplication::applicationDirPath() + "/mapper").toStdString(),
                              (program + "/mapper").toStdString(),
                              std::filesystem::copy_options::recursive);
        on.setProgramDir(program);
        return program + "/mapper/";
    }
    static bool has(const QStringList& lines, const QString& part) {
        for (const QString& l : lines)
            if (l.contains(part)) return true;
        return false;
    }

    TempDir dir;
    std::unique_ptr<MountedBoard> board;
    MainTab tab{nullptr};
    bool started = false;
};

// A fresh window, no Info pressed: every job reads the header first and uses
// what it finds.
TEST_F(WindowJob, AFreshWindowDetectsBeforeEveryJob) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 3);
    const Bytes written = romgen::pattern(0x8000, 12);
    mount({"--gb", image(rom, "rom.gb"), "--save-out", dir.file("out.sav")});
    QStringList lines = run(&MainTab::push_read_rom, dir.file("out.gb"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines.contains("Using: MBC5, ROM 1 MiB (detected)"));
    EXPECT_EQ(read_file(dir.file("out.gb")), rom);
    lines = run(&MainTab::push_write_ram, image(written, "new.sav"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines.contains("Using: MBC5, save 32 KiB (detected)"));
    board->unmount();
    EXPECT_EQ(read_file(dir.file("out.sav")), written) << "all of the save";
}

// What the user chose after the cartridge was detected wins over the next detection.
TEST_F(WindowJob, AChoiceMadeAfterDetectionWins) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 0);
    mount({"--gb", image(rom, "rom.gb")});
    tab.push_info();
    tab.settings()->setItem2(option_by_value(gb_rom_table, 0x80000)->position);
    const QStringList lines = run(&MainTab::push_read_rom, dir.file("half.gb"));
    EXPECT_TRUE(has(lines, "Using: MBC5 (detected), ROM 512 KiB (chosen)"))
        << lines.join("\n").toStdString();
    EXPECT_EQ(read_file(dir.file("half.gb")), Bytes(rom.begin(), rom.begin() + 0x80000));
}

TEST_F(WindowJob, AJobStopsWhenTheHeaderCannotBeRead) {
    mount({"--gb", image(romgen::gb_image(0x1B, 5, 3), "rom.gb"), "--fail-after", "2"});
    const QStringList lines = run(&MainTab::push_read_rom, dir.file("x.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(failed(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(
        lines.contains("The cartridge's header could not be read, so the job did not start."));
}

TEST_F(WindowJob, SaveReadAndWrite) {
    const Bytes save = romgen::pattern(0x8000, 9);
    mount({"--gb", image(romgen::gb_image(0x1B, 3, 3), "rom.gb"), "--save", image(save, "in.sav"),
           "--save-out", dir.file("out.sav")});
    choose_gb(4, 262144, 32768);
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_ram, dir.file("read.sav"))));
    EXPECT_EQ(read_file(dir.file("read.sav")), save);

    const Bytes written = romgen::pattern(0x8000, 10);
    tab.settings()->checkBox()->setChecked(true);
    const QStringList lines = run(&MainTab::push_write_ram, image(written, "new.sav"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines.contains("Read 32768 Bytes"));
    EXPECT_TRUE(lines.contains("Verify data finish."));
    board->unmount();
    EXPECT_EQ(read_file(dir.file("out.sav")), written);
}

// After a Read RAM of a Pocket Camera the window offers its photos; each one
// in the gallery saves as a PNG.
TEST_F(WindowJob, PocketCameraPhotosAfterReadRam) {
    const Bytes save = camera_save({{2, 1, [](int x, int) { return x / 8 % 4; }},
                                    {4, 2, [](int, int y) { return y / 8 % 4; }}});
    mount({"--gb", image(romgen::gb_image(0xFC, 2, 4), "camera.gb"), "--save",
           image(save, "held.sav")});
    EXPECT_FALSE(tab.photosButton()->isVisible());
    const QStringList lines = run(&MainTab::push_read_ram, dir.file("camera.sav"));
    ASSERT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(has(lines, "Show photos"));
    ASSERT_FALSE(tab.photosButton()->isHidden());
    tab.photosButton()->click();
    ASSERT_NE(tab.gallery(), nullptr);
    EXPECT_EQ(tab.gallery()->photoCount(), 2);
    EXPECT_TRUE(tab.gallery()->statusLabel()->text().contains("Empty slots: 1, 3, 5-30"));
    const DialogAnswer answer = answer_file_dialog(QString::fromStdString(dir.file("one.png")));
    tab.gallery()->saveButton(0)->click();
    const QImage png(QString::fromStdString(dir.file("one.png")));
    ASSERT_EQ(png.size(), QSize(128, 112));
    EXPECT_EQ(qGray(png.pixel(8, 0)), 255 - 85) << "photo 1, the second stripe";
}

// The file dialog of a new file: the folder it opens in and the name it offers.
struct Offered {
    QString folder, name;
};
DialogAnswer note_and_cancel(Offered* offered) {
    return answer_next<QFileDialog>([offered](QFileDialog* dialog) {
        offered->folder = dialog->directory().absolutePath();
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
            offered->name = name->text();
        dialog->reject();
    });
}

// The verify box and the last folders survive a restart; the system comes
// back too, as a default detection overrides.
TEST_F(WindowJob, TheVerifyBoxAndTheLastFoldersSurviveARestart) {
    mount({"--gb", image(romgen::gb_image(0x1B, 2, 3), "rom.gb")});
    std::filesystem::create_directories(dir.file("roms"));
    {
        MainTab first(nullptr);
        first.settings()->checkBox()->setChecked(true);
        const DialogAnswer answer =
            answer_file_dialog(QString::fromStdString(dir.file("roms/a.gb")));
        first.push_read_rom();
        ASSERT_TRUE(wait_for([&] { return !first.cancelButton()->isEnabled(); }, 60000));
        first.jobThread()->wait();
    }
    MainTab again(nullptr);
    EXPECT_TRUE(again.settings()->checkBox()->isChecked());
    Offered offered;
    const DialogAnswer cancel = note_and_cancel(&offered);
    again.push_read_rom();
    EXPECT_EQ(offered.folder, QString::fromStdString(dir.file("roms")));
    Offered saveFolder;
    const DialogAnswer cancelSave = note_and_cancel(&saveFolder);
    again.push_read_ram();
    EXPECT_NE(saveFolder.folder, QString::fromStdString(dir.file("roms"))) << "each kind its own";
}

// The dump dialog offers the database's name of a known cartridge, else the
// header's title and game code.
TEST_F(WindowJob, TheDumpDialogSuggestsTheCartridgesName) {
    const struct {
        const char* code;
        const char* name;
    } cases[] = {{"AWRP", "Advance Wars (Europe).gba"}, {"ZTST", "ZELVO TEST (ZTST).gba"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        mount({"--gba", image(romgen::gba_image(8 << 20, c.code), "rom.gba")});
        Offered offered;
        const DialogAnswer cancel = note_and_cancel(&offered);
        tab.push_read_rom();
        EXPECT_EQ(offered.name, c.name);
    }
}

// A refused Write RAM keeps no backup, and a backup the same as the
// cartridge's newest is stored once.
TEST_F(WindowJob, BackupsOnlyWhenTheyHoldSomethingNew) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const QDir backups(QString::fromStdString(dir.file("data/zelvo3/backups")));
    const Bytes held = romgen::pattern(0x8000, 21);
    mount({"--gb", image(romgen::gb_image(0x1B, 2, 3), "rom.gb"), "--save", image(held, "h.sav")});
    EXPECT_TRUE(failed(run(&MainTab::push_write_ram, image(Bytes(100, 1), "short.sav"))));
    EXPECT_TRUE(backups.entryList({"*.sav"}, QDir::Files).isEmpty()) << "refused for its size";
    for (int n = 0; n < 2; ++n)
        EXPECT_TRUE(succeeded(run(&MainTab::push_write_ram, dir.file("h.sav"))));
    EXPECT_EQ(backups.entryList({"*.sav"}, QDir::Files).size(), 1) << "the same save twice";
}

// A backup restored into another cartridge is asked about, Enter (No) keeps
// that cartridge's save, and no restore can be asked for while a job runs.
TEST_F(WindowJob, ARestoreKnowsTheCartridge) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const Bytes held = romgen::pattern(0x8000, 21), next = romgen::pattern(0x8000, 22);
    mount({"--gb", image(romgen::gb_image(0x1B, 2, 3), "rom.gb"), "--save", image(held, "h.sav")});
    ASSERT_TRUE(succeeded(run(&MainTab::push_write_ram, image(next, "next.sav"))));
    const Bytes other = romgen::pattern(0x8000, 23);
    mount({"--gb", image(romgen::gb_image(0x1B, 2, 3, "OTHERGAME"), "other.gb"), "--save",
           image(other, "o.sav"), "--save-out", dir.file("out.sav")});
    QString asked;
    QString listed;
    const DialogAnswer pick = answer_next<BackupList>([&listed](BackupList* list) {
        listed = list->table()->item(0, 1)->text();
        list->accept();
    });
    const DialogAnswer enter = answer_next<QMessageBox>([&asked](QMessageBox* box) {
        asked = box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    const QStringList lines = run(&MainTab::push_restore_backup, std::string());
    EXPECT_FALSE(started) << lines.join("\n").toStdString();
    EXPECT_EQ(listed, "ZELVO TEST") << "the newest backup first, its title in its own column";
    EXPECT_TRUE(asked.contains("\"ZELVO TEST\"") && asked.contains("\"OTHERGAME\""))
        << asked.toStdString();
    board->unmount();
    EXPECT_EQ(read_file(dir.file("out.sav")), other);

    // During a job the button that restores is disabled.
    mount({"--gb", image(romgen::gb_image(0x1B, 6, 0), "big.gb"), "--latency", "20"});
    const DialogAnswer file = answer_file_dialog(QString::fromStdString(dir.file("big.out")));
    tab.push_read_rom();
    EXPECT_TRUE(tab.cancelButton()->isEnabled());
    for (QPushButton* b : tab.findChildren<QPushButton*>()) {
        if (b->text() == "Restore a backup...") {
            EXPECT_FALSE(b->isEnabled());
        }
    }
    tab.cancelButton()->click();
    EXPECT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 60000));
    EXPECT_TRUE(tab.jobThread()->wait(10000));
}

// A blank file over a save that is not blank is asked about first; No writes nothing.
// Enter, the question's default, keeps the cartridge's save.
TEST_F(WindowJob, ABlankSaveOverARealOneIsAskedAbout) {
    const Bytes held = romgen::pattern(0x8000, 5);
    mount({"--gb", image(romgen::gb_image(0x1B, 2, 3), "rom.gb"), "--save", image(held, "h.sav"),
           "--save-out", dir.file("out.sav")});
    QString asked;
    const DialogAnswer enter = answer_next<QMessageBox>([&asked](QMessageBox* box) {
        asked = box->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    const QStringList lines = run(&MainTab::push_write_ram, image(Bytes(0x8000, 0), "z.sav"));
    EXPECT_TRUE(failed(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(asked.contains("would erase the saved game")) << asked.toStdString();
    board->unmount();
    EXPECT_EQ(read_file(dir.file("out.sav")), held);
}

TEST_F(WindowJob, SaveFilesShorterOrLongerThanTheSaveAreRefused) {
    const Bytes held = romgen::pattern(0x2000, 5);
    mount({"--gb", image(romgen::gb_image(0x1B, 3, 2), "rom.gb"), "--save", image(held, "held.sav"),
           "--save-out", dir.file("out.sav")});
    choose_gb(4, 262144, 8192);
    for (const uint32_t size : {100u, 0x2000u + 2, 0x3000u}) {
        const QStringList lines =
            run(&MainTab::push_write_ram, image(romgen::pattern(size, 1), "odd.sav"));
        EXPECT_TRUE(failed(lines));
        EXPECT_TRUE(
            has(lines, QString("holds %1 bytes, but the cartridge's save is 8192 bytes").arg(size)))
            << lines.join("\n").toStdString();
        EXPECT_FALSE(has(lines, "Backed up")) << "a refused write keeps no backup";
    }
    board->unmount();
    EXPECT_EQ(read_file(dir.file("out.sav")), held) << "nothing written";
}

TEST_F(WindowJob, FlashWritesWithIdentification) {
    for (int wiring : {8, 16}) {
        SCOPED_TRACE(wiring);
        const Bytes rom = romgen::pattern(0x100000, uint32_t(wiring));
        mount({"--flash", "0x100000", "--flash-wiring", std::to_string(wiring), "--erase-ms",
               "1200", "--flash-out", dir.file("flash.out")});
        choose_gb(4, 32768);
        tab.settings()->checkBox()->setChecked(true);
        const QStringList lines = run(&MainTab::push_write_flash, image(rom, "flash.gb"));
        EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
        if (wiring == 16) {
            EXPECT_TRUE(lines.contains("Flash chip is 16bit width"));
            EXPECT_TRUE(lines.contains("Flash chip size is :1024KB"));
        } else {
            EXPECT_TRUE(lines.contains("Flash chip is 8bit width"));
        }
        for (const char* step : {"Start erase flash chip...", "Erase flash chip finish.",
                                 "Start flash ROM...", "Flash ROM finish.", "Verify data finish."})
            EXPECT_TRUE(lines.contains(step)) << step;
        board->unmount();
        EXPECT_EQ(read_file(dir.file("flash.out")), rom);
    }
}

TEST_F(WindowJob, AProbablyBadDumpStandsOutInTheLogAndOnTheBar) {
    mount({"--gb", image(romgen::gb_image(0x1B, 2, 0), "rom.gb"), "--corrupt-gb", "0x5000"});
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_rom, dir.file("bad.gb"))));
    const QString warning = outcome_color(Outcome::Warning).name();
    EXPECT_TRUE(tab.console()->toHtml().contains(warning)) << "the warning in its colour";
    EXPECT_EQ(tab.progressBar()->format(), "Probably a bad dump");
    EXPECT_EQ(tab.progressBar()->palette().color(QPalette::Text), outcome_color(Outcome::Warning));
    // The next Info clears the bar's verdict.
    tab.push_info();
    EXPECT_EQ(tab.progressBar()->format(), "%p%");
}

// A cartridge whose bits flicker never ends in ">Success!" or "Checksums hold"
// with wrong bytes in the file.
TEST_F(WindowJob, AFlickeringCartridgeIsNeverASuccessWithWrongBytes) {
    const Bytes rom = romgen::gb_image(0x1B, 5, 0);
    tab.settings()->checkBox()->setChecked(true);
    for (const char* seed : {"3"}) {
        SCOPED_TRACE(seed);
        mount({"--gb", image(rom, "rom.gb"), "--flicker", "0x4123:3:0.33", "--flicker",
               "0x5000:3:0.33", "--flaw-seed", seed});
        const std::string out = dir.file(std::string("flicker") + seed + ".gb");
        const QStringList lines = run(&MainTab::push_read_rom, out);
        if (read_file(out) == rom) continue;
        EXPECT_FALSE(lines.contains(">Success!") && !has(lines, "no known dump confirms it"))
            << lines.join("\n").toStdString();
        EXPECT_NE(tab.progressBar()->format(), "Checksums hold");
    }
}

TEST_F(WindowJob, VerificationCatchesABoardThatCorruptsAByte) {
    mount({"--flash", "0x40000", "--flash-wiring", "16", "--erase-ms", "100", "--corrupt-gb",
           "0x4123"});
    choose_gb(4, 32768);
    tab.settings()->checkBox()->setChecked(true);
    const QStringList lines =
        run(&MainTab::push_write_flash, image(romgen::pattern(0x40000, 3), "f.gb"));
    EXPECT_TRUE(failed(lines));
    EXPECT_TRUE(has(lines, "Verify data error at 0x4123")) << lines.join("\n").toStdString();
}

TEST_F(WindowJob, CancelDuringAnEraseWaitAndDuringADump) {
    mount({"--flash", "0x40000", "--erase-ms", "600000"});
    choose_gb(4, 32768);
    const DialogAnswer answerFlash =
        answer_file_dialog(QString::fromStdString(image(romgen::pattern(0x40000, 1), "f.gb")));
    tab.push_write_flash();
    // The erase moves no bytes: the log says how long it may take, the bar is busy.
    ASSERT_TRUE(wait_for([&] {
        return has(lines_of(tab.console()), "Erasing the flash chip; this can take up to 600 s.");
    }));
    EXPECT_TRUE(wait_for([&] { return tab.progressBar()->maximum() == 0; }));
    tab.cancelButton()->click();
    ASSERT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 10000));
    EXPECT_TRUE(lines_of(tab.console()).contains(">Operation failure."));
    board.reset();

    mount({"--gb", image(romgen::gb_image(0x1B, 6, 0), "big.gb"), "--latency", "20"});
    choose_gb(4, 2097152);
    const DialogAnswer answerDump =
        answer_file_dialog(QString::fromStdString(dir.file("cancelled.gb")));
    tab.push_read_rom();
    ASSERT_TRUE(wait_for([&] { return tab.progressBar()->value() > 0; }));
    tab.cancelButton()->click();
    ASSERT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 10000));
    EXPECT_TRUE(lines_of(tab.console()).contains("Canceled."));
    EXPECT_FALSE(has(lines_of(tab.console()), "CALLSTACK"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("cancelled.gb")));
}

TEST_F(WindowJob, BoardPulledOutMidDumpAndMidWrite) {
    write_file(dir.file("keep.gb"), {'K', 'E', 'E', 'P'});
    mount({"--gb", image(romgen::gb_image(0x1B, 5, 3), "rom.gb"), "--fail-after", "40"});
    choose_gb(4, 1048576, 32768);
    QStringList lines = run(&MainTab::push_read_rom, dir.file("keep.gb"));
    EXPECT_TRUE(failed(lines));
    EXPECT_TRUE(has(lines, "The board stopped answering (0 of 16384 bytes arrived)."))
        << lines.join("\n").toStdString();
    EXPECT_FALSE(has(lines, "CALLSTACK")) << "the script is not at fault";
    EXPECT_EQ(read_file(dir.file("keep.gb")), Bytes({'K', 'E', 'E', 'P'})) << "untouched";
    board.reset();

    mount({"--gb", image(romgen::gb_image(0x1B, 5, 3), "rom.gb"), "--fail-after", "10"});
    lines = run(&MainTab::push_write_ram, image(romgen::pattern(0x8000, 4), "w.sav"));
    EXPECT_TRUE(failed(lines)) << lines.join("\n").toStdString();
}

TEST_F(WindowJob, NoBoardAndCancelledDialogs) {
    TempDir empty;
    const ScopedEnv volumes("ZELVO_VOLUMES", empty.path());
    QStringList lines = run(&MainTab::push_read_rom, dir.file("x.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(lines.contains("Can not found dump device."));
    EXPECT_TRUE(has(lines, QString("No dump board was found in %1 (no volume there holds "
                                   "K-DRIVER.DMP). Plug the board in")
                               .arg(QString::fromStdString(empty.path()))))
        << "where it looked";

    // Without the window, the job itself reports the missing board.
    FamicomThread job;
    QSignalSpy progress(&job, SIGNAL(set_progress(int, int)));
    QSignalSpy result(&job, SIGNAL(error(int)));
    QSignalSpy log(&job, SIGNAL(log(QString)));
    job.m_type = kJobGbDump;
    job.start();
    ASSERT_TRUE(result.wait(10000));
    EXPECT_EQ(log.at(0).at(0).toString(), "Can not found device.");
    EXPECT_EQ(progress.last(), QList<QVariant>({1, 1}));
    EXPECT_EQ(result.at(0).at(0).toInt(), 0);

    mount({"--gb", image(romgen::gb_image(0x00, 0, 0), "rom.gb"), "--log", dir.file("raw.log")});
    for (auto slot : {&MainTab::push_read_rom, &MainTab::push_read_ram, &MainTab::push_write_flash,
                      &MainTab::push_write_ram}) {
        run(slot, "");
        EXPECT_FALSE(started) << "a cancelled dialog starts nothing";
    }
}

TEST_F(WindowJob, MissingBrokenAndIncompleteScripts) {
    mount({"--gb", image(romgen::gb_image(0x1B, 3, 3), "rom.gb")});
    const QString mapper = scratch_mapper(tab);
    const QString tama5 = mapper + "gb_tama5.nut", mbc7 = mapper + "gb_mbc7.nut";
    ASSERT_TRUE(QFile::remove(tama5));
    choose_gb(6, 262144);
    QStringList lines = run(&MainTab::push_read_rom, dir.file("x.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(lines.contains("Not exists script file :"));
    EXPECT_TRUE(lines.contains(tama5)) << "the full path that was tried";

    choose_gb(5, 262144);
    write_file(mbc7.toStdString(), {'f', 'u', 'n', 'c', 't', 'i', 'o', 'n', ' ', '(', '{'});
    lines = run(&MainTab::push_read_rom, dir.file("x.gb"));
    EXPECT_TRUE(failed(lines));
    EXPECT_TRUE(has(lines, "dump core script error"));

    const std::string dumpOnly = "function cpu_dump(d, a, b) {}";
    write_file(mbc7.toStdString(), Bytes(dumpOnly.begin(), dumpOnly.end()));
    lines = run(&MainTab::push_read_ram, dir.file("x.sav"));
    EXPECT_TRUE(failed(lines));
    EXPECT_LT(lines.indexOf("Start dump save..."), lines.indexOf("Dump save finish."));
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.sav")));
}

TEST_F(WindowJob, TheFlashQueryWaitsForTheBoardsLock) {
    mount({"--flash", "0x100000", "--flash-wiring", "16"});
    platform::VolumeLock other;
    ASSERT_TRUE(other.acquire(board->mountpoint()));
    const QStringList lines =
        run(&MainTab::push_write_flash, image(romgen::pattern(0x8000, 1), "f.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(lines.contains("The dump device is in use by another program."));
    other.release();
    board->unmount();
    EXPECT_TRUE(board->command_writes().empty()) << "no query reached the board";
}

TEST_F(WindowJob, CancelAndClosingTheWindowStopARunawayScript) {
    mount({"--gb", image(romgen::gb_image(0x22, 3, 0), "rom.gb")});
    const QString mbc7 = scratch_mapper(tab) + "gb_mbc7.nut";
    const std::string endless = "function cpu_dump(d, a, b) { while (true) {} }";
    write_file(mbc7.toStdString(), Bytes(endless.begin(), endless.end()));
    choose_gb(5, 262144);
    const DialogAnswer answer = answer_file_dialog(QString::fromStdString(dir.file("x.gb")));
    tab.push_read_rom();
    ASSERT_TRUE(wait_for([&] { return lines_of(tab.console()).contains("Start dump rom..."); }));
    tab.cancelButton()->click();
    EXPECT_TRUE(wait_for([&] { return !tab.cancelButton()->isEnabled(); }, 10000));
    const QStringList lines = lines_of(tab.console());
    EXPECT_TRUE(lines.contains(
        "The mapper script did not stop by itself and was stopped: the job was canceled."));
    EXPECT_TRUE(lines.contains(">Operation failure."));
    {
        MainTab closing(nullptr);
        closing.setProgramDir(QFileInfo(mbc7).path() + "/..");
        closing.settings()->_setItem1(5);
        const DialogAnswer answerClosing =
            answer_file_dialog(QString::fromStdString(dir.file("y.gb")));
        closing.push_read_rom();
        ASSERT_TRUE(
            wait_for([&] { return lines_of(closing.console()).contains("Start dump rom..."); }));
    }  // the window closes with the script still running
}

TEST_F(WindowJob, RefusedImagesAndTheGbaFlashWrite) {
    mount({"--flash", "0x40000"});
    choose_gb(4, 32768);
    QStringList lines = run(&MainTab::push_write_flash, image({}, "empty.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(lines.contains("The file is empty: nothing to write."));
    {
        QFile huge(QString::fromStdString(dir.file("huge.gb")));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(kMaxInputSize + 1));
    }
    lines = run(&MainTab::push_write_flash, dir.file("huge.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(has(lines, "larger than 64 MiB"));
}

// FLASH reads the header first: a GBA cartridge is refused before any file is
// chosen; a GB flash cartridge is programmed though the panel still says GBA
// from the last run.
TEST_F(WindowJob, FlashFollowsTheDetectedSystem) {
    mount({"--gba", image(romgen::gba_image(0x100000, "ZTST"), "rom.gba")});
    QStringList lines;
    {
        const DialogAnswer answer = answer_file_dialog(QString::fromStdString(dir.file("rom.gba")));
        tab.push_write_flash();
        EXPECT_FALSE(answer.taken()) << "no file dialog";
        lines = lines_of(tab.console());
    }
    EXPECT_TRUE(has(lines, "programming GBA flash cartridges is not part of this program yet"));
    EXPECT_FALSE(has(lines, "Read file"));
    EXPECT_TRUE(lines.contains(">Operation failure."));

    const Bytes image64k = romgen::pattern(0x10000, 15);
    mount({"--flash", "0x40000", "--flash-wiring", "16", "--erase-ms", "100", "--flash-image",
           image(romgen::gb_image(0x1B, 3, 0), "old.gb"), "--flash-out", dir.file("chip.out")});
    tab.settings()->model().setSysType(kSysGba, ChoiceSource::Default);  // as the last run left it
    tab.settings()->show_model();
    lines = run(&MainTab::push_write_flash, image(image64k, "new.gb"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    board->unmount();
    const Bytes chip = read_file(dir.file("chip.out"));
    EXPECT_TRUE(Bytes(chip.begin(), chip.begin() + 0x10000) == image64k);
}

// An 8-bit chip tells its size by its ID: an image larger than it is refused
// before the erase; a chip whose ID is unknown is read back after programming.
TEST_F(WindowJob, EightBitChipsSayHowBigTheyAre) {
    const Bytes before = romgen::pattern(0x100000, 13);
    mount({"--flash", "0x100000", "--flash-image", image(before, "before.bin"), "--flash-out",
           dir.file("chip.out")});
    choose_gb(4, 32768);
    QStringList lines =
        run(&MainTab::push_write_flash, image(romgen::pattern(0x200000, 14), "big.gb"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(lines.contains("Flash chip: Am29F080 (ID 0x01 0xd5)"))
        << lines.join("\n").toStdString();
    EXPECT_TRUE(lines.contains("The flash chip holds 1 MiB; the image of 2 MiB does not fit."));
    board->unmount();
    EXPECT_EQ(read_file(dir.file("chip.out")), before) << "the chip is as it was";

    board.reset();
    const Bytes image64k = romgen::pattern(0x10000, 15);
    mount({"--flash", "0x10000", "--erase-ms", "100", "--flash-out", dir.file("chip.out")});
    lines = run(&MainTab::push_write_flash, image(image64k, "small.gb"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(has(lines,
                    "The flash chip's size could not be learnt (it answered with the ID "
                    "0x01 0x99)"));
    EXPECT_TRUE(lines.contains("Verify data finish.")) << "read back without the verify box";
    board->unmount();
    EXPECT_EQ(read_file(dir.file("chip.out")), image64k);
}

// A GBA cartridge the database does not know: its ROM names its save library.
TEST_F(WindowJob, AnUnknownGbaCartridgesSaveKindComesFromItsRom) {
    Bytes rom = romgen::gba_image(0x100000, "ZQQQ");
    const std::string id = "FLASH1M_V103";
    std::copy(id.begin(), id.end(), rom.begin() + 0x54321);
    const Bytes save = romgen::pattern(0x20000, 16);
    mount({"--gba", image(rom, "rom.gba"), "--gba-save", "flash128", "--save",
           image(save, "held.sav")});
    QStringList lines = run(&MainTab::push_read_ram, dir.file("read.sav"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines.contains("The ROM names its save library FLASH1M_V103: FLASH 128 KiB."));
    EXPECT_TRUE(lines.contains("Using: save 128 KiB FLASH (found in the ROM)"));
    EXPECT_EQ(read_file(dir.file("read.sav")), save);

    // No library named: refused until the user chooses a save type.
    board.reset();
    mount({"--gba", image(romgen::gba_image(0x100000, "ZRRR"), "plain.gba"), "--gba-save", "sram"});
    lines = run(&MainTab::push_read_ram, dir.file("plain.sav"));
    EXPECT_FALSE(started);
    EXPECT_TRUE(has(lines,
                    "The ROM names no save library, so its save type is not known; choose "
                    "its save type (RAM TYPE and RAM SIZE) in the settings panel."))
        << lines.join("\n").toStdString();
    choose_gba(1048576, 0, 32768);
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_ram, dir.file("plain.sav"))));
    EXPECT_EQ(read_file(dir.file("plain.sav")).size(), 0x8000u);
}

// The window stays alive while a launch reads the ROM for its save library,
// and nothing that starts work can be used then.
TEST_F(WindowJob, NothingStartsDuringASaveLibrarySearch) {
    Bytes rom = romgen::gba_image(0x800000, "ZSSS");  // 32 reads of the search
    const std::string id = "SRAM_V113";
    std::copy(id.begin(), id.end(), rom.begin() + 0x7F0000);
    // The board tells when the search is under way; the window is looked at
    // on its own thread, between two of the search's reads.
    std::atomic<bool> paused{false};
    bool looked = false;
    BoardPauses pauses(dir, [&](const std::string&) { paused = true; });
    std::vector<std::string> args = {"--gba", image(rom, "s.gba"), "--gba-save", "sram"};
    for (const std::string& a : pauses.args({"0306:24"})) args.push_back(a);
    mount(args);
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (!paused || looked) return;
        EXPECT_TRUE(tab.searching());
        for (QPushButton* b : tab.findChildren<QPushButton*>())
            EXPECT_EQ(b->isEnabled(), b == tab.cancelButton()) << b->text().toStdString();
        looked = true;
    });
    look.start(0);
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_ram, dir.file("s.sav"))));
    EXPECT_EQ(pauses.seen(), std::vector<std::string>{"0306:24"});
    EXPECT_TRUE(looked);
    board.reset();  // before its pauses go
}

// An EEPROM's size comes from how the chip answers each address width; where
// its save cannot show it, the user names it and Enter reads nothing.
TEST_F(WindowJob, AnEepromsSizeIsProbedOrAskedFor) {
    // Another game code each time: the window keeps what it found for the same cartridge.
    const auto rom = [this](const char* code) {
        Bytes image = romgen::gba_image(0x100000, code);
        const std::string id = "EEPROM_V124";
        std::copy(id.begin(), id.end(), image.begin() + 0x3FFFA);  // across two search reads
        return this->image(image, std::string(code) + ".gba");
    };
    for (const auto& [chip, size] : {std::pair{"eep8k", 0x2000u}, {"eep512", 0x200u}}) {
        const Bytes save = romgen::pattern(size, 17);
        mount({"--gba", rom(size == 0x2000u ? "ZEE8" : "ZEE5"), "--gba-save", chip, "--save",
               image(save, "e.sav")});
        const QStringList lines = run(&MainTab::push_read_ram, dir.file("probed.sav"));
        EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
        EXPECT_TRUE(has(lines, "(probed on the chip)")) << lines.join("\n").toStdString();
        EXPECT_EQ(read_file(dir.file("probed.sav")), save) << chip;
    }
    // An erased chip answers alike to both widths.
    mount({"--gba", rom("ZEEE"), "--gba-save", "eep8k"});
    {
        const DialogAnswer enter = answer_next<QMessageBox>(
            [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        const QStringList lines = run(&MainTab::push_read_ram, dir.file("eep0.sav"));
        EXPECT_TRUE(lines.contains("Canceled.")) << lines.join("\n").toStdString();
        EXPECT_FALSE(started) << lines.join("\n").toStdString();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("eep0.sav"))));
    }
    const DialogAnswer size = answer_next<QMessageBox>([](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons())
            if (b->text() == "8 KiB") b->click();
    });
    const QStringList lines = run(&MainTab::push_read_ram, dir.file("eep.sav"));
    EXPECT_TRUE(size.taken());
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_TRUE(has(lines, "save 8 KiB EEP (chosen)")) << lines.join("\n").toStdString();
    EXPECT_EQ(read_file(dir.file("eep.sav")), Bytes(0x2000, 0xFF));
}

// The same request through the window (its panel, check boxes and dialogs)
// and through zelvo3-cli --plan (its options) gives the same plan, value by value.
TEST_F(WindowJob, BothFrontEndsPlanTheSameJob) {
    const std::string gbRom = image(romgen::gb_image(0x1B, 5, 3), "gb.gb");
    Bytes flashRom = romgen::gba_image(0x100000, "ZQQQ");
    Bytes eepRom = romgen::gba_image(0x100000, "ZEEE");
    for (auto [rom, id] : {std::pair{&flashRom, "FLASH1M_V103"}, {&eepRom, "EEPROM_V124"}})
        std::copy(id, id + strlen(id), rom->begin() + 0x4321);
    const QString blank = QString::fromStdString(image(romgen::gb_image(0x1B, 5, 0), "new.gb"));
    struct Row {
        const char* what;
        std::vector<std::string> board;
        void (MainTab::*press)();
        std::function<void(MainTab&)> choose;  // in the panel
        QStringList options;                   // on the command line
    };
    const auto ram8k = [](MainTab& t) {
        t.settings()->setItem3(option_by_value(gb_ram_table, 8192)->position);
    };
    const Row rows[] = {
        {"GB dump, all detected", {"--gb", gbRom}, &MainTab::push_read_rom, {}, {"dump-rom"}},
        {"GB dump, controller and size chosen, verified",
         {"--gb", gbRom},
         &MainTab::push_read_rom,
         [](MainTab& t) {
             t.settings()->setItem1(gb::mbc_position(mbc_by_code(1)));
             t.settings()->setItem2(option_by_value(gb_rom_table, 0x80000)->position);
             t.settings()->checkBox()->setChecked(true);
         },
         {"dump-rom", "--mbc", "mbc1", "--rom-size", "512K", "--verify"}},
        {"GB save, size chosen",
         {"--gb", gbRom},
         &MainTab::push_read_ram,
         ram8k,
         {"read-save", "--ram-size", "8K"}},
        {"GBA save kind found in the ROM",
         {"--gba", image(flashRom, "f.gba"), "--gba-save", "flash128"},
         &MainTab::push_read_ram,
         {},
         {"read-save"}},
        {"GBA EEPROM size answered",
         {"--gba", image(eepRom, "e.gba"), "--gba-save", "eep8k"},
         &MainTab::push_read_ram,
         {},
         {"read-save", "--ram-size", "8K"}},
        {"blank flash chip",
         {"--flash", "0x100000"},
         &MainTab::push_write_flash,
         {},
         {"flash-rom", blank}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        mount(row.board);
        MainTab window(nullptr);
        window.settings()->checkBox()->setChecked(false);  // the last row's is remembered
        if (row.choose) row.choose(window);
        {
            const DialogAnswer eeprom = answer_next<QMessageBox>([](QMessageBox* box) {
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == "8 KiB") b->click();
            });
            const DialogAnswer cancel = answer_file_dialog(QString());
            (window.*row.press)();
        }
        const QStringList planned = plan_lines(window.plan());
        QProcess cli;
        cli.start(CLI_PATH, QStringList(row.options) << "--plan");
        ASSERT_TRUE(cli.waitForFinished(120000));
        const QStringList out = QString::fromLocal8Bit(cli.readAllStandardOutput()).split('\n');
        const int first = int(out.indexOf(QRegularExpression("^job: .*")));
        ASSERT_GE(first, 0) << out.join('\n').toStdString();
        EXPECT_EQ(out.mid(first, planned.size()).join('\n').toStdString(),
                  planned.join('\n').toStdString());
        EXPECT_TRUE(window.plan().ok()) << planned.join('\n').toStdString();
        window.settings()->checkBox()->setChecked(false);
    }
}

// The thread that just signalled the end of a job is still leaving run(): a
// Dump pressed then starts once it has.
TEST_F(WindowJob, ADumpPressedRightAfterAJobEndsRuns) {
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    mount({"--gb", image(rom, "rom.gb")});
    std::optional<DialogAnswer> second;
    bool pressed = false;
    QObject::connect(
        tab.jobThread(), &FamicomThread::error, &tab,
        [&](int) {
            if (pressed) return;
            pressed = true;
            // The job thread waits in its error signal: it is surely still running.
            second.emplace(answer_file_dialog(QString::fromStdString(dir.file("second.gb"))));
            tab.push_read_rom();
        },
        Qt::BlockingQueuedConnection);
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_rom, dir.file("first.gb"))));
    ASSERT_TRUE(wait_for([&] { return std::filesystem::exists(dir.file("second.gb")); }, 20000))
        << "the second job ran";
    EXPECT_TRUE(wait_for([&] { return !tab.jobThread()->isRunning(); }));
    EXPECT_EQ(read_file(dir.file("second.gb")), rom);
}

TEST_F(WindowJob, GbaDumpAndFlashSaveReadAndWrite) {
    const Bytes rom = romgen::gba_image(0x400000, "ZTST");
    const Bytes save = romgen::pattern(0x10000, 21), next = romgen::pattern(0x10000, 22);
    mount({"--gba", image(rom, "rom.gba"), "--gba-save", "flash64", "--save",
           image(save, "held.sav"), "--erase-ms", "300", "--save-out", dir.file("model.sav")});
    choose_gba(4194304, 1, 65536);
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_rom, dir.file("out.gba"))));
    EXPECT_EQ(read_file(dir.file("out.gba")), rom);
    EXPECT_TRUE(succeeded(run(&MainTab::push_read_ram, dir.file("read.sav"))));
    EXPECT_EQ(read_file(dir.file("read.sav")), save);
    const QStringList lines = run(&MainTab::push_write_ram, image(next, "next.sav"));
    EXPECT_TRUE(succeeded(lines)) << lines.join("\n").toStdString();
    EXPECT_LT(lines.indexOf("Erase flash chip finish."), lines.indexOf("Start write save..."));
    board->unmount();
    EXPECT_EQ(read_file(dir.file("model.sav")), next);
}

TEST_F(WindowJob, ClosingTheWindowDuringAJobWaitsForIt) {
    REQUIRE_FUSE();
    MountedBoard slow({"--gb", image(romgen::gb_image(0x1B, 6, 0), "big.gb"), "--latency", "20"});
    ASSERT_TRUE(slow.mounted());
    TabDialog window(nullptr);
    window.show();
    MainTab* main = window.mainTab();
    main->settings()->_setItem2(2097152);
    const DialogAnswer answer = answer_file_dialog(QString::fromStdString(dir.file("out.gb")));
    main->push_read_rom();
    ASSERT_TRUE(main->jobThread()->isRunning());
    const DialogAnswer answerNo = answer_message_box(QMessageBox::No);
    window.close();
    EXPECT_TRUE(window.isVisible()) << "the user chose to keep the job";
    const DialogAnswer answerYes = answer_message_box(QMessageBox::Yes);
    window.close();
    EXPECT_FALSE(main->jobThread()->isRunning());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(lines_of(main->console()).contains(">Operation failure."));
}

}  // namespace

// Import DAT files... takes the DAT chosen into the database; Verify file then
// names the release it lists.
TEST_F(WindowJob, ImportedDatsNameTheReleaseInVerifyFile) {
    const ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    const gb::DumpDigest digest = gb::digest_of(rom.data(), rom.size());
    const QString dat = QString(
                            "<?xml version=\"1.0\"?>\n<datafile><header><name>Test - Game "
                            "Boy</name><version>3</version></header>\n<game name=\"Zelvo "
                            "(Europe)\"><rom name=\"z\" size=\"%1\" crc=\"%2\"/></game>"
                            "</datafile>\n")
                            .arg(digest.size)
                            .arg(digest.crc32, 8, 16, QLatin1Char('0'));
    const QByteArray bytes = dat.toUtf8();
    const std::string path = image(Bytes(bytes.begin(), bytes.end()), "t.dat");
    {
        const DialogAnswer chosen = answer_file_dialog(QString::fromStdString(path));
        tab.push_import_dats();
    }
    EXPECT_TRUE(lines_of(tab.console()).contains("Imported Test - Game Boy (3): 1 games."));
    tab.verify_file(QString::fromStdString(image(rom, "rom.gb")));
    EXPECT_TRUE(
        lines_of(tab.console()).contains("Matches 'Zelvo (Europe)' in Test - Game Boy (3)."))
        << tab.console()->toPlainText().toStdString();
}
