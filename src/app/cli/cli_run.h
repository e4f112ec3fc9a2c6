// One zelvo3-cli command, carried out by the window's report, launch and job code.
#pragma once

#include <QString>

#include "app/cli/cli_options.h"
#include "app/cli/cli_output.h"

struct CliResult {
    int code = kExitOk;
    QString reason;  // one line, empty on success
};

// appDir holds the folder "mapper".
CliResult run_cli(const CliRequest& request, const QString& appDir, CliOutput& out);

// Asks a running job to stop; safe to call from a signal handler.
void cli_cancel();
