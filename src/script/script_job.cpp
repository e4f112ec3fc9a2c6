#include <QCoreApplication>

#include "cart/bus.h"
#include "cart/erase_wait.h"
#include "device/phase_marks.h"
#include "script/job_context.h"
#include "script/script.h"
#include "script/squirrel_loader.h"
#include "script/stage_parts.h"

namespace {

struct Binding {
    const char* name;
    SQFUNCTION fn;
};

// Natives bound for each job type, in binding order; a null name ends a list.
const Binding kGbRead[] = {{"cpu_write", real_gb_cpu_write},
                           {"cpu_read", real_gb_cpu_read},
                           {"cpu_read_byte", real_gb_cpu_read_byte},
                           {"buffer_put", real_buffer_put},
                           {"multicart", real_multicart},
                           {}};
const Binding kGbFlash[] = {{"cpu_write", real_gb_cpu_write},
                            {"rom_write", real_gb_rom_write},
                            {"rom_flash_cfg", real_gb_flash_cfg},
                            {}};
const Binding kGbSaveWrite[] = {{"cpu_write", real_gb_cpu_write},
                                {"ram_write", real_gb_ram_write},
                                {"cpu_read_byte", real_gb_cpu_read_byte},
                                {"buffer_take", real_buffer_take},
                                {}};
const Binding kGbaDump[] = {{"cpu_read", real_gba_cpu_read}, {}};
const Binding kGbaSaveRead[] = {{"ram_read", real_gba_ram_read},
                                {"gpio_write", real_gba_gpio_write},
                                {"gpio_read", real_gba_gpio_read},
                                {}};
const Binding kGbaSaveWrite[] = {{"ram_write", real_gba_ram_write},
                                 {"ram_erase", real_gba_ram_erase},
                                 {"gpio_write", real_gba_gpio_write},
                                 {"gpio_read", real_gba_gpio_read},
                                 {}};

const Binding* bindings_for(uint32_t type) {
    switch (type) {
        case kJobGbDump:
        case kJobGbSaveRead:
            return kGbRead;
        case kJobGbFlash:
            return kGbFlash;
        case kJobGbSaveWrite:
            return kGbSaveWrite;
        case kJobGbaDump:
            return kGbaDump;
        case kJobGbaSaveRead:
            return kGbaSaveRead;
        case kJobGbaSaveWrite:
            return kGbaSaveWrite;
        default:
            return nullptr;
    }
}

// A re-read of chosen chunks (healing) says nothing of its own: the heal's
// lines tell what it does, once, not once for every read.
// A step's line; an inner read of another job (a heal's re-reads, a read back,
// the backup before a write) says nothing of its own.
void say(JobContext* job, const char* text) {
    if (!job->m_wanted && !job->m_inner_read) job->report_line(ScriptText::tr(text));
}

bool canceled(const JobContext* job) {
    return job->m_cancel.load(std::memory_order_relaxed) != 0;
}

// The line that closes a step of the stage; a canceled job has not finished it.
void say_finished(JobContext* job, const char* text) {
    if (!canceled(job)) say(job, text);
}

bool fail(JobContext* job, const char* text) {
    return job->fail(ScriptText::tr(text));
}

// Calls a script function; a failure is kept as the job's reason with the VM's error.
int64_t call(HSQUIRRELVM v, JobContext* job, const char* name, uint32_t a, uint32_t b) {
    const int64_t result = qr_call(v, name, job, 2, int64_t(a), int64_t(b));
    if (result < 0 && job->m_cancel.load(std::memory_order_relaxed)) {
        job->note_failure(QStringLiteral("canceled"));
    } else if (result < 0 && job->m_board_stopped) {
        job->fail(job->board_stopped_text());
    } else if (result < 0) {
        const QString error = qr_last_error(v);
        job->note_failure(QString::fromLatin1(name) + QStringLiteral(": ") +
                          (error.isEmpty() ? QStringLiteral("the script failed") : error));
    }
    return result;
}

// Waits out a flash erase the way the cart layer polls it; false with the
// reason (none for a cancel, which the job reports itself).
bool erase_done(JobContext* job, gb::EraseWait (*wait)(const gb::EraseWaitOptions&)) {
    // No bytes move while the chip erases: the bar shows it is busy.
    job->report_line(ScriptText::tr("Erasing the flash chip; this can take up to %1 s.")
                         .arg(job->m_erase_limit_ms / 1000));
    job->report_progress(0, 0);
    switch (wait({&job->m_cancel, job->m_erase_limit_ms, QSleep})) {
        case gb::EraseWait::Erased:
            return true;
        case gb::EraseWait::Canceled:
            job->note_failure(QStringLiteral("canceled"));
            return false;
        case gb::EraseWait::TimedOut:
            return fail(job, QT_TRANSLATE_NOOP("QObject",
                                               "The flash chip did not finish erasing in time."));
        case gb::EraseWait::NoAnswer:
            break;
    }
    return fail(
        job, QT_TRANSLATE_NOOP("QObject", "The dump device stopped answering during the erase."));
}

}  // namespace

bool script_dump_run(HSQUIRRELVM v, JobContext* job) {
    if (!load_script(v, job)) return false;
    int64_t result = -1;
    switch (job->m_type) {
        case kJobGbDump:
        case kJobGbaDump:
            say(job, QT_TRANSLATE_NOOP("QObject", "Start dump rom..."));
            result = call(v, job, "cpu_dump", job->m_rom_size, job->m_rom_size);
            say_finished(job, QT_TRANSLATE_NOOP("QObject", "Dump rom finish."));
            break;
        case kJobGbFlash:
            say(job, QT_TRANSLATE_NOOP("QObject", "Start erase flash chip..."));
            // Without an erase function nothing would ever read back erased.
            if (!qr_function_exists(v, "cpu_erase")) {
                return fail(job, QT_TRANSLATE_NOOP(
                                     "QObject", "The mapper script cannot erase this cartridge."));
            }
            // A script that refuses the image before erasing ends the job there.
            job->m_cartridge_written = true;
            if (call(v, job, "cpu_erase", job->m_rom_size, job->m_flash16) < 0) return false;
            if (!erase_done(job, gb::wait_gb_flash_erased)) return false;
            say(job, QT_TRANSLATE_NOOP("QObject", "Erase flash chip finish."));
            say(job, QT_TRANSLATE_NOOP("QObject", "Start flash ROM..."));
            result = call(v, job, "cpu_flash", job->m_rom_size, job->m_rom_size);
            say_finished(job, QT_TRANSLATE_NOOP("QObject", "Flash ROM finish."));
            break;
        case kJobGbSaveRead:
        case kJobGbaSaveRead:
            say(job, QT_TRANSLATE_NOOP("QObject", "Start dump save..."));
            result = call(v, job, "save_dump", job->m_ram_size, job->m_ram_size);
            say_finished(job, QT_TRANSLATE_NOOP("QObject", "Dump save finish."));
            if (result >= 0 && !clock_read(v, job)) return false;
            break;
        case kJobGbSaveWrite:
        case kJobGbaSaveWrite:
            job->m_cartridge_written = true;
            if (job->m_type == kJobGbaSaveWrite && job->m_ram_type == gb::kSaveTypeFlash) {
                say(job, QT_TRANSLATE_NOOP("QObject", "Start erase flash chip..."));
                if (!erase_done(job, gb::erase_gba_flash_save)) return false;
                say(job, QT_TRANSLATE_NOOP("QObject", "Erase flash chip finish."));
            }
            say(job, QT_TRANSLATE_NOOP("QObject", "Start write save..."));
            result = call(v, job, "save_write", job->m_ram_size, job->m_ram_size);
            say_finished(job, QT_TRANSLATE_NOOP("QObject", "Write save finish."));
            if (result >= 0 && !clock_write(v, job)) return false;
            break;
        default:
            return false;
    }
    return result >= 0;
}

namespace {

bool interpreter_loaded(JobContext* job) {
    QString why;
    if (squirrel_load(&why)) {
        phase::mark("interpreter");
        return true;
    }
    return job->fail(ScriptText::tr("The script interpreter could not be loaded: %1").arg(why));
}

}  // namespace

namespace {

// Runs a stage in an interpreter of its own with the job type's natives bound.
bool run_stage(JobContext* job, bool (*stage)(HSQUIRRELVM, JobContext*)) {
    const Binding* bindings = bindings_for(job->m_type);
    if (!bindings) {
        return fail(job, QT_TRANSLATE_NOOP("QObject", "Unknow operate!"));
    }
    if (!interpreter_loaded(job)) return false;
    HSQUIRRELVM v = qr_open(job);
    for (const Binding* b = bindings; b->name; ++b) qr_function_register_global(v, b->name, b->fn);
    job->m_script_stopped = false;
    bool ok = stage(v, job);
    // A script that caught the cancel and went on has still been canceled.
    if (job->m_cancel.load(std::memory_order_relaxed)) {
        job->note_failure(QStringLiteral("canceled"));
        ok = false;
    }
    qr_close(v);
    return ok;
}

bool clock_only(HSQUIRRELVM v, JobContext* job) {
    return load_script(v, job) && clock_read(v, job);
}

}  // namespace

bool script_dump_execute(JobContext* job) {
    return run_stage(job, script_dump_run);
}

bool script_clock_execute(JobContext* job) {
    return run_stage(job, clock_only);
}
