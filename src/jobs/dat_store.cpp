#include "jobs/dat_store.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "jobs/local_database.h"

namespace {

// Whether version a is older than b ("20261201-101010" before "20261202-000000").
bool older(const QString& a, const QString& b) {
    QCollator collator;
    collator.setNumericMode(true);
    return collator.compare(a, b) < 0;
}

bool insert_roms(QSqlDatabase& db, qint64 id, const DatFile& dat, QString* why) {
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO dat_roms(dat, game, size, crc32, md5, sha1, code) VALUES(?, ?, "
                       "?, ?, ?, ?, ?)"));
    for (const DatRom& rom : dat.roms) {
        query.bindValue(0, id);
        query.bindValue(1, sql_text(rom.game));
        query.bindValue(2, qlonglong(rom.size));
        query.bindValue(3, qlonglong(rom.crc32));
        query.bindValue(4, sql_text(QString::fromLatin1(rom.md5)));
        query.bindValue(5, sql_text(QString::fromLatin1(rom.sha1)));
        query.bindValue(6, sql_text(rom.code));
        if (!query.exec()) {
            *why = query.lastError().text();
            return false;
        }
    }
    return true;
}

// The lookups open the database only when there is one: a verdict never creates it.
QString lookup_path() {
    const QString path = database_path(default_data_folder());
    return QFileInfo(path).isFile() ? path : QString();
}

std::vector<DatMatch> matches(QSqlQuery& query) {
    std::vector<DatMatch> out;
    while (query.next()) {
        DatMatch m;
        m.dat = query.value(0).toString();
        m.version = query.value(1).toString();
        m.game = query.value(2).toString();
        m.size = uint32_t(query.value(3).toLongLong());
        m.crc32 = uint32_t(query.value(4).toLongLong());
        out.push_back(m);
    }
    return out;
}

constexpr const char* kMatchColumns =
    "SELECT dats.name, dats.version, game, size, crc32 FROM dat_roms "
    "JOIN dats ON dats.id = dat_roms.dat ";

}  // namespace

DatImport import_dat(const QString& path, const DatFile& dat) {
    DatImport result;
    LocalDatabase db(path);
    QString why;
    const bool written = db.problem().isEmpty() && db.write([&] {
        QSqlQuery query(db.sql());
        query.prepare(QStringLiteral("SELECT id, version FROM dats WHERE name = ?"));
        query.addBindValue(sql_text(dat.name));
        if (!query.exec()) return (why = query.lastError().text()), false;
        if (query.next()) {
            result.replaced = true;
            result.replacedVersion = query.value(1).toString();
            if (older(dat.version, result.replacedVersion)) {
                why = QStringLiteral(
                          "the database holds a newer version of %1 (%2, this file is %3); "
                          "remove it first to go back")
                          .arg(dat.name, result.replacedVersion, dat.version);
                return false;
            }
            QSqlQuery remove(db.sql());
            remove.prepare(QStringLiteral("DELETE FROM dats WHERE id = ?"));
            remove.addBindValue(query.value(0));
            if (!remove.exec()) return (why = remove.lastError().text()), false;
        }
        QSqlQuery add(db.sql());
        add.prepare(
            QStringLiteral("INSERT INTO dats(name, description, version, date, imported, games) "
                           "VALUES(?, ?, ?, ?, ?, ?)"));
        for (const QVariant& v :
             {sql_text(dat.name), sql_text(dat.description), sql_text(dat.version),
              sql_text(dat.date), QVariant(QDateTime::currentDateTimeUtc().toString(Qt::ISODate)),
              QVariant(dat.games)})
            add.addBindValue(v);
        if (!add.exec()) return (why = add.lastError().text()), false;
        return insert_roms(db.sql(), add.lastInsertId().toLongLong(), dat, &why);
    });
    if (!written) result.why = db.problem().isEmpty() ? why : db.problem();
    return result;
}

DatFileImport import_dat_file(const QString& file, const QString& path) {
    const DatRead read = read_dat_file(file);
    if (!read.why.isEmpty())
        return {false, QCoreApplication::translate("MainTab",
                                                   "Not imported: %1. The database is "
                                                   "unchanged.")
                           .arg(read.why)};
    const DatImport done = import_dat(path, read.dat);
    if (!done.why.isEmpty())
        return {
            false,
            QCoreApplication::translate("MainTab", "%1 was not imported: %2.").arg(file, done.why)};
    const QString what = QCoreApplication::translate("MainTab", "Imported %1 (%2): %3 games.")
                             .arg(read.dat.name, read.dat.version)
                             .arg(read.dat.games);
    if (!done.replaced) return {true, what};
    return {true, what + ' ' +
                      QCoreApplication::translate("MainTab", "It replaces version %1.")
                          .arg(done.replacedVersion)};
}

QString dat_summary_text(const DatSummary& d) {
    return QCoreApplication::translate("MainTab", "%1  %2  %3 games  imported %4")
        .arg(d.name, d.version.isEmpty() ? QStringLiteral("-") : d.version)
        .arg(d.games)
        .arg(QDateTime::fromString(d.imported, Qt::ISODate)
                 .toUTC()
                 .toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")));
}

std::vector<DatSummary> list_dats(const QString& path, QString* why) {
    std::vector<DatSummary> out;
    LocalDatabase db(path);
    QSqlQuery query(db.sql());
    if (!db.problem().isEmpty() ||
        !query.exec(QStringLiteral(
            "SELECT name, version, date, imported, games FROM dats ORDER BY name"))) {
        *why = db.problem().isEmpty() ? query.lastError().text() : db.problem();
        return out;
    }
    while (query.next())
        out.push_back({query.value(0).toString(), query.value(1).toString(),
                       query.value(2).toString(), query.value(3).toString(),
                       query.value(4).toInt()});
    return out;
}

bool remove_dat(const QString& path, const QString& name, QString* why) {
    LocalDatabase db(path);
    const bool removed = db.problem().isEmpty() && db.write([&] {
        QSqlQuery query(db.sql());
        query.prepare(QStringLiteral("DELETE FROM dats WHERE name = ?"));
        query.addBindValue(sql_text(name));
        if (!query.exec()) return (*why = query.lastError().text()), false;
        if (query.numRowsAffected() == 0)
            return (*why = QStringLiteral("no DAT named \"%1\" is imported").arg(name)), false;
        return true;
    });
    if (!db.problem().isEmpty()) *why = db.problem();
    return removed;
}

std::optional<DatMatch> find_in_dats(const gb::DumpDigest& digest) {
    const QString path = lookup_path();
    if (path.isEmpty()) return std::nullopt;
    LocalDatabase db(path);
    QSqlQuery query(db.sql());
    query.prepare(QLatin1String(kMatchColumns) +
                  QStringLiteral("WHERE crc32 = ? AND size = ? AND (sha1 = '' OR sha1 = ?) "
                                 "ORDER BY dats.name, game LIMIT 1"));
    query.addBindValue(qlonglong(digest.crc32));
    query.addBindValue(qlonglong(digest.size));
    query.addBindValue(QString::fromLatin1(digest.sha1));
    if (!db.problem().isEmpty() || !query.exec()) return std::nullopt;
    std::vector<DatMatch> found = matches(query);
    if (found.empty()) return std::nullopt;
    return found.front();
}

std::vector<DatMatch> dats_of_code(const QString& code) {
    const QString path = lookup_path();
    if (path.isEmpty() || code.isEmpty()) return {};
    LocalDatabase db(path);
    QSqlQuery query(db.sql());
    query.prepare(QLatin1String(kMatchColumns) +
                  QStringLiteral("WHERE code = ? AND code != '' ORDER BY dats.name, game"));
    query.addBindValue(code);
    if (!db.problem().isEmpty() || !query.exec()) return {};
    return matches(query);
}

QString dat_match_text(const DatMatch& m) {
    return m.version.isEmpty() ? QStringLiteral("'%1' in %2").arg(m.game, m.dat)
                               : QStringLiteral("'%1' in %2 (%3)").arg(m.game, m.dat, m.version);
}
