// zelvo3-cli's commands, options and exit statuses, each listed once: the
// parser, --help (and so the manual page made from it) and the bash
// completion all read these tables.
#pragma once

#include <QString>
#include <QStringList>

#include "app/cli/cli_exit.h"

enum class CliCommand {
    None,
    Info,
    DumpRom,
    ReadSave,
    WriteSave,
    FlashRom,
    Verify,
    CameraPhotos,
    Check,
    Backups,
    Dat
};

struct CliCommandRow {
    const char* name;
    CliCommand command;
    bool takesFile;
    bool runsScript;    // a job on the board: the interpreter is loaded first thing
    bool takesFolder;   // a folder may follow the file
    bool suggestsFile;  // FILE may be left out: the cartridge's suggested name, here
    const char* usage;  // what it does, for --help
    // Arguments of its own, for --help; null: FILE and DIR as the flags above say.
    const char* arguments = nullptr;
};
extern const CliCommandRow kCliCommands[];
extern const size_t kCliCommandCount;

struct CliOptionRow {
    const char* name;
    const char* value;        // the value's placeholder; null for a flag
    const char* usage;        // for --help; %1 stands for the values the option takes
    QStringList (*values)();  // the values for the completion; may be null
    QString (*describe)();    // the values as --help names them; null: the values
};
extern const CliOptionRow kCliOptions[];
extern const size_t kCliOptionCount;

struct CliExitRow {
    CliExit code;
    const char* meaning;
};
extern const CliExitRow kCliExits[];
extern const size_t kCliExitCount;

const CliCommandRow* cli_command_named(const QString& word);
const CliOptionRow* cli_option_named(const QString& name);

QString cli_help();
// A bash completion script for zelvo3-cli.
QString cli_bash_completion();
