#include "app/tab_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "jobs/famicom_thread.h"
#include "ui/console.h"
#include "ui/firmware_update_tab.h"
#include "ui/main_tab.h"
#include "ui/preferences.h"
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
    setAcceptDrops(true);
    // Where the window was when it last closed, back on a screen if that one
    // is gone; a first run sizes it for its log, as far as the screen allows.
    if (restoreGeometry(Preferences().geometry()))
        bring_onto_screen();
    else
        default_size();
}

QRect fit_on_screen(const QRect& wanted, const QRect& available, const QSize& frame) {
    const QSize room = available.size() - frame;
    QRect fitted(wanted.topLeft(), wanted.size().boundedTo(room));
    // Wholly on the screen: moved in from whichever side it overhangs.
    if (!available.contains(wanted.topLeft()) ||
        !available.contains(fitted.bottomRight() + QPoint(frame.width(), frame.height())))
        fitted.moveCenter(available.center());
    return fitted;
}

void TabDialog::bring_onto_screen() {
    const QScreen* screen = QGuiApplication::screenAt(geometry().center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    setGeometry(fit_on_screen(geometry(), screen->availableGeometry(), kFrameAllowance));
}

void TabDialog::default_size() {
    const Console* log = mainTab()->console();
    const QFontMetrics metrics(log->font());
    const int margins = 2 * (log->frameWidth() + int(log->document()->documentMargin()));
    const int logHeight = kLogLines * metrics.lineSpacing() + margins;
    const int logWidth = kLogColumns * metrics.horizontalAdvance(QLatin1Char('0')) + margins +
                         log->verticalScrollBar()->sizeHint().width();
    const QSize hint = sizeHint();
    const QSize wanted(qMax(hint.width(), hint.width() - log->sizeHint().width() + logWidth),
                       hint.height() - log->sizeHint().height() + logHeight);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return resize(wanted);
    // Centred on the screen, and smaller where the screen is: the log gives way.
    const QRect available = screen->availableGeometry();
    QRect centred(QPoint(), wanted);
    centred.moveCenter(available.center());
    setGeometry(fit_on_screen(centred, available, kFrameAllowance));
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
    if (!mayClose()) return;
    Preferences().setGeometry(saveGeometry());
    QDialog::reject();
}

void TabDialog::keyPressEvent(QKeyEvent* event) {
    // A dialog closes on Escape; this window is the program, and stays.
    if (event->key() == Qt::Key_Escape) return event->accept();
    QDialog::keyPressEvent(event);
}

namespace {

// The local file a drop carries, or an empty string.
QString dropped_file(const QMimeData* data) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

}  // namespace

void TabDialog::dragEnterEvent(QDragEnterEvent* event) {
    // No drop while a job runs: nothing starts work then.
    if (mainTab()->cancelButton()->isEnabled()) return event->ignore();
    if (!dropped_file(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TabDialog::dropEvent(QDropEvent* event) {
    const QString path = dropped_file(event->mimeData());
    if (path.isEmpty() || mainTab()->cancelButton()->isEnabled()) return event->ignore();
    event->acceptProposedAction();
    m_tabs->setCurrentIndex(0);
    mainTab()->verify_file(path);
}

void TabDialog::closeEvent(QCloseEvent* event) {
    if (!mayClose()) return event->ignore();
    Preferences().setGeometry(saveGeometry());
    event->accept();
}
