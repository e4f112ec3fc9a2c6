#include <QApplication>
#include <QTranslator>

#include "app/tab_dialog.h"
#include "device/platform.h"

int main(int argc, char** argv) {
    platform::keep_file_name_bytes();
    QApplication app(argc, argv);
    QApplication::setStyle("macintosh");
    QTranslator translator, qtTranslator;
    const QString ours = install_translation(translator, QCoreApplication::applicationDirPath());
    install_qt_translation(qtTranslator, ours);
    TabDialog dialog(nullptr);
    dialog.show();
    return app.exec();
}
