// Which save files may be written into a cartridge's save: the one rule both
// front ends and the job apply, before anything is read from or written to
// the cartridge.
#pragma once

#include <QString>
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
