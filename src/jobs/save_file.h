// Which save files may be written into a cartridge's save: the one rule both
// front ends and the job apply, before anything is read from or written to
// the cartridge.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// Whether a save file of fileSize bytes fits a save of saveSize bytes: the
// save alone, or with a clock trailer after it; halfBytes: a save of half-bytes
// (MBC2), which a file may also hold two to a byte.
bool save_file_size_fits(int64_t fileSize, uint32_t saveSize, bool halfBytes = false);

// Why a file of fileSize bytes cannot be written into a save of saveSize
// bytes, naming both; empty when it can. name is the file as the user knows it.
QString save_file_refusal(const QString& name, int64_t fileSize, uint32_t saveSize,
                          bool halfBytes = false);

// The longest trailer a save file may carry.
uint32_t longest_save_trailer();

// Whether a save is blank: every byte all ones or all zeros in the bits the
// cartridge keeps (mask) - no saved game, or a dead battery.
bool save_blank(const uint8_t* save, size_t size, uint8_t mask);
// "the save is blank: ..."
QString blank_save_text();
