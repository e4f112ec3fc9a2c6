#include "ui/console.h"

#include <QApplication>
#include <QPalette>
#include <QProgressBar>
#include <QTextCharFormat>
#include <QTextCursor>

namespace {

constexpr int kMinimumWidth = 400;
constexpr int kFontSize = 14;

}  // namespace

Console::Console(QWidget* parent) : QTextEdit(parent) {
    setMinimumWidth(kMinimumWidth);
    setReadOnly(true);
    QPalette palette;
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(QColor(QRgb(kLogBackground))));
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
    // The next line starts plain, whatever style this one ended in.
    cursor.setCharFormat(QTextCharFormat());
    log->setTextCursor(cursor);
}

void log_separator(QTextEdit* log) {
    append_line(log, QStringLiteral("<hr><br>"));
}

void show_progress(QProgressBar* bar, int done, int total, const QString& detail) {
    // A verdict's style goes with the next position (bold marks it); the many
    // positions of a transfer touch nothing else.
    if (bar->font().bold()) {
        bar->setPalette(QApplication::palette(bar));
        bar->setFont(QApplication::font(bar));
    }
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

void show_verdict(QProgressBar* bar, const QString& verdict, Outcome outcome) {
    show_progress(bar, 0, 1);
    bar->setFormat(verdict);
    QPalette palette = bar->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText})
        palette.setColor(role, outcome_color(outcome));
    bar->setPalette(palette);
    QFont font = bar->font();
    font.setBold(true);
    bar->setFont(font);
}
