#include "ui/firmware_update_tab.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/console.h"

void UpdateThread::run() {
    // Nothing reaches the board: saying it was updated would be untrue.
    emit log(tr("This program cannot update the board's firmware: nothing was sent to the board."));
    emit set_progress(1, 1);
    emit error(0);
}

FirmwareUpdateTab::FirmwareUpdateTab(QWidget* parent) : QWidget(parent) {
    m_log = new Console(this);
    m_progress = new QProgressBar(this);
    m_button = new QPushButton(tr("Update Firmware"), this);
    m_buttonBox = new QVBoxLayout;
    m_logBox = new QVBoxLayout;
    m_progressBox = new QHBoxLayout;
    m_mainLayout = new QVBoxLayout;
    m_buttonBox->addWidget(m_button);
    m_logBox->addWidget(m_log);
    m_progressBox->addWidget(m_progress);
    m_mainLayout->addLayout(m_buttonBox);
    m_mainLayout->addLayout(m_logBox);
    m_mainLayout->addLayout(m_progressBox);
    setLayout(m_mainLayout);

    connect(m_button, SIGNAL(clicked(bool)), this, SLOT(push_update()));
    m_thread = new UpdateThread;
    connect(m_thread, SIGNAL(set_progress(int, int)), this, SLOT(setProgress(int, int)));
    connect(m_thread, SIGNAL(error(int)), this, SLOT(print_error(int)));
    connect(m_thread, SIGNAL(log(QString)), this, SLOT(info(QString)));
    // Only a thread that has ended can start again.
    connect(m_thread, SIGNAL(finished()), this, SLOT(job_finished()));

    setProgress(0, 1);
    info(tr("First turn off anti-virus software."));
    info(tr("Next press \"Update Firmware\" to update firmware."));
    info(tr("\r\n"));
    // What the page can do, and no more: it sends nothing to the board.
    info(
        tr("This program cannot update the board's firmware: the button sends nothing to the "
           "board; the board maker's own updater does that."));
}

FirmwareUpdateTab::~FirmwareUpdateTab() {
    m_thread->wait();
    delete m_thread;
}

void FirmwareUpdateTab::push_update() {
    m_button->setEnabled(false);
    m_thread->start(QThread::NormalPriority);
    info(tr("Starting update firmware , pelase wait..."));
}

void FirmwareUpdateTab::info(QString text) {
    append_line(m_log, text);
}

void FirmwareUpdateTab::setEnabledButtons(bool stan) {
    m_button->setEnabled(stan);
}

void FirmwareUpdateTab::setProgress(int ile, int max) {
    show_progress(m_progress, ile, max);
}

void FirmwareUpdateTab::print_error(int err) {
    const QString outcome = err == 0   ? outcome_markup(Outcome::Failure, tr(">Operation failure."))
                            : err == 1 ? outcome_markup(Outcome::Success, tr(">Success!"))
                                       : QString();
    close_job(m_log, m_progress, outcome);
}

void FirmwareUpdateTab::job_finished() {
    m_button->setEnabled(true);
}
