#include <QApplication>
#include <QTranslator>
#include <cstdio>

#include "app/tab_dialog.h"
#include "app/translations.h"
#include "device/platform.h"

int main(int argc, char** argv) {
    platform::keep_file_name_bytes();
    QApplication app(argc, argv);
    QApplication::setStyle("macintosh");
    QTranslator translator, qtTranslator;
    const QString ours = install_translation(translator, QCoreApplication::applicationDirPath());
    const QString qts = install_qt_translation(qtTranslator, ours);
    // Which language the window speaks, and why, without opening it.
    if (QCoreApplication::arguments().contains(QStringLiteral("--show-language"))) {
        std::fputs(language_report(ours, qts).toUtf8().constData(), stdout);
        return 0;
    }
    TabDialog dialog(nullptr);
    dialog.show();
    return app.exec();
}
