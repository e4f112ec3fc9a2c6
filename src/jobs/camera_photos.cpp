#include "jobs/camera_photos.h"

#include <zlib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "device/file.h"

namespace {

struct CameraText {
    Q_DECLARE_TR_FUNCTIONS(CameraPhotos)
};

// The PNG format's pieces (ISO/IEC 15948): signature, chunks, the header's fields.
constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int kPngSignatureSize = 8;
constexpr uint8_t kBitDepth = 8, kIndexedColour = 3;
constexpr uint8_t kNoFilter = 0;

void put32(QByteArray& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += char(v >> shift);
}

// A chunk: length, type, data and the CRC32 of type and data.
void chunk(QByteArray& png, const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    put32(png, uint32_t(data.size()));
    png += typed;
    put32(png, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()),
                              uInt(typed.size()))));
}

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

QByteArray camera_png(const gb::CameraPhoto& photo) {
    QByteArray png(kPngSignature, kPngSignatureSize);
    QByteArray header;
    put32(header, gb::kCameraWidth);
    put32(header, gb::kCameraHeight);
    header += char(kBitDepth);
    header += char(kIndexedColour);
    header += QByteArray(3, '\0');  // deflate, adaptive filtering, no interlace
    chunk(png, "IHDR", header);
    QByteArray palette;
    for (const uint32_t grey : kCameraGreys)
        for (int shift = 16; shift >= 0; shift -= 8) palette += char(grey >> shift);
    chunk(png, "PLTE", palette);
    // Each row starts with its filter type.
    QByteArray rows;
    for (int y = 0; y < gb::kCameraHeight; ++y) {
        rows += char(kNoFilter);
        rows +=
            QByteArray(reinterpret_cast<const char*>(&photo.pixels[size_t(y) * gb::kCameraWidth]),
                       gb::kCameraWidth);
    }
    uLongf packed = compressBound(uLong(rows.size()));
    QByteArray data(int(packed), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(data.data()), &packed,
                  reinterpret_cast<const Bytef*>(rows.constData()), uLong(rows.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return QByteArray();
    data.resize(int(packed));
    chunk(png, "IDAT", data);
    chunk(png, "IEND", QByteArray());
    return png;
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
        const QByteArray png = camera_png(photo);
        const QString why =
            !png.isEmpty()
                ? file::SaveAtomic(path, reinterpret_cast<const uint8_t*>(png.constData()),
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
