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
