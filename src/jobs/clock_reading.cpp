#include "jobs/clock_reading.h"

#include "cart/controllers.h"
#include "cart/gba_clock.h"
#include "cart/header.h"
#include "jobs/clock_trailer.h"
#include "script/job_context.h"
#include "script/script.h"

namespace {

// A job that only reads the clock: no transfer to report.
class ClockJob : public JobContext {
public:
    void report_progress(int, int) override {}
    void report_line(const QString&) override {}
};

}  // namespace

gb::ClockKind clock_of_cartridge(bool gba, const uint8_t* header) {
    if (!header) return gb::ClockKind::None;
    if (!gba) return gb::clock_of_header_type(header[gb::kGbTypeOffset]);
    gb::gba_pcb pcb;
    if (!gb::gba_cartridge_info(header, &pcb)) return gb::ClockKind::None;
    // The database knows its cartridges' clocks; another one is asked at its port.
    const bool clock = pcb.rom_size ? pcb.rtc : gb::gba_clock_present();
    return clock ? gb::ClockKind::GbaRtc : gb::ClockKind::None;
}

ClockReading read_cartridge_clock(const QString& script, gb::ClockKind kind, bool gba) {
    ClockJob job;
    job.m_script = script;
    job.m_type = gba ? kJobGbaSaveRead : kJobGbSaveRead;
    job.m_clock = kind;
    ClockReading reading;
    reading.ok = script_clock_execute(&job);
    if (!reading.ok) {
        reading.failure = job.m_failure;
        return reading;
    }
    reading.text = clock_text(kind, job.m_clock_regs);
    reading.lostPower = clock_lost_power(kind, job.m_clock_regs);
    return reading;
}
