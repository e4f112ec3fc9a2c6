// The cartridge job thread and its job record.
#pragma once

#include <QString>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <vector>

#include "device/platform.h"

// Job types: GB 0..3, the same for GBA 4..7.
enum JobType : uint32_t {
    kJobGbDump = 0,
    kJobGbFlash = 1,
    kJobGbSaveRead = 2,
    kJobGbSaveWrite = 3,
    kJobGbaDump = 4,
    kJobGbaFlash = 5,
    kJobGbaSaveRead = 6,
    kJobGbaSaveWrite = 7,
    kJobGbaOffset = 4,
};

// Largest image or save the program accepts: the largest ROM the settings offer.
inline constexpr int64_t kMaxInputSize = 64 * 1024 * 1024;

class FamicomThread : public QThread {
    Q_OBJECT

public:
    FamicomThread() = default;

    std::atomic<int> m_cancel{0};
    QString m_file;
    QString m_script;
    uint32_t m_type = 0;
    uint32_t m_rom_size = 0;
    uint32_t m_ram_size = 0;
    uint32_t m_ram_type = 0;
    uint32_t m_flash16 = 0;
    int32_t m_total = 0;
    bool m_verify = false;
    uint8_t* m_buffer = nullptr;
    uint32_t m_buffer_size = 0;  // bytes m_buffer holds
    uint8_t m_save_mask = 0xFF;  // bits of each save byte the cartridge keeps

    // How long an erase wait polls before it gives up.
    int m_erase_limit_ms = 10 * 60 * 1000;

    // The first reason the last job gave for failing; empty after a success.
    QString m_failure;

    // Keeps the first reason the job gives for failing.
    void note_failure(const QString& reason);
    // Logs why the job fails and keeps it as above; returns false.
    bool fail(const QString& text);

    // The job sequence on the calling thread; true on success. run() calls it
    // and reports the result; a front end without an event loop may call it directly.
    bool execute();

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

// Waits at least ms milliseconds, sleeping.
void QSleep(int ms);

// Job type properties, as bit masks over the type number.
inline bool job_is_gba(uint32_t type) {
    return type > kJobGbSaveWrite;
}
inline bool job_reads_input(uint32_t type) {
    return type < 8 && ((0xAAu >> type) & 1);
}
inline bool job_saves_output(uint32_t type) {
    return type < 8 && ((0x55u >> type) & 1);
}
inline bool job_is_flash(uint32_t type) {
    return type == kJobGbFlash || type == kJobGbaFlash;
}
inline bool job_sized_by_ram(uint32_t type) {
    return type < 8 && ((0xCCu >> type) & 1);
}
