#pragma once

#include <QWidget>

// Credits, the program's purpose and where to find its makers.
class TabAbout : public QWidget {
    Q_OBJECT

public:
    explicit TabAbout(QWidget* parent);
};
