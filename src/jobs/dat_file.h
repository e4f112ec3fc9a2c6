// A DAT file: the Logiqx XML that preservation groups publish, one <game>
// (or <machine>) per release with its <rom name size crc md5 sha1>, read from
// a plain file or a .zip holding one. Anything malformed, hostile or larger
// than a DAT ever is, is refused with the line and the reason.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// The largest DAT file read (the largest published are tens of MiB).
inline constexpr qint64 kMaxDatSize = qint64(256) << 20;

struct DatRom {
    QString game;   // the release: "Name (Europe)"
    uint32_t size;  // bytes
    uint32_t crc32;
    QByteArray md5, sha1;  // lowercase hex; empty when the DAT gives none
    QString code;          // the game code of a serial ("AGB-AWRP-EUR", "AWRP"); may be empty
};

struct DatFile {
    QString name;  // the header's: "Nintendo - Game Boy Advance"
    QString description, version, date;
    int games = 0;
    std::vector<DatRom> roms;
};

struct DatRead {
    DatFile dat;
    QString why;  // empty when read: else "FILE, line N: reason"
};

DatRead read_dat_file(const QString& path);

// The same from bytes already read (source names them in messages).
DatRead read_dat_bytes(const QByteArray& bytes, const QString& source);
