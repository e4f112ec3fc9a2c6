#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include "cart/bus.h"
#include "script/job_context.h"
#include "script/loop_guard.h"
#include "script/script.h"
#include "script/squirrel_loader.h"

namespace {

// Lets the translation tools see this file's texts in their context.
struct ScriptText {
    Q_DECLARE_TR_FUNCTIONS(QObject)
};

struct Binding {
    const char* name;
    SQFUNCTION fn;
};

// Natives bound for each job type, in binding order; a null name ends a list.
const Binding kGbRead[] = {{"cpu_write", real_gb_cpu_write},
                           {"cpu_read", real_gb_cpu_read},
                           {"cpu_read_byte", real_gb_cpu_read_byte},
                           {"buffer_put", real_buffer_put},
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
const Binding kGbaSaveRead[] = {{"ram_read", real_gba_ram_read}, {}};
const Binding kGbaSaveWrite[] = {
    {"ram_write", real_gba_ram_write}, {"ram_erase", real_gba_ram_erase}, {}};

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

constexpr int kPollIntervalMs = 1000;
constexpr uint8_t kErased = 0xFF;
constexpr uint32_t kGbaPollLength = 10;

void say(JobContext* job, const char* text) {
    job->report_line(ScriptText::tr(text));
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

// The error the VM raised last, such as a native's "cpu_read: ..." or a compile error.
QString last_error(HSQUIRRELVM v) {
    const SQInteger top = sq_gettop(v);
    sq_getlasterror(v);
    const SQChar* text = nullptr;
    QString error;
    if (sq_gettype(v, -1) == OT_STRING && SQ_SUCCEEDED(sq_getstring(v, -1, &text)))
        error = QString::fromUtf8(text);
    sq_settop(v, top);
    return error;
}

// Calls a script function; a failure is kept as the job's reason with the VM's error.
int64_t call(HSQUIRRELVM v, JobContext* job, const char* name, uint32_t a, uint32_t b) {
    const int64_t result = qr_call(v, name, job, 2, int64_t(a), int64_t(b));
    if (result < 0 && job->m_cancel.load(std::memory_order_relaxed)) {
        job->note_failure(QStringLiteral("canceled"));
    } else if (result < 0 && job->m_board_stopped) {
        job->fail(job->board_stopped_text());
    } else if (result < 0) {
        const QString error = last_error(v);
        job->note_failure(QString::fromLatin1(name) + QStringLiteral(": ") +
                          (error.isEmpty() ? QStringLiteral("the script failed") : error));
    }
    return result;
}

// Polls the first byte of the chip until it reads erased. poll reads it into
// the byte and reports whether the device answered.
template <typename Poll>
bool erase_wait(JobContext* job, Poll poll) {
    QElapsedTimer elapsed;
    elapsed.start();
    uint8_t first = 0;
    QSleep(kPollIntervalMs);
    for (;;) {
        if (!poll(first)) {
            return fail(job, QT_TRANSLATE_NOOP(
                                 "QObject", "The dump device stopped answering during the erase."));
        }
        if (first == kErased) return true;
        if (job->m_cancel.load(std::memory_order_relaxed)) {
            job->note_failure(QStringLiteral("canceled"));
            return false;
        }
        if (elapsed.elapsed() >= job->m_erase_limit_ms) {
            return fail(job, QT_TRANSLATE_NOOP("QObject",
                                               "The flash chip did not finish erasing in time."));
        }
        QSleep(kPollIntervalMs);
    }
}

bool gb_erase_wait(JobContext* job) {
    return erase_wait(job, [](uint8_t& first) { return gb::p_gb_cpu_read(0, &first, 1) == 1; });
}

bool gba_flash_save_erase_wait(JobContext* job) {
    if (gb::f_gba_sram_erase() == 0) {
        return fail(job, QT_TRANSLATE_NOOP("QObject",
                                           "The dump device stopped answering during the erase."));
    }
    return erase_wait(job, [](uint8_t& first) {
        uint8_t head[kGbaPollLength] = {};
        const bool answered = gb::f_gba_sram_read(0, head, kGbaPollLength) == kGbaPollLength;
        first = head[0];
        return answered;
    });
}

// Calls name(d) and takes the integer array it returns into out; false with
// the job's reason when the call fails or returns anything else.
bool call_for_values(HSQUIRRELVM v, JobContext* job, const char* name, uint8_t* out, int count) {
    const SQInteger top = sq_gettop(v);
    sq_pushroottable(v);
    sq_pushstring(v, name, -1);
    bool ok = SQ_SUCCEEDED(sq_get(v, -2));
    if (ok) {
        sq_pushroottable(v);
        sq_pushuserpointer(v, job);
        ok = SQ_SUCCEEDED(sq_call(v, 2, SQTrue, SQTrue)) && sq_gettype(v, -1) == OT_ARRAY &&
             sq_getsize(v, -1) == count;
        for (int i = 0; ok && i < count; ++i) {
            sq_pushinteger(v, i);
            int64_t value = 0;
            ok = SQ_SUCCEEDED(sq_get(v, -2)) && qr_long_get(v, -1, &value);
            out[i] = uint8_t(value);
            sq_pop(v, 1);
        }
    }
    if (!ok) {
        const QString error = last_error(v);
        job->note_failure(
            QString::fromLatin1(name) + QStringLiteral(": ") +
            (error.isEmpty() ? QStringLiteral("the script returned no registers") : error));
    }
    sq_settop(v, top);
    return ok;
}

// Compiles `source` under the name `name` and runs its top level.
bool run_source(HSQUIRRELVM v, const QByteArray& source, const char* name) {
    const SQInteger top = sq_gettop(v);
    bool ok = SQ_SUCCEEDED(sq_compilebuffer(v, source.constData(), source.size(), name, SQTrue));
    if (ok) {
        sq_pushroottable(v);
        ok = SQ_SUCCEEDED(sq_call(v, 1, SQFalse, SQTrue));
    }
    sq_settop(v, top);
    return ok;
}

// The native every guarded loop condition and function entry passes through:
// it returns its argument, and once a canceled job's grace is over it raises
// "canceled", which unwinds the script as any error does.
SQInteger tick(HSQUIRRELVM v) {
    auto* job = static_cast<JobContext*>(sq_getforeignptr(v));
    if (job && job->cancel_grace_over()) {
        if (!job->m_script_stopped)
            job->report_line(ScriptText::tr(
                "The mapper script did not stop by itself and was stopped: the job was canceled."));
        job->m_script_stopped = true;
        return sq_throwerror(v, "canceled");
    }
    if (sq_gettop(v) < 2) return 0;
    sq_push(v, 2);
    return 1;
}

// A name a script cannot know in advance, so that it cannot replace the native.
QByteArray tick_name() {
    return QByteArrayLiteral("__zelvo_tick_") +
           QByteArray::number(QRandomGenerator::global()->generate(), 16) + "__";
}

// Compiles and runs the job's script file, which defines its entry functions.
// Its loops and functions are guarded first, so that Cancel can stop any of
// them; a file that cannot be read as text (or holds compiled code) goes to
// the standard loader unchanged, which reports what is wrong with it.
bool load_script(HSQUIRRELVM v, JobContext* job) {
    const QByteArray path = job->m_script.toLocal8Bit();
    QFile file(job->m_script);
    QByteArray source;
    if (file.open(QIODevice::ReadOnly)) source = file.readAll();
    const QByteArray utf8Mark("\xEF\xBB\xBF");
    if (source.startsWith(utf8Mark)) source.remove(0, utf8Mark.size());
    const bool text =
        file.error() == QFileDevice::NoError && !source.isEmpty() && source.indexOf('\0') < 0;
    const QByteArray tickName = tick_name();
    qr_function_register_global(v, tickName.constData(), tick);
    if (text && run_source(v, guard_loops(source, tickName), path.constData())) return true;
    if (!text && SQ_SUCCEEDED(sqstd_dofile(v, path.constData(), SQFalse, SQTrue))) return true;
    const QString error = last_error(v);
    say(job, QT_TRANSLATE_NOOP("QObject", "dump core script error\n"));
    job->note_failure(job->m_script + QStringLiteral(": ") + error);
    return false;
}

// Moves the cartridge clock with the save, when the job carries it.
bool clock_read(HSQUIRRELVM v, JobContext* job) {
    if (!job->m_clock) return true;
    if (!qr_function_exists(v, "rtc_read"))
        return fail(job, QT_TRANSLATE_NOOP(
                             "QObject", "The mapper script cannot read this cartridge's clock."));
    return call_for_values(v, job, "rtc_read", job->m_clock_regs, JobContext::kClockRegisters);
}

bool clock_write(HSQUIRRELVM v, JobContext* job) {
    if (!job->m_clock || !job->m_clock_set) return true;
    if (!qr_function_exists(v, "rtc_write"))
        return fail(job, QT_TRANSLATE_NOOP("QObject",
                                           "The mapper script cannot set this cartridge's clock."));
    const uint8_t* r = job->m_clock_regs;
    const int64_t result = qr_call(v, "rtc_write", job, 5, int64_t(r[0]), int64_t(r[1]),
                                   int64_t(r[2]), int64_t(r[3]), int64_t(r[4]));
    if (result < 0) job->note_failure(QStringLiteral("rtc_write: ") + last_error(v));
    return result >= 0;
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
            if (!gb_erase_wait(job)) return false;
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
                if (!gba_flash_save_erase_wait(job)) return false;
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
    if (squirrel_load(&why)) return true;
    return job->fail(ScriptText::tr("The script interpreter could not be loaded: %1").arg(why));
}

}  // namespace

bool script_dump_execute(JobContext* job) {
    const Binding* bindings = bindings_for(job->m_type);
    if (!bindings) {
        return fail(job, QT_TRANSLATE_NOOP("QObject", "Unknow operate!"));
    }
    if (!interpreter_loaded(job)) return false;
    HSQUIRRELVM v = qr_open(job);
    for (const Binding* b = bindings; b->name; ++b) qr_function_register_global(v, b->name, b->fn);
    job->m_script_stopped = false;
    bool ok = script_dump_run(v, job);
    // A script that caught the cancel and went on has still been canceled.
    if (job->m_cancel.load(std::memory_order_relaxed)) {
        job->note_failure(QStringLiteral("canceled"));
        ok = false;
    }
    qr_close(v);
    return ok;
}
