// Takes the README's picture of the window: presses Info, then Dump into
// DUMP_FILE on the board that is mounted, and saves the window as PNG_FILE;
// with QM_FILE, in that translation (and Qt's own for its language).
//   window_shot DUMP_FILE PNG_FILE [QM_FILE]
#include <QApplication>
#include <QFileInfo>
#include <QPixmap>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <cstdio>

#include "app/tab_dialog.h"
#include "app/translations.h"
#include "jobs/job_launch.h"
#include "support/window_helpers.h"
#include "ui/console.h"
#include "ui/main_tab.h"

using testing_support::answer_file_dialog;
using testing_support::lines_of;
using testing_support::wait_for;

namespace {

constexpr int kJobMs = 60000;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle("macintosh");  // as the program asks; Qt falls back elsewhere
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: window_shot DUMP_FILE PNG_FILE [QM_FILE]\n");
        return 2;
    }
    QTranslator translator, qtTranslator;
    if (argc == 4) {
        const QFileInfo qm(QString::fromLocal8Bit(argv[3]));
        install_qt_translation(qtTranslator,
                               install_translation(translator, qm.absolutePath(), QLocale::c()));
    }
    // A first run's window at its default size; no settings of the user's are read or kept.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    TabDialog window(nullptr);
    window.show();
    auto* tab = static_cast<MainTab*>(window.tabs()->widget(0));
    const auto idle = [tab] { return !tab->cancelButton()->isEnabled(); };
    tab->push_info();
    if (!wait_for(idle, kJobMs)) return 1;
    const auto answer = answer_file_dialog(QString::fromLocal8Bit(argv[1]));
    tab->push_read_rom();
    const bool done = wait_for(
        [&] { return idle() && lines_of(tab->console()).contains(job_outcome_line(true)); },
        kJobMs);
    if (!done) {
        std::fprintf(stderr, "window_shot: the dump did not succeed\n");
        return 1;
    }
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "window_shot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
