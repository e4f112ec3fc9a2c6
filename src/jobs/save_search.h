// The save kind of a GBA cartridge the database does not know, from the save
// library its ROM names.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

class ChoiceModel;

struct SaveKindFound {
    bool read = false;             // the ROM was read through
    std::vector<std::string> ids;  // the library IDs in it
    int type = -1;                 // the save type they agree on, -1 when none or not one
    uint32_t size = 0;             // its size; 0 when the library does not tell (EEPROM)
};

// Reads romSize bytes of the GBA ROM on the claimed board; progress as
// gb::find_save_library_ids takes it.
SaveKindFound search_save_kind(uint32_t romSize,
                               const std::function<bool(uint32_t, uint32_t)>& progress);

// What the search found and what it means, as a log line; chooseHow tells the
// user how to choose a save type when the ROM does not decide it.
QString save_search_line(const SaveKindFound& found, const QString& chooseHow);

// Sets the kind found, with eepromSize for an EEPROM (which the library does
// not size), as found in the ROM; false when that does not decide the save.
bool apply_save_kind(ChoiceModel& model, const SaveKindFound& found, uint32_t eepromSize = 0);
