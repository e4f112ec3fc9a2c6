#include "ui/camera_gallery.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "jobs/camera_photos.h"

namespace {

// The photo's picture, as its PNG holds it.
QImage camera_image(const gb::CameraPhoto& photo) {
    return QImage::fromData(camera_png(photo), "PNG");
}

constexpr int kColumns = 4;
constexpr int kScale = 2;  // the photos are small: twice their size, pixels kept sharp
constexpr int kSpacing = 8;
constexpr int kMargin = 24;
constexpr int kRowsShown = 2;  // more scroll

int rows(size_t photos) {
    return int((photos + kColumns - 1) / kColumns);
}

}  // namespace

CameraGallery::CameraGallery(const QString& saveFile, QWidget* parent)
    : QDialog(parent), m_saveFile(saveFile), m_status(new QLabel(this)) {
    setWindowTitle(tr("Pocket Camera photos"));
    auto* layout = new QVBoxLayout(this);
    const CameraFile file = read_camera_file(saveFile);
    auto* grid = new QGridLayout;
    // Packed to the top left: the photos keep together however large the window.
    grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    grid->setSpacing(kSpacing);
    if (!file.ok) {
        m_status->setText(file.failure);
    } else {
        m_photos = file.album.photos;
        m_status->setText(camera_album_notes(file.album).join('\n'));
    }
    for (int i = 0; i < int(m_photos.size()); ++i) {
        const gb::CameraPhoto& photo = m_photos[size_t(i)];
        auto* picture = new QLabel;
        picture->setPixmap(QPixmap::fromImage(
            camera_image(photo).scaled(gb::kCameraWidth * kScale, gb::kCameraHeight * kScale,
                                       Qt::KeepAspectRatio, Qt::FastTransformation)));
        auto* caption = new QLabel(camera_caption(photo));
        auto* save = new QPushButton(tr("Save as PNG..."));
        connect(save, &QPushButton::clicked, this, [this, i] { save_photo(i); });
        m_saveButtons << save;
        caption->setWordWrap(true);
        caption->setMaximumWidth(gb::kCameraWidth * kScale);
        auto* cell = new QVBoxLayout;
        cell->setSpacing(kSpacing / 2);
        cell->addWidget(picture, 0, Qt::AlignHCenter);
        cell->addWidget(caption, 0, Qt::AlignHCenter);
        cell->addWidget(save, 0, Qt::AlignHCenter);
        grid->addLayout(cell, i / kColumns, i % kColumns);
    }
    auto* photos = new QWidget;
    photos->setLayout(grid);
    auto* scroll = new QScrollArea;
    scroll->setWidget(photos);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll);
    layout->addWidget(m_status);
    const QSize packed = photos->sizeHint();
    resize(packed.width() + 2 * kMargin,
           qMin(packed.height(), kRowsShown * packed.height() / qMax(1, rows(m_photos.size()))) +
               m_status->sizeHint().height() + 3 * kMargin);
}

void CameraGallery::save_photo(int i) {
    const gb::CameraPhoto& photo = m_photos[size_t(i)];
    const QString suggested = QFileInfo(m_saveFile).dir().filePath(camera_file_name(photo));
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save photo"), suggested, tr("PNG images (*.png)"));
    if (path.isEmpty()) return;
    // The dialog asked before replacing a file the user named.
    m_status->setText(camera_image(photo).save(path, "PNG")
                          ? tr("Saved %1.").arg(path)
                          : tr("%1 could not be written.").arg(path));
}
