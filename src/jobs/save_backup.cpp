#include "jobs/save_backup.h"

#include <QDir>
#include <QFileInfo>

#include "device/file.h"
#include "jobs/file_names.h"
#include "jobs/local_database.h"

QString default_backup_folder() {
    return default_data_folder() + QStringLiteral("/backups");
}

QString backup_file_name(const QString& title, const QDateTime& when) {
    return safe_file_name(title) + ' ' + when.toString(QStringLiteral("yyyy-MM-dd hh-mm-ss")) +
           QStringLiteral(".sav");
}

QString write_backup(const QString& folder, const QString& title, const QByteArray& data,
                     QString* why) {
    if (!QDir().mkpath(folder)) {
        *why = QStringLiteral("cannot create the folder %1").arg(folder);
        return QString();
    }
    const QString name = backup_file_name(title, QDateTime::currentDateTime());
    QString path = folder + '/' + name;
    // Two backups within one second keep both.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + '/' + name.chopped(4) + QStringLiteral(" (%1).sav").arg(n);
    *why = file::SaveAtomic(path, reinterpret_cast<const uint8_t*>(data.constData()),
                            uint32_t(data.size()), false);
    return why->isEmpty() ? path : QString();
}
