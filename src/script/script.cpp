#include "script/script.h"

#include <QString>
#include <cstdarg>
#include <cstdio>

#include "script/job_context.h"

namespace {

constexpr SQInteger kInitialStack = 1024;
constexpr size_t kPrintBuffer = 1024;  // one log entry holds at most 1023 bytes
constexpr SQInteger kHandleIndex = 2;

}  // namespace

void qr_print(HSQUIRRELVM v, const SQChar* format, ...) {
    char text[kPrintBuffer] = {};
    va_list args;
    va_start(args, format);
    vsnprintf(text, kPrintBuffer, format, args);
    va_end(args);
    if (auto* job = static_cast<JobContext*>(sq_getforeignptr(v)))
        job->report_line(QString::fromUtf8(text));
}

void qr_print_null(HSQUIRRELVM, const SQChar*, ...) {}

namespace {

// Reports a script error with the interpreter's call stack, unless the job was
// canceled or the board stopped answering: then the job's own line says what
// happened, and the script is not at fault.
SQInteger report_error(HSQUIRRELVM v) {
    const auto* job = static_cast<const JobContext*>(sq_getforeignptr(v));
    if (job && (job->m_cancel.load(std::memory_order_relaxed) || job->m_board_stopped)) return 0;
    const SQChar* text = nullptr;
    if (sq_gettop(v) < 2 || sq_gettype(v, 2) != OT_STRING || SQ_FAILED(sq_getstring(v, 2, &text)))
        text = "unknown";
    qr_print(v, "\nAN ERROR HAS OCCURED [%s]\n", text);
    sqstd_printcallstack(v);
    return 0;
}

}  // namespace

HSQUIRRELVM qr_open(JobContext* job) {
    HSQUIRRELVM v = sq_open(kInitialStack);
    // Line information in compiled scripts, so that errors name the line they are on.
    sq_enabledebuginfo(v, SQTrue);
    SQPRINTFUNCTION print = qr_print_null;
    if (job) {
        sq_setforeignptr(v, job);
        print = qr_print;
    }
    sq_setprintfunc(v, print, print);
    sq_pushroottable(v);        // stays at the bottom of the stack for the VM's life
    sqstd_seterrorhandlers(v);  // compile errors; runtime errors go to report_error
    sq_newclosure(v, report_error, 0);
    sq_seterrorhandler(v);
    // No io library: a mapper script reads and writes nothing but the
    // cartridge. dofile is the host's own, guarded (script_load.cpp).
    return v;
}

void qr_close(HSQUIRRELVM v) {
    sq_pop(v, 1);
    sq_close(v);
}

void qr_function_register_global(HSQUIRRELVM v, const char* name, SQFUNCTION fn) {
    sq_pushroottable(v);
    sq_pushstring(v, name, -1);
    sq_newclosure(v, fn, 0);
    sq_newslot(v, -3, SQFalse);
    sq_pop(v, 1);
}

bool qr_function_exists(HSQUIRRELVM v, const char* name) {
    const SQInteger top = sq_gettop(v);
    sq_pushroottable(v);
    sq_pushstring(v, name, -1);
    const bool found = SQ_SUCCEEDED(sq_get(v, -2)) && sq_gettype(v, -1) == OT_CLOSURE;
    sq_settop(v, top);
    return found;
}

int64_t qr_call(HSQUIRRELVM v, const char* name, JobContext* job, int count, ...) {
    const SQInteger top = sq_gettop(v);
    sq_pushroottable(v);
    sq_pushstring(v, name, -1);
    if (SQ_FAILED(sq_get(v, -2))) {
        sq_settop(v, top);
        return -1;
    }
    sq_pushroottable(v);
    sq_pushuserpointer(v, job);  // the natives take it back as a JobContext
    va_list args;
    va_start(args, count);
    for (int i = 0; i < count; ++i) sq_pushinteger(v, va_arg(args, int64_t));
    va_end(args);
    const SQRESULT result = sq_call(v, count + 2, SQFalse, SQTrue);
    sq_settop(v, top);
    return result;
}

SQInteger qr_userpointer_get(HSQUIRRELVM v, SQUserPointer* out) {
    if (sq_gettype(v, kHandleIndex) != OT_USERPOINTER ||
        SQ_FAILED(sq_getuserpointer(v, kHandleIndex, out)))
        return sq_throwerror(v, "1st argument must be d (userpointer)");
    return 0;
}

bool qr_long_get(HSQUIRRELVM v, SQInteger index, int64_t* out) {
    if (sq_gettype(v, index) != OT_INTEGER) return false;
    SQInteger value = 0;
    if (SQ_FAILED(sq_getinteger(v, index, &value))) return false;
    *out = value;
    return true;
}

// The error the VM raised last, such as a native's "cpu_read: ..." or a compile error.
QString qr_last_error(HSQUIRRELVM v) {
    const SQInteger top = sq_gettop(v);
    sq_getlasterror(v);
    const SQChar* text = nullptr;
    QString error;
    if (sq_gettype(v, -1) == OT_STRING && SQ_SUCCEEDED(sq_getstring(v, -1, &text)))
        error = QString::fromUtf8(text);
    sq_settop(v, top);
    return error;
}
