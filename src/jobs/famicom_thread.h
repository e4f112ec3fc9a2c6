// The cartridge job thread and its job record.
#pragma once

#include <QString>
#include <QThread>
#include <cstdint>
#include <iterator>

#include "device/platform.h"
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

    // The job sequence on the calling thread; true on success. run() calls it
    // and reports the result; a front end without an event loop may call it directly.
    bool execute();

    void report_progress(int done, int total) override { emit set_progress(done, total); }
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
    bool verify_written(platform::TransferBuffer& written);
};
