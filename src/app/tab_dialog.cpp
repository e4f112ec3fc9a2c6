#include "app/tab_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QTabWidget>
#include <QTranslator>
#include <QVBoxLayout>

#include "jobs/famicom_thread.h"
#include "ui/firmware_update_tab.h"
#include "ui/main_tab.h"
#include "ui/tab_about.h"

TabDialog::TabDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Zelvo 3.0 build - ") + buildDate());
    m_tabs = new QTabWidget;
    m_tabs->addTab(new MainTab(nullptr), tr("GB"));
    m_tabs->addTab(new FirmwareUpdateTab(nullptr), tr("Update"));
    m_tabs->addTab(new TabAbout(nullptr), tr("About"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_tabs);
    setLayout(layout);
}

MainTab* TabDialog::mainTab() const {
    return static_cast<MainTab*>(m_tabs->widget(0));
}

QString TabDialog::buildDate() {
    return QString::fromLatin1(__DATE__);
}

bool TabDialog::mayClose() {
    if (mainTab()->searching()) {
        // The search reads the ROM inside a launch: it ends first.
        mainTab()->stop_search();
        return false;
    }
    FamicomThread* job = mainTab()->jobThread();
    if (!job->isRunning()) return true;
    const auto answer = QMessageBox::question(this, windowTitle(),
                                              tr("A cartridge job is running. Cancel it and quit?"),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) return false;
    job->canceled();
    // The job stops at its next transfer; never quit in the middle of a write.
    while (!job->wait(50)) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return true;
}

void TabDialog::reject() {
    if (mayClose()) QDialog::reject();
}

void TabDialog::keyPressEvent(QKeyEvent* event) {
    // A dialog closes on Escape; this window is the program, and stays.
    if (event->key() == Qt::Key_Escape) return event->accept();
    QDialog::keyPressEvent(event);
}

void TabDialog::closeEvent(QCloseEvent* event) {
    if (mayClose())
        event->accept();
    else
        event->ignore();
}

QString install_translation(QTranslator& translator, const QString& directory) {
    for (const char* name : {"/zelvo3_chs.qm", "/zelvo3_jpn.qm"}) {
        const QString path = directory + QLatin1String(name);
        if (!QFile::exists(path)) continue;
        // An unreadable file still installs the (empty) translator: the
        // interface then shows its own texts.
        translator.load(path, QString(), QString(), QString());
        QCoreApplication::installTranslator(&translator);
        return path;
    }
    return QString();
}
