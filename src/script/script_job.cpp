#include <QCoreApplication>
#include <QElapsedTimer>

#include "cart/bus.h"
#include "script/job_context.h"
#include "script/script.h"

namespace {

struct Binding {
    const char* name;
    SQFUNCTION fn;
};

// Natives bound for each job type, in binding order; a null name ends a list.
const Binding kGbRead[] = {{"cpu_write", real_gb_cpu_write}, {"cpu_read", real_gb_cpu_read}, {}};
const Binding kGbFlash[] = {{"cpu_write", real_gb_cpu_write},
                            {"rom_write", real_gb_rom_write},
                            {"rom_flash_cfg", real_gb_flash_cfg},
                            {}};
const Binding kGbSaveWrite[] = {
    {"cpu_write", real_gb_cpu_write}, {"ram_write", real_gb_ram_write}, {}};
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

QString tr(const char* text) {
    return QCoreApplication::translate("QObject", text);
}

void say(JobContext* job, const char* text) {
    job->report_line(tr(text));
}

bool fail(JobContext* job, const char* text) {
    return job->fail(tr(text));
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
    if (result < 0) {
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
            return fail(job, "The dump device stopped answering during the erase.");
        }
        if (first == kErased) return true;
        if (job->m_cancel.load(std::memory_order_relaxed)) {
            job->note_failure(QStringLiteral("canceled"));
            return false;
        }
        if (elapsed.elapsed() >= job->m_erase_limit_ms) {
            return fail(job, "The flash chip did not finish erasing in time.");
        }
        QSleep(kPollIntervalMs);
    }
}

bool gb_erase_wait(JobContext* job) {
    return erase_wait(job, [](uint8_t& first) { return gb::p_gb_cpu_read(0, &first, 1) == 1; });
}

bool gba_flash_save_erase_wait(JobContext* job) {
    if (gb::f_gba_sram_erase() == 0) {
        return fail(job, "The dump device stopped answering during the erase.");
    }
    return erase_wait(job, [](uint8_t& first) {
        uint8_t head[kGbaPollLength] = {};
        const bool answered = gb::f_gba_sram_read(0, head, kGbaPollLength) == kGbaPollLength;
        first = head[0];
        return answered;
    });
}

}  // namespace

bool script_dump_run(HSQUIRRELVM v, JobContext* job) {
    const QByteArray path = job->m_script.toLocal8Bit();
    if (SQ_FAILED(sqstd_dofile(v, path.constData(), SQFalse, SQTrue))) {
        const QString error = last_error(v);
        say(job, "dump core script error\n");
        job->note_failure(job->m_script + QStringLiteral(": ") + error);
        return false;
    }
    int64_t result = -1;
    switch (job->m_type) {
        case kJobGbDump:
        case kJobGbaDump:
            say(job, "Start dump rom...");
            result = call(v, job, "cpu_dump", job->m_rom_size, job->m_rom_size);
            say(job, "Dump rom finish.");
            break;
        case kJobGbFlash:
            say(job, "Start erase flash chip...");
            // Without an erase function nothing would ever read back erased.
            if (!qr_function_exists(v, "cpu_erase")) {
                return fail(job, "The mapper script cannot erase this cartridge.");
            }
            // A script that refuses the image before erasing ends the job there.
            if (call(v, job, "cpu_erase", job->m_rom_size, job->m_flash16) < 0) return false;
            if (!gb_erase_wait(job)) return false;
            say(job, "Erase flash chip finish.");
            say(job, "Start flash ROM...");
            result = call(v, job, "cpu_flash", job->m_rom_size, job->m_rom_size);
            say(job, "Flash ROM finish.");
            break;
        case kJobGbSaveRead:
        case kJobGbaSaveRead:
            say(job, "Start dump save...");
            result = call(v, job, "save_dump", job->m_ram_size, job->m_ram_size);
            say(job, "Dump save finish.");
            break;
        case kJobGbSaveWrite:
        case kJobGbaSaveWrite:
            if (job->m_type == kJobGbaSaveWrite && job->m_ram_type == gb::kSaveTypeFlash) {
                say(job, "Start erase flash chip...");
                if (!gba_flash_save_erase_wait(job)) return false;
                say(job, "Erase flash chip finish.");
            }
            say(job, "Start write save...");
            result = call(v, job, "save_write", job->m_ram_size, job->m_ram_size);
            say(job, "Write save finish.");
            break;
        default:
            return false;
    }
    return result >= 0;
}

bool script_dump_execute(JobContext* job) {
    const Binding* bindings = bindings_for(job->m_type);
    if (!bindings) {
        return fail(job, "Unknow operate!");
    }
    HSQUIRRELVM v = qr_open(job);
    for (const Binding* b = bindings; b->name; ++b) qr_function_register_global(v, b->name, b->fn);
    const bool ok = script_dump_run(v, job);
    qr_close(v);
    return ok;
}
