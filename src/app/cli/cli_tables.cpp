#include "app/cli/cli_tables.h"

#include <QStringList>

#include "app/cli/cli_options.h"
#include "device/protocol.h"
#include "jobs/option_tables.h"

namespace {

template <typename Row, size_t N>
QStringList sizes(const Row (&table)[N]) {
    QStringList out;
    for (const Row& row : table) out += size_text(row.value);
    return out;
}

QStringList systems() {
    return {"gb", "gba"};
}

QStringList controllers() {
    QStringList out;
    for (const MbcRow& row : mbc_table) out += QString::fromLatin1(row.cliName);
    return out;
}

QStringList rom_sizes() {
    QStringList out = sizes(gb_rom_table);
    for (const QString& s : sizes(gba_rom_table))
        if (!out.contains(s)) out += s;
    return out;
}

QStringList ram_sizes() {
    QStringList out = sizes(gb_ram_table);
    for (const QString& s : sizes(gba_save_table))
        if (!out.contains(s)) out += s;
    return out;
}

QStringList save_types() {
    QStringList out;
    for (const OptionRow& row : gba_ram_type_table) out += QString::fromLatin1(row.label).toLower();
    return out;
}

// The save sizes of GB/GBC, and those each GBA save type offers, as the panel offers them.
QString save_sizes() {
    QStringList kinds;
    for (const OptionRow& type : gba_ram_type_table) {
        const int base = save_base_for(type.value);
        QStringList offered;
        for (int i = 0; i < kSaveChoices; ++i) offered += size_text(gba_save_table[base + i].value);
        kinds += offered.join(" or ") + " for " + QString::fromLatin1(type.label).toLower();
    }
    return "GB/GBC " + sizes(gb_ram_table).join(' ') + "; GBA " + kinds.join(", ");
}

QString heal_margin() {
    return QString::number(kHealMargin);
}
QString heal_reads() {
    return QString::number(kDefaultHealReads);
}

QString words(QStringList (*values)()) {
    return values ? values().join(' ') : QString();
}

}  // namespace

const CliCommandRow kCliCommands[] = {
    {"info", CliCommand::Info, false, false, false, false,
     "show the board and the cartridge's header information"},
    {"check", CliCommand::Check, false, false, false, false,
     "read the cartridge's header 8 times and say whether the contacts are stable (clean them "
     "before a long dump when they are not)"},
    {"dump-rom", CliCommand::DumpRom, true, true, false, true,
     "dump the cartridge's ROM into FILE (by default the name the database or the header gives, "
     "in the current folder)"},
    {"read-save", CliCommand::ReadSave, true, true, false, true,
     "back up the battery save into FILE (by default named after the cartridge, in the current "
     "folder)"},
    {"write-save", CliCommand::WriteSave, true, true, false, false,
     "write the save file FILE into the cartridge"},
    {"flash-rom", CliCommand::FlashRom, true, true, false, false,
     "program the ROM image FILE into a rewritable GB/GBC flash cartridge (its size is the "
     "file's size)"},
    {"verify", CliCommand::Verify, true, false, false, false,
     "judge the ROM file FILE as a dump is judged: checksums and the database of known dumps "
     "(no board needed)"},
    {"backups", CliCommand::Backups, false, false, false, false,
     "list the saves write-save backed up, newest first, numbered; with --restore N write "
     "backup N back into the cartridge as write-save does"},
    {"camera-photos", CliCommand::CameraPhotos, true, false, true, false,
     "write each photo of the Pocket Camera save FILE as a PNG into DIR (by default a folder "
     "beside FILE named after it with \"-photos\"), in album order, and name the empty and "
     "deleted slots (no board needed)"},
    {"dat", CliCommand::Dat, false, false, false, false,
     "import DAT files (Logiqx XML, plain or in a .zip) into the local database, list the "
     "imported ones, or remove one by its name; dumps and verify then name the releases they "
     "match (no board needed)",
     "import FILE...|list|remove NAME"},
};
const size_t kCliCommandCount = std::size(kCliCommands);

const CliOptionRow kCliOptions[] = {
    {"--system", "gb|gba",
     "the system; a different one than detected starts from the panel's first choices (MBC5, "
     "smallest sizes, SRAM)",
     systems, nullptr},
    {"--mbc", "NAME", "GB/GBC controller: %1", controllers, nullptr},
    {"--rom-size", "SIZE", "GB/GBC or GBA ROM size: %1", rom_sizes, nullptr},
    {"--ram-size", "SIZE", "save size: %1", ram_sizes, save_sizes},
    {"--save-type", "TYPE", "GBA save kind: %1", save_types, nullptr},
    {"--board", "NAME", "use the board whose volume is named NAME, when more than one is found",
     nullptr, nullptr},
    {"--verify", nullptr,
     "read the cartridge back after writing and compare; a dump or a save is read twice, and "
     "where the reads differ read again until each byte that differed has a value that leads "
     "every other by %1 reads",
     nullptr, heal_margin},
    {"--restore", "N", "backups: write backup number N (as listed) back into the cartridge",
     nullptr, nullptr},
    {"--retries", "N",
     "when two reads differ, read the chunks that differ up to N more times (default %1) until "
     "each byte that differed has a value that leads every other by the margin --verify names",
     nullptr, heal_reads},
    {"--keep-best", nullptr,
     "dump-rom: when the reads leave bytes undecided, keep the best guess as \"FILE "
     "(unstable)\" (the command still fails)",
     nullptr, nullptr},
    {"--plan", nullptr,
     "dump-rom, flash-rom, read-save, write-save: read the header, print each value the job "
     "would use with where it came from, and stop before anything is read or written",
     nullptr, nullptr},
    {"--force", nullptr, "replace an existing output file (dump-rom, read-save)", nullptr, nullptr},
    {"--no-backup", nullptr,
     "write-save without first keeping the cartridge's save in the backup folder", nullptr,
     nullptr},
    {"--help", nullptr, "this text (also -h)", nullptr, nullptr},
    {"--version", nullptr, "the program's version", nullptr, nullptr},
};
const size_t kCliOptionCount = std::size(kCliOptions);

const CliExitRow kCliExits[] = {
    {kExitOk, "success"},
    {kExitFailed,
     "the operation failed (cartridge not detected, transfer error, verification failed, "
     "canceled)"},
    {kExitUsage, "the command line cannot be used"},
    {kExitBoard,
     "no board was found, another program is using it, or it stopped answering while the "
     "header was read"},
    {kExitFile,
     "a file cannot be used (missing, empty, too large for the cartridge, not the save's size, "
     "a path too long, a full disk, or it would be replaced)"},
    {kExitSuspect,
     "the dump, or the file verify judged, is probably bad: it contradicts the database or its "
     "checksums (the file is kept)"},
};
const size_t kCliExitCount = std::size(kCliExits);

const CliCommandRow* cli_command_named(const QString& word) {
    for (const CliCommandRow& c : kCliCommands)
        if (word == QLatin1String(c.name)) return &c;
    return nullptr;
}

const CliOptionRow* cli_option_named(const QString& name) {
    for (const CliOptionRow& o : kCliOptions)
        if (name == QLatin1String(o.name)) return &o;
    return nullptr;
}

namespace {

// Text wrapped to width, every line after the first indented by indent.
QString wrapped(const QString& text, int indent, int width = 79) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && indent + line.size() + 1 + word.size() > width) {
            lines += line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines += line;
    return lines.join('\n' + QString(indent, ' '));
}

// A list of entries: the term in a column of its own, the text beside it.
QString entry(const QString& term, const QString& text) {
    constexpr int kColumn = 20;
    const QString head = "  " + term;
    if (head.size() >= kColumn)
        return head + '\n' + QString(kColumn, ' ') + wrapped(text, kColumn) + '\n';
    return head.leftJustified(kColumn) + wrapped(text, kColumn) + '\n';
}

}  // namespace

QString cli_help() {
    QString help =
        "Usage: zelvo3-cli COMMAND [FILE] [OPTIONS]\n"
        "\n"
        "Reads and writes Game Boy, Game Boy Color and Game Boy Advance cartridges\n"
        "through the USB dumper board, with the window's scripts and jobs.\n"
        "\n"
        "Commands:\n";
    for (const CliCommandRow& c : kCliCommands)
        help += entry(QString(c.name) +
                          (c.arguments      ? QString(' ') + c.arguments
                           : c.suggestsFile ? " [FILE]"
                           : c.takesFile    ? " FILE"
                                            : "") +
                          (c.takesFolder ? " [DIR]" : ""),
                      c.usage);
    help +=
        "\n"
        "Every command on the board (all but verify, backups without --restore and\n"
        "camera-photos) first reads the cartridge's header, as the window's Info button\n"
        "does, and uses what it detects. The options below override it, as\n"
        "the settings panel does:\n";
    for (const CliOptionRow& o : kCliOptions) {
        const QString term = QString(o.name) + (o.value ? QString(' ') + o.value : QString());
        QString text = QString::fromLatin1(o.usage);
        if (text.contains("%1")) text = text.arg(o.describe ? o.describe() : words(o.values));
        help += entry(term, text);
    }
    help += QString(
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
                "Exit status:\n")
                .arg(QLatin1String(proto::kIdentFile), QLatin1String(kMapperFolder));
    for (const CliExitRow& e : kCliExits) help += entry(QString::number(e.code), e.meaning);
    return help;
}

QString cli_bash_completion() {
    QStringList commands, options, withValue;
    QString cases;
    for (const CliCommandRow& c : kCliCommands) commands += c.name;
    for (const CliOptionRow& o : kCliOptions) {
        options += o.name;
        if (!o.value) continue;
        withValue += o.name;
        if (o.values)
            cases +=
                QString("        %1) COMPREPLY=($(compgen -W \"%2\" -- \"$cur\")); return ;;\n")
                    .arg(QLatin1String(o.name), words(o.values));
        else
            cases += QString("        %1) return ;;\n").arg(QLatin1String(o.name));
    }
    return QString(
               "# bash completion for zelvo3-cli (made by zelvo3-cli --bash-completion)\n"
               "_zelvo3_cli() {\n"
               "    local cur prev\n"
               "    cur=${COMP_WORDS[COMP_CWORD]}\n"
               "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
               "    case \"$prev\" in\n"
               "%1"
               "    esac\n"
               "    if [[ \"$cur\" == -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"%2\" -- \"$cur\"))\n"
               "        return\n"
               "    fi\n"
               "    local i command=\n"
               "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
               "        case \"${COMP_WORDS[i]}\" in\n"
               "            %3) ((i++)) ;;\n"
               "            -*) ;;\n"
               "            *) command=${COMP_WORDS[i]}; break ;;\n"
               "        esac\n"
               "    done\n"
               "    if [ -z \"$command\" ]; then\n"
               "        COMPREPLY=($(compgen -W \"%4\" -- \"$cur\"))\n"
               "    else\n"
               "        compopt -o filenames 2>/dev/null\n"
               "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
               "    fi\n"
               "}\n"
               "complete -F _zelvo3_cli zelvo3-cli\n")
        .arg(cases, options.join(' '), withValue.join(" | "), commands.join(' '));
}
