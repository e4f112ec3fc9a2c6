#include "jobs/job_launch.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "cart/bus.h"
#include "cart/flash_chips.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/board_text.h"
#include "jobs/option_tables.h"
#include "jobs/save_file.h"
#include "jobs/text_contexts.h"

namespace {

LaunchFault configure(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
                      FamicomThread& job, const LaunchLog& log, bool enterMode);

constexpr JobDialog kJobDialogs[] = {
    {JobButton::ReadRom, true, QT_TRANSLATE_NOOP("MainTab", "Read ROM to..."),
     QT_TRANSLATE_NOOP("MainTab", "GB/GBC Rom (*.gb *.gbc)"),
     QT_TRANSLATE_NOOP("MainTab", "GBA Rom (*.gba)"),
     QT_TRANSLATE_NOOP("MainTab", "Reading data from ROM to file:")},
    {JobButton::WriteFlash, false, QT_TRANSLATE_NOOP("MainTab", "Get ROM File."),
     QT_TRANSLATE_NOOP("MainTab", "GB/GBC ROM (*.gb *.gbc)"),
     QT_TRANSLATE_NOOP("MainTab", "GBA ROM (*.gba)"),
     QT_TRANSLATE_NOOP("MainTab", "Writing rom to cartridge from file:")},
    {JobButton::ReadRam, true, QT_TRANSLATE_NOOP("MainTab", "Read save to..."),
     QT_TRANSLATE_NOOP("MainTab", "GB/GBC save (*.sav)"),
     QT_TRANSLATE_NOOP("MainTab", "GBA save (*.sav)"),
     QT_TRANSLATE_NOOP("MainTab", "Reading data from save to file:")},
    {JobButton::WriteRam, false, QT_TRANSLATE_NOOP("MainTab", "Get Save File."),
     QT_TRANSLATE_NOOP("MainTab", "GB/GBC save (*.sav)"),
     QT_TRANSLATE_NOOP("MainTab", "GBA save (*.sav)"),
     QT_TRANSLATE_NOOP("MainTab", "Writing save to cartridge from file:")},
};

}  // namespace

QString bytes_text(uint64_t bytes) {
    if (bytes >= kMiB && bytes % kMiB == 0) return QStringLiteral("%1 MiB").arg(bytes / kMiB);
    if (bytes >= kKiB && bytes % kKiB == 0) return QStringLiteral("%1 KiB").arg(bytes / kKiB);
    return QStringLiteral("%1 B").arg(bytes);
}

const JobDialog& job_dialog(JobButton button) {
    return kJobDialogs[uint32_t(button)];
}

QString job_start_line(const JobDialog& dialog, const QString& fileName) {
    return MainTabText::tr(dialog.message) + "\n" + fileName;
}

QString job_outcome_line(bool ok) {
    return ok ? MainTabText::tr(">Success!") : MainTabText::tr(">Operation failure.");
}

LaunchFault prepare_job(JobButton button, const LaunchChoices& choices, const QString& fileName,
                        const QString& appDir, FamicomThread& job, const LaunchLog& log,
                        bool enterMode) {
    // A new job: what canceled the last one is forgotten, and nothing later
    // (the sequence included) forgets a cancel meant for this one.
    job.m_cancel.store(0, std::memory_order_relaxed);
    const usb::ClaimScope board;
    if (!board.held()) {
        log_claim_problem(board.claim(), log);
        return LaunchFault::Board;
    }
    const LaunchFault configured = configure(choices, fileName, appDir, job, log, enterMode);
    if (configured != LaunchFault::None) return configured;
    const uint32_t type = job_type_for(button, choices.sysType);
    if (job_reads_input(type) && !check_input_file(fileName, log)) return LaunchFault::File;
    // The same rule as the job's: a save file holds the save, and a clock trailer at most.
    if (type == kJobGbSaveWrite || type == kJobGbaSaveWrite) {
        const QString refusal = save_file_refusal(fileName, QFileInfo(fileName).size(),
                                                  job.m_ram_size, job.m_save_mask != 0xFF);
        if (!refusal.isEmpty()) {
            log.info(refusal);
            return LaunchFault::File;
        }
    }
    if (!check_sizes(type, choices, fileName, log))
        return type == kJobGbFlash ? LaunchFault::File : LaunchFault::Refused;
    job.m_rom_limit = 0;
    if (type == kJobGbFlash) {
        const uint32_t chip = identify_flash(job, log);
        if (chip == kNoFlashChip) return LaunchFault::Refused;
        const MbcRow* row = mbc_row_at(choices.mbcPosition);
        job.m_rom_limit = row ? row->maxRom : 0;
        if (chip && (!job.m_rom_limit || chip < job.m_rom_limit)) job.m_rom_limit = chip;
        const qint64 image = QFileInfo(fileName).size();
        if (chip && image > chip) {
            log.info(MainTabText::tr("The flash chip holds %1; the image of %2 does not fit.")
                         .arg(bytes_text(chip), bytes_text(uint64_t(image))));
            return LaunchFault::File;
        }
    }
    job.m_type = type;
    return LaunchFault::None;
}

QString size_refusal(uint32_t type, const MbcRow* row, uint64_t rom, uint64_t ram) {
    if (job_is_gba(type)) {
        if (type != kJobGbaDump || rom <= gb::kGbaRomSpan) return QString();
        return MainTabText::tr(
                   "The GBA cartridge bus addresses at most %1 of ROM; %2 cannot be dumped.")
            .arg(bytes_text(gb::kGbaRomSpan), bytes_text(rom));
    }
    if (!row) return QString();  // no script either: the launch has refused already
    if (job_sized_by_ram(type) && (row->fixedSave ? ram != row->maxRam : ram > row->maxRam))
        return MainTabText::tr(
                   "%1 addresses at most %2 of save memory; the %3 chosen is more than it holds.")
            .arg(row->label, bytes_text(row->maxRam), bytes_text(ram));
    if (!job_sized_by_ram(type) && rom > row->maxRom)
        return MainTabText::tr(
                   "%1 addresses at most %2 of ROM; the %3 asked for is more than it holds.")
            .arg(row->label, bytes_text(row->maxRom), bytes_text(rom));
    return QString();
}

bool check_sizes(uint32_t type, const LaunchChoices& choices, const QString& fileName,
                 const LaunchLog& log) {
    const MbcRow* row = mbc_row_at(choices.mbcPosition);
    const uint64_t rom = type == kJobGbFlash ? uint64_t(QFileInfo(fileName).size())
                         : job_is_gba(type)  ? uint64_t(uint32_t(choices.gbaRomSize))
                                             : uint64_t(uint32_t(choices.gbRomSize));
    const uint64_t ram = row && row->fixedSave ? row->maxRam : uint32_t(choices.gbRamSize);
    const QString refusal = size_refusal(type, row, rom, ram);
    if (refusal.isEmpty()) return true;
    log.info(refusal);
    return false;
}

void log_claim_problem(const usb::BoardClaim& claim, const LaunchLog& log) {
    if (claim.status() == usb::ClaimStatus::NoBoard)
        log.info(MainTabText::tr("Can not found dump device."));
    log.info(claim_problem(claim));
}

uint32_t job_type_for(JobButton button, int sysType) {
    return uint32_t(button) + (sysType == kSysGba ? uint32_t(kJobGbaOffset) : 0);
}

QString mapper_folder(const QString& appDir) {
    // Paths are never translated: a translation must not move the scripts.
    return appDir + '/' + QLatin1String(kMapperFolder);
}

QString mapper_script_path(const LaunchChoices& choices, const QString& appDir) {
    const QString folder = mapper_folder(appDir) + '/';
    if (choices.sysType == kSysGba) return folder + QLatin1String(kGbaScript);
    const char* script = mbc_script_at(choices.mbcPosition);
    return folder + QString::fromLatin1(script ? script : "");
}

bool configure_par(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
                   FamicomThread& job, const LaunchLog& log, bool enterMode) {
    return configure(choices, fileName, appDir, job, log, enterMode) == LaunchFault::None;
}

namespace {

LaunchFault configure(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
                      FamicomThread& job, const LaunchLog& log, bool enterMode) {
    const QString script = mapper_script_path(choices, appDir);
    usb::open();
    const bool gba = choices.sysType == kSysGba;
    const uint8_t mode = gba ? proto::kOpGbaMode : proto::kOpGbMode;
    const uint32_t init = !enterMode && gb::entered_mode() == mode ? 1
                          : gba                                    ? gb::f_gba_init()
                                                                   : gb::f_gb_init();
    if (!init) {
        log.info(MainTabText::tr("Initialize device error."));
        return LaunchFault::Board;
    }
    if (!QFileInfo::exists(script)) {
        log.info(MainTabText::tr("Not exists script file :"));
        log.info(script);
        return LaunchFault::Refused;
    }
    if (fileName.isEmpty()) return LaunchFault::Canceled;
    job.m_script = script;
    job.m_file = fileName;
    if (choices.sysType == kSysGba) {
        job.m_rom_size = uint32_t(choices.gbaRomSize);
        job.m_ram_size = uint32_t(choices.gbaRamSize);
        job.m_ram_type = uint32_t(choices.gbaRamType);
    } else {
        job.m_rom_size = uint32_t(choices.gbRomSize);
        job.m_ram_size = uint32_t(choices.gbRamSize);
    }
    const MbcRow* row = choices.sysType != kSysGba ? mbc_row_at(choices.mbcPosition) : nullptr;
    job.m_save_mask = row ? row->saveMask : 0xFF;
    if (row && row->fixedSave) job.m_ram_size = row->maxRam;
    job.m_verify = choices.verify;
    job.m_keep_best = choices.keepBest;
    job.m_header_rom_size = choices.detectedRomSize;
    job.m_rom_size_probed = choices.romSizeProbed;
    return LaunchFault::None;
}

}  // namespace

bool check_input_file(const QString& fileName, const LaunchLog& log) {
    const QFileInfo info(fileName);
    if (!info.exists()) return true;  // the job reports a file it cannot open
    if (info.size() == 0) {
        log.info(MainTabText::tr("The file is empty: nothing to write."));
    } else if (info.size() > kMaxInputSize) {
        log.info(MainTabText::tr("The file is larger than %1, more than any cartridge holds.")
                     .arg(bytes_text(uint64_t(kMaxInputSize))));
    } else {
        return true;
    }
    return false;
}

uint32_t identify_flash(FamicomThread& job, const LaunchLog& log) {
    const gb::FlashIdentity id = gb::identify_flash_chip();
    job.m_type = kJobGbFlash;
    if (!id.query && !id.answered) {
        log.info(
            MainTabText::tr("The cartridge answers neither the flash query nor the ID "
                            "command: it has no flash chip (a cartridge of mask ROM), so "
                            "nothing was erased or written."));
        return kNoFlashChip;
    }
    job.m_flash16 = id.wide16 ? 1 : 0;
    log.info(id.wide16 ? MainTabText::tr("Flash chip is 16bit width")
                       : MainTabText::tr("Flash chip is 8bit width"));
    if (id.name)
        log.info(MainTabText::tr("Flash chip: %1 (ID 0x%2 0x%3)")
                     .arg(QLatin1String(id.name))
                     .arg(id.manufacturer, 2, 16, QLatin1Char('0'))
                     .arg(id.device, 2, 16, QLatin1Char('0')));
    if (id.query || id.size)
        log.info(MainTabText::tr("Flash chip size is :") + QString::number(id.size / kKiB) +
                 MainTabText::tr("KB"));
    if (!id.size) {
        // Only a read-back shows whether the image fitted.
        log.info(id.query
                     ? MainTabText::tr("The flash chip gave no size it can have; the cartridge "
                                       "is read back after programming to check what was "
                                       "written.")
                     : MainTabText::tr("The flash chip's size could not be learnt (it answered "
                                       "with the ID 0x%1 0x%2); the cartridge is read back "
                                       "after programming to check what was written.")
                           .arg(id.manufacturer, 2, 16, QLatin1Char('0'))
                           .arg(id.device, 2, 16, QLatin1Char('0')));
        job.m_verify = true;
    }
    return id.size;
}
