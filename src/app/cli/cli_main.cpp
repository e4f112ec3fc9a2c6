// zelvo3-cli: the cartridge jobs from a shell, for scripts and machines without a desktop.
#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "app/cli/cli_run.h"
#include "device/phase_marks.h"
#include "device/platform.h"
#include "script/squirrel_loader.h"

namespace {

// Ctrl-C, a closed terminal and a polite kill all cancel the job, which then
// cleans up after itself; the same signal again ends the program at once.
void on_interrupt(int signal) {
    cli_cancel();
    std::signal(signal, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    phase::mark("main");
    struct WriteMarks {
        ~WriteMarks() {
            phase::mark("exit");
            phase::write_marks();
        }
    } writeMarks;
    // A job runs a script: the interpreter starts loading before anything else,
    // and the program does not end while it loads.
    struct JoinPreload {
        ~JoinPreload() { squirrel_preload_join(); }
    } joinPreload;
    if (argc > 1 && cli_command_runs_script(argv[1])) squirrel_preload();
    platform::keep_file_name_bytes();
    // The arguments are read before Qt starts: --help and its kin need no more.
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    CliRequest request;
    const QString error = parse_cli(args, request);
    if (request.help) {
        std::fputs(cli_help().toLocal8Bit().constData(), stdout);
        return kExitOk;
    }
    if (request.completion) {
        std::fputs(cli_bash_completion().toLocal8Bit().constData(), stdout);
        return kExitOk;
    }
    if (request.version) {
        std::printf("zelvo3-cli %s\n", ZELVO_VERSION);
        return kExitOk;
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "zelvo3-cli: %s\n", error.toLocal8Bit().constData());
        return kExitUsage;
    }
    QCoreApplication app(argc, argv);
    phase::mark("qt");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, on_interrupt);
    // A reader that goes away (a closed pipe) never stops a job: the log is lost, not the
    // cartridge.
    std::signal(SIGPIPE, SIG_IGN);
    CliOutput out(stdout, stderr, platform::is_terminal(fileno(stderr)));
    const CliResult result = run_cli(request, QCoreApplication::applicationDirPath(), out);
    if (!result.warning.isEmpty())
        std::fprintf(stderr, "zelvo3-cli: warning: %s\n", result.warning.toLocal8Bit().constData());
    if (result.code != kExitOk)
        std::fprintf(stderr, "zelvo3-cli: %s\n", result.reason.toLocal8Bit().constData());
    return result.code;
}
