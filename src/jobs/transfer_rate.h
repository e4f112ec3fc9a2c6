// How fast a transfer goes and how long it has left: the window's progress bar
// and the command line's progress say it the same way.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>

// The unit a transfer of `total` bytes is told in: MiB from 1 MiB up, else KiB.
struct SizeUnit {
    double bytes;
    const char* name;
};
SizeUnit size_unit(int64_t total);

// ", 1.0 MiB/s, 0:03 left" while a transfer runs, ", 2.0 MiB/s" once it is
// done; empty until enough time has passed to measure a rate.
QString rate_text(int64_t done, int64_t total, int64_t elapsedMs);

// The time since a pass over a transfer began. A position below the last one
// starts a new pass (a verify reads back what was just written).
class TransferPass {
public:
    enum Step { Same, Forward, NewPass };
    void begin();
    Step advance(int64_t done);
    int64_t elapsedMs() const { return m_timer.isValid() ? m_timer.elapsed() : 0; }

private:
    QElapsedTimer m_timer;
    int64_t m_last = -1;
};

// A job's passes over its transfer (a verify, the save read before a write)
// as one bar: the position over the whole job, and the time since it began.
// More passes than expected (a heal's re-reads) lengthen the job.
class JobProgress {
public:
    void begin(int passes);
    struct Position {
        int64_t done, total;  // total 0: busy, no position (a flash erase)
    };
    Position advance(int64_t done, int64_t total);
    int64_t elapsedMs() const { return m_timer.isValid() ? m_timer.elapsed() : 0; }

private:
    QElapsedTimer m_timer;
    int m_passes = 1;
    int m_pass = 0;
    int64_t m_last = 0;
};

// How many passes a job of type makes over its transfer.
int expected_passes(uint32_t type, bool verify, bool backup);
