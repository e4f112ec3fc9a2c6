// One zelvo3-cli command, carried out by the window's report, launch and job code.
#pragma once

#include <QString>
#include <utility>

#include "app/cli/cli_options.h"
#include "app/cli/cli_output.h"

struct CliResult {
    CliResult() = default;
    CliResult(int c, QString r = QString(), QString w = QString())
        : code(c), reason(std::move(r)), warning(std::move(w)) {}
    int code = kExitOk;
    QString reason;   // one line, empty on success
    QString warning;  // one line on standard error that does not fail the command
};

// appDir holds the folder "mapper".
CliResult run_cli(const CliRequest& request, const QString& appDir, CliOutput& out);

// Asks a running job to stop; safe to call from a signal handler.
void cli_cancel();
