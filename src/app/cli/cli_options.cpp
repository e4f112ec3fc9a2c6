#include "app/cli/cli_options.h"

#include <QRegularExpression>
#include <cstdint>
#include <cstring>

#include "cart/bus.h"
#include "device/protocol.h"
#include "jobs/option_tables.h"

namespace {

struct CommandName {
    const char* name;
    CliCommand command;
    bool takesFile;
};
constexpr CommandName kCommands[] = {
    {"info", CliCommand::Info, false},         {"dump-rom", CliCommand::DumpRom, true},
    {"read-save", CliCommand::ReadSave, true}, {"write-save", CliCommand::WriteSave, true},
    {"flash-rom", CliCommand::FlashRom, true}, {"verify", CliCommand::Verify, true},
};

struct SizeUnit {
    const char* suffix;
    int64_t bits;  // bits per unit
};
constexpr int64_t kByte = 8, kKilo = 1024, kMega = 1024 * 1024;
constexpr SizeUnit kUnits[] = {
    {"", kByte},           {"B", kByte},        {"K", kKilo* kByte},  {"KB", kKilo* kByte},
    {"KiB", kKilo* kByte}, {"M", kMega* kByte}, {"MB", kMega* kByte}, {"MiB", kMega* kByte},
    {"Kb", kKilo},         {"Kbit", kKilo},     {"Mb", kMega},        {"Mbit", kMega},
};
constexpr int64_t kLargestSize = 64 * kMega;

const char* const kValueOptions[] = {"--system",   "--mbc",       "--rom-size",
                                     "--ram-size", "--save-type", "--board"};

QString apply_option(const QString& name, const QString& value, CliRequest& request) {
    const QString lower = value.toLower();
    if (name == "--system") {
        if (lower == "gb" || lower == "gbc") {
            request.system = kSysGb;
        } else if (lower == "gba") {
            request.system = kSysGba;
        } else {
            return QString("unknown system \"%1\": use gb or gba").arg(value);
        }
    } else if (name == "--mbc") {
        for (const MbcRow& row : mbc_table)
            if (lower == QString::fromLatin1(row.label).toLower()) request.mbcCode = row.code;
        if (!request.mbcCode)
            return QString(
                       "unknown controller \"%1\": use none, mbc1, mbc2, mbc3, mbc5, mbc7 "
                       "or tama5")
                .arg(value);
    } else if (name == "--save-type") {
        for (const OptionRow& row : gba_ram_type_table)
            if (lower == QString::fromLatin1(row.label).toLower()) request.saveType = row.value;
        if (lower == "eeprom") request.saveType = gb::kSaveTypeEep;
        if (!request.saveType)
            return QString("unknown save type \"%1\": use sram, flash or eep").arg(value);
    } else if (name == "--board") {
        if (value.isEmpty() || value.contains('/'))
            return QString("--board takes the name of a board's volume, not \"%1\"").arg(value);
        request.board = value;
    } else {
        const int bytes = parse_size(value);
        if (bytes <= 0)
            return QString("%1: \"%2\" is not a size such as 32K or 8M").arg(name, value);
        (name == "--rom-size" ? request.romSize : request.ramSize) = bytes;
    }
    return {};
}

}  // namespace

int parse_size(const QString& text) {
    static const QRegularExpression pattern("^\\s*(\\d+)\\s*([A-Za-z]*)\\s*$");
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return -1;
    bool ok = false;
    const int64_t count = match.captured(1).toLongLong(&ok);
    if (!ok) return -1;
    QString unit = match.captured(2);
    if (unit.startsWith('k')) unit[0] = 'K';  // kB, kbit
    for (const SizeUnit& u : kUnits) {
        if (unit != QLatin1String(u.suffix)) continue;
        // Checked before multiplying: a huge count must not overflow.
        if (count > kLargestSize * kByte) return -1;
        const int64_t bits = count * u.bits;
        if (bits % kByte || bits / kByte > kLargestSize) return -1;
        return int(bits / kByte);
    }
    return -1;
}

QString size_text(int bytes) {
    if (bytes >= kMega && bytes % kMega == 0) return QString("%1M").arg(bytes / kMega);
    if (bytes >= kKilo && bytes % kKilo == 0) return QString("%1K").arg(bytes / kKilo);
    return QString::number(bytes);
}

QString parse_cli(const QStringList& args, CliRequest& request) {
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            request.help = true;
            continue;
        }
        if (arg == "--version") {
            request.version = true;
            continue;
        }
        if (arg == "--verify") {
            request.verify = true;
            continue;
        }
        if (arg == "--force") {
            request.force = true;
            continue;
        }
        if (arg == "--no-backup") {
            request.noBackup = true;
            continue;
        }
        if (arg == "--") {
            positional += args.mid(i + 1);
            break;
        }
        if (!arg.startsWith("--") || arg == "-") {
            if (arg.startsWith('-') && arg != "-") return QString("unknown option %1").arg(arg);
            positional += arg;
            continue;
        }
        const int equals = arg.indexOf('=');
        const QString name = equals < 0 ? arg : arg.left(equals);
        bool known = false;
        for (const char* option : kValueOptions) known = known || name == QLatin1String(option);
        if (!known) return QString("unknown option %1 (see --help)").arg(name);
        QString value;
        if (equals >= 0) {
            value = arg.mid(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return QString("%1 needs a value").arg(name);
        }
        const QString error = apply_option(name, value, request);
        if (!error.isEmpty()) return error;
    }
    if (request.help || request.version) return {};
    if (positional.isEmpty()) return "no command given (see --help)";
    const CommandName* command = nullptr;
    for (const CommandName& c : kCommands)
        if (positional[0] == QLatin1String(c.name)) command = &c;
    if (!command) return QString("unknown command \"%1\" (see --help)").arg(positional[0]);
    request.command = command->command;
    const int files = command->takesFile ? 1 : 0;
    if (positional.size() - 1 < files) return QString("%1 needs a FILE").arg(command->name);
    if (positional.size() - 1 > files)
        return QString("%1: unexpected argument \"%2\"").arg(command->name, positional[1 + files]);
    if (files) request.file = positional[1];
    if (request.system == kSysGba && request.mbcCode)
        return "--mbc names a GB/GBC controller; GBA cartridges have none";
    if (request.system == kSysGb && request.saveType)
        return "--save-type names a GBA save kind; GB/GBC saves are sized with --ram-size";
    return {};
}

bool cli_command_runs_script(const char* word) {
    for (const CommandName& c : kCommands)
        if (std::strcmp(word, c.name) == 0)
            return c.command != CliCommand::Info && c.command != CliCommand::Verify;
    return false;
}

QString cli_help() {
    return QStringLiteral(
               "Usage: zelvo3-cli COMMAND [FILE] [OPTIONS]\n"
               "\n"
               "Reads and writes Game Boy, Game Boy Color and Game Boy Advance cartridges\n"
               "through the USB dumper board, with the window's scripts and jobs.\n"
               "\n"
               "Commands:\n"
               "  info              show the board and the cartridge's header information\n"
               "  dump-rom FILE     dump the cartridge's ROM into FILE\n"
               "  read-save FILE    back up the battery save into FILE\n"
               "  write-save FILE   write the save file FILE into the cartridge\n"
               "  flash-rom FILE    program the ROM image FILE into a rewritable GB/GBC flash\n"
               "                    cartridge (its size is the file's size)\n"
               "\n"
               "Every command first reads the cartridge's header, as the window's Info button\n"
               "does, and uses what it detects. The options below override it, as the settings\n"
               "panel does:\n"
               "  --system gb|gba   the system; a different one than detected starts from the\n"
               "                    panel's first choices (MBC5, smallest sizes, SRAM)\n"
               "  --mbc NAME        GB/GBC controller: none, mbc1, mbc2, mbc3, mbc5, mbc7, tama5\n"
               "  --rom-size SIZE   GB/GBC: 32K 64K 128K 256K 512K 1M 2M 4M 8M\n"
               "                    GBA:    1M 2M 4M 8M 16M 32M 64M\n"
               "  --ram-size SIZE   GB/GBC: 512 8K 32K 64K 128K\n"
               "                    GBA: 512 or 8K for eep, 32K or 64K for sram,\n"
               "                         64K or 128K for flash\n"
               "  --save-type TYPE  GBA save kind: sram, flash, eep\n"
               "  --verify          read the cartridge back after writing and compare; a\n"
               "                    dump reads the cartridge twice and keeps it only when\n"
               "                    both reads agree\n"
               "  --force           replace an existing output file (dump-rom, read-save)\n"
               "  --no-backup       write-save without first keeping the cartridge's save in\n"
               "                    the backup folder\n"
               "  --board NAME      use the board whose volume is named NAME, when more than\n"
               "                    one is found\n"
               "  -h, --help        this text\n"
               "  --version         the program's version\n"
               "SIZE is in bytes with an optional unit: K, KB, KiB, M, MB, MiB; or in bits\n"
               "as the panel shows them: 256Kbit, 8Mb, 64Mbit.\n"
               "\n"
               "Output: the window's log lines on standard output; the progress, with rate\n"
               "and time left, on standard error (a bar on a terminal, lines otherwise).\n"
               "Ctrl-C, SIGTERM and SIGHUP cancel a running job; an output file is only\n"
               "written when the whole job succeeded, an existing file is never cut short,\n"
               "and only a regular file is ever replaced.\n"
               "\n"
               "The board is the first volume holding %1 under /run/media/$USER or\n"
               "/media/$USER, or under the directory ZELVO_VOLUMES names. The mapper scripts\n"
               "are read from the folder \"%2\" beside the program.\n"
               "\n"
               "Exit status:\n"
               "  0  success\n"
               "  1  the operation failed (cartridge not detected, transfer error, verification\n"
               "     failed, canceled)\n"
               "  2  the command line cannot be used\n"
               "  3  no board was found, another program is using it, or it stopped\n"
               "     answering while the header was read\n"
               "  4  a file cannot be used (missing, empty, too large for the cartridge, not\n"
               "     the save's size, a path too long, a full disk, or it would be replaced)\n")
        .arg(QLatin1String(proto::kIdentFile), QLatin1String(kMapperFolder));
}
