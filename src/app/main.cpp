#include <QApplication>
#include <QTranslator>

#include "app/tab_dialog.h"
#include "device/platform.h"

int main(int argc, char** argv) {
    platform::keep_file_name_bytes();
    QApplication app(argc, argv);
    QApplication::setStyle("macintosh");
    QTranslator translator;
    install_translation(translator, QCoreApplication::applicationDirPath());
    TabDialog dialog(nullptr);
    dialog.show();
    return app.exec();
}
