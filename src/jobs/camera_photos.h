// Pocket Camera photos as images: the album of a save file, each photo a
// 128x112 picture in four greys, and PNG files of them all.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "cart/camera_album.h"

// The greys of the pixel values 0-3 (white, light grey, dark grey, black), 0xRRGGBB.
inline constexpr uint32_t kCameraGreys[] = {0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000};

// The photo as a PNG file: 8-bit indexed, with the four greys as its palette.
QByteArray camera_png(const gb::CameraPhoto& photo);
// "photo_03.png", "deleted_slot_07.png".
QString camera_file_name(const gb::CameraPhoto& photo);
// "Photo 3 (slot 5)", "Deleted photo in slot 7".
QString camera_caption(const gb::CameraPhoto& photo);

// What the album says beyond its photos: where its order came from, that it
// is empty, and its empty slots ("Empty slots: 2, 4, 6-30").
QStringList camera_album_notes(const gb::CameraAlbum& album);

struct CameraFile {
    bool ok = false;
    QString failure;  // why the file holds no album
    gb::CameraAlbum album;
};
// The album of a camera save file.
CameraFile read_camera_file(const QString& path);

struct CameraExport {
    bool ok = false;
    QStringList lines;  // what was written, and the slots without a photo
    QString failure;
};
// Writes every photo (and every deleted one) of the save file into folder as PNG.
CameraExport export_camera_photos(const QString& saveFile, const QString& folder);
