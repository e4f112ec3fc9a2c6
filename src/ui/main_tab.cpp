#include "ui/main_tab.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "jobs/famicom_thread.h"
#include "jobs/info_report.h"
#include "jobs/option_tables.h"
#include "ui/console.h"
#include "ui/settings.h"

MainTab::MainTab(QWidget* parent) : QWidget(parent) {
    m_settings = new Settings(this);
    m_console = new Console(this);
    m_progress = new QProgressBar(this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_info = new QPushButton(tr("Info"), this);
    m_dump = new QPushButton(tr("Dump"), this);
    m_flash = new QPushButton(tr("FLASH"), this);
    m_readRam = new QPushButton(tr("Read RAM"), this);
    m_writeRam = new QPushButton(tr("Write RAM"), this);
    m_info->setToolTip(tr("Show cartridge information!"));
    m_dump->setToolTip(tr("Dump ROM from cartridge!"));
    m_flash->setToolTip(tr("Flash ROM to a writeable cartridge!"));
    m_readRam->setToolTip(tr("Read SRAM from cartridge!"));
    m_writeRam->setToolTip(tr("Write SRAM to cartridge!"));

    m_topRow = new QHBoxLayout;
    m_progressRow = new QHBoxLayout;
    m_buttonColumn = new QVBoxLayout;
    m_logColumn = new QVBoxLayout;
    m_mainLayout = new QVBoxLayout;
    for (QPushButton* b : {m_info, m_dump, m_flash, m_readRam, m_writeRam})
        m_buttonColumn->addWidget(b);
    m_topRow->addWidget(m_settings);
    m_topRow->addLayout(m_buttonColumn);
    m_logColumn->addWidget(m_console);
    m_progressRow->addWidget(m_progress);
    m_progressRow->addWidget(m_cancel);
    m_mainLayout->addLayout(m_topRow);
    m_mainLayout->addLayout(m_logColumn);
    m_mainLayout->addLayout(m_progressRow);
    setLayout(m_mainLayout);

    connect(m_info, SIGNAL(clicked(bool)), this, SLOT(push_info()));
    connect(m_dump, SIGNAL(clicked(bool)), this, SLOT(push_read_rom()));
    connect(m_readRam, SIGNAL(clicked(bool)), this, SLOT(push_read_ram()));
    connect(m_flash, SIGNAL(clicked(bool)), this, SLOT(push_write_flash()));
    connect(m_writeRam, SIGNAL(clicked(bool)), this, SLOT(push_write_ram()));

    m_thread = new FamicomThread;
    connect(m_thread, SIGNAL(set_progress(int, int)), this, SLOT(setProgress(int, int)));
    connect(m_thread, SIGNAL(error(int)), this, SLOT(print_error(int)));
    connect(m_thread, SIGNAL(log(QString)), this, SLOT(info(QString)));
    connect(m_cancel, SIGNAL(clicked()), m_thread, SLOT(canceled()));

    m_progress->setMinimum(0);
    m_progress->setMaximum(1);
    m_progress->setValue(0);
    setEnabledButtons(true);

    info(tr("Oriel Driver Series for GB/GBC/GBA 3.0 started."));
    info(
        tr("Support all functions, need <span style=\"color: #ffcc00;\">QRV_PCB02_FW303</span> "
           "firmware."));
    info(tr("To dump GB/GBC cartridge,please switch power to 5V."));
    info(tr("To dump GBA cartridge,please switch power to 3.3V."));
    info(tr("Part of homebrew GB/GBC flash cart need 3.3V power."));
    info(tr("\r\n"));
}

MainTab::~MainTab() {
    // The job thread has no parent; a job still running is canceled and waited for.
    m_thread->canceled();
    m_thread->wait();
    delete m_thread;
}

QList<QPushButton*> MainTab::actionButtons() const {
    return {m_info, m_dump, m_readRam, m_flash, m_writeRam};
}

void MainTab::info(QString text) {
    append_line(m_console, text);
}

void MainTab::setProgress(int ile, int max) {
    m_pass.advance(ile);
    show_progress(m_progress, ile, max, rate_text(ile, max, m_pass.elapsedMs()));
}

void MainTab::setEnabledButtons(bool stan) {
    for (QPushButton* b : actionButtons()) b->setEnabled(stan);
    m_cancel->setEnabled(!stan);
}

void MainTab::print_error(int err) {
    close_job(m_console, m_progress, err == 0 || err == 1 ? job_outcome_line(err == 1) : QString());
    setEnabledButtons(true);
}

LaunchLog MainTab::launchLog() {
    return {[this](const QString& text) { info(text); }, [this] { log_separator(m_console); }};
}

void MainTab::push_info() {
    const ReportLog log{[this](const QString& text) { info(text); },
                        [this] { log_separator(m_console); }};
    const ReportPanel panel{
        [this](int v) { m_settings->_setSysType(v); }, [this](int v) { m_settings->_setItem1(v); },
        [this](int v) { m_settings->_setItem2(v); }, [this](int v) { m_settings->_setItem3(v); }};
    run_info_report(log, panel);
}

LaunchChoices MainTab::launchChoices() {
    LaunchChoices choices;
    choices.sysType = m_settings->getSysType();
    choices.mbcPosition = m_settings->firstList()->currentIndex();
    choices.gbRomSize = m_settings->getGbRomSize();
    choices.gbRamSize = m_settings->getGbRamSize();
    choices.gbaRomSize = m_settings->getGbaRomSize();
    choices.gbaRamType = m_settings->getGbaRamType();
    choices.gbaRamSize = m_settings->getGbaRamSize();
    choices.verify = m_settings->getCheckType();
    return choices;
}

bool MainTab::configure_par(QString& fileName) {
    return ::configure_par(launchChoices(), fileName, QCoreApplication::applicationDirPath(),
                           *m_thread, launchLog());
}

void MainTab::launch(JobButton button) {
    const JobDialog& dialog = job_dialog(button);
    const int system = m_settings->getSysType();
    const QString filter = tr(system == kSysGba ? dialog.gbaFilter : dialog.gbFilter);
    QString fileName = dialog.save
                           ? QFileDialog::getSaveFileName(this, tr(dialog.caption), ".", filter)
                           : QFileDialog::getOpenFileName(this, tr(dialog.caption), ".", filter);
    // One claim from here to the job's end: no other program comes between.
    auto claim = std::make_unique<usb::BoardClaim>();
    if (!claim->held()) return log_claim_problem(*claim, launchLog());
    // The dialog asked before replacing a file that was there; one that
    // appears during the job is kept.
    m_thread->m_replace = QFileInfo::exists(fileName);
    if (prepare_job(button, launchChoices(), fileName, QCoreApplication::applicationDirPath(),
                    *m_thread, launchLog()) != LaunchFault::None)
        return;
    m_thread->m_claim = std::move(claim);
    setEnabledButtons(false);
    m_pass.begin();
    m_thread->start(QThread::NormalPriority);
    info(job_start_line(dialog, fileName));
}

void MainTab::push_read_rom() {
    launch(JobButton::ReadRom);
}

void MainTab::push_read_ram() {
    launch(JobButton::ReadRam);
}

void MainTab::push_write_flash() {
    launch(JobButton::WriteFlash);
}

void MainTab::push_write_ram() {
    launch(JobButton::WriteRam);
}
