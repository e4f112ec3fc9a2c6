#include <QApplication>
#include <QTranslator>
#include <cstdio>
#include <cstring>

#include "app/tab_dialog.h"
#include "app/translations.h"
#include "device/platform.h"
#include "script/squirrel_loader.h"

int main(int argc, char** argv) {
    // The window lives long: the interpreter loads in the background from the
    // start, and no job waits for it. The program does not end while it loads.
    struct JoinPreload {
        ~JoinPreload() { squirrel_preload_join(); }
    } joinPreload;
    const bool showLanguage = argc > 1 && std::strcmp(argv[1], "--show-language") == 0;
    if (!showLanguage) squirrel_preload();
    platform::keep_file_name_bytes();
    QApplication app(argc, argv);
    QApplication::setStyle("macintosh");
    QTranslator translator, qtTranslator;
    const QString ours = install_translation(translator, QCoreApplication::applicationDirPath());
    const QString qts = install_qt_translation(qtTranslator, ours);
    // Which language the window speaks, and why, without opening it.
    if (showLanguage) {
        std::fputs(language_report(ours, qts).toUtf8().constData(), stdout);
        return 0;
    }
    TabDialog dialog(nullptr);
    dialog.show();
    return app.exec();
}
