// The program's own database in its data folder, beside the backups: the DAT
// files a user imported and the history of the saves Write RAM kept. SQLite
// through Qt's SQL module; the schema has a version and migrates forward.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>

// The platform's data location, subfolder zelvo3 (shared by the window and
// the command line).
QString default_data_folder();

// The database file of a data folder.
QString database_path(const QString& dataFolder);

// A text as SQL takes it: a null QString would be NULL, and match nothing.
inline QVariant sql_text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// One connection of this thread to the database, opened (and created or
// migrated) by the constructor, closed by the destructor. Another process
// may hold the database for a moment: a connection waits for it.
class LocalDatabase {
public:
    explicit LocalDatabase(const QString& path);
    ~LocalDatabase();
    LocalDatabase(const LocalDatabase&) = delete;
    LocalDatabase& operator=(const LocalDatabase&) = delete;

    // Empty when the database is open; else why not, naming the file.
    const QString& problem() const { return m_problem; }
    QSqlDatabase& sql() { return m_db; }

    // Runs change in one transaction that holds the database from its start
    // (no other writer comes between its reads and its writes); commits when
    // change returns true, else rolls back. False when either failed; problem()
    // is set when the database did.
    bool write(const std::function<bool()>& change);

private:
    bool migrate();
    bool fail(const QString& what, const QString& error);

    QString m_name;  // the connection's name
    QString m_path;
    QSqlDatabase m_db;
    QString m_problem;
};
