#include "ui/console.h"

#include <QPalette>
#include <QProgressBar>
#include <QTextCursor>

namespace {

constexpr int kMinimumWidth = 400;
constexpr int kFontSize = 14;
const QColor kBackground(112, 146, 190, 255);

}  // namespace

Console::Console(QWidget* parent) : QTextEdit(parent) {
    setMinimumWidth(kMinimumWidth);
    setReadOnly(true);
    QPalette palette;
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(kBackground));
    setPalette(palette);
    QFont font("Courier");
    font.setPointSize(kFontSize);
    // Where no Courier is installed, the desktop's fixed-width font stands in.
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
}

Console::~Console() = default;

void append_line(QTextEdit* log, const QString& text) {
    log->append(text);
    QTextCursor cursor = log->textCursor();
    cursor.movePosition(QTextCursor::End, QTextCursor::MoveAnchor, 1);
    log->setTextCursor(cursor);
}

void log_separator(QTextEdit* log) {
    append_line(log, QStringLiteral("<hr><br>"));
}

void show_progress(QProgressBar* bar, int done, int total, const QString& detail) {
    bar->setFormat(QStringLiteral("%p%") + detail);
    bar->setMinimum(0);
    bar->setMaximum(total);
    bar->setValue(done);
}

void close_job(QTextEdit* log, QProgressBar* bar, const QString& outcome) {
    if (!outcome.isEmpty()) append_line(log, outcome);
    log_separator(log);
    show_progress(bar, 0, 1);
}
