// What a dump is worth: its digest, the header's own checks, the DAT files the
// user imported and the built-in database of known-good dumps. A match
// outranks the checksums: some original cartridges carry a wrong global
// checksum, and their verified dumps are good.
#pragma once

#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "cart/known_dumps.h"

enum class DumpVerdict {
    None,                 // no dump was judged
    Verified,             // a known good dump, byte for byte
    ChecksumsHold,        // not in the database; the header's checks hold
    DiffersFromDatabase,  // the cartridge is known, but no known dump matches
    ChecksumsFail,        // not in the database, and a header check fails
    Healed,               // healed by majority; no known dump confirms it
};

// Whether a verdict says the dump is probably bad.
inline bool verdict_contradicts(DumpVerdict verdict) {
    return verdict == DumpVerdict::DiffersFromDatabase || verdict == DumpVerdict::ChecksumsFail;
}

struct DumpReport {
    DumpVerdict verdict = DumpVerdict::None;
    QStringList lines;  // the log lines that explain it
    QString release;    // Verified: the name of the release it matches
};

// What the job knows beside the bytes: a size that differs from the header's
// or the probe's (said first, and then no advice about contacts), and the
// bytes that read differently and were decided by majority.
struct DumpContext {
    QString sizeNote;
    size_t healedBytes = 0;
};

DumpReport judge_dump(bool gba, const uint8_t* image, size_t size, const gb::DumpDigest& digest,
                      const gb::DumpTable& table = gb::builtin_dumps(),
                      const DumpContext& context = {});

// "the dump is 512 KiB, the header says 1 MiB: ..."; empty when the sizes agree
// or the expected one is unknown (0).
QString size_note(uint32_t dumped, uint32_t expected, bool probed);

// What a bad verdict adds when two reads of the cartridge agreed: the
// cartridge holds this data, and the known dumps of its code, by name.
QStringList same_twice_lines(bool gba, const uint8_t* image, size_t size,
                             const gb::DumpTable& table = gb::builtin_dumps());

// What a dump or save healed by majority is worth without a known dump to
// confirm it (flips in both directions cancel in the checksums).
QString healed_warning(size_t bytes);

// A log line that must stand out: a warning, in the log's markup.
QString warning_markup(const QString& text);

// The verdict in a few words, for the progress bar; empty for None.
QString verdict_summary(DumpVerdict verdict);

// The line of the Info report on a header's own checksum.
QString header_sum_line(bool gba, const uint8_t* header);
