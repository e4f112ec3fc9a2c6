#include "jobs/backup_history.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "cart/header.h"
#include "cart/known_dumps.h"
#include "jobs/job_launch.h"
#include "jobs/save_backup.h"

namespace {

// One line per backup: time, size, CRC32, code, title, file name, by tabs.
constexpr const char* kHistoryFile = "history.tsv";
enum Field { kTime, kSize, kCrc, kCode, kTitle, kFile, kFields };

QString history_path(const QString& folder) {
    return folder + '/' + QLatin1String(kHistoryFile);
}

// Tabs and line breaks would cut a record.
QString field(QString text) {
    return text.replace('\t', ' ').replace('\n', ' ').replace('\r', ' ');
}

// A history that is not a regular file (a pipe would block a job holding the
// board) is neither read nor written.
bool usable(const QString& path) {
    return !QFileInfo::exists(path) || QFileInfo(path).isFile();
}

bool record(const QString& folder, const BackupRecord& r) {
    QFile history(history_path(folder));
    if (!usable(history.fileName()) || !history.open(QIODevice::Append | QIODevice::Text))
        return false;
    const QStringList fields = {r.time.toString(Qt::ISODate),
                                QString::number(r.size),
                                QString::number(r.crc32, 16),
                                field(r.code),
                                field(r.title),
                                field(QFileInfo(r.path).fileName())};
    return history.write((fields.join('\t') + '\n').toUtf8()) > 0 && history.flush();
}

}  // namespace

std::vector<BackupRecord> backup_history(const QString& folder) {
    std::vector<BackupRecord> out;
    QFile history(history_path(folder));
    if (!usable(history.fileName()) || !history.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    while (!history.atEnd()) {
        const QStringList f = QString::fromUtf8(history.readLine()).chopped(1).split('\t');
        if (f.size() != kFields) continue;  // a line cut short
        BackupRecord r;
        r.time = QDateTime::fromString(f[kTime], Qt::ISODate);
        r.size = f[kSize].toLongLong();
        r.crc32 = f[kCrc].toUInt(nullptr, 16);
        r.code = f[kCode];
        r.title = f[kTitle];
        r.path = folder + '/' + f[kFile];
        if (r.time.isValid() && QFileInfo(r.path).isFile()) out.push_back(r);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const BackupRecord& a, const BackupRecord& b) { return a.time > b.time; });
    return out;
}

QString restore_mismatch(const BackupRecord& backup, const Detection& d) {
    const bool gba = detected_system(d) == kSysGba;
    const bool whole = d.header.size() >= gb::kGbHeaderEnd;
    const QString title = whole ? gb::header_title(gba, d.header.data()) : QString();
    const QString code = whole ? gb::cartridge_code(gba, d.header.data()) : QString();
    if (backup.title == title && backup.code == code) return QString();
    const auto named = [](const QString& t, const QString& c) {
        return c.isEmpty() ? QStringLiteral("\"%1\"").arg(t)
                           : QStringLiteral("\"%1\" (%2)").arg(t, c);
    };
    return QCoreApplication::translate("MainTab",
                                       "The backup is of the cartridge %1, but the cartridge "
                                       "inserted is %2.")
        .arg(named(backup.title, backup.code), named(title, code));
}

KeptBackup keep_backup(const QString& folder, const QString& title, const QString& code,
                       const QByteArray& data, int saveSize) {
    KeptBackup kept;
    for (const BackupRecord& r : backup_history(folder)) {
        if (r.title != title || r.code != code) continue;
        QFile newest(r.path);
        if (r.size == data.size() && newest.open(QIODevice::ReadOnly) &&
            newest.read(saveSize) == data.left(saveSize)) {
            kept.ok = kept.reused = true;
            kept.record = r;
            return kept;
        }
        break;  // only the newest backup of the cartridge counts
    }
    kept.record.path = write_backup(folder, title, data, &kept.why);
    if (kept.record.path.isEmpty()) return kept;
    kept.record.title = title;
    kept.record.code = code;
    kept.record.time = QDateTime::currentDateTime();
    kept.record.size = data.size();
    kept.record.crc32 =
        gb::digest_of(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()))
            .crc32;
    // A backup without its record still holds the save: it is kept, and said.
    if (!record(folder, kept.record)) kept.why = QStringLiteral("the history could not be written");
    kept.ok = true;
    return kept;
}

QString backup_text(const BackupRecord& r) {
    const QString name =
        r.code.isEmpty() ? r.title : QStringLiteral("%1 (%2)").arg(r.title, r.code);
    return QStringLiteral("%1  %2  %3  CRC32 %4  %5")
        .arg(r.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
             name.isEmpty() ? QStringLiteral("-") : name, bytes_text(uint64_t(r.size)))
        .arg(r.crc32, 8, 16, QLatin1Char('0'))
        .arg(r.path);
}
