#include "jobs/detection.h"

#include <QCoreApplication>

#include "cart/bus.h"
#include "cart/header.h"
#include "jobs/option_tables.h"
#include "jobs/text_contexts.h"

namespace {

bool read_header(Detection& d, uint32_t (*init)(), gb::ReadOp* read) {
    if (!init()) {
        d.outcome = ReportOutcome::BoardFailed;
        d.failure = MainTabText::tr("Initialize device error.");
        return false;
    }
    if ((*read)(0, d.header.data(), gb::kHeaderReadSize) != gb::kHeaderReadSize) {
        d.outcome = ReportOutcome::BoardFailed;
        d.failure = MainTabText::tr("Read ROM error.");
        return false;
    }
    return true;
}

QByteArray bytes(const std::vector<uint8_t>& header, uint32_t from, uint32_t end) {
    return QByteArray(reinterpret_cast<const char*>(header.data() + from), int(end - from));
}

}  // namespace

Detection detect_cartridge(const DetectOptions& options) {
    Detection d;
    d.header.assign(gb::kHeaderReadSize, 0);
    d.outcome = ReportOutcome::NoCartridge;
    if (options.onlySystem != kSysGba) {
        if (!read_header(d, gb::f_gb_init, &gb::p_gb_cpu_read)) return d;
        if (gb::gb_cartridge_info(d.header.data(), &d.gb)) {
            d.outcome = ReportOutcome::Gb;
            // From the logo to the global checksum: what tells GB cartridges apart.
            d.identity = bytes(d.header, gb::kGbLogoOffset, gb::kGbHeaderEnd);
            return d;
        }
    }
    if (options.onlySystem == kSysGb) return d;
    if (!read_header(d, gb::f_gba_init, &gb::p_gba_cpu_read)) return d;
    if (!gb::gba_cartridge_info(d.header.data(), &d.gba)) return d;
    d.identity = bytes(d.header, 0, gb::kGbaHeaderEnd);
    if (d.gba.rom_size != 0) {
        d.outcome = ReportOutcome::Gba;
        return d;
    }
    d.outcome = ReportOutcome::GbaUnknown;
    if (options.probeRomSize) d.probedRomSize = gb::gba_rom_size_by_probing();
    return d;
}

QString detection_line(const Detection& d) {
    switch (d.outcome) {
        case ReportOutcome::Gb:
            return MainTabText::tr("Cartridge: %1 (%2)").arg(d.gb.title.trimmed(), d.gb.cart_type);
        case ReportOutcome::Gba:
            return MainTabText::tr("Cartridge: %1 (%2)").arg(d.gba.title, d.gba.serial);
        case ReportOutcome::GbaUnknown:
            return MainTabText::tr("Cartridge: a GBA cartridge the database does not know (%1).")
                .arg(QString::fromLatin1(
                    reinterpret_cast<const char*>(d.header.data()) + gb::kGbaCodeOffset,
                    int(gb::kGbaCodeSize)));
        case ReportOutcome::NoCartridge:
            return MainTabText::tr(
                "No cartridge was recognised: its header shows neither the GB nor the GBA logo.");
        case ReportOutcome::NoBoard:
        case ReportOutcome::BoardFailed:
            break;
    }
    return d.failure;
}

int detected_system(const Detection& detection) {
    switch (detection.outcome) {
        case ReportOutcome::Gb:
            return kSysGb;
        case ReportOutcome::Gba:
        case ReportOutcome::GbaUnknown:
            return kSysGba;
        default:
            return -1;
    }
}
