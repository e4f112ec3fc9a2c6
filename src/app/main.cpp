#include <QApplication>
#include <QTranslator>

#include "app/tab_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle("macintosh");
    QTranslator translator;
    install_translation(translator, QCoreApplication::applicationDirPath());
    TabDialog dialog(nullptr);
    dialog.show();
    return app.exec();
}
