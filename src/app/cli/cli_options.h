// The command line of zelvo3-cli: subcommands and the settings-panel options.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "app/cli/cli_tables.h"
#include "jobs/majority_read.h"

// The most --retries a dump may take.
inline constexpr int kMaxRetries = 1000;

struct CliRequest {
    CliCommand command = CliCommand::None;
    QString file;
    QString folder;  // camera-photos DIR
    bool help = false;
    bool version = false;
    bool completion = false;      // --bash-completion: print the completion script
    std::optional<int> system;    // kSysGb or kSysGba
    std::optional<int> mbcCode;   // controller code of the option tables
    std::optional<int> romSize;   // bytes
    std::optional<int> ramSize;   // bytes
    std::optional<int> saveType;  // GBA save type code
    bool verify = false;
    bool force = false;               // replace an existing output file
    bool noBackup = false;            // write-save without keeping the cartridge's save first
    QString board;                    // the board's volume name; empty: the first one found
    bool keepBest = false;            // keep an undecided dump's best guess, marked
    bool planOnly = false;            // --plan: print the job's plan and stop before it
    int retries = kDefaultHealReads;  // reads of differing chunks before they are given up
    std::optional<int> restore;       // backups --restore N
    QString datAction;                // dat: import, list or remove
    QStringList datArguments;         // dat import's files, dat remove's name
};

// Fills request from the arguments after the program name; an empty string,
// or the reason the command line cannot be used.
QString parse_cli(const QStringList& args, CliRequest& request);

// Bytes named by "512", "32K", "8MiB", "256Kbit", "64 Mb" (b for bits, B or no unit for bytes);
// -1 when the text is not a size.
int parse_size(const QString& text);

// A byte count as the options accept it back: 512, 8K, 1M.
QString size_text(int bytes);

// Whether the command named by word runs a mapper script (a job on the board).
bool cli_command_runs_script(const char* word);
