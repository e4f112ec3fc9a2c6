#include "jobs/info_report.h"

#include <QCoreApplication>
#include <vector>

#include "cart/bus.h"
#include "cart/header.h"
#include "device/usb.h"
#include "jobs/board_text.h"
#include "jobs/dump_verdict.h"
#include "jobs/option_tables.h"

namespace {

// Lets the translation tools see this file's texts in their context.
struct MainTabText {
    Q_DECLARE_TR_FUNCTIONS(MainTab)
};

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

// The GB part of the report; what it found, NoCartridge when it saw no GB header.
ReportOutcome report_gb(const ReportLog& log, const ReportPanel& panel,
                        std::vector<uint8_t>& header) {
    if (!gb::f_gb_init()) {
        log.info(MainTabText::tr("Initialize device error."));
        return ReportOutcome::BoardFailed;
    }
    if (gb::p_gb_cpu_read(0, header.data(), gb::kHeaderReadSize) != gb::kHeaderReadSize) {
        log.info(MainTabText::tr("Read ROM error."));
        return ReportOutcome::BoardFailed;
    }
    gb::gb_pcb gbInfo;
    if (gb::gb_cartridge_info(header.data(), &gbInfo) == 1) {
        log.info(MainTabText::tr("--GB/GBC Cartridge information--"));
        log.info(MainTabText::tr("Title: ") + gbInfo.title);
        log.info(MainTabText::tr("Cart type: ") + gbInfo.cart_type);
        log.info(MainTabText::tr("ROM Size: ") + rom_size_text(gbInfo.rom_size));
        log.info(MainTabText::tr("RAM Size: ") + ram_size_text(gbInfo.ram_size));
        log.info(header_sum_line(false, header.data()));
        log.separator();
        panel.setSysType(kSysGb);
        panel.setItem1(gbInfo.mbc_type);
        panel.setItem2(int(gbInfo.rom_size));
        if (gbInfo.ram_size) panel.setItem3(int(gbInfo.ram_size));
        return ReportOutcome::Gb;
    }
    return ReportOutcome::NoCartridge;
}

}  // namespace

ReportOutcome run_info_report(const ReportLog& log, const ReportPanel& panel) {
    std::vector<uint8_t> header(gb::kHeaderReadSize, 0);
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

    if (panel.onlySystem != kSysGba) {
        const ReportOutcome gb = report_gb(log, panel, header);
        if (gb != ReportOutcome::NoCartridge) return gb;
    }
    if (panel.onlySystem == kSysGb) {
        report_no_cartridge(log);
        return ReportOutcome::NoCartridge;
    }

    if (!gb::f_gba_init()) {
        log.info(MainTabText::tr("Initialize device error."));
        return ReportOutcome::BoardFailed;
    }
    if (gb::p_gba_cpu_read(0, header.data(), gb::kHeaderReadSize) != gb::kHeaderReadSize) {
        log.info(MainTabText::tr("Read ROM error."));
        return ReportOutcome::BoardFailed;
    }
    gb::gba_pcb gbaInfo;
    if (gb::gba_cartridge_info(header.data(), &gbaInfo) == 0) {
        report_no_cartridge(log);
        return ReportOutcome::NoCartridge;
    }
    if (gbaInfo.rom_size == 0) {
        log.info(MainTabText::tr("Detect GBA cartridge, but can not detect detail."));
        log.info(header_sum_line(true, header.data()));
        panel.setSysType(kSysGba);
        if (const uint32_t probed = panel.probeRomSize ? gb::gba_rom_size_by_probing() : 0) {
            log.info(MainTabText::tr("ROM size found by probing: ") + rom_size_text(probed));
            panel.setItem1(int(probed));
        }
        log.separator();
        return ReportOutcome::GbaUnknown;
    }
    log.info(MainTabText::tr("--GBA Cartridge information--"));
    log.info(MainTabText::tr("Title: ") + gbaInfo.title);
    log.info(MainTabText::tr("Year: ") + gbaInfo.year);
    log.info(MainTabText::tr("Publisher: ") + gbaInfo.publisher);
    log.info(MainTabText::tr("ROM Size: ") + rom_size_text(uint32_t(gbaInfo.rom_size)));
    log.info(MainTabText::tr("RAM Size: ") + ram_size_text(gbaInfo.sav_size));
    log.info(header_sum_line(true, header.data()));
    panel.setSysType(kSysGba);
    panel.setItem1(gbaInfo.rom_size);
    panel.setItem2(gbaInfo.sav_type);
    panel.setItem3(int(gbaInfo.sav_size));
    log.separator();
    return ReportOutcome::Gba;
}
