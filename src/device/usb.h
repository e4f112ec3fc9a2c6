#pragma once

#include <cstdint>
#include <string>

namespace usb {

// The selected board volume: its full entry name and the directory holding it.
// Both are empty until a volume is selected.
extern std::string m_volume;
extern std::string m_mount;
// The board's firmware label, empty when the identification record is unreadable.
extern std::string m_version;

// Selects the first volume whose root holds the identification file; 1 when
// one was found, else 0 (and no volume stays selected).
int open();

// Path of a file on the selected volume; empty when none is selected.
std::string device_path(const char* name);
std::string volume_path();

uint32_t read_dmp(uint32_t offset, uint8_t* dest, uint32_t len);
uint32_t read_rom(uint32_t offset, uint8_t* dest, uint32_t len);

}  // namespace usb
