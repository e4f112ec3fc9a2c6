#include "cart/camera_album.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace gb {
namespace {

constexpr uint32_t kVector = 0x11B2;
constexpr uint32_t kMagic = kVector + kCameraSlots;  // "Magic", then the sums
constexpr uint32_t kSum = kMagic + 5, kXor = kSum + 1;
constexpr uint32_t kEcho = 0x25;  // the copy of the vector, Magic and sums follows them
constexpr uint8_t kSumSeed = 0x4E, kXorSeed = 0x54;
constexpr uint32_t kFirstSlot = 0x2000, kSlotSize = 0x1000;
constexpr uint32_t kPictureBytes = 0xE00;
constexpr int kTilesAcross = kCameraWidth / 8, kTileBytes = 16;
// What never-used or cleared memory holds.
constexpr uint8_t kBlankBytes[] = {0x00, 0xAA, 0xFF};

// Whether the vector at base passes its check: "Magic" after it, and a sum
// and an xor over vector and Magic.
bool vector_holds(const uint8_t* save, uint32_t base) {
    const uint8_t* magic = save + base + (kMagic - kVector);
    if (std::memcmp(magic, "Magic", 5) != 0) return false;
    uint8_t sum = kSumSeed, x = kXorSeed;
    for (uint32_t i = base; i < base + (kSum - kVector); ++i) {
        sum = uint8_t(sum + save[i]);
        x ^= save[i];
    }
    return save[base + (kSum - kVector)] == sum && save[base + (kXor - kVector)] == x;
}

bool has_picture(const uint8_t* save, int slot) {
    const uint8_t* p = save + kFirstSlot + uint32_t(slot - 1) * kSlotSize;
    for (uint8_t blank : kBlankBytes)
        if (std::all_of(p, p + kPictureBytes, [blank](uint8_t b) { return b == blank; }))
            return false;
    return true;
}

CameraPhoto photo(const uint8_t* save, int slot, int number, CameraSlot state) {
    CameraPhoto p;
    p.slot = slot;
    p.number = number;
    p.state = state;
    p.pixels = camera_pixels(save + kFirstSlot + uint32_t(slot - 1) * kSlotSize);
    return p;
}

}  // namespace

std::vector<uint8_t> camera_pixels(const uint8_t* tiles) {
    std::vector<uint8_t> pixels(size_t(kCameraWidth) * kCameraHeight);
    for (int y = 0; y < kCameraHeight; ++y)
        for (int x = 0; x < kCameraWidth; ++x) {
            const uint8_t* row =
                tiles + ((y / 8) * kTilesAcross + x / 8) * kTileBytes + (y % 8) * 2;
            const int bit = 7 - x % 8;
            pixels[size_t(y) * kCameraWidth + size_t(x)] =
                uint8_t((row[0] >> bit & 1) | (row[1] >> bit & 1) << 1);
        }
    return pixels;
}

CameraAlbum read_camera_album(const uint8_t* save) {
    CameraAlbum album;
    uint32_t vector = kVector;
    if (!vector_holds(save, kVector)) {
        vector = kVector + kEcho;
        album.source = vector_holds(save, vector) ? AlbumSource::Echo : AlbumSource::SlotOrder;
    }
    if (album.source == AlbumSource::SlotOrder) {
        for (int slot = 1; slot <= kCameraSlots; ++slot) {
            if (has_picture(save, slot))
                album.photos.push_back(photo(save, slot, slot, CameraSlot::Photo));
            else
                album.empty.push_back(slot);
        }
        return album;
    }
    std::vector<std::pair<int, int>> numbered;  // album number, slot
    std::vector<int> deleted;
    for (int slot = 1; slot <= kCameraSlots; ++slot) {
        const uint8_t state = save[vector + uint32_t(slot - 1)];
        if (state < kCameraSlots)
            numbered.emplace_back(state + 1, slot);
        else if (has_picture(save, slot))
            deleted.push_back(slot);
        else
            album.empty.push_back(slot);
    }
    std::sort(numbered.begin(), numbered.end());
    for (const auto& [number, slot] : numbered)
        album.photos.push_back(photo(save, slot, number, CameraSlot::Photo));
    for (int slot : deleted) album.photos.push_back(photo(save, slot, 0, CameraSlot::Deleted));
    return album;
}

}  // namespace gb
