#pragma once

#include <QWidget>

#include "jobs/job_launch.h"
#include "jobs/transfer_rate.h"

class Console;
class FamicomThread;
class QHBoxLayout;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class Settings;

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
    FamicomThread* jobThread() const { return m_thread; }

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

private:
    void launch(JobButton button);
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
    QHBoxLayout* m_topRow;
    QHBoxLayout* m_progressRow;
    QVBoxLayout* m_buttonColumn;
    QVBoxLayout* m_logColumn;
    QVBoxLayout* m_mainLayout;
    FamicomThread* m_thread;
    TransferPass m_pass;  // the rate and time left on the bar
};
