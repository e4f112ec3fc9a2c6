// The save libraries of Nintendo's GBA SDK name themselves in the ROM as a
// family, "_V" and three digits ("FLASH1M_V103"): the family tells the save
// type, and for all but EEPROM its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cart/bus.h"

namespace gb {

struct SaveLibrary {
    const char* family;  // up to and including "_V"
    SaveType type;
    uint32_t size;  // 0: the library does not tell (EEPROM is 512 B or 8 KiB)
};
inline constexpr SaveLibrary kSaveLibraries[] = {
    {"EEPROM_V", kSaveTypeEep, 0},           {"SRAM_V", kSaveTypeSram, 0x8000},
    {"SRAM_F_V", kSaveTypeSram, 0x8000},     {"FLASH_V", kSaveTypeFlash, 0x10000},
    {"FLASH512_V", kSaveTypeFlash, 0x10000}, {"FLASH1M_V", kSaveTypeFlash, 0x20000},
};

// The library IDs (family and three digits) in data, each once, in the order found.
void collect_save_library_ids(const uint8_t* data, size_t size, std::vector<std::string>* ids);

// The library an ID names, or null.
const SaveLibrary* save_library_of(const std::string& id);

// Reads the GBA ROM's first romSize bytes through the bus and collects the
// IDs in it. progress(done, total) after every piece; returning false stops
// the search. False when a read failed or the search was stopped.
bool find_save_library_ids(uint32_t romSize, std::vector<std::string>* ids,
                           const std::function<bool(uint32_t, uint32_t)>& progress);

}  // namespace gb
