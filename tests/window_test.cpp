// The window: title, tabs, the main tab's log and states, the Update tab,
// translations and the settings panel.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSemaphore>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QThread>
#include <QTranslator>
#include <QUrl>

#include "app/tab_dialog.h"
#include "app/translations.h"
#include "jobs/dump_verdict.h"
#include "jobs/job_launch.h"
#include "jobs/option_tables.h"
#include "jobs/transfer_rate.h"
#include "romgen.h"
#include "support/mounted_board.h"
#include "support/window_helpers.h"
#include "ui/console.h"
#include "ui/firmware_update_tab.h"
#include "ui/main_tab.h"
#include "ui/preferences.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

bool idle(MainTab& tab) {
    for (QPushButton* b : tab.actionButtons())
        if (!b->isEnabled()) return false;
    return !tab.cancelButton()->isEnabled() && tab.progressBar()->minimum() == 0 &&
           tab.progressBar()->maximum() == 1 && tab.progressBar()->value() == 0;
}

TEST(Window, TitleAndTabs) {
    TabDialog window(nullptr);
    EXPECT_TRUE(QRegularExpression("^Zelvo 3\\.0 build - [A-Z][a-z]{2} [ 123][0-9] [0-9]{4}$")
                    .match(window.windowTitle())
                    .hasMatch())
        << window.windowTitle().toStdString();
    ASSERT_EQ(window.tabs()->count(), 3);
    EXPECT_EQ(window.tabs()->tabText(0), "GB");
    EXPECT_EQ(window.tabs()->tabText(1), "Update");
    EXPECT_EQ(window.tabs()->tabText(2), "About");
    EXPECT_NE(qobject_cast<MainTab*>(window.tabs()->widget(0)), nullptr);
    EXPECT_NE(qobject_cast<FirmwareUpdateTab*>(window.tabs()->widget(1)), nullptr);
    EXPECT_EQ(window.tabs()->widget(2)->findChildren<QLabel*>().size(), 6);
}

// Success, warning and failure read at 4.5:1 or more on the log's blue, each
// in its own colour; the line after a styled one is plain again.
TEST(MainTabLog, OutcomesStandOutAndEndWithTheirLine) {
    const Outcome all[] = {Outcome::Success, Outcome::Warning, Outcome::Failure};
    for (const Outcome o : all) {
        EXPECT_GE(contrast_ratio(outcome_rgb(o), kLogBackground), 4.5) << int(o);
        for (const Outcome other : all) {
            if (other == o) continue;
            EXPECT_NE(outcome_color(o), outcome_color(other));
        }
    }
    MainTab tab(nullptr);
    tab.info(warning_markup("the save is blank"));
    tab.info(">Success!");
    const QTextBlock last = tab.console()->document()->lastBlock();
    EXPECT_EQ(last.text(), ">Success!");
    EXPECT_NE(last.begin().fragment().charFormat().foreground().color(),
              outcome_color(Outcome::Warning));
}

TEST(MainTabLog, StartsIdleWithItsStartUpLines) {
    MainTab tab(nullptr);
    const QStringList lines = lines_of(tab.console());
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], "Oriel Driver Series for GB/GBC/GBA 3.0 started.");
    EXPECT_EQ(lines[1], "Support all functions, need QRV_PCB02_FW303 firmware.")
        << "markup rendered";
    EXPECT_TRUE(tab.console()->toHtml().contains("#ffcc00"));
    EXPECT_EQ(lines[2], "To dump GB/GBC cartridge,please switch power to 5V.");
    EXPECT_EQ(lines[3], "To dump GBA cartridge,please switch power to 3.3V.");
    EXPECT_EQ(lines[4], "Part of homebrew GB/GBC flash cart need 3.3V power.");
    for (int i = 5; i < lines.size(); ++i) EXPECT_TRUE(lines[i].trimmed().isEmpty());
    EXPECT_TRUE(idle(tab));
    EXPECT_TRUE(tab.console()->isReadOnly());
}

// A job's passes share one bar; a pass more than expected lengthens it.
TEST(MainTabLog, OneBarForAJobsPasses) {
    JobProgress job;
    job.begin(expected_passes(kJobGbSaveWrite, true, true));  // backup read twice, write, verify
    const struct {
        int64_t done, total, barDone, barTotal;
    } steps[] = {{50, 100, 50, 400},   {100, 100, 100, 400}, {10, 100, 110, 400},
                 {100, 100, 200, 400}, {0, 0, 0, 0},         {30, 100, 230, 400},
                 {100, 100, 300, 400}, {5, 100, 305, 400},   {100, 100, 400, 400},
                 {10, 100, 410, 500}};
    for (const auto& s : steps) {
        const JobProgress::Position at = job.advance(s.done, s.total);
        EXPECT_EQ(at.done, s.barDone) << s.done;
        EXPECT_EQ(at.total, s.barTotal) << s.done;
    }
    MainTab tab(nullptr);
    EXPECT_EQ(tab.actionButtons()[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_TRUE(tab.actionButtons()[0]->toolTip().endsWith(
        "(" + QKeySequence(Qt::CTRL | Qt::Key_I).toString(QKeySequence::NativeText) + ")"));
}

TEST(MainTabLog, ResultLinesAndProgress) {
    MainTab tab(nullptr);
    const int before = tab.console()->document()->blockCount();
    tab.setEnabledButtons(false);
    tab.setProgress(5, 10);
    EXPECT_EQ(tab.progressBar()->value(), 5);
    EXPECT_FALSE(tab.actionButtons()[0]->isEnabled());
    EXPECT_TRUE(tab.cancelButton()->isEnabled());
    // Once a pass has run long enough to measure, the bar adds rate and time left.
    EXPECT_TRUE(rate_text(6, 10, 100).isEmpty()) << "too soon to tell";
    show_progress(tab.progressBar(), 6, 10, rate_text(6, 10, 250));
    EXPECT_TRUE(tab.progressBar()->text().startsWith("60%, "))
        << tab.progressBar()->text().toStdString();
    EXPECT_TRUE(tab.progressBar()->text().contains(" left"));
    tab.setProgress(0, 0);
    EXPECT_EQ(tab.progressBar()->maximum(), 0) << "Qt's busy indicator";
    tab.print_error(1);
    EXPECT_EQ(tab.progressBar()->format(), "%p%") << "a bar at rest shows no rate";
    EXPECT_TRUE(lines_of(tab.console()).contains(">Success!"));
    EXPECT_TRUE(idle(tab));
    tab.print_error(0);
    EXPECT_TRUE(lines_of(tab.console()).contains(">Operation failure."));
    const int withResults = tab.console()->document()->blockCount();
    tab.setEnabledButtons(false);
    tab.print_error(7);
    const QStringList lines = lines_of(tab.console());
    EXPECT_FALSE(lines.mid(withResults - 1).contains(">Success!"));
    EXPECT_GT(tab.console()->document()->blockCount(), withResults) << "only the separator";
    EXPECT_GT(withResults, before);
    EXPECT_TRUE(idle(tab));
    // A separator is a horizontal rule, not markup shown as text.
    EXPECT_FALSE(tab.console()->toPlainText().contains("<hr>"));
    EXPECT_TRUE(tab.console()->toHtml().contains("<hr"));
}

TEST(MainTabLog, StaysScrolledToTheNewestLine) {
    MainTab tab(nullptr);
    tab.resize(600, 400);
    tab.show();
    for (int i = 0; i < 500; ++i) tab.info(QString("line %1").arg(i));
    QApplication::processEvents();
    QScrollBar* bar = tab.console()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_GT(bar->value(), bar->maximum() - tab.console()->fontMetrics().height());
    EXPECT_TRUE(tab.console()->textCursor().atEnd());
    EXPECT_TRUE(tab.console()->viewport()->rect().contains(tab.console()->cursorRect()))
        << "the newest line is in view";
}

// The board's firmware cannot be updated from here: the tab says so, and that
// nothing was sent, and ends as a failure.
TEST(UpdateTab, SaysNothingWasSentOnEveryPress) {
    FirmwareUpdateTab tab(nullptr);
    QStringList lines = lines_of(tab.console());
    EXPECT_EQ(lines[0], "First turn off anti-virus software.");
    EXPECT_EQ(lines[1], "Next press \"Update Firmware\" to update firmware.");
    for (int press = 0; press < 2; ++press) {
        const QString before = tab.console()->toPlainText();
        tab.updateButton()->click();
        EXPECT_FALSE(tab.updateButton()->isEnabled());
        ASSERT_TRUE(wait_for([&] { return tab.updateButton()->isEnabled(); }));
        lines = tab.console()->toPlainText().mid(before.size()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], "Starting update firmware , pelase wait...");
        EXPECT_EQ(
            lines[1],
            "This program cannot update the board's firmware: nothing was sent to the board.");
        EXPECT_EQ(lines[2], ">Operation failure.");
        EXPECT_TRUE(tab.console()->toHtml().contains("<hr")) << "closed with a separator";
        EXPECT_EQ(tab.progressBar()->maximum(), 1);
        EXPECT_EQ(tab.progressBar()->value(), 0);
    }
}

// The button comes back only once the job has left its thread: a press while
// the thread was still ending would start nothing and leave it greyed for good.
TEST(UpdateTab, TheButtonWaitsForTheThreadToEnd) {
    FirmwareUpdateTab tab(nullptr);
    QSemaphore leave;
    QObject::connect(
        tab.jobThread(), &UpdateThread::error, tab.jobThread(), [&] { leave.acquire(); },
        Qt::DirectConnection);
    tab.updateButton()->click();
    ASSERT_TRUE(wait_for([&] { return lines_of(tab.console()).contains(">Operation failure."); }));
    QApplication::processEvents();
    EXPECT_FALSE(tab.updateButton()->isEnabled()) << "the thread is still running";
    leave.release();
    EXPECT_TRUE(wait_for([&] { return tab.updateButton()->isEnabled(); }));
}

TEST(Window, EscapeDoesNotCloseIt) {
    TabDialog window(nullptr);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
}

// A ROM file dropped on the window gets the verdict, no board needed.
TEST(Window, ADroppedRomIsJudged) {
    TempDir dir;
    write_file(dir.file("drop.gb"), romgen::gb_image(0x1B, 2, 0));
    TabDialog window(nullptr);
    window.show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("drop.gb")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    const QStringList lines = lines_of(window.mainTab()->console());
    EXPECT_TRUE(lines.contains(QString::fromStdString(dir.file("drop.gb")) + ": a GB/GBC ROM"));
    EXPECT_TRUE(
        lines.contains("Not in the database of known dumps: the verdict rests on the "
                       "checksums, and they hold."));
}

class Translation : public ::testing::Test {
protected:
    void TearDown() override { QCoreApplication::removeTranslator(&translator); }
    void place(const char* from, const char* name) {
        QFile::copy(QString(TRANSLATIONS_DIR) + "/" + from, QString::fromStdString(dir.file(name)));
    }
    QString update() { return QCoreApplication::translate("TabDialog", "Update"); }
    TempDir dir;
    QTranslator translator;
};

TEST_F(Translation, ChineseWinsOverJapanese) {
    place("zelvo3_chs.qm", "zelvo3_chs.qm");
    place("zelvo3_jpn.qm", "zelvo3_jpn.qm");
    EXPECT_TRUE(install_translation(translator, QString::fromStdString(dir.path()))
                    .endsWith("zelvo3_chs.qm"));
    EXPECT_EQ(update(), "Update-chs");
}

TEST_F(Translation, JapaneseAlone) {
    place("zelvo3_jpn.qm", "zelvo3_jpn.qm");
    EXPECT_TRUE(install_translation(translator, QString::fromStdString(dir.path()))
                    .endsWith("zelvo3_jpn.qm"));
    EXPECT_EQ(update(), "Update-jpn");
    TabDialog window(nullptr);
    EXPECT_EQ(window.tabs()->tabText(1), "Update-jpn");
}

TEST_F(Translation, AnUnloadableFileLeavesTheSourceTexts) {
    write_file(dir.file("zelvo3_chs.qm"), {'n', 'o', 't', ' ', 'q', 'm'});
    place("zelvo3_jpn.qm", "zelvo3_jpn.qm");
    EXPECT_TRUE(install_translation(translator, QString::fromStdString(dir.path()))
                    .endsWith("zelvo3_chs.qm"));
    EXPECT_EQ(update(), "Update");
    TabDialog window(nullptr);
    EXPECT_EQ(window.tabs()->tabText(1), "Update");
}

TEST_F(Translation, PathsAreNeverTranslated) {
    place("zelvo3_chs.qm", "zelvo3_chs.qm");
    install_translation(translator, QString::fromStdString(dir.path()));
    LaunchChoices gba, gb;
    gba.sysType = kSysGba;
    gb.mbcPosition = kDefaultMbcPosition;
    EXPECT_EQ(mapper_script_path(gba, "/app"), "/app/mapper/gba.nut");
    EXPECT_EQ(mapper_script_path(gb, "/app"), "/app/mapper/gb_mbc5.nut");
}

TEST_F(Translation, TheShippedTranslationsReachTabsAndButtons) {
    // Switched on as the README says: the built file linked beside the program.
    const struct {
        const char* file;
        const char* updateTab;
        const char* infoButton;
    } shipped[] = {{"zelvo3_chs.qm", "更新", "信息"}, {"zelvo3_jpn.qm", "更新", "情報"}};
    for (const auto& t : shipped) {
        SCOPED_TRACE(t.file);
        TempDir beside;
        ASSERT_TRUE(QFile::link(QString(SHIPPED_TRANSLATIONS_DIR) + "/" + t.file,
                                QString::fromStdString(beside.file(t.file))));
        QTranslator shippedTranslator;
        install_translation(shippedTranslator, QString::fromStdString(beside.path()));
        TabDialog window(nullptr);
        EXPECT_EQ(window.tabs()->tabText(1), QString::fromUtf8(t.updateTab));
        auto* tab = static_cast<MainTab*>(window.tabs()->widget(0));
        EXPECT_EQ(tab->actionButtons()[0]->text(), QString::fromUtf8(t.infoButton));
        QCoreApplication::removeTranslator(&shippedTranslator);
    }
}

// With our translation on, Qt's own dialogs speak the same language.
TEST_F(Translation, QtsOwnButtonsFollowOurs) {
    place("zelvo3_chs.qm", "zelvo3_chs.qm");
    const QString ours = install_translation(translator, QString::fromStdString(dir.path()));
    QTranslator qt;
    ASSERT_FALSE(install_qt_translation(qt, ours).isEmpty()) << "qttranslations5-l10n";
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("取消"));
    QCoreApplication::removeTranslator(&qt);
}

// The first run's window fits the screen it opens on, Cancel included; where
// the screen is tall enough its log shows 25 lines; a remembered place off
// every screen comes back. CTest runs these on X screens of 1366x768 and
// 1280x1024 as well; a screen under 1024x600 (the offscreen one) skips them.
class WindowFit : public ::testing::Test {
protected:
    void SetUp() override {
        screen = QGuiApplication::primaryScreen()->availableGeometry();
        if (screen.width() < 1024 || screen.height() < 600)
            GTEST_SKIP() << "the screen is smaller than 1024x600";
    }
    void show(TabDialog& window) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_TRUE(screen.contains(window.frameGeometry()))
            << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " at "
            << window.frameGeometry().x() << "," << window.frameGeometry().y();
    }
    QRect screen;
};

TEST_F(WindowFit, TheFirstRunFitsTheScreen) {
    TabDialog window(nullptr);
    show(window);
    const QPushButton* cancel = window.mainTab()->cancelButton();
    EXPECT_TRUE(screen.contains(QRect(cancel->mapToGlobal(QPoint()), cancel->size())));
    const Console* log = window.mainTab()->console();
    if (screen.height() >= 1000) {
        EXPECT_GE(log->viewport()->height() / QFontMetrics(log->font()).lineSpacing(), 25);
    }
}

TEST_F(WindowFit, ARememberedPlaceOffTheScreenComesBack) {
    {
        TabDialog away(nullptr);
        away.setGeometry(QRect(screen.right() + 2000, screen.bottom() + 500, 900, 580));
        Preferences().setGeometry(away.saveGeometry());
    }
    TabDialog window(nullptr);
    show(window);
}

TEST(Window, FitOnScreen) {
    const QRect screen(0, 0, 1366, 768);
    const QSize frame(16, 40);
    const struct {
        QRect wanted, fitted;
    } cases[] = {
        {{100, 50, 900, 600}, {100, 50, 900, 600}},    // fits: left as it is
        {{0, 0, 1133, 955}, {0, 0, 1133, 728}},        // too tall: shorter
        {{3000, 100, 900, 600}, {233, 84, 900, 600}},  // off the screen: brought back
    };
    for (const auto& c : cases) EXPECT_EQ(fit_on_screen(c.wanted, screen, frame), c.fitted);
}

TEST_F(Translation, NoFileNoTranslation) {
    EXPECT_TRUE(install_translation(translator, QString::fromStdString(dir.path())).isEmpty());
    EXPECT_EQ(update(), "Update");
}

QStringList entries(QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    return out;
}

TEST(SettingsPanel, ConstructionDefaults) {
    Settings s(nullptr);
    EXPECT_EQ(s.title(), "Settings");
    EXPECT_EQ(s.getSysType(), 0);
    EXPECT_EQ(s.model().mbcCode(), 4);
    EXPECT_EQ(s.firstList()->currentText(), "MBC5");
    EXPECT_EQ(QString(mbc_script_at(s.model().choices().mbcPosition)), "gb_mbc5.nut");
    EXPECT_EQ(s.getGbRomSize(), 32768);
    EXPECT_EQ(s.getGbRamSize(), 512);
    EXPECT_FALSE(s.getCheckType());
    EXPECT_EQ(entries(s.systemList()), QStringList({"GB/GBC", "GBA"}));
    EXPECT_EQ(entries(s.firstList()).size(), int(std::size(mbc_table)));
    EXPECT_EQ(entries(s.secondList()).size(), int(std::size(gb_rom_table)));
    EXPECT_EQ(entries(s.thirdList()), QStringList({"512 B", "8 K", "32 K", "64 K", "128 K"}));
    EXPECT_EQ(s.listLabel(0)->text(), "MBC TYPE:");
}

TEST(SettingsPanel, SwitchingSystemsResetsOnlyTheSystemSwitchedTo) {
    Settings s(nullptr);
    s.setItem1(2);
    s.setItem2(3);
    s.setItem3(1);
    EXPECT_EQ(s.model().mbcCode(), 2);
    s.setSysType(1);
    EXPECT_EQ(s.listLabel(1)->text(), "RAM TYPE:");
    EXPECT_EQ(s.getGbaRomSize(), 1048576);
    EXPECT_EQ(s.getGbaRamType(), 0);
    EXPECT_EQ(s.getGbaRamSize(), 32768);
    s.setItem1(4);
    s.setItem2(1);
    s.setItem3(1);
    EXPECT_EQ(s.getGbaRamSize(), 131072);
    EXPECT_EQ(s.model().mbcCode(), 2) << "GB values stay while GBA is chosen";
    s.setSysType(0);
    EXPECT_EQ(s.model().mbcCode(), 4);
    EXPECT_EQ(s.getGbRomSize(), 32768);
    EXPECT_EQ(s.getGbRamSize(), 512);
    EXPECT_EQ(s.getGbaRomSize(), 16777216) << "GBA values stay while GB is chosen";
    EXPECT_EQ(s.getGbaRamType(), 1);
}

TEST(SettingsPanel, SaveTypesOfferTheirTwoSizes) {
    Settings s(nullptr);
    s._setSysType(1);
    EXPECT_EQ(s.systemList()->currentIndex(), 1);
    const struct {
        int type;
        QStringList offered;
        int first;
    } types[] = {
        {2, {"512 B", "8 K"}, 512}, {0, {"32 K", "64 K"}, 32768}, {1, {"64 K", "128 K"}, 65536}};
    for (const auto& t : types) {
        s.setItem3(1);
        s.setItem2(t.type);
        EXPECT_EQ(entries(s.thirdList()), t.offered);
        EXPECT_EQ(s.thirdList()->currentIndex(), 0);
        EXPECT_EQ(s.getGbaRamSize(), t.first);
    }
}

TEST(SettingsPanel, SelectByValue) {
    Settings s(nullptr);
    s._setItem2(12345);
    EXPECT_EQ(s.getGbRomSize(), 32768);
    EXPECT_EQ(s.secondList()->currentIndex(), 0);
    s._setItem1(6);
    EXPECT_EQ(s.firstList()->currentText(), "TAMA5");
    EXPECT_EQ(QString(mbc_script_at(s.model().choices().mbcPosition)), "gb_tama5.nut");
    s._setItem3(2048);
    EXPECT_EQ(s.getGbRamSize(), 512) << "2048 bytes is not listed";
    s._setItem3(32768);
    EXPECT_EQ(s.thirdList()->currentText(), "32 K");
    s._setSysType(1);
    s._setItem2(2);
    EXPECT_EQ(entries(s.thirdList()), QStringList({"512 B", "8 K"}));
    s._setItem3(8192);
    EXPECT_EQ(s.thirdList()->currentIndex(), 1);
    EXPECT_EQ(s.getGbaRamSize(), 8192);
    s._setItem3(65536);
    EXPECT_EQ(s.getGbaRamSize(), 8192) << "not on offer for EEPROM";
}

TEST(SettingsPanel, UserChoicesRunTheSlots) {
    Settings s(nullptr);
    s.setItem3(2);
    s.thirdList()->setCurrentIndex(0);
    emit s.thirdList()->activated(0);  // the user picks the entry that is already current
    EXPECT_EQ(s.getGbRamSize(), 512);
    s.checkBox()->setChecked(true);
    EXPECT_TRUE(s.getCheckType());
    s.setCheck(1);
    EXPECT_FALSE(s.getCheckType()) << "a partial tick counts as unticked";
    s.checkBox()->setChecked(false);
    EXPECT_FALSE(s.getCheckType());
}

}  // namespace
