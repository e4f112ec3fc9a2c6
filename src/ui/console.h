#pragma once

#include <QTextEdit>

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
