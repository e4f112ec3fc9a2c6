#include "jobs/camera_photos.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "device/file.h"

namespace {

struct CameraText {
    Q_DECLARE_TR_FUNCTIONS(CameraPhotos)
};

// The greys of the pixel values 0-3.
constexpr QRgb kGreys[] = {qRgb(0xFF, 0xFF, 0xFF), qRgb(0xAA, 0xAA, 0xAA), qRgb(0x55, 0x55, 0x55),
                           qRgb(0x00, 0x00, 0x00)};

QString two_digits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// "2, 4, 6-30".
QString slot_ranges(const std::vector<int>& numbers) {
    QStringList parts;
    for (size_t i = 0; i < numbers.size();) {
        size_t last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1) ++last;
        parts << (last == i ? QString::number(numbers[i])
                            : QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[last]));
        i = last + 1;
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace

QImage camera_image(const gb::CameraPhoto& photo) {
    QImage image(gb::kCameraWidth, gb::kCameraHeight, QImage::Format_Indexed8);
    image.setColorTable(QVector<QRgb>(std::begin(kGreys), std::end(kGreys)));
    for (int y = 0; y < gb::kCameraHeight; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < gb::kCameraWidth; ++x)
            line[x] = photo.pixels[size_t(y) * gb::kCameraWidth + size_t(x)];
    }
    return image;
}

QString camera_file_name(const gb::CameraPhoto& photo) {
    return photo.state == gb::CameraSlot::Deleted
               ? QStringLiteral("deleted_slot_%1.png").arg(two_digits(photo.slot))
               : QStringLiteral("photo_%1.png").arg(two_digits(photo.number));
}

QString camera_caption(const gb::CameraPhoto& photo) {
    return photo.state == gb::CameraSlot::Deleted
               ? CameraText::tr("Deleted photo in slot %1").arg(photo.slot)
               : CameraText::tr("Photo %1 (slot %2)").arg(photo.number).arg(photo.slot);
}

QStringList camera_album_notes(const gb::CameraAlbum& album) {
    QStringList notes;
    if (album.source == gb::AlbumSource::Echo)
        notes << CameraText::tr("The album's list failed its check; its copy is used.");
    if (album.source == gb::AlbumSource::SlotOrder)
        notes << CameraText::tr(
            "The album's list and its copy fail their checks: the photos "
            "are in slot order, and deleted ones among them.");
    if (album.photos.empty()) notes << CameraText::tr("The save holds no photos.");
    if (!album.empty.empty())
        notes << CameraText::tr("Empty slots: %1").arg(slot_ranges(album.empty));
    return notes;
}

CameraFile read_camera_file(const QString& path) {
    CameraFile out;
    // A pipe or a device would block the read or never end.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        out.failure = CameraText::tr("%1 is not a regular file.").arg(path);
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.failure = CameraText::tr("%1 cannot be read: %2").arg(path, file.errorString());
        return out;
    }
    // A clockless save: the file is the camera's RAM and nothing more.
    if (!gb::camera_save_size(size_t(file.size()))) {
        out.failure = CameraText::tr("%1 holds %2 bytes; a Pocket Camera save holds %3.")
                          .arg(path)
                          .arg(file.size())
                          .arg(gb::kCameraSaveSize);
        return out;
    }
    const QByteArray data = file.readAll();
    if (data.size() != int(gb::kCameraSaveSize)) {
        out.failure = CameraText::tr("%1 cannot be read: %2").arg(path, file.errorString());
        return out;
    }
    out.album = gb::read_camera_album(reinterpret_cast<const uint8_t*>(data.constData()));
    out.ok = true;
    return out;
}

CameraExport export_camera_photos(const QString& saveFile, const QString& folder) {
    CameraExport out;
    const CameraFile file = read_camera_file(saveFile);
    if (!file.ok) {
        out.failure = file.failure;
        return out;
    }
    if (!QDir().mkpath(folder)) {
        out.failure = CameraText::tr("The folder %1 cannot be made.").arg(folder);
        return out;
    }
    const QDir dir(folder);
    // Files already there are kept, and so are links, dangling or not: then
    // nothing is written.
    for (const gb::CameraPhoto& photo : file.album.photos) {
        const QString path = dir.filePath(camera_file_name(photo));
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            out.failure = CameraText::tr("%1 is there already; no photo was written.").arg(path);
            return out;
        }
    }
    for (const gb::CameraPhoto& photo : file.album.photos) {
        const QString path = dir.filePath(camera_file_name(photo));
        // Written as every output is: under its name only when whole, never
        // over a file or through a link that appeared meanwhile.
        QByteArray png;
        QBuffer buffer(&png);
        const bool encoded =
            buffer.open(QIODevice::WriteOnly) && camera_image(photo).save(&buffer, "PNG");
        const QString why =
            encoded ? file::SaveAtomic(path, reinterpret_cast<const uint8_t*>(png.constData()),
                                       uint32_t(png.size()), false)
                    : CameraText::tr("the picture could not be encoded");
        if (!why.isEmpty()) {
            out.failure = CameraText::tr("%1 could not be written.").arg(path) + ' ' + why;
            return out;
        }
        out.lines << camera_caption(photo) + QStringLiteral(": ") + path;
    }
    out.lines << camera_album_notes(file.album);
    out.lines << CameraText::tr("Pictures written: %1").arg(file.album.photos.size());
    out.ok = true;
    return out;
}
