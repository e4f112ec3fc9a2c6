#include "jobs/history_migration.h"

#include <QFile>

#include "device/crc.h"

const char* const kOldHistoryFile = "history.tsv";

namespace {

enum Field { kTime, kSize, kCrc, kCode, kTitle, kFile, kFields };

// Why a line is no record; empty when it is one.
QString parse(const QStringList& f, BackupRecord* r) {
    if (f.size() != kFields)
        return QStringLiteral("%1 fields where a record has %2").arg(f.size()).arg(kFields);
    r->time = QDateTime::fromString(f[kTime], Qt::ISODate);
    if (!r->time.isValid()) return QStringLiteral("the time \"%1\" is no time").arg(f[kTime]);
    r->time = r->time.toUTC();
    bool ok = false;
    r->size = f[kSize].toLongLong(&ok);
    if (!ok || r->size <= 0) return QStringLiteral("the size \"%1\" is no size").arg(f[kSize]);
    r->crc32 = f[kCrc].toUInt(&ok, 16);
    if (!ok || f[kCrc].size() > crc::kCrc32Digits)
        return QStringLiteral("the CRC32 \"%1\" is no CRC32").arg(f[kCrc]);
    r->code = f[kCode];
    r->title = f[kTitle];
    if (!bare_file_name(f[kFile]))
        return QStringLiteral("the file \"%1\" is not a name in the backup folder").arg(f[kFile]);
    r->path = f[kFile];
    return QString();
}

}  // namespace

bool bare_file_name(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == '/' || c == '\\' || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return true;
}

OldHistory read_old_history(const QString& path) {
    OldHistory out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.problems << QStringLiteral("%1: %2").arg(path, file.errorString());
        return out;
    }
    // The last line counts without its line break too.
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) continue;
        BackupRecord record;
        const QString why = parse(line.split('\t'), &record);
        if (why.isEmpty())
            out.records.push_back(record);
        else
            out.problems << QStringLiteral("%1, line %2 skipped: %3").arg(path).arg(n + 1).arg(why);
    }
    return out;
}
