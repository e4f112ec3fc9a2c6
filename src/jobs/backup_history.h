// The history of the saves Write RAM kept before overwriting them: each
// backup file in the backup folder, recorded with the cartridge's title and
// game code, the time, the size and the CRC32, in the folder's history file.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

#include "jobs/detection.h"

struct BackupRecord {
    QString path;
    QString title;
    QString code;  // the game code, empty when the header has none
    QDateTime time;
    int64_t size = 0;
    uint32_t crc32 = 0;
};

// The backups whose files are still there, newest first.
std::vector<BackupRecord> backup_history(const QString& folder);

// Empty when the backup is of the cartridge a detection found (the same title
// and game code); else a line that names both cartridges.
QString restore_mismatch(const BackupRecord& backup, const Detection& detection);

struct KeptBackup {
    bool ok = false;
    bool reused = false;  // the newest backup of the cartridge held the same bytes
    BackupRecord record;
    QString why;  // when not ok
};

// Keeps data (the save, then its clock) as a backup of the cartridge: a new
// file and a record, unless the newest backup of the same cartridge holds the
// same save in its first saveSize bytes (its clock may have run on since).
KeptBackup keep_backup(const QString& folder, const QString& title, const QString& code,
                       const QByteArray& data, int saveSize);

// One backup as the lists show it: "2026-12-08 21:03  POKEMON GOLD (AAUE)  32 KiB  CRC32 ...".
QString backup_text(const BackupRecord& record);
