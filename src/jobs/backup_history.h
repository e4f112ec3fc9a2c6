// The history of the saves Write RAM kept before overwriting them: each
// backup file in the backup folder, recorded with the cartridge's title, game
// code and header checksum, the time (UTC), the size and the CRC32, in the
// local database beside the folder.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "jobs/detection.h"

enum class BackupState {
    Kept,     // the file holds what was kept
    Missing,  // the file is gone
    Changed,  // the file's CRC32 or size is not the one recorded
};

// A record kept before header checksums were: its cartridge is known by title and code.
inline constexpr int kNoHeaderSum = -1;

struct BackupRecord {
    int64_t seq = 0;  // the order of keeping: newer backups have larger numbers
    QString path;
    QString title;
    QString code;  // the game code, empty when the header has none
    int headerSum = kNoHeaderSum;
    QDateTime time;  // UTC
    int64_t size = 0;
    uint32_t crc32 = 0;
    BackupState state = BackupState::Kept;
};

struct BackupHistory {
    std::vector<BackupRecord> records;  // newest first
    // What went wrong: the database, or old history lines the migration skipped.
    QStringList problems;
};

// Every backup recorded for the folder, newest first; a history.tsv of an
// earlier version in it is taken into the database once, and renamed.
BackupHistory backup_history(const QString& folder);

// Empty when the backup can go back into a cartridge; else why not.
QString restore_refusal(const BackupRecord& backup);

// "\"POKEMON GOLD\" (AAUE)": a cartridge as the restore messages name it; the
// one a detection found.
QString cartridge_name(const QString& title, const QString& code);
QString detected_cartridge_name(const Detection& detection);

// When the backup was kept, in local time: "2026-12-08 21:03:00".
QString backup_time_text(const BackupRecord& record);

// Empty when the backup is of the cartridge a detection found (the same title
// and game code); else a line that names both cartridges.
QString restore_mismatch(const BackupRecord& backup, const Detection& detection);

struct KeptBackup {
    bool ok = false;
    bool reused = false;  // the newest backup of the cartridge held the same bytes
    BackupRecord record;
    QString why;  // when not ok
};

// The cartridge a backup is of.
struct BackupOrigin {
    QString title;
    QString code;
    int headerSum = kNoHeaderSum;
};

// Keeps data (the save, then its clock) as a backup of the cartridge: a new
// file and a record, unless the newest backup of the same cartridge holds the
// same save in its first saveSize bytes (its clock may have run on since).
KeptBackup keep_backup(const QString& folder, const BackupOrigin& origin, const QByteArray& data,
                       int saveSize);

// One backup as the lists show it: "2026-12-08 21:03:00  POKEMON GOLD (AAUE)  32 KiB  CRC32
// 029f5d83  PATH", and "(missing)" or "(changed since it was kept)" after it.
QString backup_text(const BackupRecord& record);
