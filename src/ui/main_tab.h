#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "jobs/backup_history.h"
#include "jobs/detection.h"
#include "jobs/job_launch.h"
#include "jobs/job_plan.h"
#include "jobs/transfer_rate.h"
#include "ui/preferences.h"

class CameraGallery;
class Console;
class FamicomThread;
class QHBoxLayout;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class Settings;
struct Detection;

namespace usb {
class BoardClaim;
}

// The first tab: settings, the five action buttons, the log and the job's progress.
class MainTab : public QWidget {
    Q_OBJECT

public:
    explicit MainTab(QWidget* parent);
    ~MainTab() override;

    bool configure_par(QString& fileName);

    Settings* settings() const { return m_settings; }
    Console* console() const { return m_console; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* cancelButton() const { return m_cancel; }
    QList<QPushButton*> actionButtons() const;
    // Shown after a Read RAM of a Pocket Camera: opens the gallery of its photos.
    QPushButton* photosButton() const { return m_photos; }
    CameraGallery* gallery() const { return m_gallery; }
    FamicomThread* jobThread() const { return m_thread; }
    // The folder holding the mapper folder: the program's own unless set.
    void setProgramDir(const QString& dir) { m_programDir = dir; }

    // A save library search is reading the ROM (the window waits for it).
    bool searching() const { return m_searching; }
    // The plan of the last job launched.
    const JobPlan& plan() const { return m_plan; }

public slots:
    void push_info();
    void push_read_rom();
    void push_read_ram();
    void push_write_flash();
    void push_write_ram();
    void info(QString text);
    void setProgress(int ile, int max);
    void setEnabledButtons(bool stan);
    void print_error(int err);

    // Stops a save library search.
    void stop_search();
    void show_photos();
    // The verdict of a ROM file the user has, as a dump's (no board needed).
    void verify_file(const QString& path);
    void push_verify_file();
    void push_import_dats();
    // Imports the DAT files into the local database, a log line each.
    void import_dats(const QStringList& files);
    // Offers the backups Write RAM kept, newest first; the one chosen is
    // written back as Write RAM writes a file.
    void push_restore_backup();

private slots:
    void job_finished();

private:
    // The constructor's parts: the buttons with their tooltips and keys, the
    // layout, the job thread with its signals, and the log's start-up lines.
    void make_buttons();
    void lay_out();
    void start_job_thread();
    void say_started();
    // Keys for Info, Dump, Read RAM, Write RAM and Cancel, named in their tooltips.
    void add_shortcuts();
    // A job of button; file, when given, takes the place of the file dialog.
    void launch(JobButton button, const QString& file = QString());
    // Ends a launch that started no job: the failure line and the separator.
    void refuse();
    // Reads the cartridge's header; nullopt (with the reason logged) when it
    // could not be read.
    std::optional<Detection> detect(const usb::BoardClaim& claim);
    // The window's part in a plan: its questions as dialogs whose default is
    // the safe answer, and the save library search with its progress.
    uint32_t ask(const PlanQuestion& question);
    std::optional<SaveKindFound> search(uint32_t romSize);
    PlanHooks planHooks();
    // The file dialog of a job, in the folder last used for its kind.
    QString chooseFile(JobButton button);
    LaunchLog launchLog();
    LaunchChoices launchChoices();

    Settings* m_settings;
    Console* m_console;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QPushButton* m_info;
    QPushButton* m_dump;
    QPushButton* m_readRam;
    QPushButton* m_flash;
    QPushButton* m_writeRam;
    QPushButton* m_photos;
    QPushButton* m_verifyFile;
    QPushButton* m_importDats;
    QPushButton* m_restore;
    CameraGallery* m_gallery = nullptr;
    JobPlan m_plan;
    bool m_camera = false;  // the last cartridge detected is a Pocket Camera
    QString m_photosFile;   // its save, read by the last job
    Preferences m_preferences;
    QHBoxLayout* m_topRow;
    QHBoxLayout* m_progressRow;
    QVBoxLayout* m_buttonColumn;
    QVBoxLayout* m_logColumn;
    QVBoxLayout* m_mainLayout;
    FamicomThread* m_thread;
    JobProgress m_job;  // the whole job's position, rate and time left on the bar
    QString m_programDir;
    bool m_searching = false;
    std::optional<JobButton> m_pending;       // a job asked for while the last one ended
    std::optional<BackupRecord> m_restoring;  // the backup the next Write RAM restores
    QString m_pendingFile;
    bool m_searchStopped = false;  // Cancel was pressed during a save library search
};
