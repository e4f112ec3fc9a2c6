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
#include "jobs/job_plan.h"
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

NamedChoices named_choices(const CliRequest& r) {
    NamedChoices n;
    n.system = r.system;
    n.mbcCode = r.mbcCode;
    n.romSize = r.romSize;
    n.saveType = r.saveType;
    n.ramSize = r.ramSize;
    n.verify = r.verify;
    n.keepBest = r.keepBest;
    return n;
}

// The plan's questions, answered from the options: a restore into another
// cartridge by --force, an EEPROM's size by --ram-size.
uint32_t answer(const PlanQuestion& q, const CliRequest& r, CliOutput& out) {
    if (q.kind == PlanQuestionKind::EepromSize)
        return r.ramSize && std::count(q.offered.begin(), q.offered.end(), uint32_t(*r.ramSize))
                   ? uint32_t(*r.ramSize)
                   : 0;
    // backups --restore N asks for the restore itself.
    if (!q.otherCartridge) return 1;
    if (r.force) out.line(q.text + " It is restored, as --force asks.");
    return r.force ? 1 : 0;
}

std::optional<SaveKindFound> search(uint32_t romSize, CliOutput& out) {
    out.begin();
    SaveKindFound found = search_save_kind(romSize, [&out](uint32_t done, uint32_t total) {
        out.progress(done, total);
        return !g_canceled.load();
    });
    if (g_canceled.load()) return std::nullopt;
    return found;
}

PlanHooks plan_hooks(const CliRequest& r, CliOutput& out) {
    PlanHooks hooks;
    hooks.log = [&out](const QString& text) { out.line(text); };
    hooks.searchSaveKind = [&out](uint32_t romSize) { return search(romSize, out); };
    hooks.ask = [&r, &out](const PlanQuestion& q) { return answer(q, r, out); };
    hooks.chooseSaveHow = "name it with --save-type and --ram-size";
    return hooks;
}

// A value the plan found missing, and the option that names it.
QString missing_text(MissingChoice missing) {
    switch (missing) {
        case MissingChoice::System:
            return "the cartridge was not recognised; name it with --system and its sizes";
        case MissingChoice::Controller:
            return "the cartridge's header names no controller this program knows; name it "
                   "with --mbc";
        case MissingChoice::SaveType:
            return "the cartridge's save type is not known; name it with --save-type and "
                   "--ram-size";
        case MissingChoice::SaveSize:
            return "the cartridge's header names no save memory; name its size with --ram-size";
        case MissingChoice::RomSize:
            return "the ROM size was not detected; name it with --rom-size";
        case MissingChoice::None:
            break;
    }
    return QString();
}

// A named value its list does not offer, with the ones it does.
QString not_offered_text(const JobPlan& plan, const CliRequest& r) {
    const bool gba = plan.choices.sysType == kSysGba;
    if (plan.refusedItem == kItem1 && gba && r.mbcCode)
        return "--mbc names a GB/GBC controller, but this is a GBA cartridge";
    if (plan.refusedItem == kItem2 && !gba && r.saveType)
        return "--save-type names a GBA save kind, but this is a GB/GBC cartridge";
    if (plan.refusedItem == kItem3)
        return QString("--ram-size %1 is not offered; use one of: %2")
            .arg(size_text(*r.ramSize),
                 gba ? sizes_text(gba_save_table, size_t(save_base_for(plan.choices.gbaRamType)),
                                  size_t(kSaveChoices))
                     : sizes_text(gb_ram_table));
    if (r.romSize)
        return QString("--rom-size %1 is not offered; use one of: %2")
            .arg(size_text(*r.romSize), gba ? sizes_text(gba_rom_table) : sizes_text(gb_rom_table));
    return plan.why;
}

// Why the plan starts no job, as the command line says it.
CliResult plan_refusal(const JobPlan& plan, const CliRequest& r) {
    switch (plan.stop) {
        case PlanStop::Missing:
            return {kExitFailed, missing_text(plan.missing)};
        case PlanStop::GbaFlash:
            return {kExitUsage,
                    "flash-rom programs GB/GBC flash cartridges; this is a GBA cartridge"};
        case PlanStop::NotOffered:
            return {kExitUsage, not_offered_text(plan, r)};
        case PlanStop::Declined:
            if (plan.asked.back().kind == PlanQuestionKind::EepromSize)
                return {kExitFailed,
                        "an EEPROM's size cannot be told from the ROM; name it with "
                        "--ram-size 512 or --ram-size 8K"};
            return {kExitFile,
                    plan.asked.back().text + " Nothing was written; --force restores it anyway."};
        case PlanStop::SearchCanceled:
            return {kExitFailed, "canceled"};
        case PlanStop::SearchUndecided:
        case PlanStop::None:
            break;
    }
    return {kExitFailed, plan.why};
}

ReportLog report_log(CliOutput& out) {
    return {[&out](const QString& text) { out.line(text); }, [&out] { out.separator(); }};
}

CliResult run_job(const CliRequest& r, const QString& file, const platform::FileIdentity& agreed,
                  const LaunchChoices& choices, const QString& appDir, CliOutput& out) {
    const JobButton button = button_for(r.command);
    FamicomThread job;
    const LaunchLog log{[&out](const QString& text) { out.line(text); },
                        [&out] { out.separator(); }};
    // The header was just read in the job's mode: the launch need not enter it
    // again (the job thread still does, as every job starts).
    const LaunchFault fault = prepare_job(button, choices, file, appDir, job, log, false);
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

}  // namespace

namespace {

bool is_job(CliCommand command) {
    return command != CliCommand::Info && command != CliCommand::Check;
}

// The output or input file a job names: checked before the board is touched.
struct JobFile {
    QString path;  // empty: the cartridge's suggested name, once its header is read
    platform::FileIdentity agreed;
};

CliResult check_job_file(const CliRequest& r, JobFile& f, CliOutput& out) {
    f.agreed = platform::file_identity(QFile::encodeName(f.path).toStdString());
    return check_file(button_for(r.command), f.path, r.force, out);
}

// What the header read found, with the report printed on the way.
struct CartridgeRead {
    ReportOutcome outcome = ReportOutcome::NoBoard;
    Detection detection;
    ChoiceModel model;
    bool detected = false;
    bool stable = true;
};

void read_cartridge(const CliRequest& r, const QString& appDir, CliOutput& out,
                    CartridgeRead& read) {
    ReportPanel panel = read.model.panel();
    panel.setSysType = [&read](int system) {
        read.detected = true;
        read.model.setSysType(system);
    };
    // Only a dump needs the ROM's size (and a save search its bounds), and a
    // system named need not be looked for.
    const bool saveSearch = is_save_command(r.command) && !r.saveType;
    panel.probeRomSize = (r.command == CliCommand::DumpRom && !r.romSize) || saveSearch;
    if (r.system) panel.onlySystem = *r.system;
    panel.beyondHeader = r.command == CliCommand::Info;
    panel.contactCheck = !is_job(r.command);
    panel.contactsStable = [&read](bool s) { read.stable = s; };
    panel.detected = [&read](const Detection& d) { read.detection = d; };
    panel.scriptFolder = mapper_folder(appDir);
    read.outcome = run_info_report(report_log(out), panel);
    phase::mark("detection");
}

CliResult board_failure(CliOutput& out) {
    if (const char* held = usb::busy_file())
        return {kExitBoard,
                QString("the board is in use by another program: it holds %1").arg(held)};
    return {kExitBoard,
            QString("the board did not answer while the cartridge's header was read (%1)")
                .arg(out.lastLine())};
}

// The job's plan from the header read, and the job when the plan lets it start.
CliResult plan_and_run(const CliRequest& r, const BackupRecord* restoring, JobFile& file,
                       CartridgeRead& read, const QString& appDir, CliOutput& out) {
    const JobRequest request{button_for(r.command), named_choices(r), restoring};
    const JobPlan plan = plan_job(request, read.detection, read.model, plan_hooks(r, out));
    if (r.planOnly) {
        for (const QString& line : plan_lines(plan)) out.line(line);
        return plan.ok() ? CliResult() : plan_refusal(plan, r);
    }
    if (!plan.ok()) return plan_refusal(plan, r);
    if (file.path.isEmpty())
        return {kExitUsage,
                "the cartridge was not recognised, so no FILE can be suggested: name one"};
    out.line(settings_line(plan.choices, is_save_command(r.command)));
    return run_job(r, file.path, file.agreed, plan.choices, appDir, out);
}

// Commands that need no board.
std::optional<CliResult> run_without_board(const CliRequest& request, CliOutput& out) {
    if (request.command == CliCommand::Dat) return run_dat(request, out);
    if (request.command == CliCommand::Verify)
        return verify_file(QFileInfo(request.file).absoluteFilePath(), out);
    if (request.command == CliCommand::CameraPhotos) return camera_photos(request, out);
    return std::nullopt;
}

}  // namespace

CliResult run_cli(const CliRequest& asked, const QString& appDir, CliOutput& out) {
    CliRequest request = asked;
    std::optional<BackupRecord> restoring;
    if (request.command == CliCommand::Backups) {
        const CliResult listed = backups(request, out, &restoring);
        if (listed.code || !restoring) return listed;
    }
    if (const std::optional<CliResult> done = run_without_board(request, out)) return *done;
    const bool job = is_job(request.command);
    JobFile file;
    if (job) {
        if (const CliResult gone = current_folder_problem(request.file); gone.code) return gone;
        // Without FILE, the name comes from the cartridge once its header is read.
        if (!request.file.isEmpty()) {
            file.path = QFileInfo(request.file).absoluteFilePath();
            if (const CliResult refused = check_job_file(request, file, out); refused.code)
                return refused;
        }
    }
    // One board, held from here to the end: no other program's commands come
    // between the header read and the job, and no other board takes over.
    const usb::BoardClaim claim(QFile::encodeName(request.board).toStdString());
    if (!claim.held()) return {kExitBoard, claim_problem(claim)};
    phase::mark("claim");
    const QString choice =
        claim_choice_note(claim, request.board.isEmpty() ? QStringLiteral("--board") : QString());
    if (!choice.isEmpty()) out.line(choice);
    CartridgeRead read;
    read_cartridge(request, appDir, out, read);
    if (read.outcome == ReportOutcome::NoBoard || read.outcome == ReportOutcome::BoardFailed)
        return board_failure(out);
    if (!job) return report_result(read.detected, read.stable);
    if (file.path.isEmpty() && !request.planOnly) {
        // Named before the plan, which may read the whole ROM for its save kind.
        const QString name = suggested_file_name(read.detection, is_save_command(request.command));
        if (!name.isEmpty()) file.path = QDir::current().absoluteFilePath(name);
        if (!name.isEmpty())
            if (const CliResult refused = check_job_file(request, file, out); refused.code)
                return refused;
    }
    return plan_and_run(request, restoring ? &*restoring : nullptr, file, read, appDir, out);
}
