// The DAT files a user imported, in the local database: import, list, remove,
// and the lookups verdicts and file names make in them.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "cart/known_dumps.h"
#include "jobs/dat_file.h"

struct DatSummary {
    QString name, version, date;
    QString imported;  // UTC, ISO 8601
    int games = 0;
};

struct DatImport {
    QString why;              // empty when imported
    QString replacedVersion;  // the version it replaced; empty for a new DAT
    bool replaced = false;
};

// Imports dat into the database at path, in one transaction: a DAT of the
// same name is replaced, unless the database holds a newer version of it.
DatImport import_dat(const QString& path, const DatFile& dat);

// Reads the DAT file at file and imports it into the database at path; the
// line says what was imported, or why nothing was.
struct DatFileImport {
    bool ok = false;
    QString line;
};
DatFileImport import_dat_file(const QString& file, const QString& path);

// "Nintendo - Game Boy Advance  20261201-000000  2,345 games  imported 2026-12-09 14:00 UTC".
QString dat_summary_text(const DatSummary& dat);

// The imported DATs by name; why set when the database could not be read.
std::vector<DatSummary> list_dats(const QString& path, QString* why);

// Removes the DAT named; false with why when there is none or it failed.
bool remove_dat(const QString& path, const QString& name, QString* why);

struct DatMatch {
    QString dat, version;  // the DAT's name and version
    QString game;          // the release
    uint32_t size = 0, crc32 = 0;
};

// The release of the imported DATs (in the data folder's database) whose ROM
// has the digest's size, CRC32 and, where the DAT gives one, SHA-1.
std::optional<DatMatch> find_in_dats(const gb::DumpDigest& digest);

// The releases of the imported DATs with the game code.
std::vector<DatMatch> dats_of_code(const QString& code);

// "'Name (Europe)' in Nintendo - Game Boy Advance (20261201)".
QString dat_match_text(const DatMatch& match);
