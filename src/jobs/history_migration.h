// The backup history of earlier versions: a tab-separated history.tsv in the
// backup folder, one line per backup (local time without an offset, size,
// CRC32 in hex, game code, title, file name). It is read once into the
// database, then renamed.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "jobs/backup_history.h"

extern const char* const kOldHistoryFile;

// Whether name is a file's bare name: no folder, neither "." nor "..", no
// control characters.
bool bare_file_name(const QString& name);

struct OldHistory {
    std::vector<BackupRecord> records;  // oldest first, path holding the bare name
    QStringList problems;               // one per line skipped, naming it
};

// Reads the history file at path.
OldHistory read_old_history(const QString& path);
