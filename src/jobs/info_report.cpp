#include "jobs/info_report.h"

#include <QCoreApplication>

#include "cart/controllers.h"
#include "cart/mbc1_multicart.h"
#include "device/usb.h"
#include "jobs/board_text.h"
#include "jobs/clock_reading.h"
#include "jobs/contact_check.h"
#include "jobs/dump_verdict.h"
#include "jobs/option_tables.h"
#include "jobs/text_contexts.h"

namespace {

constexpr const char* kAdvice[] = {
    QT_TRANSLATE_NOOP("MainTab", "Can not auto detect cartridge information."),
    QT_TRANSLATE_NOOP("MainTab", "Maybe no insert cart or it's a black cart."),
    QT_TRANSLATE_NOOP("MainTab", "Also try:"),
    QT_TRANSLATE_NOOP("MainTab", " 1.Turn off anti-virus software."),
    QT_TRANSLATE_NOOP("MainTab", " 2.Damaged or Dirty."),
    QT_TRANSLATE_NOOP("MainTab", " 3.Switch correct volte on dump board."),
    QT_TRANSLATE_NOOP("MainTab", " 4.Try again."),
};

}  // namespace

QString ram_size_text(uint32_t bytes) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral("B");
    return QString::number(bytes / 1024) + QStringLiteral("KB");
}

QString rom_size_text(uint32_t bytes) {
    return QString::number(bytes / 1024) + QStringLiteral("KB");
}

namespace {

// What the report says when no cartridge could be recognised.
void report_no_cartridge(const ReportLog& log) {
    for (const char* line : kAdvice) log.info(MainTabText::tr(line));
    log.separator();
}

// The clock's lines: that there is one, and what it reads through the script.
void report_clock(const ReportLog& log, const ReportPanel& panel, const Detection& d,
                  const char* script) {
    if (!panel.beyondHeader) return;
    const bool gba = d.outcome != ReportOutcome::Gb;
    const gb::ClockKind kind = clock_of_cartridge(gba, d.header.data());
    if (kind == gb::ClockKind::None) return;
    log.info(MainTabText::tr("Real-time clock: yes"));
    if (panel.scriptFolder.isEmpty() || !script) return;
    const ClockReading reading = read_cartridge_clock(
        panel.scriptFolder + QLatin1Char('/') + QLatin1String(script), kind, gba);
    if (!reading.ok) {
        log.info(MainTabText::tr("Clock: it could not be read (%1)").arg(reading.failure));
        return;
    }
    log.info(MainTabText::tr("Clock: ") + reading.text);
    if (reading.lostPower)
        log.info(
            MainTabText::tr("The clock says it lost its power since it was last set: the "
                            "time it shows may be wrong."));
}

void report_contacts(const ReportLog& log, const ReportPanel& panel, bool gba,
                     const std::vector<uint8_t>& detected) {
    if (!panel.contactCheck) return;
    const ContactCheck check = check_contacts(gba, detected);
    log.info(check.stable ? check.line : warning_markup(check.line));
    if (panel.contactsStable) panel.contactsStable(check.stable);
}

// The lines and panel choices of a GB/GBC cartridge.
void report_gb(const ReportLog& log, const ReportPanel& panel, const Detection& d) {
    const gb::gb_pcb& gbInfo = d.gb;
    log.info(MainTabText::tr("--GB/GBC Cartridge information--"));
    log.info(MainTabText::tr("Title: ") + gbInfo.title);
    log.info(MainTabText::tr("Cart type: ") + gbInfo.cart_type);
    log.info(MainTabText::tr("ROM Size: ") +
             (gbInfo.rom_size ? rom_size_text(gbInfo.rom_size)
                              : MainTabText::tr("unknown (code 0x%1)")
                                    .arg(d.header[gb::kGbRomCodeOffset], 2, 16, QLatin1Char('0'))));
    log.info(MainTabText::tr("RAM Size: ") + ram_size_text(gbInfo.ram_size));
    log.info(header_sum_line(false, d.header.data()));
    report_contacts(log, panel, false, d.header);
    if (panel.beyondHeader && gb::mbc1_multicart(d.header.data()) == gb::Multicart::Yes)
        log.info(MainTabText::tr("MBC1 multicart"));
    const gb::MbcRow* row = gb::mbc_by_code(gbInfo.mbc_type);
    report_clock(log, panel, d, row ? row->script : nullptr);
    log.separator();
    panel.setSysType(kSysGb);
    panel.setItem1(gbInfo.mbc_type);
    panel.setItem2(int(gbInfo.rom_size));
    if (gbInfo.ram_size) panel.setItem3(int(gbInfo.ram_size));
}

void report_gba(const ReportLog& log, const ReportPanel& panel, const Detection& d) {
    const gb::gba_pcb& gbaInfo = d.gba;
    if (d.outcome == ReportOutcome::GbaUnknown) {
        log.info(MainTabText::tr("Detect GBA cartridge, but can not detect detail."));
        if (d.header.size() >= gb::kGbaHeaderEnd) {
            log.info(MainTabText::tr("Title: ") + gb::header_title(true, d.header.data()));
            const QString code = gb::cartridge_code(true, d.header.data());
            log.info(MainTabText::tr("Game code: ") +
                     (code.isEmpty() ? MainTabText::tr("none") : code));
        }
        log.info(header_sum_line(true, d.header.data()));
        panel.setSysType(kSysGba);
        if (d.probedRomSize) {
            log.info(MainTabText::tr("ROM size found by probing: ") +
                     rom_size_text(d.probedRomSize));
            panel.setItem1(int(d.probedRomSize));
        }
        report_contacts(log, panel, true, d.header);
        report_clock(log, panel, d, kGbaScript);
        log.separator();
        return;
    }
    log.info(MainTabText::tr("--GBA Cartridge information--"));
    log.info(MainTabText::tr("Title: ") + gbaInfo.title);
    log.info(MainTabText::tr("Year: ") + gbaInfo.year);
    log.info(MainTabText::tr("Publisher: ") + gbaInfo.publisher);
    log.info(MainTabText::tr("ROM Size: ") + rom_size_text(uint32_t(gbaInfo.rom_size)));
    log.info(MainTabText::tr("RAM Size: ") + ram_size_text(gbaInfo.sav_size));
    log.info(header_sum_line(true, d.header.data()));
    report_contacts(log, panel, true, d.header);
    report_clock(log, panel, d, kGbaScript);
    panel.setSysType(kSysGba);
    panel.setItem1(gbaInfo.rom_size);
    panel.setItem2(gbaInfo.sav_type);
    panel.setItem3(int(gbaInfo.sav_size));
    log.separator();
}

}  // namespace

ReportOutcome run_info_report(const ReportLog& log, const ReportPanel& panel) {
    const usb::ClaimScope board;
    if (board.claim().status() == usb::ClaimStatus::NoBoard || !usb::open()) {
        log.info(MainTabText::tr("Can not found dump device."));
        if (!board.held()) log.info(claim_problem(board.claim()));
        return ReportOutcome::NoBoard;
    }
    if (!board.held()) {
        log.info(claim_problem(board.claim()));
        return ReportOutcome::NoBoard;
    }
    log.info(MainTabText::tr("--Device information--"));
    log.info(MainTabText::tr("Driver label: ") + QString::fromUtf8(usb::m_volume.c_str()));
    log.info(MainTabText::tr("Device firmware: ") + QString::fromUtf8(usb::m_version.c_str()));
    log.info(MainTabText::tr("\r\n"));

    DetectOptions options;
    options.probeRomSize = panel.probeRomSize;
    options.onlySystem = panel.onlySystem;
    const Detection d = detect_cartridge(options);
    switch (d.outcome) {
        case ReportOutcome::NoBoard:
        case ReportOutcome::BoardFailed:
            log.info(d.failure);
            return d.outcome;
        case ReportOutcome::NoCartridge:
            report_no_cartridge(log);
            return d.outcome;
        case ReportOutcome::Gb:
            report_gb(log, panel, d);
            break;
        case ReportOutcome::Gba:
        case ReportOutcome::GbaUnknown:
            report_gba(log, panel, d);
            break;
    }
    if (panel.identify) panel.identify(d.identity);
    if (panel.detected && cartridge_found(d.outcome)) panel.detected(d);
    return d.outcome;
}
