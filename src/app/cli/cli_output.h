// What zelvo3-cli prints: the window's log lines as plain text on standard
// output, and the job's progress on standard error.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

#include "jobs/transfer_rate.h"

// A log line of the window (which may hold markup) as plain text.
QString plain_text(const QString& markup);

// One progress report: a bar of width cells when width > 0, else a plain line.
// Rate and time left appear once elapsedMs is long enough to measure.
QString progress_text(int64_t done, int64_t total, int64_t elapsedMs, int width);

class CliOutput {
public:
    CliOutput(FILE* log, FILE* progress, bool terminal);

    void line(const QString& markup);
    void separator();
    // The job starts: rates are measured from here.
    void begin();
    // A transfer's position; a position below the last one starts a new pass.
    void progress(int64_t done, int64_t total);
    // The last non-empty log line, as the reason of a failure.
    const QString& lastLine() const { return m_lastLine; }

private:
    void clearBar();
    void write(FILE* stream, const QString& text);

    FILE* m_log;
    FILE* m_progress;
    bool m_terminal;
    bool m_barShown = false;
    QString m_lastLine;
    TransferPass m_pass;
    QElapsedTimer m_drawn;  // since the bar was last drawn
    int m_lastTenth = -1;
};
