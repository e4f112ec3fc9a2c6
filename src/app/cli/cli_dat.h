// zelvo3-cli dat: the DAT files of the local database.
#pragma once

#include "app/cli/cli_run.h"

CliResult run_dat(const CliRequest& request, CliOutput& out);
