// The photos in a Pocket Camera (Game Boy Camera) save: 30 slots of a 128x112
// picture in Game Boy tiles, and a state vector that gives each used slot its
// number in the album (0xFF: empty, or deleted with its pixels kept).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gb {

inline constexpr uint8_t kCameraHeaderType = 0xFC;
inline constexpr uint32_t kCameraSaveSize = 0x20000;
inline constexpr int kCameraWidth = 128, kCameraHeight = 112;
inline constexpr int kCameraSlots = 30;

enum class CameraSlot { Photo, Deleted, Empty };

struct CameraPhoto {
    int slot = 0;    // 1-30
    int number = 0;  // its number in the album, 1-30; 0 for a deleted one
    CameraSlot state = CameraSlot::Photo;
    std::vector<uint8_t> pixels;  // row by row, 0 white, 1 light grey, 2 dark grey, 3 black
};

enum class AlbumSource {
    Vector,     // the state vector
    Echo,       // its copy, the vector itself failing its check
    SlotOrder,  // neither passed: every slot with a picture, in slot order
};

struct CameraAlbum {
    AlbumSource source = AlbumSource::Vector;
    std::vector<CameraPhoto> photos;  // in album order, then the deleted ones by slot
    std::vector<int> empty;           // slots with no picture
};

// Whether size bytes can be a camera save.
inline bool camera_save_size(size_t size) {
    return size == kCameraSaveSize;
}

// The album of a save of kCameraSaveSize bytes.
CameraAlbum read_camera_album(const uint8_t* save);

// The pixels of a picture in tiles (16 across, 14 down, 16 bytes each).
std::vector<uint8_t> camera_pixels(const uint8_t* tiles);

}  // namespace gb
