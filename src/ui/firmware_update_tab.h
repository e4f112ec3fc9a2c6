#pragma once

#include <QThread>
#include <QWidget>

class Console;
class QHBoxLayout;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// Reports that no firmware update is possible; it touches neither the board nor any file.
class UpdateThread : public QThread {
    Q_OBJECT

signals:
    void log(QString text);
    void set_progress(int ile, int max);
    void error(int err);

protected:
    void run() override;
};

class FirmwareUpdateTab : public QWidget {
    Q_OBJECT

public:
    explicit FirmwareUpdateTab(QWidget* parent);
    ~FirmwareUpdateTab() override;

    Console* console() const { return m_log; }
    QPushButton* updateButton() const { return m_button; }
    QProgressBar* progressBar() const { return m_progress; }
    UpdateThread* jobThread() const { return m_thread; }

public slots:
    void push_update();
    void info(QString text);
    void setEnabledButtons(bool stan);
    void setProgress(int ile, int max);
    void print_error(int err);
    void job_finished();

private:
    Console* m_log;
    QProgressBar* m_progress;
    QPushButton* m_button;
    QVBoxLayout* m_buttonBox;
    QVBoxLayout* m_logBox;
    QHBoxLayout* m_progressBox;
    QVBoxLayout* m_mainLayout;
    UpdateThread* m_thread;
};
