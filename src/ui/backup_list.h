// The backups Write RAM kept, as a table to choose one to restore from: time,
// title, game code, size, CRC32 and whether the file still holds it.
#pragma once

#include <QDialog>
#include <vector>

#include "jobs/backup_history.h"

class QTableWidget;

class BackupList : public QDialog {
    Q_OBJECT

public:
    BackupList(const std::vector<BackupRecord>& backups, QWidget* parent);
    // The row chosen, or -1.
    int chosen() const;
    QTableWidget* table() const { return m_table; }

private:
    QTableWidget* m_table;
};
