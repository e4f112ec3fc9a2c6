// The part of a cartridge job that the script stage and the natives work on:
// the buffer with its running total, the sizes and settings a script is called
// with, the cancel flag, and how progress and log lines leave the job. The job
// thread derives from it; scripts receive it as their first argument.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <vector>

#include "cart/clocks.h"
#include "script/job_types.h"

inline constexpr uint32_t kRereadChunk = 0x1000;

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

    // A cartridge clock that travels with the save: a save read fills
    // m_clock_regs from the script's rtc_read; a save write with m_clock_set
    // hands them to its rtc_write (gb::ClockKind tells what they hold).
    gb::ClockKind m_clock = gb::ClockKind::None;
    bool m_clock_set = false;
    uint8_t m_clock_regs[gb::kMaxClockRegisters] = {};

    // A re-read of chosen chunks of a dump (kRereadChunk bytes each, by their
    // offset in the buffer): ROM reads of the other chunks are skipped, the
    // running total still advancing. Null: everything is read.
    const std::vector<bool>* m_wanted = nullptr;
    // Bytes at the buffer's start that the job read before its script ran,
    // from the bus addresses a plain read of them has (byte k of a GBA dump
    // from word k/2, of a save from byte k): the read natives take them
    // instead of reading them again.
    uint32_t m_prefetched = 0;
    // A read inside another job (read back after a write, the save before
    // one): its steps are that job's, and the script says none of its own.
    bool m_inner_read = false;

    // The cartridge is an MBC1 multicart: its dump follows the board's wiring.
    bool m_multicart = false;

    // The script stage has begun changing the cartridge (an erase or a write):
    // a write that fails from here on may have left it partly written.
    bool m_cartridge_written = false;

    // The board stopped answering during the script stage: a read that brought
    // m_arrived of m_asked bytes, or a command it did not take (m_asked 0).
    bool m_board_stopped = false;
    uint32_t m_arrived = 0, m_asked = 0;
    void board_stopped(uint32_t arrived, uint32_t asked);
    QString board_stopped_text() const;

    // A canceled script first gets a grace in which its natives refuse to work
    // (so its own error handling runs); after it the stage stops the script.
    bool cancel_grace_over();
    bool m_script_stopped = false;  // the stage stopped a script that did not stop itself

    // How long an erase wait polls before it gives up.
    int m_erase_limit_ms = 10 * 60 * 1000;

    // The first reason the last job gave for failing; empty after a success.
    QString m_failure;

    // Keeps the first reason the job gives for failing.
    void note_failure(const QString& reason);
    // Logs why the job fails and keeps it as above; returns false.
    bool fail(const QString& text);

private:
    QElapsedTimer m_canceled_for;  // since the script stage saw the cancel

public:
    // A transfer's progress and one log line, as the job passes them on.
    virtual void report_progress(int done, int total) = 0;
    virtual void report_line(const QString& text) = 0;
};

// Waits at least ms milliseconds, sleeping.
void QSleep(int ms);
