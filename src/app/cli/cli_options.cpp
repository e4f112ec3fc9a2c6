#include "app/cli/cli_options.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "cart/bus.h"
#include "jobs/option_tables.h"

namespace {

struct SizeSuffix {
    const char* suffix;
    int64_t bits;  // bits per unit
};
constexpr int64_t kByte = 8, kKilo = 1024, kMega = 1024 * 1024;
constexpr SizeSuffix kUnits[] = {
    {"", kByte},           {"B", kByte},        {"K", kKilo* kByte},  {"KB", kKilo* kByte},
    {"KiB", kKilo* kByte}, {"M", kMega* kByte}, {"MB", kMega* kByte}, {"MiB", kMega* kByte},
    {"Kb", kKilo},         {"Kbit", kKilo},     {"Mb", kMega},        {"Mbit", kMega},
};
constexpr int64_t kLargestSize = 64 * kMega;

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
        if (const MbcRow* row = gb::mbc_by_cli_name(lower.toLatin1().constData()))
            request.mbcCode = row->code;
        if (!request.mbcCode) {
            QStringList names;
            for (const MbcRow& row : mbc_table) names += QString::fromLatin1(row.cliName);
            return QString("unknown controller \"%1\": use %2").arg(value, names.join(", "));
        }
    } else if (name == "--save-type") {
        for (const OptionRow& row : gba_ram_type_table)
            if (lower == QString::fromLatin1(row.label).toLower()) request.saveType = row.value;
        if (lower == "eeprom") request.saveType = gb::kSaveTypeEep;
        if (!request.saveType)
            return QString("unknown save type \"%1\": use sram, flash or eep").arg(value);
    } else if (name == "--retries") {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 0 || n > kMaxRetries)
            return QString("--retries takes a count from 0 to %1, not \"%2\"")
                .arg(kMaxRetries)
                .arg(value);
        request.retries = n;
    } else if (name == "--restore") {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 1)
            return QString("--restore takes a backup's number, not \"%1\"").arg(value);
        request.restore = n;
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

// dat import FILE..., dat list, dat remove NAME.
QString dat_arguments(const QStringList& args, CliRequest& request) {
    const QString action = args.value(0);
    const int wanted = action == "list" ? 0 : action == "remove" ? 1 : -1;
    if (action != "import" && wanted < 0)
        return QString("dat takes import FILE..., list or remove NAME, not \"%1\"").arg(action);
    request.datAction = action;
    request.datArguments = args.mid(1);
    if (action == "import" && request.datArguments.isEmpty()) return "dat import needs a FILE";
    if (wanted >= 0 && request.datArguments.size() != wanted)
        return wanted ? "dat remove needs the NAME of one DAT (dat list shows them)"
                      : "dat list takes no argument";
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
    for (const SizeSuffix& u : kUnits) {
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

namespace {

// The options that take no value, and the request's flag each sets.
struct FlagRow {
    const char* name;
    bool CliRequest::*flag;
};
constexpr FlagRow kFlags[] = {
    {"--help", &CliRequest::help},          {"-h", &CliRequest::help},
    {"--version", &CliRequest::version},    {"--bash-completion", &CliRequest::completion},
    {"--verify", &CliRequest::verify},      {"--force", &CliRequest::force},
    {"--keep-best", &CliRequest::keepBest}, {"--no-backup", &CliRequest::noBackup},
    {"--plan", &CliRequest::planOnly},
};

// Sorts the arguments into flags, options with their values and the words
// left (the command and its files); an empty string, or why they cannot be used.
QString read_arguments(const QStringList& args, CliRequest& request, QStringList& positional) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const FlagRow* flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                           [&arg](const FlagRow& f) { return arg == f.name; });
        if (flag != std::end(kFlags)) {
            request.*(flag->flag) = true;
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
        const CliOptionRow* option = cli_option_named(name);
        if (!option || !option->value) return QString("unknown option %1 (see --help)").arg(name);
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
    return {};
}

// The options that belong to one command or one system only.
QString misplaced_option(const CliRequest& request) {
    if (request.restore && request.command != CliCommand::Backups)
        return "--restore belongs to the backups command";
    if (request.system == kSysGba && request.mbcCode)
        return "--mbc names a GB/GBC controller; GBA cartridges have none";
    if (request.system == kSysGb && request.saveType)
        return "--save-type names a GBA save kind; GB/GBC saves are sized with --ram-size";
    return {};
}

}  // namespace

QString parse_cli(const QStringList& args, CliRequest& request) {
    QStringList positional;
    if (const QString error = read_arguments(args, request, positional); !error.isEmpty())
        return error;
    if (request.help || request.version || request.completion) return {};
    if (positional.isEmpty()) return "no command given (see --help)";
    const CliCommandRow* command = cli_command_named(positional[0]);
    if (!command) return QString("unknown command \"%1\" (see --help)").arg(positional[0]);
    request.command = command->command;
    if (request.command == CliCommand::Dat) return dat_arguments(positional.mid(1), request);
    const int files = command->takesFile ? 1 : 0;
    if (positional.size() - 1 < files && !command->suggestsFile)
        return QString("%1 needs a FILE").arg(command->name);
    const int folders = command->takesFolder ? 1 : 0;
    if (positional.size() - 1 > files + folders)
        return QString("%1: unexpected argument \"%2\"")
            .arg(command->name, positional[1 + files + folders]);
    if (files && positional.size() > 1) request.file = positional[1];
    if (folders && positional.size() > 1 + files) request.folder = positional[1 + files];
    return misplaced_option(request);
}

bool cli_command_runs_script(const char* word) {
    const CliCommandRow* command = cli_command_named(QString::fromLatin1(word));
    return command && command->runsScript;
}
