// The part of a cartridge job that the script stage and the natives work on:
// the buffer with its running total, the sizes and settings a script is called
// with, the cancel flag, and how progress and log lines leave the job. The job
// thread derives from it; scripts receive it as their first argument.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>

#include "script/job_types.h"

class JobContext {
public:
    virtual ~JobContext() = default;

    std::atomic<int> m_cancel{0};
    QString m_script;
    uint32_t m_type = 0;
    uint32_t m_rom_size = 0;
    uint32_t m_ram_size = 0;
    uint32_t m_ram_type = 0;
    uint32_t m_flash16 = 0;
    int32_t m_total = 0;
    uint8_t* m_buffer = nullptr;
    uint32_t m_buffer_size = 0;  // bytes m_buffer holds

    // How long an erase wait polls before it gives up.
    int m_erase_limit_ms = 10 * 60 * 1000;

    // The first reason the last job gave for failing; empty after a success.
    QString m_failure;

    // Keeps the first reason the job gives for failing.
    void note_failure(const QString& reason);
    // Logs why the job fails and keeps it as above; returns false.
    bool fail(const QString& text);

    // A transfer's progress and one log line, as the job passes them on.
    virtual void report_progress(int done, int total) = 0;
    virtual void report_line(const QString& text) = 0;
};

// Waits at least ms milliseconds, sleeping.
void QSleep(int ms);
