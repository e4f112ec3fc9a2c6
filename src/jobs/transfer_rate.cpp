#include "jobs/transfer_rate.h"

#include <QCoreApplication>
#include <algorithm>

#include "script/job_types.h"

namespace {

constexpr int kMeasureMs = 200;  // shorter passes give no meaningful rate
constexpr double kKiBytes = 1024.0, kMiBytes = 1024.0 * 1024.0;
constexpr int kSecondsPerMinute = 60;

QString duration_text(int64_t seconds) {
    return QString("%1:%2")
        .arg(seconds / kSecondsPerMinute)
        .arg(seconds % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
}

}  // namespace

SizeUnit size_unit(int64_t total) {
    return total >= kMiBytes ? SizeUnit{kMiBytes, "MiB"} : SizeUnit{kKiBytes, "KiB"};
}

QString rate_text(int64_t done, int64_t total, int64_t elapsedMs) {
    const bool finished = total > 0 && done >= total;
    if (total <= 0 || done <= 0 || elapsedMs <= 0 || (!finished && elapsedMs < kMeasureMs))
        return {};
    const SizeUnit unit = size_unit(total);
    const double rate = done * 1000.0 / elapsedMs;
    QString text = QString(", %1 %2/s").arg(rate / unit.bytes, 0, 'f', 1).arg(unit.name);
    if (!finished) {
        text += QStringLiteral(", ") + QCoreApplication::translate("TransferRate", "%1 left")
                                           .arg(duration_text(int64_t((total - done) / rate)));
    }
    return text;
}

void TransferPass::begin() {
    m_timer.start();
    m_last = 0;
}

TransferPass::Step TransferPass::advance(int64_t done) {
    if (done == m_last) return Same;
    const bool again = done < m_last || m_last < 0;
    m_last = done;
    if (!again) return Forward;
    m_timer.start();
    return NewPass;
}

void JobProgress::begin(int passes) {
    m_timer.start();
    m_passes = passes;
    m_pass = 0;
    m_last = 0;
}

JobProgress::Position JobProgress::advance(int64_t done, int64_t total) {
    if (total <= 0) return {0, 0};
    if (done < m_last) ++m_pass;
    m_last = done;
    m_passes = std::max(m_passes, m_pass + 1);
    return {m_pass * total + done, m_passes * total};
}

int expected_passes(uint32_t type, bool verify, bool backup) {
    // Write RAM reads the cartridge's save twice to back it up first.
    const int before = job_reads_input(type) && job_sized_by_ram(type) && backup ? 2 : 0;
    return before + 1 + (verify ? 1 : 0);
}
