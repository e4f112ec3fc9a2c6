#include "jobs/local_database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>
#include <iterator>

namespace {

constexpr const char* kDriver = "QSQLITE";
constexpr const char* kFileName = "zelvo3.sqlite";
// How long a connection waits for another process's transaction.
constexpr int kBusyWaitMs = 10000;

// Each step takes the schema one version further; a step is never changed
// once released, only new ones added.
const char* const kSchemaSteps[][6] = {
    {
        "CREATE TABLE dats(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, "
        "description TEXT NOT NULL, version TEXT NOT NULL, date TEXT NOT NULL, "
        "imported TEXT NOT NULL, games INTEGER NOT NULL)",
        "CREATE TABLE dat_roms(dat INTEGER NOT NULL REFERENCES dats(id) ON DELETE CASCADE, "
        "game TEXT NOT NULL, size INTEGER NOT NULL, crc32 INTEGER NOT NULL, "
        "md5 TEXT NOT NULL, sha1 TEXT NOT NULL, code TEXT NOT NULL)",
        "CREATE INDEX dat_roms_digest ON dat_roms(crc32, size)",
        "CREATE INDEX dat_roms_code ON dat_roms(code) WHERE code != ''",
        "CREATE TABLE backups(seq INTEGER PRIMARY KEY AUTOINCREMENT, time TEXT NOT NULL, "
        "title TEXT NOT NULL, code TEXT NOT NULL, header_sum INTEGER NOT NULL, "
        "size INTEGER NOT NULL, crc32 INTEGER NOT NULL, file TEXT NOT NULL)",
        nullptr,
    },
};
constexpr int kSchemaVersion = int(std::size(kSchemaSteps));

std::atomic<unsigned> g_connections{0};

}  // namespace

QString default_data_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zelvo3");
}

QString database_path(const QString& dataFolder) {
    return dataFolder + '/' + QLatin1String(kFileName);
}

LocalDatabase::LocalDatabase(const QString& path)
    : m_name(QStringLiteral("zelvo3-%1").arg(g_connections.fetch_add(1))), m_path(path) {
    if (!QSqlDatabase::isDriverAvailable(QLatin1String(kDriver))) {
        m_problem =
            QStringLiteral(
                "Qt's SQLite driver is missing (Debian: libqt5sql5-sqlite): the database %1 cannot "
                "be opened")
                .arg(path);
        return;
    }
    // A pipe or a device in its place would block or be destroyed.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        m_problem = QStringLiteral("the database %1 is not a regular file").arg(path);
        return;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        m_problem = QStringLiteral("cannot create the folder of the database %1").arg(path);
        return;
    }
    m_db = QSqlDatabase::addDatabase(QLatin1String(kDriver), m_name);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!m_db.open()) {
        fail(QStringLiteral("open"), m_db.lastError().text());
        return;
    }
    QSqlQuery(m_db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    migrate();
}

LocalDatabase::~LocalDatabase() {
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool LocalDatabase::fail(const QString& what, const QString& error) {
    m_problem = QStringLiteral("the database %1 could not %2: %3").arg(m_path, what, error);
    return false;
}

bool LocalDatabase::migrate() {
    int version = -1;
    const auto read_version = [this, &version] {
        QSqlQuery query(m_db);
        if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
            version = query.value(0).toInt();
        else
            return fail(QStringLiteral("be read"), query.lastError().text());
        return true;
    };
    if (!read_version()) return false;
    if (version == kSchemaVersion) return true;
    return write([&]() {
        // Another process may have migrated it while this one waited.
        if (!read_version()) return false;
        if (version > kSchemaVersion) {
            m_problem = QStringLiteral(
                            "the database %1 was made by a newer version of zelvo3 (schema %2); "
                            "this one knows schema %3")
                            .arg(m_path)
                            .arg(version)
                            .arg(kSchemaVersion);
            return false;
        }
        QSqlQuery query(m_db);
        for (int step = version; step < kSchemaVersion; ++step)
            for (const char* const* statement = kSchemaSteps[step]; *statement; ++statement)
                if (!query.exec(QLatin1String(*statement)))
                    return fail(QStringLiteral("be migrated"), query.lastError().text());
        if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)))
            return fail(QStringLiteral("be migrated"), query.lastError().text());
        return true;
    });
}

bool LocalDatabase::write(const std::function<bool()>& change) {
    if (!m_db.isOpen()) return false;
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(QStringLiteral("be written"), query.lastError().text());
    if (!change()) {
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        fail(QStringLiteral("be written"), query.lastError().text());
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}
