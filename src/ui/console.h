#pragma once

#include <QColor>
#include <QTextEdit>

#include "jobs/outcome_style.h"

// The read-only rich-text log.
class Console : public QTextEdit {
public:
    explicit Console(QWidget* parent);
    ~Console() override;
};

// Appends a paragraph and keeps the view at the newest line.
void append_line(QTextEdit* log, const QString& text);

// Closes a finished operation in the log with a rule and an empty line.
void log_separator(QTextEdit* log);

class QProgressBar;

// A job's progress on a tab's bar: done of total, with `detail` (the rate and
// time left, when known) after the percentage; a verdict shown before is gone.
void show_progress(QProgressBar* bar, int done, int total, const QString& detail = {});

// Ends a job on a tab: its outcome line (none when empty), the separator, and
// the bar back at rest.
void close_job(QTextEdit* log, QProgressBar* bar, const QString& outcome);

// The outcome's colour.
inline QColor outcome_color(Outcome outcome) {
    return QColor(QRgb(outcome_rgb(outcome)));
}

// What a dump or file is worth, on the bar in the outcome's style, until the
// next job, drop or Info.
void show_verdict(QProgressBar* bar, const QString& verdict, Outcome outcome);
