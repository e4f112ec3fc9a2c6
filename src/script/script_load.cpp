#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include "script/job_context.h"
#include "script/loop_guard.h"
#include "script/script.h"
#include "script/stage_parts.h"

namespace {

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

// The source text of the script file at path, guarded; empty with *why set
// when the file cannot be read or holds no script text (a NUL byte, or
// compiled code, which would run unguarded).
QByteArray guarded_source(const QString& path, const QByteArray& tick, QString* why) {
    QFile file(path);
    QByteArray source;
    if (file.open(QIODevice::ReadOnly)) source = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *why = ScriptText::tr("%1 cannot be read: %2").arg(path, file.errorString());
        return QByteArray();
    }
    const QByteArray utf8Mark("\xEF\xBB\xBF");
    if (source.startsWith(utf8Mark)) source.remove(0, utf8Mark.size());
    if (source.isEmpty()) {
        *why = ScriptText::tr("%1 is empty.").arg(path);
        return QByteArray();
    }
    if (source.indexOf('\0') >= 0) {
        *why = ScriptText::tr(
                   "%1 is not a script's text: it holds a NUL byte or compiled code, "
                   "which is not run.")
                   .arg(path);
        return QByteArray();
    }
    return guard_loops(source, tick);
}

// dofile(path[, raiseerror]) for scripts: the file is guarded as the script
// itself is and runs with the caller's this; its value is returned. The
// tick's name is the closure's free variable, last on the stack.
SQInteger guarded_dofile(HSQUIRRELVM v) {
    const SQInteger top = sq_gettop(v);
    const SQChar* tick = nullptr;
    const SQChar* path = nullptr;
    if (top < 3 || SQ_FAILED(sq_getstring(v, top, &tick)) || SQ_FAILED(sq_getstring(v, 2, &path)))
        return sq_throwerror(v, "dofile takes the file's name");
    QString why;
    const QByteArray source = guarded_source(QString::fromLocal8Bit(path), tick, &why);
    if (source.isEmpty()) return sq_throwerror(v, why.toLocal8Bit().constData());
    if (SQ_FAILED(sq_compilebuffer(v, source.constData(), source.size(), path, SQTrue)))
        return SQ_ERROR;
    sq_push(v, 1);
    if (SQ_FAILED(sq_call(v, 1, SQTrue, SQTrue))) return SQ_ERROR;
    return 1;
}

}  // namespace

// Its loops, functions and lambdas are guarded first, and so is every file it
// loads with dofile, so that Cancel can stop any of them. No file is run
// unguarded: one that holds no script text is refused.
bool load_script(HSQUIRRELVM v, JobContext* job) {
    const QByteArray tickName = tick_name();
    qr_function_register_global(v, tickName.constData(), tick);
    sq_pushroottable(v);
    sq_pushstring(v, "dofile", -1);
    sq_pushstring(v, tickName.constData(), tickName.size());
    sq_newclosure(v, guarded_dofile, 1);
    sq_newslot(v, -3, SQFalse);
    sq_pop(v, 1);
    QString why;
    const QByteArray source = guarded_source(job->m_script, tickName, &why);
    if (!source.isEmpty() && run_source(v, source, job->m_script.toLocal8Bit().constData()))
        return true;
    if (why.isEmpty()) why = qr_last_error(v);
    job->report_line(ScriptText::tr("dump core script error\n"));
    job->note_failure(source.isEmpty() ? why : job->m_script + QStringLiteral(": ") + why);
    return false;
}
