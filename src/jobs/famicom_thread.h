// The cartridge job thread and its job record.
#pragma once

#include <QString>
#include <QThread>
#include <cstdint>
#include <iterator>

#include "device/platform.h"
#include "jobs/clock_trailer.h"
#include "jobs/dump_verdict.h"
#include "jobs/following_digest.h"
#include "jobs/option_tables.h"
#include "script/job_context.h"

// Largest image or save the program accepts: the largest ROM the settings offer.
inline constexpr int64_t kMaxInputSize = gba_rom_table[std::size(gba_rom_table) - 1].value;

class FamicomThread : public QThread, public JobContext {
    Q_OBJECT

public:
    FamicomThread() = default;

    QString m_file;
    bool m_verify = false;
    uint8_t m_save_mask = 0xFF;  // bits of each save byte the cartridge keeps

    // Write RAM first keeps the cartridge's save in the backup folder (empty:
    // default_backup_folder()).
    bool m_backup = true;
    QString m_backup_folder;

    // What the last ROM dump is worth, and the known dumps it is judged against.
    DumpVerdict m_verdict = DumpVerdict::None;
    gb::DumpTable m_known_dumps = gb::builtin_dumps();

    // The job sequence on the calling thread; true on success. run() calls it
    // and reports the result; a front end without an event loop may call it directly.
    bool execute();

    void report_progress(int done, int total) override;
    void report_line(const QString& text) override { emit log(text); }

signals:
    void log(QString text);
    void set_progress(int ile, int max);
    void error(int err);

public slots:
    void canceled();

protected:
    void run() override;

private:
    bool run_job(platform::TransferBuffer& buffer);
    FollowingDigest* m_digest = nullptr;  // hashes a dump's first read as it arrives
    // Runs the job that reads back what this one moves into into (as large as the buffer).
    bool read_back(platform::TransferBuffer& into);
    bool verify_written(platform::TransferBuffer& written);
    bool read_twice(platform::TransferBuffer& first);
    bool cartridge_has_clock();
    void set_clock_from(const ClockState& clock);
    QString cartridge_title();
    bool back_up_save();
};
