#include "jobs/info_report.h"

#include <QCoreApplication>
#include <vector>

#include "cart/bus.h"
#include "cart/header.h"
#include "device/platform.h"
#include "device/usb.h"
#include "jobs/dump_verdict.h"
#include "jobs/option_tables.h"

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("MainTab", text);
}

constexpr const char* kAdvice[] = {
    "Can not auto detect cartridge information.",
    "Maybe no insert cart or it's a black cart.",
    "Also try:",
    " 1.Turn off anti-virus software.",
    " 2.Damaged or Dirty.",
    " 3.Switch correct volte on dump board.",
    " 4.Try again.",
};

}  // namespace

QString ram_size_text(uint32_t bytes) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral("B");
    return QString::number(bytes / 1024) + QStringLiteral("KB");
}

QString rom_size_text(uint32_t bytes) {
    return QString::number(bytes / 1024) + QStringLiteral("KB");
}

void run_info_report(const ReportLog& log, const ReportPanel& panel) {
    std::vector<uint8_t> header(gb::kHeaderReadSize, 0);
    if (!usb::open()) {
        log.info(tr("Can not found dump device."));
        return;
    }
    platform::VolumeLock lock;
    if (!lock.acquire(usb::volume_path())) {
        log.info(tr("The dump device is in use by another program."));
        return;
    }
    log.info(tr("--Device information--"));
    log.info(tr("Driver label: ") + QString::fromUtf8(usb::m_volume.c_str()));
    log.info(tr("Device firmware: ") + QString::fromUtf8(usb::m_version.c_str()));
    log.info(tr("\r\n"));

    if (!gb::f_gb_init()) {
        log.info(tr("Initialize device error."));
        return;
    }
    if (gb::p_gb_cpu_read(0, header.data(), gb::kHeaderReadSize) != gb::kHeaderReadSize) {
        log.info(tr("Read ROM error."));
        return;
    }
    gb::gb_pcb gbInfo;
    if (gb::gb_cartridge_info(header.data(), &gbInfo) == 1) {
        log.info(tr("--GB/GBC Cartridge information--"));
        log.info(tr("Title: ") + gbInfo.title);
        log.info(tr("Cart type: ") + gbInfo.cart_type);
        log.info(tr("ROM Size: ") + rom_size_text(gbInfo.rom_size));
        log.info(tr("RAM Size: ") + ram_size_text(gbInfo.ram_size));
        log.info(header_sum_line(false, header.data()));
        log.separator();
        panel.setSysType(kSysGb);
        panel.setItem1(gbInfo.mbc_type);
        panel.setItem2(int(gbInfo.rom_size));
        if (gbInfo.ram_size) panel.setItem3(int(gbInfo.ram_size));
        return;
    }

    if (!gb::f_gba_init()) {
        log.info(tr("Initialize device error."));
        return;
    }
    if (gb::p_gba_cpu_read(0, header.data(), gb::kHeaderReadSize) != gb::kHeaderReadSize) {
        log.info(tr("Read ROM error."));
        return;
    }
    gb::gba_pcb gbaInfo;
    if (gb::gba_cartridge_info(header.data(), &gbaInfo) == 0) {
        for (const char* line : kAdvice) log.info(tr(line));
        log.separator();
        return;
    }
    if (gbaInfo.rom_size == 0) {
        log.info(tr("Detect GBA cartridge, but can not detect detail."));
        log.info(header_sum_line(true, header.data()));
        panel.setSysType(kSysGba);
        if (const uint32_t probed = gb::gba_rom_size_by_probing()) {
            log.info(tr("ROM size found by probing: ") + rom_size_text(probed));
            panel.setItem1(int(probed));
        }
        log.separator();
        return;
    }
    log.info(tr("--GBA Cartridge information--"));
    log.info(tr("Title: ") + gbaInfo.title);
    log.info(tr("Year: ") + gbaInfo.year);
    log.info(tr("Publisher: ") + gbaInfo.publisher);
    log.info(tr("ROM Size: ") + rom_size_text(uint32_t(gbaInfo.rom_size)));
    log.info(tr("RAM Size: ") + ram_size_text(gbaInfo.sav_size));
    log.info(header_sum_line(true, header.data()));
    panel.setSysType(kSysGba);
    panel.setItem1(gbaInfo.rom_size);
    panel.setItem2(gbaInfo.sav_type);
    panel.setItem3(int(gbaInfo.sav_size));
    log.separator();
}
