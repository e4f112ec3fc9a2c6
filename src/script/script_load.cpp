#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include "script/job_context.h"
#include "script/loop_guard.h"
#include "script/script.h"
#include "script/stage_parts.h"

namespace {

// Lets the translation tools see this file's texts in their context.
struct ScriptText {
    Q_DECLARE_TR_FUNCTIONS(QObject)
};

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

}  // namespace

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
    const QString error = qr_last_error(v);
    job->report_line(ScriptText::tr("dump core script error\n"));
    job->note_failure(job->m_script + QStringLiteral(": ") + error);
    return false;
}
