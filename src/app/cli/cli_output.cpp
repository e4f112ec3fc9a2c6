#include "app/cli/cli_output.h"

#include <QRegularExpression>

namespace {

constexpr int kBarWidth = 30;
constexpr int kRedrawMs = 100;  // a terminal bar is redrawn at most ten times a second
constexpr int kLineMs = 1000;   // plain progress lines come at most once a second
const QString kRule(48, QLatin1Char('-'));

}  // namespace

QString plain_text(const QString& markup) {
    static const QRegularExpression breaks("<br\\s*/?>|<hr\\s*/?>",
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags("<[^>]*>");
    QString text = markup;
    text.replace(breaks, "\n").remove(tags);
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&#39;", "'");
    text.replace("&nbsp;", " ").replace("&amp;", "&");
    text.remove(QLatin1Char('\r'));
    // The log's paragraphs end in their own line break.
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

QString progress_text(int64_t done, int64_t total, int64_t elapsedMs, int width) {
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    QString text;
    if (width > 0) {
        const int filled = total > 0 ? int(done * width / total) : 0;
        text = QString("[%1%2] ").arg(QString(filled, '#'), QString(width - filled, '.'));
    } else {
        text = QStringLiteral("progress: ");
    }
    const SizeUnit unit = size_unit(total);
    text += QString("%1% %2 of %3 %4")
                .arg(percent, 3)
                .arg(done / unit.bytes, 0, 'f', 1)
                .arg(total / unit.bytes, 0, 'f', 1)
                .arg(unit.name);
    const bool finished = total > 0 && done >= total;
    if (finished && elapsedMs > 0) text += QString(" in %1 s").arg(elapsedMs / 1000.0, 0, 'f', 2);
    text += rate_text(done, total, elapsedMs);
    return text;
}

CliOutput::CliOutput(FILE* log, FILE* progress, bool terminal)
    : m_log(log), m_progress(progress), m_terminal(terminal) {}

void CliOutput::write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void CliOutput::clearBar() {
    if (!m_barShown) return;
    write(m_progress, QStringLiteral("\r\x1b[K"));
    m_barShown = false;
}

void CliOutput::line(const QString& markup) {
    clearBar();
    const QString text = plain_text(markup);
    write(m_log, text + '\n');
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty()) m_lastLine = trimmed.section('\n', -1).trimmed();
}

void CliOutput::separator() {
    clearBar();
    write(m_log, kRule + '\n');
}

void CliOutput::begin() {
    m_pass.begin();
    m_lastTenth = -1;
    m_drawn.invalidate();
}

void CliOutput::progress(int64_t done, int64_t total) {
    const TransferPass::Step step = m_pass.advance(done);
    if (step == TransferPass::Same) return;
    if (step == TransferPass::NewPass) {
        m_lastTenth = -1;
        m_drawn.invalidate();
    }
    const bool finished = total > 0 && done >= total;
    if (m_terminal) {
        if (!finished && m_drawn.isValid() && m_drawn.elapsed() < kRedrawMs) return;
        m_drawn.start();
        write(m_progress,
              '\r' + progress_text(done, total, m_pass.elapsedMs(), kBarWidth) + "\x1b[K");
        m_barShown = true;
        if (finished) {
            write(m_progress, QStringLiteral("\n"));
            m_barShown = false;
        }
        return;
    }
    // A line for each tenth, at most once a second, and the last one.
    const int tenth = total > 0 ? int(done * 10 / total) : 0;
    if (!finished && (tenth == m_lastTenth || m_pass.elapsedMs() < kLineMs ||
                      (m_drawn.isValid() && m_drawn.elapsed() < kLineMs)))
        return;
    m_lastTenth = tenth;
    m_drawn.start();
    write(m_progress, progress_text(done, total, m_pass.elapsedMs(), 0) + '\n');
}
