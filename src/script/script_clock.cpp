#include <QCoreApplication>

#include "script/job_context.h"
#include "script/script.h"
#include "script/stage_parts.h"

namespace {

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
        const QString error = qr_last_error(v);
        job->note_failure(
            QString::fromLatin1(name) + QStringLiteral(": ") +
            (error.isEmpty() ? QStringLiteral("the script returned no registers") : error));
    }
    sq_settop(v, top);
    return ok;
}

}  // namespace

bool clock_read(HSQUIRRELVM v, JobContext* job) {
    if (job->m_clock == gb::ClockKind::None) return true;
    if (!qr_function_exists(v, "rtc_read"))
        return job->fail(ScriptText::tr("The mapper script cannot read this cartridge's clock."));
    return call_for_values(v, job, "rtc_read", job->m_clock_regs,
                           gb::clock_register_count(job->m_clock));
}

bool clock_write(HSQUIRRELVM v, JobContext* job) {
    if (job->m_clock == gb::ClockKind::None || !job->m_clock_set) return true;
    if (!qr_function_exists(v, "rtc_write"))
        return job->fail(ScriptText::tr("The mapper script cannot set this cartridge's clock."));
    // rtc_write(d, registers): the registers as an array, as rtc_read returns them.
    const SQInteger top = sq_gettop(v);
    sq_pushroottable(v);
    sq_pushstring(v, "rtc_write", -1);
    bool ok = SQ_SUCCEEDED(sq_get(v, -2));
    if (ok) {
        sq_pushroottable(v);
        sq_pushuserpointer(v, job);
        sq_newarray(v, 0);
        for (int i = 0; i < gb::clock_register_count(job->m_clock); ++i) {
            sq_pushinteger(v, job->m_clock_regs[i]);
            sq_arrayappend(v, -2);
        }
        ok = SQ_SUCCEEDED(sq_call(v, 3, SQFalse, SQTrue));
    }
    if (!ok) job->note_failure(QStringLiteral("rtc_write: ") + qr_last_error(v));
    sq_settop(v, top);
    return ok;
}
