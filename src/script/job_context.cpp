#include "script/job_context.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "device/usb.h"

void JobContext::note_failure(const QString& reason) {
    if (m_failure.isEmpty()) m_failure = reason;
}

bool JobContext::fail(const QString& text) {
    report_line(text);
    note_failure(text);
    return false;
}

bool JobContext::cancel_grace_over() {
    constexpr qint64 kCancelGraceMs = 500;
    if (!m_cancel.load(std::memory_order_relaxed)) {
        m_canceled_for.invalidate();
        return false;
    }
    if (!m_canceled_for.isValid()) m_canceled_for.start();
    return m_canceled_for.elapsed() >= kCancelGraceMs;
}

void JobContext::board_stopped(uint32_t arrived, uint32_t asked) {
    if (m_board_stopped) return;
    m_board_stopped = true;
    m_arrived = arrived;
    m_asked = asked;
}

QString JobContext::board_stopped_text() const {
    if (const char* held = usb::busy_file())
        return QCoreApplication::translate("QObject",
                                           "The board is in use by another program: it holds %1.")
            .arg(QLatin1String(held));
    if (m_asked == 0)
        return QCoreApplication::translate(
            "QObject", "The board stopped answering (a command could not be sent to it).");
    return QCoreApplication::translate("QObject",
                                       "The board stopped answering (%1 of %2 bytes arrived).")
        .arg(m_arrived)
        .arg(m_asked);
}

void QSleep(int ms) {
    // Sleeps rather than spins: an erase wait may last minutes.
    QElapsedTimer timer;
    timer.start();
    for (qint64 left = ms; left > 0; left = ms - timer.elapsed()) QThread::msleep(ulong(left));
}
