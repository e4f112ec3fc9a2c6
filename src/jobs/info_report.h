// The cartridge information report, independent of any widget.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "jobs/detection.h"

struct ReportLog {
    std::function<void(const QString&)> info;  // one log line
    std::function<void()> separator;
};

// The settings operations the report sets what it detected through.
struct ReportPanel {
    std::function<void(int)> setSysType;
    std::function<void(int)> setItem1;
    std::function<void(int)> setItem2;
    std::function<void(int)> setItem3;
    // Whether a GBA cartridge missing from the database is sized by probing
    // its bus (the command line skips it when the size is given).
    bool probeRomSize = true;
    // The only system to look for (kSysGb or kSysGba); -1 tries GB, then GBA.
    int onlySystem = -1;
    // Whether the cartridge is asked more than its header: the wiring of a
    // multicart, a clock (a job that follows asks what it needs itself).
    bool beyondHeader = true;
    // Whether the header is read several times to check the contacts, and
    // told whether they are stable.
    bool contactCheck = true;
    std::function<void(bool)> contactsStable;
    // Where the mapper scripts are: a cartridge's clock is read through its
    // script (empty: the report only says that it has one).
    QString scriptFolder;
    // Told what the header read found, when it found a cartridge.
    std::function<void(const Detection&)> detected;
    // Told which cartridge was found (its identity), when one was.
    std::function<void(const QByteArray&)> identify;
};

// The Info report under the board's claim (the one this process holds, else
// one of its own).
ReportOutcome run_info_report(const ReportLog& log, const ReportPanel& panel);

// "RAM Size: " values: bytes below 1 KiB, else whole KiB.
QString ram_size_text(uint32_t bytes);
QString rom_size_text(uint32_t bytes);
