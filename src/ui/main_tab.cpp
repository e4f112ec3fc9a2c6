#include "ui/main_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>
#include <utility>

#include "cart/bus.h"
#include "cart/known_dumps.h"
#include "jobs/backup_history.h"
#include "jobs/board_text.h"
#include "jobs/choice_model.h"
#include "jobs/dat_store.h"
#include "jobs/famicom_thread.h"
#include "jobs/file_names.h"
#include "jobs/file_verdict.h"
#include "jobs/info_report.h"
#include "jobs/job_plan.h"
#include "jobs/local_database.h"
#include "jobs/option_tables.h"
#include "jobs/save_backup.h"
#include "jobs/save_search.h"
#include "ui/backup_list.h"
#include "ui/camera_gallery.h"
#include "ui/console.h"
#include "ui/settings.h"

MainTab::MainTab(QWidget* parent)
    : QWidget(parent), m_programDir(QCoreApplication::applicationDirPath()) {
    m_settings = new Settings(this);
    m_console = new Console(this);
    m_progress = new QProgressBar(this);
    make_buttons();
    lay_out();
    connect(m_info, SIGNAL(clicked(bool)), this, SLOT(push_info()));
    connect(m_dump, SIGNAL(clicked(bool)), this, SLOT(push_read_rom()));
    connect(m_readRam, SIGNAL(clicked(bool)), this, SLOT(push_read_ram()));
    connect(m_flash, SIGNAL(clicked(bool)), this, SLOT(push_write_flash()));
    connect(m_writeRam, SIGNAL(clicked(bool)), this, SLOT(push_write_ram()));
    connect(m_photos, SIGNAL(clicked(bool)), this, SLOT(show_photos()));
    connect(m_verifyFile, SIGNAL(clicked(bool)), this, SLOT(push_verify_file()));
    connect(m_restore, SIGNAL(clicked(bool)), this, SLOT(push_restore_backup()));
    connect(m_importDats, SIGNAL(clicked(bool)), this, SLOT(push_import_dats()));

    start_job_thread();
    m_progress->setMinimum(0);
    m_progress->setMaximum(1);
    m_progress->setValue(0);
    setEnabledButtons(true);

    // What the last run left: the verify box and the system (as a default,
    // which detection overrides).
    m_settings->checkBox()->setChecked(m_preferences.verify());
    connect(m_settings->checkBox(), &QCheckBox::toggled, this,
            [this](bool on) { m_preferences.setVerify(on); });
    if (m_preferences.system() >= 0) {
        m_settings->model().setSysType(m_preferences.system(), ChoiceSource::Default);
        m_settings->show_model();
    }
    connect(m_settings->systemList(), QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int system) {
                if (system >= 0) m_preferences.setSystem(system);
            });

    say_started();
}

void MainTab::make_buttons() {
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_info = new QPushButton(tr("Info"), this);
    m_dump = new QPushButton(tr("Dump"), this);
    m_flash = new QPushButton(tr("FLASH"), this);
    m_readRam = new QPushButton(tr("Read RAM"), this);
    m_writeRam = new QPushButton(tr("Write RAM"), this);
    m_photos = new QPushButton(tr("Show photos"), this);
    m_photos->setToolTip(tr("Show the photos in the Pocket Camera's save!"));
    m_photos->hide();
    // Shown or not, the button keeps its place: the panel beside it never moves.
    QSizePolicy keep = m_photos->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_photos->setSizePolicy(keep);
    m_restore = new QPushButton(tr("Restore a backup..."), this);
    m_restore->setToolTip(tr("Write back a save Write RAM kept before it overwrote one!"));
    m_verifyFile = new QPushButton(tr("Verify file..."), this);
    m_verifyFile->setToolTip(
        tr("Judge a ROM file you have, as a dump is judged (no board needed). "
           "Dropping a file on the window does the same."));
    m_importDats = new QPushButton(tr("Import DAT files..."), this);
    m_importDats->setToolTip(
        tr("Add the DAT files you keep (Logiqx XML, or a .zip holding one): verdicts and file "
           "names then name the releases they list."));
    m_info->setToolTip(tr("Show cartridge information!"));
    m_dump->setToolTip(tr("Dump ROM from cartridge!"));
    m_flash->setToolTip(tr("Flash ROM to a writeable cartridge!"));
    m_readRam->setToolTip(tr("Read SRAM from cartridge!"));
    m_writeRam->setToolTip(tr("Write SRAM to cartridge!"));
    m_cancel->setToolTip(tr("Stop the job at its next transfer."));
    add_shortcuts();
}

void MainTab::lay_out() {
    m_topRow = new QHBoxLayout;
    m_progressRow = new QHBoxLayout;
    m_buttonColumn = new QVBoxLayout;
    m_logColumn = new QVBoxLayout;
    m_mainLayout = new QVBoxLayout;
    for (QPushButton* b : {m_info, m_dump, m_flash, m_readRam, m_writeRam, m_restore, m_verifyFile,
                           m_importDats, m_photos})
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
}

void MainTab::start_job_thread() {
    m_thread = new FamicomThread;
    // Asked on the job's thread; the window answers on its own.
    m_thread->m_confirm_blank = [this](const QString& question) {
        bool yes = false;
        QMetaObject::invokeMethod(
            this,
            [this, &question, &yes] {
                // No is the default: Enter keeps the cartridge's save.
                yes = QMessageBox::question(
                          this, tr("Blank save"), question + "\n\n" + tr("Write it anyway?"),
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
            },
            Qt::BlockingQueuedConnection);
        return yes;
    };
    connect(m_thread, SIGNAL(set_progress(int, int)), this, SLOT(setProgress(int, int)));
    connect(m_thread, SIGNAL(error(int)), this, SLOT(print_error(int)));
    connect(m_thread, SIGNAL(log(QString)), this, SLOT(info(QString)));
    connect(m_cancel, SIGNAL(clicked()), m_thread, SLOT(canceled()));
    // The buttons come back when the thread has ended, not when the job said so:
    // a job started before that would find the thread still running.
    connect(m_thread, SIGNAL(finished()), this, SLOT(job_finished()));
    connect(m_cancel, SIGNAL(clicked()), this, SLOT(stop_search()));
}

void MainTab::say_started() {
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

void MainTab::add_shortcuts() {
    const struct {
        QPushButton* button;
        QKeySequence keys;
    } shortcuts[] = {
        {m_info, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {m_dump, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {m_readRam, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {m_writeRam, QKeySequence(Qt::CTRL | Qt::Key_W)},
        {m_cancel, QKeySequence(Qt::Key_Escape)},
    };
    for (const auto& s : shortcuts) {
        s.button->setShortcut(s.keys);
        s.button->setToolTip(QStringLiteral("%1 (%2)").arg(
            s.button->toolTip(), s.keys.toString(QKeySequence::NativeText)));
    }
}

void MainTab::setProgress(int ile, int max) {
    // One bar for the whole job, its passes one after the other.
    const JobProgress::Position at = m_job.advance(ile, max);
    if (at.total > INT_MAX) return show_progress(m_progress, ile, max);
    show_progress(m_progress, int(at.done), int(at.total),
                  rate_text(at.done, at.total, m_job.elapsedMs()));
}

void MainTab::setEnabledButtons(bool stan) {
    for (QPushButton* b : actionButtons()) b->setEnabled(stan);
    // Nothing else that starts work while a job runs, and nothing is queued.
    for (QPushButton* b : {m_restore, m_verifyFile, m_importDats, m_photos}) b->setEnabled(stan);
    m_cancel->setEnabled(!stan);
}

void MainTab::print_error(int err) {
    const bool ok = err == 1;
    const DumpVerdict worth = m_thread->m_verdict;
    const bool warned =
        verdict_contradicts(worth) || worth == DumpVerdict::Healed || m_thread->m_blank_save;
    const Outcome outcome = !ok ? Outcome::Failure : warned ? Outcome::Warning : Outcome::Success;
    close_job(m_console, m_progress,
              err == 0 || ok ? outcome_markup(outcome, job_outcome_line(ok)) : QString());
    // The bar keeps what the dump is worth until the next job, drop or Info.
    const QString verdict = verdict_summary(worth);
    if (ok && !verdict.isEmpty()) show_verdict(m_progress, verdict, outcome);
    if (err == 1 && m_camera && m_thread->m_type == kJobGbSaveRead) {
        m_photosFile = m_thread->m_file;
        m_photos->show();
        info(tr("The save holds the Pocket Camera's photos: Show photos shows them."));
    }
    if (!m_thread->isRunning()) setEnabledButtons(true);
}

void MainTab::job_finished() {
    setEnabledButtons(true);
    // A job asked for while the last one was leaving its thread starts now.
    if (const std::optional<JobButton> next = std::exchange(m_pending, std::nullopt))
        launch(*next, std::exchange(m_pendingFile, QString()));
}

void MainTab::stop_search() {
    m_searchStopped = true;
}

void MainTab::push_restore_backup() {
    const BackupHistory kept = backup_history(default_backup_folder());
    for (const QString& problem : kept.problems) info(warning_markup(problem));
    const std::vector<BackupRecord>& history = kept.records;
    if (history.empty()) {
        info(tr("There are no backups yet: Write RAM keeps one in %1 before it writes.")
                 .arg(default_backup_folder()));
        return log_separator(m_console);
    }
    BackupList list(history, this);
    if (list.exec() != QDialog::Accepted || list.chosen() < 0) return;
    const BackupRecord& backup = history[size_t(list.chosen())];
    if (const QString refused = restore_refusal(backup); !refused.isEmpty()) {
        info(warning_markup(refused + ' ' + tr("Nothing was written.")));
        return log_separator(m_console);
    }
    m_restoring = backup;
    launch(JobButton::WriteRam, m_restoring->path);
}

void MainTab::push_verify_file() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Verify a ROM file"), m_preferences.folder(FileKind::Rom),
        tr("ROM images (*.gb *.gbc *.gba);;All files (*)"));
    if (path.isEmpty()) return;
    m_preferences.setFolder(FileKind::Rom, QFileInfo(path).absolutePath());
    verify_file(path);
}

void MainTab::push_import_dats() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Import DAT files"), m_preferences.folder(FileKind::Dat),
        tr("DAT files (*.dat *.xml *.zip);;All files (*)"));
    if (files.isEmpty()) return;
    m_preferences.setFolder(FileKind::Dat, QFileInfo(files.front()).absolutePath());
    import_dats(files);
}

void MainTab::import_dats(const QStringList& files) {
    const QString database = database_path(default_data_folder());
    for (const QString& file : files) {
        const DatFileImport imported = import_dat_file(file, database);
        info(imported.ok ? imported.line : warning_markup(imported.line));
    }
    log_separator(m_console);
}

void MainTab::verify_file(const QString& path) {
    show_progress(m_progress, 0, 1);
    const FileVerdict judged = judge_file(path);
    if (!judged.judged) info(judged.failure);
    for (const QString& line : judged.lines) info(line);
    log_separator(m_console);
    const QString verdict = verdict_summary(judged.verdict);
    if (!verdict.isEmpty())
        show_verdict(m_progress, verdict,
                     verdict_contradicts(judged.verdict) ? Outcome::Warning : Outcome::Success);
}

void MainTab::show_photos() {
    delete m_gallery;
    m_gallery = new CameraGallery(m_photosFile, this);
    m_gallery->show();
}

LaunchLog MainTab::launchLog() {
    return {[this](const QString& text) { info(text); }, [this] { log_separator(m_console); }};
}

void MainTab::push_info() {
    show_progress(m_progress, 0, 1);
    const ReportLog log{[this](const QString& text) { info(text); },
                        [this] { log_separator(m_console); }};
    ReportPanel panel;
    panel.setSysType = [this](int v) { m_settings->_setSysType(v); };
    panel.setItem1 = [this](int v) { m_settings->_setItem1(v); };
    panel.setItem2 = [this](int v) { m_settings->_setItem2(v); };
    panel.setItem3 = [this](int v) { m_settings->_setItem3(v); };
    panel.identify = [this](const QByteArray& id) { m_settings->model().identify(id); };
    panel.scriptFolder = mapper_folder(m_programDir);
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
    choices.keepBest = m_settings->keepBestBox()->isChecked();
    choices.detectedRomSize = m_settings->model().choices().detectedRomSize;
    choices.romSizeProbed = m_settings->model().choices().romSizeProbed;
    return choices;
}

bool MainTab::configure_par(QString& fileName) {
    return ::configure_par(launchChoices(), fileName, m_programDir, *m_thread, launchLog());
}

void MainTab::refuse() {
    close_job(m_console, m_progress, outcome_markup(Outcome::Failure, job_outcome_line(false)));
}

std::optional<Detection> MainTab::detect(const usb::BoardClaim& claim) {
    const QString note = claim_choice_note(claim);
    if (!note.isEmpty()) info(note);
    const Detection d = detect_cartridge(DetectOptions());
    if (d.outcome == ReportOutcome::BoardFailed) {
        info(d.failure);
        info(tr("The cartridge's header could not be read, so the job did not start."));
        return std::nullopt;
    }
    info(detection_line(d));
    return d;
}

uint32_t MainTab::ask(const PlanQuestion& q) {
    if (q.kind == PlanQuestionKind::Restore)
        return QMessageBox::question(this, tr("Restore a backup"),
                                     q.text + "\n\n" + tr("Write it into this cartridge?"),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    // Enter (Cancel) chooses nothing.
    QMessageBox box(QMessageBox::Question, tr("EEPROM size"), q.text, QMessageBox::Cancel, this);
    std::vector<const QAbstractButton*> offered;
    for (const uint32_t size : q.offered)
        offered.push_back(box.addButton(bytes_text(size), QMessageBox::AcceptRole));
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    for (size_t i = 0; i < offered.size(); ++i)
        if (box.clickedButton() == offered[i]) return q.offered[i];
    return 0;
}

std::optional<SaveKindFound> MainTab::search(uint32_t romSize) {
    // The window stays alive while the ROM is read; Cancel stops the search.
    setEnabledButtons(false);
    m_searchStopped = false;
    m_searching = true;
    m_job.begin(1);
    const SaveKindFound found = search_save_kind(romSize, [this](uint32_t done, uint32_t total) {
        setProgress(int(done), int(total));
        QCoreApplication::processEvents();
        return !m_searchStopped;
    });
    m_searching = false;
    setEnabledButtons(true);
    show_progress(m_progress, 0, 1);
    if (m_searchStopped) return std::nullopt;
    return found;
}

PlanHooks MainTab::planHooks() {
    PlanHooks hooks;
    hooks.log = [this](const QString& text) { info(text); };
    hooks.searchSaveKind = [this](uint32_t romSize) { return search(romSize); };
    hooks.ask = [this](const PlanQuestion& q) { return ask(q); };
    hooks.chooseSaveHow = tr("choose its save type (RAM TYPE and RAM SIZE) in the settings panel");
    return hooks;
}

QString MainTab::chooseFile(JobButton button) {
    const JobDialog& dialog = job_dialog(button);
    const QString filter =
        tr(m_settings->getSysType() == kSysGba ? dialog.gbaFilter : dialog.gbFilter);
    const bool save = button == JobButton::ReadRam || button == JobButton::WriteRam;
    const FileKind kind = save ? FileKind::Save : FileKind::Rom;
    // A new file gets the cartridge's name in the folder last used for its kind.
    const QDir folder(m_preferences.folder(kind));
    const QString start = dialog.save && !m_plan.suggestedName.isEmpty()
                              ? folder.filePath(m_plan.suggestedName)
                              : folder.path();
    const QString fileName =
        dialog.save ? QFileDialog::getSaveFileName(this, tr(dialog.caption), start, filter)
                    : QFileDialog::getOpenFileName(this, tr(dialog.caption), start, filter);
    if (!fileName.isEmpty()) m_preferences.setFolder(kind, QFileInfo(fileName).absolutePath());
    return fileName;
}

void MainTab::launch(JobButton button, const QString& file) {
    // Only the Write RAM of the backup chosen is a restore.
    if (m_restoring && (button != JobButton::WriteRam || file != m_restoring->path))
        m_restoring.reset();
    // A job that has signalled its end may still be leaving its thread: the
    // new one starts when it has.
    if (m_thread->isRunning()) {
        m_pending = button;
        m_pendingFile = file;
        return;
    }
    show_progress(m_progress, 0, 1);
    // One claim from here to the job's end: no other program comes between.
    auto claim = std::make_unique<usb::BoardClaim>();
    if (!claim->held()) {
        log_claim_problem(*claim, launchLog());
        return refuse();
    }
    const std::optional<Detection> detected = detect(*claim);
    if (!detected) return refuse();
    JobRequest request{button, {}, m_restoring ? &*m_restoring : nullptr};
    request.named.verify = m_settings->getCheckType();
    request.named.keepBest = m_settings->keepBestBox()->isChecked();
    m_plan = plan_job(request, *detected, m_settings->model(), planHooks());
    m_restoring.reset();
    m_camera = m_plan.camera;
    m_settings->show_model();
    if (!m_plan.ok()) {
        info(m_plan.why);
        return refuse();
    }
    info(tr("Using: %1").arg(choices_line(m_settings->model(), m_plan.type)));
    const QString fileName = file.isEmpty() ? chooseFile(button) : file;
    // The dialog asked before replacing a file that was there; one that
    // appears during the job is kept.
    m_thread->m_replace = QFileInfo::exists(fileName);
    m_thread->m_agreed = platform::file_identity(QFile::encodeName(fileName).toStdString());
    const LaunchFault fault =
        prepare_job(button, m_plan.choices, fileName, m_programDir, *m_thread, launchLog());
    if (fault == LaunchFault::Canceled) return log_separator(m_console);
    if (fault != LaunchFault::None) return refuse();
    m_thread->m_claim = std::move(claim);
    m_photos->hide();
    setEnabledButtons(false);
    m_job.begin(expected_passes(m_thread->m_type, m_thread->m_verify, m_thread->m_backup));
    m_thread->start(QThread::NormalPriority);
    info(job_start_line(job_dialog(button), fileName));
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
