// Pocket Camera saves built from pictures, for the photo tests: each picture
// in Game Boy tiles, the album's state vector with "Magic" and its sums, and
// its copy.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace testing_support {

// The grey (0 white to 3 black) of each pixel of a picture.
using Picture = std::function<int(int x, int y)>;

struct CameraShot {
    int slot;    // 1-30
    int number;  // in the album, 1-30; 0: deleted, its pixels kept
    Picture picture;
};

inline std::vector<uint8_t> camera_save(const std::vector<CameraShot>& shots) {
    std::vector<uint8_t> save(0x20000, 0xAA);  // fresh RAM
    uint8_t vector[30];
    std::fill(std::begin(vector), std::end(vector), 0xFF);
    for (const CameraShot& s : shots) {
        uint8_t* tiles = save.data() + 0x2000 + (s.slot - 1) * 0x1000;
        std::fill(tiles, tiles + 0xE00, 0);
        for (int y = 0; y < 112; ++y)
            for (int x = 0; x < 128; ++x) {
                const int v = s.picture(x, y), bit = 7 - x % 8;
                uint8_t* row = tiles + ((y / 8) * 16 + x / 8) * 16 + (y % 8) * 2;
                row[0] |= uint8_t((v & 1) << bit);
                row[1] |= uint8_t((v >> 1 & 1) << bit);
            }
        if (s.number) vector[s.slot - 1] = uint8_t(s.number - 1);
    }
    for (int copy : {0x11B2, 0x11D7}) {
        std::copy(std::begin(vector), std::end(vector), save.begin() + copy);
        std::copy_n("Magic", 5, save.begin() + copy + 30);
        uint8_t sum = 0x4E, x = 0x54;
        for (int i = copy; i < copy + 35; ++i) sum = uint8_t(sum + save[i]), x ^= save[i];
        save[copy + 35] = sum;
        save[copy + 36] = x;
    }
    return save;
}

}  // namespace testing_support
