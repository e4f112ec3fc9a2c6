// Where Write RAM keeps the cartridge's save before it overwrites it.
#pragma once

#include <QDateTime>
#include <QString>

// The data folder's subfolder backups (shared by the window and the command line).
QString default_backup_folder();

// A file name for a backup: the cartridge title and the date and time, made
// safe for any file system ("POKEMON GOLD 2026-12-08 13-45-02.sav").
QString backup_file_name(const QString& title, const QDateTime& when);

// Writes data as a new file in folder; its path, or empty with why set.
QString write_backup(const QString& folder, const QString& title, const QByteArray& data,
                     QString* why);
