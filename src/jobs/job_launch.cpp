#include "jobs/job_launch.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "cart/bus.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/board_text.h"
#include "jobs/option_tables.h"

namespace {

// Lets the translation tools see this file's texts in their context.
struct MainTabText {
    Q_DECLARE_TR_FUNCTIONS(MainTab)
};

// Flash query: 0x98 at 0xAA answers in byte mode; 0xF0 returns to the array.
constexpr uint32_t kQueryAddress = 0xAA;
constexpr uint32_t kQueryCommand = 0x98;
constexpr uint32_t kResetCommand = 0xF0;
constexpr uint32_t kQueryLength = 128;
constexpr uint32_t kQ = 0x20, kR = 0x22, kY = 0x24, kSizeExponent = 0x4E;
constexpr int kMinExponent = 20, kMaxExponent = 27;

// configure's result when the job record is filled.
constexpr int kConfigured = int(LaunchFault::None);

int configure(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
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
    const usb::ClaimScope board;
    if (!board.held()) {
        log_claim_problem(board.claim(), log);
        return LaunchFault::Board;
    }
    const int configured = configure(choices, fileName, appDir, job, log, enterMode);
    if (configured != kConfigured) return LaunchFault(configured);
    const uint32_t type = job_type_for(button, choices.sysType);
    if (job_reads_input(type) && !check_input_file(fileName, log)) return LaunchFault::File;
    if (!check_sizes(type, choices, fileName, log))
        return type == kJobGbFlash ? LaunchFault::File : LaunchFault::Refused;
    job.m_rom_limit = 0;
    if (type == kJobGbFlash) {
        const uint32_t chip = identify_flash(job, log);
        const MbcRow* row = mbc_row_at(choices.mbcPosition);
        job.m_rom_limit = row ? row->maxRom : 0;
        if (chip && (!job.m_rom_limit || chip < job.m_rom_limit)) job.m_rom_limit = chip;
        const qint64 image = QFileInfo(fileName).size();
        if (chip && image > chip) {
            log.info(MainTabText::tr("The flash chip holds %1; the image of %2 does not fit.")
                         .arg(bytes_text(chip), bytes_text(uint64_t(image))));
            log.separator();
            return LaunchFault::File;
        }
    }
    job.m_type = type;
    return LaunchFault::None;
}

bool check_sizes(uint32_t type, const LaunchChoices& choices, const QString& fileName,
                 const LaunchLog& log) {
    QString refusal;
    if (type == kJobGbaDump && uint32_t(choices.gbaRomSize) > gb::kGbaRomSpan) {
        refusal = MainTabText::tr(
                      "The GBA cartridge bus addresses at most %1 of ROM; %2 cannot be dumped.")
                      .arg(bytes_text(gb::kGbaRomSpan), bytes_text(uint32_t(choices.gbaRomSize)));
    } else if (!job_is_gba(type)) {
        const MbcRow* row = mbc_row_at(choices.mbcPosition);
        const uint64_t rom = type == kJobGbFlash ? uint64_t(QFileInfo(fileName).size())
                                                 : uint64_t(uint32_t(choices.gbRomSize));
        const uint64_t ram = uint32_t(choices.gbRamSize);
        if (!row) return true;  // no script either: configure_par has refused already
        if (job_sized_by_ram(type) && !row->fixedSave && ram > row->maxRam)
            refusal = MainTabText::tr(
                          "%1 addresses at most %2 of save memory; the %3 chosen is more than it "
                          "holds.")
                          .arg(row->label, bytes_text(row->maxRam), bytes_text(ram));
        else if (!job_sized_by_ram(type) && rom > row->maxRom)
            refusal = MainTabText::tr(
                          "%1 addresses at most %2 of ROM; the %3 asked for is more than it holds.")
                          .arg(row->label, bytes_text(row->maxRom), bytes_text(rom));
    }
    if (refusal.isEmpty()) return true;
    log.info(refusal);
    log.separator();
    return false;
}

void log_claim_problem(const usb::BoardClaim& claim, const LaunchLog& log) {
    if (claim.status() == usb::ClaimStatus::NoBoard)
        log.info(MainTabText::tr("Can not found dump device."));
    log.info(claim_problem(claim));
    log.separator();
}

uint32_t job_type_for(JobButton button, int sysType) {
    return uint32_t(button) + (sysType == kSysGba ? uint32_t(kJobGbaOffset) : 0);
}

QString mapper_script_path(const LaunchChoices& choices, const QString& appDir) {
    // Paths are never translated: a translation must not move the scripts.
    const QString folder = appDir + '/' + QLatin1String(kMapperFolder) + '/';
    if (choices.sysType == kSysGba) return folder + QLatin1String(kGbaScript);
    const char* script = mbc_script_at(choices.mbcPosition);
    return folder + QString::fromLatin1(script ? script : "");
}

bool configure_par(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
                   FamicomThread& job, const LaunchLog& log, bool enterMode) {
    return configure(choices, fileName, appDir, job, log, enterMode) == kConfigured;
}

namespace {

int configure(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
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
        log.separator();
        return int(LaunchFault::Board);
    }
    if (!QFileInfo::exists(script)) {
        log.info(MainTabText::tr("Not exists script file :"));
        log.info(script);
        log.separator();
        return int(LaunchFault::Refused);
    }
    if (fileName.isEmpty()) return int(LaunchFault::Canceled);
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
    return kConfigured;
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
    log.separator();
    return false;
}

uint32_t identify_flash(FamicomThread& job, const LaunchLog& log) {
    uint32_t address = kQueryAddress, value = kQueryCommand;
    gb::p_gb_cpu_write(&address, &value, 1);
    uint8_t table[kQueryLength] = {};
    gb::p_gb_cpu_read(0, table, kQueryLength);
    address = 0;
    value = kResetCommand;
    gb::p_gb_cpu_write(&address, &value, 1);

    job.m_type = kJobGbFlash;
    job.m_flash16 = 0;
    if (table[kQ] == 'Q' && table[kR] == 'R' && table[kY] == 'Y') {
        job.m_flash16 = 1;
        log.info(MainTabText::tr("Flash chip is 16bit width"));
        const int n = table[kSizeExponent];
        const int kilobytes = (n >= kMinExponent && n <= kMaxExponent) ? 1 << (n - 10) : 0;
        log.info(MainTabText::tr("Flash chip size is :") + QString::number(kilobytes) +
                 MainTabText::tr("KB"));
        return uint32_t(kilobytes) * kKiB;
    }
    log.info(MainTabText::tr("Flash chip is 8bit width"));
    return 0;
}
