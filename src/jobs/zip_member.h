// The one file a .zip archive holds, as DAT files are often shipped: stored
// or deflated, checked against its CRC32, and never larger than a limit.
#pragma once

#include <QByteArray>
#include <QString>

struct ZipMember {
    QString name;
    QByteArray data;
    QString why;  // empty when data holds the member
};

// Reads the archive's only file; an archive of several files, or an
// encrypted, split, ZIP64 or otherwise unusual one, is refused with why.
ZipMember read_single_zip_member(const QByteArray& archive, qint64 maxSize);

// Whether bytes start like a zip archive.
bool looks_like_zip(const QByteArray& bytes);
