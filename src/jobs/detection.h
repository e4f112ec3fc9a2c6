// What the cartridge in the slot is, read from its header the way the Info
// report reads it: GB/GBC first, then GBA. The report prints it; a job uses it.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "cart/header.h"

// What the header read found.
enum class ReportOutcome {
    NoBoard,      // no board, or another program holds it (see the log)
    BoardFailed,  // the board did not answer: the header could not be read
    NoCartridge,  // neither logo: no cartridge, or a blank or dirty one
    Gb,           // a GB/GBC cartridge
    Gba,          // a GBA cartridge from the database
    GbaUnknown,   // a GBA cartridge whose code the database does not hold
};
inline bool cartridge_found(ReportOutcome outcome) {
    return outcome == ReportOutcome::Gb || outcome == ReportOutcome::Gba ||
           outcome == ReportOutcome::GbaUnknown;
}

struct Detection {
    ReportOutcome outcome = ReportOutcome::NoBoard;
    QString failure;              // the board's error line, when it failed
    gb::gb_pcb gb;                // outcome Gb
    gb::gba_pcb gba;              // outcome Gba (GbaUnknown: empty)
    uint32_t probedRomSize = 0;   // GbaUnknown: the ROM size found by probing, 0 if none
    std::vector<uint8_t> header;  // the bytes read from the cartridge's start
    // The header bytes that tell one cartridge from another; empty when none was found.
    QByteArray identity;
};

struct DetectOptions {
    // Whether a GBA cartridge missing from the database is sized by probing its bus.
    bool probeRomSize = true;
    // The only system to look for (kSysGb or kSysGba); -1 tries GB, then GBA.
    int onlySystem = -1;
};

// Reads and decodes the header of the cartridge on the claimed board.
Detection detect_cartridge(const DetectOptions& options);

// The system a detection found (kSysGb or kSysGba), -1 when none.
int detected_system(const Detection& detection);

// The cartridge a detection found, in one log line.
QString detection_line(const Detection& detection);
