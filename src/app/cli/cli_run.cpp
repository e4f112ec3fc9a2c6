#include "app/cli/cli_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <atomic>
#include <optional>

#include "app/cli/cli_dat.h"
#include "cart/bus.h"
#include "cart/checksums.h"
#include "cart/known_dumps.h"
#include "device/phase_marks.h"
#include "device/platform.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/backup_history.h"
#include "jobs/board_text.h"
#include "jobs/camera_photos.h"
#include "jobs/choice_model.h"
#include "jobs/dump_verdict.h"
#include "jobs/famicom_thread.h"
#include "jobs/file_names.h"
#include "jobs/file_verdict.h"
#include "jobs/info_report.h"
#include "jobs/job_launch.h"
#include "jobs/option_tables.h"
#include "jobs/save_backup.h"
#include "jobs/save_file.h"
#include "jobs/save_search.h"

namespace {

std::atomic<std::atomic<int>*> g_jobCancel{nullptr};
std::atomic<bool> g_canceled{false};

// The job flag the signal handler sets while a job runs.
class CancelScope {
public:
    explicit CancelScope(FamicomThread& job) { g_jobCancel.store(&job.m_cancel); }
    ~CancelScope() { g_jobCancel.store(nullptr); }
};

JobButton button_for(CliCommand command) {
    switch (command) {
        case CliCommand::FlashRom:
            return JobButton::WriteFlash;
        case CliCommand::ReadSave:
            return JobButton::ReadRam;
        case CliCommand::WriteSave:
            return JobButton::WriteRam;
        default:
            return JobButton::ReadRom;
    }
}

template <typename Row, size_t N>
QString sizes_text(const Row (&table)[N], size_t first = 0, size_t count = N) {
    QStringList sizes;
    for (size_t i = first; i < first + count && i < N; ++i) sizes += size_text(table[i].value);
    return sizes.join(' ');
}

template <typename Row, size_t N>
const char* label_of(const Row (&table)[N], int value) {
    const Row* row = option_by_value(table, value);
    return row ? row->label : "?";
}

bool is_save_command(CliCommand command) {
    return command == CliCommand::ReadSave || command == CliCommand::WriteSave;
}

// What the job will use, in the panel's words. A GBA save job uses no ROM
// size (and none was looked for), so it names none.
QString settings_line(const LaunchChoices& c, bool saveJob) {
    QString line = QStringLiteral("Settings: ");
    if (c.sysType == kSysGba) {
        line += "GBA, ";
        if (!saveJob) line += QString("ROM %1, ").arg(label_of(gba_rom_table, c.gbaRomSize));
        line += QString("save %1 %2")
                    .arg(label_of(gba_ram_type_table, c.gbaRamType),
                         label_of(gba_save_table, c.gbaRamSize));
    } else {
        line += QString("GB/GBC, %1, ROM %2, RAM %3")
                    .arg(mbc_table[c.mbcPosition].label, label_of(gb_rom_table, c.gbRomSize),
                         label_of(gb_ram_table, c.gbRamSize));
    }
    return line + (c.verify ? ", verify" : "");
}

// A path the file system cannot take, named before anything else is tried.
QString path_problem(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (size_t(bytes.size()) >= platform::max_path_length())
        return QString("the path is %1 bytes long, more than the %2 the system takes")
            .arg(bytes.size())
            .arg(platform::max_path_length() - 1);
    for (const QByteArray& name : bytes.split('/'))
        if (size_t(name.size()) > platform::max_name_length())
            return QString("a name in the path is %1 bytes long, more than the %2 the system takes")
                .arg(name.size())
                .arg(platform::max_name_length());
    return QString();
}

// Refuses a file the job could not use before the board is touched.
CliResult check_file(JobButton button, const QString& path, bool force, CliOutput& out) {
    const QFileInfo info(path);
    const uint32_t type = job_type_for(button, kSysGb);
    if (const QString problem = path_problem(path); !problem.isEmpty())
        return {kExitFile, path + ": " + problem};
    if (job_reads_input(type)) {
        if (!info.exists()) return {kExitFile, path + ": no such file"};
        if (!info.isFile()) return {kExitFile, path + ": not a regular file"};
        if (!info.isReadable()) return {kExitFile, path + ": cannot be read"};
        const LaunchLog log{[&out](const QString& text) { out.line(text); }, [] {}};
        if (!check_input_file(path, log)) return {kExitFile, path + ": " + out.lastLine()};
        return {};
    }
    if (info.isDir()) return {kExitFile, path + ": is a folder"};
    // A pipe, a device or a link is never replaced, --force or not.
    if ((info.exists() || info.isSymLink()) && (!info.isFile() || info.isSymLink()))
        return {kExitFile, path + ": not a regular file; only a regular file is ever replaced"};
    if (info.exists() && !force)
        return {kExitFile, path + ": already exists; add --force to replace it"};
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) return {kExitFile, folder.filePath() + ": no such folder"};
    if (!folder.isWritable()) return {kExitFile, folder.filePath() + ": cannot write there"};
    return {};
}

// Sets what the command line names over what the report detected.
CliResult apply_options(const CliRequest& r, ChoiceModel& model) {
    if (r.system && *r.system != model.choices().sysType) model.setSysType(*r.system);
    const bool gba = model.choices().sysType == kSysGba;
    if (gba && r.mbcCode)
        return {kExitUsage, "--mbc names a GB/GBC controller, but this is a GBA cartridge"};
    if (!gba && r.saveType)
        return {kExitUsage, "--save-type names a GBA save kind, but this is a GB/GBC cartridge"};
    constexpr ChoiceSource kChosen = ChoiceSource::Chosen;
    if (r.mbcCode) model.setItem1(*r.mbcCode, kChosen);
    if (r.romSize &&
        !(gba ? model.setItem1(*r.romSize, kChosen) : model.setItem2(*r.romSize, kChosen)))
        return {kExitUsage, QString("--rom-size %1 is not offered; use one of: %2")
                                .arg(size_text(*r.romSize),
                                     gba ? sizes_text(gba_rom_table) : sizes_text(gb_rom_table))};
    // Naming the save type already chosen keeps the detected size.
    if (r.saveType && *r.saveType != model.choices().gbaRamType)
        model.setItem2(*r.saveType, kChosen);
    if (r.ramSize && !model.setItem3(*r.ramSize, kChosen)) {
        const QString offered =
            gba ? sizes_text(gba_save_table, size_t(save_base_for(model.choices().gbaRamType)),
                             size_t(kSaveChoices))
                : sizes_text(gb_ram_table);
        return {kExitUsage, QString("--ram-size %1 is not offered; use one of: %2")
                                .arg(size_text(*r.ramSize), offered)};
    }
    model.setVerify(r.verify);
    model.setKeepBest(r.keepBest);
    return {};
}

// A job needs the size it transfers, detected or named.
CliResult check_sizes(CliCommand command, const ChoiceModel& model) {
    if (command == CliCommand::FlashRom && model.choices().sysType == kSysGba)
        return {kExitUsage, "flash-rom programs GB/GBC flash cartridges; this is a GBA cartridge"};
    // A blank flash chip has no header to name its controller.
    if (command != CliCommand::FlashRom && model.choices().sysType == kSysGb &&
        model.source(kItem1) == ChoiceSource::Default)
        return {kExitFailed,
                "the cartridge's header names no controller this program knows; name it with "
                "--mbc"};
    if (command == CliCommand::DumpRom && !model.romSizeSet())
        return {kExitFailed, "the ROM size was not detected; name it with --rom-size"};
    const bool saveJob = is_save_command(command);
    const MbcRow* row = mbc_row_at(model.choices().mbcPosition);
    const bool fixedSave = model.choices().sysType == kSysGb && row && row->fixedSave;
    if (saveJob && !model.saveSizeSet() && !fixedSave)
        return {kExitFailed,
                "the cartridge's header names no save memory; name its size with --ram-size"};
    return {};
}

// A GBA cartridge the database does not know names its save library in its ROM.
CliResult find_save_kind(const CliRequest& r, ChoiceModel& model, CliOutput& out) {
    const uint32_t romSize =
        model.romSizeSet() ? uint32_t(model.choices().gbaRomSize) : gb::kGbaRomSpan;
    out.line(QString("Looking for the save library in the ROM's %1...").arg(bytes_text(romSize)));
    out.begin();
    const SaveKindFound found = search_save_kind(romSize, [&out](uint32_t done, uint32_t total) {
        out.progress(done, total);
        return !g_canceled.load();
    });
    if (g_canceled.load()) return {kExitFailed, "canceled"};
    const QString line = save_search_line(found, "name it with --save-type and --ram-size");
    out.line(line);
    if (apply_save_kind(model, found, r.ramSize ? uint32_t(*r.ramSize) : 0)) return {};
    if (found.type == gb::kSaveTypeEep && !r.ramSize)
        return {kExitFailed,
                "an EEPROM's size cannot be told from the ROM; name it with "
                "--ram-size 512 or --ram-size 8K"};
    return {kExitFailed, line};
}

ReportLog report_log(CliOutput& out) {
    return {[&out](const QString& text) { out.line(text); }, [&out] { out.separator(); }};
}

CliResult run_job(const CliRequest& r, const QString& file, const platform::FileIdentity& agreed,
                  const ChoiceModel& model, const QString& appDir, CliOutput& out) {
    const JobButton button = button_for(r.command);
    FamicomThread job;
    const LaunchLog log{[&out](const QString& text) { out.line(text); },
                        [&out] { out.separator(); }};
    // The header was just read in the job's mode: the launch need not enter it
    // again (the job thread still does, as every job starts).
    const LaunchFault fault = prepare_job(button, model.choices(), file, appDir, job, log, false);
    if (fault != LaunchFault::None) {
        const int code = fault == LaunchFault::Board  ? kExitBoard
                         : fault == LaunchFault::File ? kExitFile
                                                      : kExitFailed;
        return {code, out.lastLine().isEmpty() ? "the job could not start" : out.lastLine()};
    }
    if (g_canceled.load()) return {kExitFailed, "canceled"};
    job.m_backup = !r.noBackup;
    job.m_retries = r.retries;
    bool blankRefused = false;
    job.m_confirm_blank = [&r, &blankRefused](const QString&) {
        blankRefused = !r.force;
        return r.force;
    };
    // Without --force the output did not exist: one that appears is kept. With
    // it, only the file that was there when the command began is replaced.
    job.m_replace = r.force;
    job.m_agreed = agreed;
    job.m_name_by_release = r.file.isEmpty();

    QObject::connect(&job, &FamicomThread::log, [&out](const QString& text) { out.line(text); });
    QObject::connect(&job, &FamicomThread::set_progress,
                     [&out](int done, int total) { out.progress(done, total); });
    out.line(job_start_line(job_dialog(button), file));
    bool ok = false;
    {
        CancelScope scope(job);
        if (g_canceled.load()) job.canceled();
        phase::mark("launch");
        out.begin();
        ok = job.execute();
    }
    out.line(job_outcome_line(ok));
    out.separator();
    if (!ok) {
        if (g_canceled.load()) return {kExitFailed, "canceled"};
        const QString why = job.m_failure.isEmpty() ? out.lastLine() : job.m_failure;
        return {job.m_file_fault ? kExitFile : kExitFailed,
                blankRefused ? why + " --force writes it anyway." : why};
    }
    if (job.m_blank_save) return {kExitOk, QString(), blank_save_text()};
    if (job.m_verdict == DumpVerdict::Healed)
        return {kExitOk, QString(), healed_warning(job.healed_bytes())};
    if (verdict_contradicts(job.m_verdict))
        return {kExitSuspect,
                "the dump is probably bad (see the verdict above); it was kept in " + file};
    return {};
}

// info and check: what the report found.
CliResult report_result(bool detected, bool stable) {
    if (!detected) return {kExitFailed, "no cartridge was recognised (see the lines above)"};
    if (!stable)
        return {kExitFailed,
                "the header read differently from read to read: clean the cartridge's contacts"};
    return {};
}

// Judges a ROM file as a dump is judged, without a board.
CliResult verify_file(const QString& path, CliOutput& out) {
    const FileVerdict judged = judge_file(path);
    if (!judged.judged) return {kExitFile, judged.failure};
    for (const QString& line : judged.lines) out.line(line);
    if (verdict_contradicts(judged.verdict))
        return {kExitSuspect, path + " is probably a bad dump (see the verdict above)"};
    return {};
}

// The photos of a camera save, into the folder named or one beside the save.
CliResult camera_photos(const CliRequest& request, CliOutput& out) {
    const QFileInfo save(request.file);
    const QString folder = request.folder.isEmpty()
                               ? save.absoluteDir().filePath(save.completeBaseName() + "-photos")
                               : request.folder;
    const CameraExport exported = export_camera_photos(save.absoluteFilePath(), folder);
    for (const QString& line : exported.lines) out.line(line);
    if (!exported.ok) return {kExitFile, exported.failure};
    return {};
}

}  // namespace

void cli_cancel() {
    g_canceled.store(true);
    if (std::atomic<int>* flag = g_jobCancel.load()) flag->store(1);
}

namespace {

// backups: the list, or with --restore the request turned into a write-save
// of the backup chosen (*restore set).
CliResult backups(CliRequest& request, CliOutput& out, std::optional<BackupRecord>* restore) {
    const BackupHistory kept = backup_history(default_backup_folder());
    for (const QString& problem : kept.problems) out.line("warning: " + problem);
    const std::vector<BackupRecord>& history = kept.records;
    if (!request.restore) {
        if (history.empty()) out.line(QString("No backups in %1.").arg(default_backup_folder()));
        for (size_t i = 0; i < history.size(); ++i)
            out.line(QString("%1  %2").arg(i + 1, 3).arg(backup_text(history[i])));
        return {};
    }
    if (size_t(*request.restore) > history.size())
        return {kExitUsage, QString("there is no backup %1: zelvo3-cli backups lists %2")
                                .arg(*request.restore)
                                .arg(history.size())};
    const BackupRecord& chosen = history[size_t(*request.restore - 1)];
    if (const QString refused = restore_refusal(chosen); !refused.isEmpty())
        return {kExitFile, refused + " Nothing was written."};
    out.line(QString("Restoring backup %1: %2").arg(*request.restore).arg(backup_text(chosen)));
    request.command = CliCommand::WriteSave;
    request.file = chosen.path;
    *restore = chosen;
    return {};
}

}  // namespace

namespace {

// A relative FILE, or none, is taken in the current folder: which must still
// exist (a deleted one would put the file at the root).
CliResult current_folder_problem(const QString& file) {
    if (!file.isEmpty() && QFileInfo(file).isAbsolute()) return {};
    if (platform::current_folder_exists()) return {};
    return {kExitFile,
            "the current folder no longer exists; change to another folder or name FILE with "
            "its full path"};
}

// A backup goes back only into the cartridge it was taken from, unless --force;
// other names both when it is another.
CliResult check_restore(const QString& other, bool force, CliOutput& out) {
    if (other.isEmpty()) return {};
    if (!force) return {kExitFile, other + " Nothing was written; --force restores it anyway."};
    out.line(other + " It is restored, as --force asks.");
    return {};
}

}  // namespace

CliResult run_cli(const CliRequest& asked, const QString& appDir, CliOutput& out) {
    CliRequest request = asked;
    std::optional<BackupRecord> restoring;
    if (request.command == CliCommand::Backups) {
        const CliResult listed = backups(request, out, &restoring);
        if (listed.code || !restoring) return listed;
    }
    if (request.command == CliCommand::Dat) return run_dat(request, out);
    if (request.command == CliCommand::Verify)
        return verify_file(QFileInfo(request.file).absoluteFilePath(), out);
    if (request.command == CliCommand::CameraPhotos) return camera_photos(request, out);
    const bool job = request.command != CliCommand::Info && request.command != CliCommand::Check;
    if (job) {
        const CliResult gone = current_folder_problem(request.file);
        if (gone.code) return gone;
    }
    // Without FILE, the name comes from the cartridge once its header is read.
    const bool suggested = job && request.file.isEmpty();
    QString file = job && !suggested ? QFileInfo(request.file).absoluteFilePath() : QString();
    platform::FileIdentity agreed;
    if (job && !suggested) {
        agreed = platform::file_identity(QFile::encodeName(file).toStdString());
        const CliResult refused = check_file(button_for(request.command), file, request.force, out);
        if (refused.code) return refused;
    }
    // One board, held from here to the end: no other program's commands come
    // between the header read and the job, and no other board takes over.
    const usb::BoardClaim claim(QFile::encodeName(request.board).toStdString());
    if (!claim.held()) return {kExitBoard, claim_problem(claim)};
    phase::mark("claim");
    const QString choice =
        claim_choice_note(claim, request.board.isEmpty() ? QStringLiteral("--board") : QString());
    if (!choice.isEmpty()) out.line(choice);

    ChoiceModel model;
    bool detected = false;
    ReportPanel panel = model.panel();
    panel.setSysType = [&model, &detected](int system) {
        detected = true;
        model.setSysType(system);
    };
    // Only a dump needs the ROM's size (and a save search its bounds), and a
    // system named need not be looked for.
    const bool saveSearch = is_save_command(request.command) && !request.saveType;
    panel.probeRomSize = (request.command == CliCommand::DumpRom && !request.romSize) || saveSearch;
    if (request.system) panel.onlySystem = *request.system;
    panel.beyondHeader = request.command == CliCommand::Info;
    panel.contactCheck = !job;
    bool stable = true;
    panel.contactsStable = [&stable](bool s) { stable = s; };
    QString name, otherCartridge;
    panel.detected = [&](const Detection& d) {
        note_detected_size(model, d);
        name = suggested_file_name(d, is_save_command(request.command));
        if (restoring) otherCartridge = restore_mismatch(*restoring, d);
    };
    panel.scriptFolder = mapper_folder(appDir);
    const ReportOutcome outcome = run_info_report(report_log(out), panel);
    phase::mark("detection");
    if (outcome == ReportOutcome::NoBoard || outcome == ReportOutcome::BoardFailed) {
        if (const char* held = usb::busy_file())
            return {kExitBoard,
                    QString("the board is in use by another program: it holds %1").arg(held)};
        return {kExitBoard, QString("the board did not answer while the cartridge's header was "
                                    "read (%1)")
                                .arg(out.lastLine())};
    }
    if (!job) return report_result(detected, stable);
    if (!detected && !request.system)
        return {kExitFailed,
                "the cartridge was not recognised; name it with --system and its sizes"};
    if (restoring) {
        const CliResult other = check_restore(otherCartridge, request.force, out);
        if (other.code) return other;
    }
    if (suggested) {
        if (name.isEmpty())
            return {kExitUsage,
                    "the cartridge was not recognised, so no FILE can be suggested: "
                    "name one"};
        file = QDir::current().absoluteFilePath(name);
        agreed = platform::file_identity(QFile::encodeName(file).toStdString());
        const CliResult refused = check_file(button_for(request.command), file, request.force, out);
        if (refused.code) return refused;
    }

    if (outcome == ReportOutcome::GbaUnknown && saveSearch &&
        (!request.system || *request.system == kSysGba)) {
        const CliResult searched = find_save_kind(request, model, out);
        if (searched.code) return searched;
    }
    CliResult refused = apply_options(request, model);
    if (!refused.code) refused = check_sizes(request.command, model);
    if (refused.code) return refused;
    out.line(settings_line(model.choices(), is_save_command(request.command)));
    return run_job(request, file, agreed, model, appDir, out);
}
