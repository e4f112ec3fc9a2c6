#include "script/job_context.h"

#include <QElapsedTimer>
#include <QThread>

void JobContext::note_failure(const QString& reason) {
    if (m_failure.isEmpty()) m_failure = reason;
}

bool JobContext::fail(const QString& text) {
    report_line(text);
    note_failure(text);
    return false;
}

void QSleep(int ms) {
    // Sleeps rather than spins: an erase wait may last minutes.
    QElapsedTimer timer;
    timer.start();
    for (qint64 left = ms; left > 0; left = ms - timer.elapsed()) QThread::msleep(ulong(left));
}
