#include "ui/tab_about.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TabAbout::TabAbout(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout;
    setLayout(layout);
    setWindowTitle(tr("About"));
    auto* box = new QGroupBox(tr("Oriel Cartridge Driver/Dumper"));
    auto* boxLayout = new QVBoxLayout;
    box->setLayout(boxLayout);

    const QString texts[] = {
        tr("* Squirrel 3.1 stable scripting language\n"
           "    Copyright (c) 2003-2016 Alberto Demichelis, MIT License\n"
           "\n"
           "* Qt 5.7 application framework\n"
           "    Copyright (C) The Qt Company Ltd., LGPL version 3") +
            // The credit names the version the program was first written for.
            QStringLiteral("\n    ") + tr("running on Qt %1").arg(QLatin1String(qVersion())),
        tr("GB/GBC/GBA Cartridge Dumper"),
        QStringLiteral("Zelvo 3 is written by its contributors and is free software.\n"
                       "It is not affiliated with any console or cartridge maker."),
        tr("Web site: ") +
            QStringLiteral("<a href=\"https://zelvo.example.org\">https://zelvo.example.org</a>"),
        tr("Email: ") +
            QStringLiteral(
                "<a href=\"mailto:support@zelvo.example.org\">support@zelvo.example.org</a>"),
        tr("This program and device, called set, enables to:\n- make game backups from owned "
           "cartridges and play them on PC,\n- transfer game saves between cartridge and PC,\n- "
           "test written by yourself games directly on console \n  (rewritable cartridge "
           "required).\n"),
    };
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(texts[i], box);
        if (i == 3 || i == 4) label->setOpenExternalLinks(true);
        boxLayout->addWidget(label);
    }
    layout->addWidget(box);
}
