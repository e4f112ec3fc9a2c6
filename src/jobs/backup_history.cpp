#include "jobs/backup_history.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "cart/checksums.h"
#include "cart/header.h"
#include "cart/known_dumps.h"
#include "jobs/history_migration.h"
#include "jobs/job_launch.h"
#include "jobs/local_database.h"
#include "jobs/save_backup.h"

namespace {

// The database of the data folder that holds the backup folder.
QString database_of(const QString& folder) {
    return database_path(QFileInfo(QDir::cleanPath(folder)).absolutePath());
}

QString iso_utc(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs);
}

bool insert(QSqlDatabase& db, const BackupRecord& r, const QString& file, QString* why) {
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO backups(time, title, code, header_sum, size, crc32, file) "
                       "VALUES(?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value :
         {sql_text(iso_utc(r.time)), sql_text(r.title), sql_text(r.code), QVariant(r.headerSum),
          QVariant(qlonglong(r.size)), QVariant(qlonglong(r.crc32)), sql_text(file)})
        query.addBindValue(value);
    if (query.exec()) return true;
    *why = query.lastError().text();
    return false;
}

// A history.tsv of an earlier version goes into the database once: it is
// renamed in the same transaction, so no other process takes it in again.
// False when the database cannot be used.
bool migrate_old_history(LocalDatabase& db, const QString& folder, QStringList* problems) {
    if (!db.problem().isEmpty()) {
        *problems << db.problem();
        return false;
    }
    const QString old = folder + '/' + QLatin1String(kOldHistoryFile);
    if (!QFileInfo::exists(old)) return true;
    QString moved = old + QStringLiteral(".migrated");
    for (int n = 2; QFileInfo::exists(moved); ++n)
        moved = old + QStringLiteral(".migrated-%1").arg(n);
    QString why;
    db.write([&] {
        // Another process may have taken it in while this one waited.
        if (!QFileInfo(old).isFile()) return false;
        const OldHistory history = read_old_history(old);
        *problems << history.problems;
        for (const BackupRecord& r : history.records)
            if (!insert(db.sql(), r, r.path, &why)) return false;
        if (!QFile::rename(old, moved)) {
            why = QStringLiteral("%1 could not be renamed").arg(old);
            return false;
        }
        return true;
    });
    if (!why.isEmpty()) *problems << QStringLiteral("%1 was not taken in: %2").arg(old, why);
    if (!db.problem().isEmpty()) *problems << db.problem();
    return true;
}

BackupState state_of(const BackupRecord& r) {
    QFile file(r.path);
    if (!QFileInfo(r.path).isFile() || !file.open(QIODevice::ReadOnly)) return BackupState::Missing;
    if (file.size() != r.size) return BackupState::Changed;
    const QByteArray bytes = file.readAll();
    const uint32_t crc =
        gb::digest_of(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()))
            .crc32;
    return crc == r.crc32 ? BackupState::Kept : BackupState::Changed;
}

// The records, newest first; of one cartridge, only its newest.
std::vector<BackupRecord> read_records(LocalDatabase& db, const QString& folder,
                                       QStringList* problems, const BackupOrigin* only = nullptr) {
    std::vector<BackupRecord> out;
    QSqlQuery query(db.sql());
    query.prepare(QStringLiteral("SELECT seq, time, title, code, header_sum, size, crc32, file "
                                 "FROM backups %1 ORDER BY seq DESC %2")
                      .arg(only ? QStringLiteral("WHERE title = ? AND code = ?") : QString(),
                           only ? QStringLiteral("LIMIT 1") : QString()));
    if (only) {
        query.addBindValue(sql_text(only->title));
        query.addBindValue(sql_text(only->code));
    }
    if (!query.exec()) {
        *problems << query.lastError().text();
        return out;
    }
    while (query.next()) {
        BackupRecord r;
        r.seq = query.value(0).toLongLong();
        r.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs).toUTC();
        r.title = query.value(2).toString();
        r.code = query.value(3).toString();
        r.headerSum = query.value(4).toInt();
        r.size = query.value(5).toLongLong();
        r.crc32 = uint32_t(query.value(6).toLongLong());
        const QString file = query.value(7).toString();
        if (!bare_file_name(file)) {
            *problems << QStringLiteral("backup %1 names \"%2\", not a file in %3: skipped")
                             .arg(r.seq)
                             .arg(file, folder);
            continue;
        }
        r.path = folder + '/' + file;
        r.state = state_of(r);
        out.push_back(r);
    }
    return out;
}

}  // namespace

BackupHistory backup_history(const QString& folder) {
    BackupHistory history;
    LocalDatabase db(database_of(folder));
    if (migrate_old_history(db, folder, &history.problems))
        history.records = read_records(db, folder, &history.problems);
    return history;
}

QString restore_refusal(const BackupRecord& backup) {
    switch (backup.state) {
        case BackupState::Kept:
            return QString();
        case BackupState::Missing:
            return QCoreApplication::translate("MainTab", "The backup file %1 is missing.")
                .arg(backup.path);
        case BackupState::Changed:
            return QCoreApplication::translate(
                       "MainTab",
                       "The backup file %1 was changed after it was kept: it no longer "
                       "holds the save that was backed up.")
                .arg(backup.path);
    }
    return QString();
}

QString cartridge_name(const QString& title, const QString& code) {
    return code.isEmpty() ? QStringLiteral("\"%1\"").arg(title)
                          : QStringLiteral("\"%1\" (%2)").arg(title, code);
}

QString detected_cartridge_name(const Detection& d) {
    const bool gba = detected_system(d) == kSysGba;
    const bool whole = d.header.size() >= gb::kGbHeaderEnd;
    return cartridge_name(whole ? gb::header_title(gba, d.header.data()) : QString(),
                          whole ? gb::cartridge_code(gba, d.header.data()) : QString());
}

namespace {

QString hex_byte(int value) {
    return QString::asprintf("0x%02X", unsigned(value));
}

}  // namespace

QString restore_mismatch(const BackupRecord& backup, const Detection& d) {
    const QString inserted = detected_cartridge_name(d);
    const QString kept = cartridge_name(backup.title, backup.code);
    if (kept != inserted)
        return QCoreApplication::translate("MainTab",
                                           "The backup is of the cartridge %1, but the cartridge "
                                           "inserted is %2.")
            .arg(kept, inserted);
    // The same title and code: another revision tells itself by its header checksum.
    const bool gba = detected_system(d) == kSysGba;
    const size_t at = gba ? gb::kGbaComplementOffset : gb::kGbHeaderSumOffset;
    if (backup.headerSum == kNoHeaderSum || d.header.size() <= at ||
        d.header[at] == backup.headerSum)
        return QString();
    return QCoreApplication::translate("MainTab",
                                       "The backup is of the cartridge %1 with the header checksum "
                                       "%2, but the cartridge inserted has %3: another revision.")
        .arg(kept, hex_byte(backup.headerSum), hex_byte(d.header[at]));
}

KeptBackup keep_backup(const QString& folder, const BackupOrigin& origin, const QByteArray& data,
                       int saveSize) {
    KeptBackup kept;
    LocalDatabase db(database_of(folder));
    QStringList problems;
    // Only the newest backup of the cartridge counts.
    const std::vector<BackupRecord> newest = migrate_old_history(db, folder, &problems)
                                                 ? read_records(db, folder, &problems, &origin)
                                                 : std::vector<BackupRecord>();
    for (const BackupRecord& r : newest) {
        QFile file(r.path);
        if (r.state == BackupState::Kept && r.size == data.size() &&
            file.open(QIODevice::ReadOnly) && file.read(saveSize) == data.left(saveSize)) {
            kept.ok = kept.reused = true;
            kept.record = r;
            return kept;
        }
    }
    kept.record.path = write_backup(folder, origin.title, data, &kept.why);
    if (kept.record.path.isEmpty()) return kept;
    kept.record.title = origin.title;
    kept.record.code = origin.code;
    kept.record.headerSum = origin.headerSum;
    kept.record.time = QDateTime::currentDateTimeUtc();
    kept.record.size = data.size();
    kept.record.crc32 =
        gb::digest_of(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()))
            .crc32;
    // A backup without its record still holds the save: it is kept, and said.
    kept.ok = true;
    QString why;
    const QString file = QFileInfo(kept.record.path).fileName();
    if (!db.problem().isEmpty() ||
        !db.write([&] { return insert(db.sql(), kept.record, file, &why); }))
        kept.why = db.problem().isEmpty() ? why : db.problem();
    return kept;
}

QString backup_time_text(const BackupRecord& r) {
    return r.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString backup_text(const BackupRecord& r) {
    const QString name =
        r.code.isEmpty() ? r.title : QStringLiteral("%1 (%2)").arg(r.title, r.code);
    QString text =
        QStringLiteral("%1  %2  %3  CRC32 %4  %5")
            .arg(r.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                 name.isEmpty() ? QStringLiteral("-") : name, bytes_text(uint64_t(r.size)))
            .arg(r.crc32, 8, 16, QLatin1Char('0'))
            .arg(r.path);
    if (r.state == BackupState::Missing) text += QStringLiteral("  (missing)");
    if (r.state == BackupState::Changed) text += QStringLiteral("  (changed since it was kept)");
    return text;
}
