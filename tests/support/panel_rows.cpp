// Prints the settings panel's controller list, one label a line (for the
// test that adds a controller row to a scratch copy of the tree).
#include <QApplication>
#include <QComboBox>
#include <cstdio>

#include "ui/settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Settings settings(nullptr);
    for (int i = 0; i < settings.firstList()->count(); ++i)
        std::printf("%s\n", settings.firstList()->itemText(i).toLocal8Bit().constData());
    return 0;
}
