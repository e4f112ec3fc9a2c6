#include "ui/backup_list.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "jobs/job_launch.h"

namespace {

enum Column { kTime, kTitle, kCode, kSize, kCrc, kState, kColumnCount };
constexpr int kWidthFor = 100;  // the table's width in characters, at most

QString state_text(BackupState state) {
    switch (state) {
        case BackupState::Kept:
            return BackupList::tr("kept");
        case BackupState::Missing:
            return BackupList::tr("missing");
        case BackupState::Changed:
            return BackupList::tr("changed since it was kept");
    }
    return QString();
}

}  // namespace

BackupList::BackupList(const std::vector<BackupRecord>& backups, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Restore a backup"));
    m_table = new QTableWidget(int(backups.size()), kColumnCount, this);
    m_table->setHorizontalHeaderLabels(
        {tr("Time"), tr("Title"), tr("Code"), tr("Size"), tr("CRC32"), tr("State")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    for (int row = 0; row < int(backups.size()); ++row) {
        const BackupRecord& b = backups[size_t(row)];
        const QString texts[kColumnCount] = {
            backup_time_text(b),
            b.title,
            b.code,
            bytes_text(uint64_t(b.size)),
            QStringLiteral("%1").arg(b.crc32, 8, 16, QLatin1Char('0')),
            state_text(b.state)};
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setToolTip(b.path);
            // A backup whose file is gone or changed cannot be chosen.
            if (b.state != BackupState::Kept) item->setFlags(Qt::ItemIsEnabled);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(tr("Restore..."));
    ok->setEnabled(false);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this, ok] { ok->setEnabled(chosen() >= 0); });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (chosen() >= 0) accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(qMin(m_table->horizontalHeader()->length() + 40,
                kWidthFor * fontMetrics().averageCharWidth()),
           height());
    // The newest restorable one is chosen to begin with.
    for (int row = 0; row < int(backups.size()); ++row)
        if (backups[size_t(row)].state == BackupState::Kept) {
            m_table->selectRow(row);
            break;
        }
}

int BackupList::chosen() const {
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    if (selected.isEmpty() || !(selected.front()->flags() & Qt::ItemIsSelectable)) return -1;
    return selected.front()->row();
}
